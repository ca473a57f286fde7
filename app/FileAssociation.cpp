#include "app/FileAssociation.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
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

}  // namespace

FileAssociation::FileAssociation(std::string dataHome, std::string configHome)
    : dataHome_(dataHome.empty() ? HomeRelative("XDG_DATA_HOME", ".local/share") : dataHome),
      configHome_(configHome.empty() ? HomeRelative("XDG_CONFIG_HOME", ".config") : configHome)
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

bool FileAssociation::Register(const std::string& programPath) const
{
    const bool entry = WriteDesktopEntry(programPath);
    const bool preferred = SetDefaultApplication();
    return entry && preferred;
}

bool FileAssociation::WriteDesktopEntry(const std::string& programPath) const
{
    std::ostringstream entry;
    entry << "[Desktop Entry]\n"
          << "Type=Application\n"
          << "Name=Quillet\n"
          << "GenericName=Java Source Editor\n"
          << "Comment=Edit, compile, run and debug Java source files\n"
          << "Exec=" << QuoteExecArgument(programPath) << " %f\n"
          << "MimeType=" << kJavaMimeType << ";\n"
          << "Categories=Development;TextEditor;\n"
          << "Terminal=false\n";
    return WriteWhole(DesktopEntryPath(), entry.str());
}

bool FileAssociation::SetDefaultApplication() const
{
    const std::string section = "[Default Applications]";
    const std::string key = std::string(kJavaMimeType) + "=";
    const std::string wanted = key + kDesktopFileName;

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
