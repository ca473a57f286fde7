#include "app/FileAssociation.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>
#include <vector>

namespace {

std::string HomeRelative(const char* variable, const char* fallback)
{
    const char* value = std::getenv(variable);
    if (value && *value)
        return value;
    const char* home = std::getenv("HOME");
    return std::string(home ? home : "") + "/" + fallback;
}

// Desktop entries quote an Exec argument that holds blanks or specials.
std::string QuoteExecArgument(const std::string& path)
{
    if (path.find_first_of(" \t\"'\\$`") == std::string::npos)
        return path;
    std::string quoted = "\"";
    for (char c : path) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

std::vector<std::string> DataDirsFromEnvironment()
{
    const char* value = std::getenv("XDG_DATA_DIRS");
    const std::string list = value && *value ? value : "/usr/local/share/:/usr/share/";
    std::vector<std::string> dirs;
    std::size_t start = 0;
    while (start <= list.size()) {
        const std::size_t end = std::min(list.find(':', start), list.size());
        // Relative entries are not valid in the list and are skipped.
        if (end > start && list[start] == '/')
            dirs.push_back(list.substr(start, end - start));
        start = end + 1;
    }
    return dirs;
}

// The path with symbolic links and "." and ".." resolved as far as it exists,
// without a trailing separator, so that two names of one folder compare equal.
std::filesystem::path Resolved(const std::filesystem::path& path)
{
    std::error_code error;
    std::filesystem::path resolved = std::filesystem::weakly_canonical(path, error);
    if (error)
        resolved = path.lexically_normal();
    if (resolved.has_relative_path() && !resolved.has_filename())
        resolved = resolved.parent_path();
    return resolved;
}

// The per-user entry, with execArgument as the program to start.
std::string EntryText(const std::string& execArgument)
{
    std::ostringstream entry;
    entry << "[Desktop Entry]\n"
          << "Type=Application\n"
          << "Name=Quillet\n"
          << "GenericName=Java Source Editor\n"
          << "Comment=Edit, compile, run and debug Java source files\n"
          << "Exec=" << execArgument << " %f\n"
          << "MimeType=" << FileAssociation::kJavaMimeType << ";\n"
          << "Categories=Development;TextEditor;\n"
          << "Terminal=false\n";
    return entry.str();
}

// True when text is a per-user entry as EntryText writes it, for whatever
// program; an entry the user changed is not ours any more.
bool IsOwnEntry(const std::string& text)
{
    const std::string execKey = "\nExec=";
    const std::string fieldCode = " %f\n";
    const std::size_t exec = text.find(execKey);
    if (exec == std::string::npos)
        return false;
    const std::size_t argument = exec + execKey.size();
    const std::size_t lineEnd = text.find('\n', argument);
    if (lineEnd == std::string::npos || lineEnd - argument < fieldCode.size() - 1)
        return false;
    const std::size_t code = lineEnd + 1 - fieldCode.size();
    if (text.compare(code, fieldCode.size(), fieldCode) != 0)
        return false;
    return text == EntryText(text.substr(argument, code - argument));
}

bool WriteWhole(const std::string& path, const std::string& text)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    const std::string temporary = path + ".quillet-new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.flush();
        if (!out) {
            std::filesystem::remove(temporary, error);
            return false;
        }
    }
    std::filesystem::rename(temporary, path, error);
    if (error) {
        std::filesystem::remove(temporary, error);
        return false;
    }
    return true;
}

std::string ReadWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace

FileAssociation::FileAssociation(std::string dataHome, std::string configHome,
                                 std::vector<std::string> dataDirs)
    : dataHome_(dataHome.empty() ? HomeRelative("XDG_DATA_HOME", ".local/share") : dataHome),
      configHome_(configHome.empty() ? HomeRelative("XDG_CONFIG_HOME", ".config") : configHome),
      dataDirs_(dataDirs.empty() ? DataDirsFromEnvironment() : std::move(dataDirs))
{
}

std::string FileAssociation::DesktopEntryPath() const
{
    return dataHome_ + "/applications/" + kDesktopFileName;
}

std::string FileAssociation::MimeAppsPath() const
{
    return configHome_ + "/mimeapps.list";
}

std::string FileAssociation::InstalledEntryPath(const std::string& programPath) const
{
    const std::filesystem::path programDir = std::filesystem::path(programPath).parent_path();
    const std::filesystem::path installedData = Resolved(programDir / kInstalledDataDir);
    const std::filesystem::path entry = installedData / "applications" / kInstalledDesktopFileName;
    std::error_code error;
    if (!std::filesystem::is_regular_file(entry, error))
        return {};
    // The desktop reads entries from the user's data folder and the data dirs.
    if (Resolved(dataHome_) == installedData)
        return entry.string();
    for (const std::string& dir : dataDirs_) {
        if (Resolved(dir) == installedData)
            return entry.string();
    }
    return {};
}

bool FileAssociation::Register(const std::string& programPath) const
{
    if (!InstalledEntryPath(programPath).empty()) {
        const bool removed = RemoveOwnDesktopEntry();
        const bool preferred = SetDefaultApplication(kInstalledDesktopFileName);
        return removed && preferred;
    }
    const bool entry = WriteDesktopEntry(programPath);
    const bool preferred = SetDefaultApplication(kDesktopFileName);
    return entry && preferred;
}

bool FileAssociation::WriteDesktopEntry(const std::string& programPath) const
{
    return WriteWhole(DesktopEntryPath(), EntryText(QuoteExecArgument(programPath)));
}

bool FileAssociation::RemoveOwnDesktopEntry() const
{
    std::error_code error;
    if (!std::filesystem::exists(DesktopEntryPath(), error))
        return true;
    if (!IsOwnEntry(ReadWhole(DesktopEntryPath())))
        return true;  // the user's own file of that name stays
    return std::filesystem::remove(DesktopEntryPath(), error) && !error;
}

bool FileAssociation::SetDefaultApplication(const std::string& desktopFileName) const
{
    const std::string section = "[Default Applications]";
    const std::string key = std::string(kJavaMimeType) + "=";
    const std::string wanted = key + desktopFileName;

    std::vector<std::string> lines;
    {
        std::ifstream in(MimeAppsPath(), std::ios::binary);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
    }

    bool inSection = false;
    bool sectionSeen = false;
    std::size_t insertAt = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (!line.empty() && line.front() == '[') {
            if (inSection) {
                insertAt = i;
                break;
            }
            inSection = line == section;
            sectionSeen = sectionSeen || inSection;
            continue;
        }
        if (inSection && line.rfind(key, 0) == 0) {
            lines[i] = wanted;
            insertAt = lines.size() + 1;  // replaced in place
            break;
        }
    }
    if (!sectionSeen) {
        if (!lines.empty() && !lines.back().empty())
            lines.push_back("");
        lines.push_back(section);
        lines.push_back(wanted);
    } else if (insertAt <= lines.size()) {
        // Directly after the section's last non-empty line.
        std::size_t at = insertAt;
        while (at > 0 && lines[at - 1].empty())
            --at;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(at), wanted);
    }

    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return WriteWhole(MimeAppsPath(), text);
}
