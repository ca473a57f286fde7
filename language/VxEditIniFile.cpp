#include "language/VxEditIniFile.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <initializer_list>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Larger files are not configuration files; reading them is refused.
constexpr off_t kMaxFileSize = 16 * 1024 * 1024;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view Trim(std::string_view text)
{
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A value in double quotes stands for the text between them, so that values
// with surrounding blanks survive the trimming.
std::string_view Unquote(std::string_view value)
{
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return value.substr(1, value.size() - 2);
    return value;
}

bool NeedsQuotes(std::string_view value)
{
    return !value.empty() && (Trim(value).size() != value.size() || Unquote(value).size() != value.size());
}

std::string Joined(std::initializer_list<std::string_view> parts)
{
    std::string joined;
    for (std::string_view part : parts)
        joined.append(part.data(), part.size());
    return joined;
}

bool HasLineBreak(std::string_view text)
{
    return text.find_first_of("\r\n") != std::string_view::npos;
}

// Closes a descriptor and, unless released, removes the temporary file.
class TemporaryFile {
public:
    TemporaryFile(int fd, std::string path) : fd_(fd), path_(std::move(path)) {}
    ~TemporaryFile()
    {
        if (fd_ >= 0)
            ::close(fd_);
        if (!path_.empty())
            ::unlink(path_.c_str());
    }
    int Fd() const { return fd_; }
    bool Close()
    {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }
    void Keep() { path_.clear(); }

private:
    int fd_;
    std::string path_;
};

bool WriteAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

}  // namespace

bool VxEditIniFile::SameName(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

VxEditIniFile::Line VxEditIniFile::Classify(std::string text)
{
    Line line;
    const std::string_view trimmed = Trim(text);
    if (!trimmed.empty() && trimmed.front() == '[') {
        line.kind = LineKind::kSection;
        std::string_view name = trimmed.substr(1);
        name = name.substr(0, name.find(']'));
        line.name = Trim(name);
    } else if (!trimmed.empty() && trimmed.front() != ';') {
        const std::size_t equals = trimmed.find('=');
        if (equals != std::string_view::npos) {
            line.kind = LineKind::kEntry;
            line.name = Trim(trimmed.substr(0, equals));
            line.value = Unquote(Trim(trimmed.substr(equals + 1)));
        }
    }
    line.text = std::move(text);
    return line;
}

void VxEditIniFile::Parse(std::string_view text)
{
    lines_.clear();
    hasByteOrderMark_ = text.substr(0, kByteOrderMark.size()) == kByteOrderMark;
    if (hasByteOrderMark_)
        text.remove_prefix(kByteOrderMark.size());
    bool firstBreak = true;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        std::string_view body = text.substr(0, newline);
        std::string_view ending;
        if (newline != std::string_view::npos) {
            const bool crlf = !body.empty() && body.back() == '\r';
            if (crlf)
                body.remove_suffix(1);
            ending = text.substr(body.size(), newline + 1 - body.size());
            if (firstBreak)
                lineEnd_.assign(ending.data(), ending.size());
            firstBreak = false;
            text.remove_prefix(newline + 1);
        } else {
            text = {};
        }
        Line line = Classify(std::string(body));
        line.ending.assign(ending.data(), ending.size());
        lines_.push_back(std::move(line));
    }
}

bool VxEditIniFile::Load()
{
    lines_.clear();
    hasByteOrderMark_ = false;
    const int fd = ::open(path_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT;
    std::string bytes;
    bool ok = true;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > kMaxFileSize) {
        ok = false;
    } else {
        char buffer[8192];
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0 || bytes.size() + static_cast<std::size_t>(std::max<ssize_t>(got, 0)) >
                               static_cast<std::size_t>(kMaxFileSize)) {
                ok = false;
                break;
            }
            if (got == 0)
                break;
            bytes.append(buffer, static_cast<std::size_t>(got));
        }
    }
    ::close(fd);
    if (ok)
        Parse(bytes);
    return ok;
}

std::size_t VxEditIniFile::FindSection(std::string_view section) const
{
    section = Trim(section);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].kind == LineKind::kSection && SameName(lines_[i].name, section))
            return i;
    }
    return std::string::npos;
}

std::size_t VxEditIniFile::FindKey(std::size_t header, std::string_view key) const
{
    key = Trim(key);
    for (std::size_t i = header + 1; i < lines_.size() && lines_[i].kind != LineKind::kSection; ++i) {
        if (lines_[i].kind == LineKind::kEntry && SameName(lines_[i].name, key))
            return i;
    }
    return std::string::npos;
}

const VxEditIniFile::Line* VxEditIniFile::FindEntry(std::string_view section, std::string_view key) const
{
    const std::size_t header = FindSection(section);
    if (header == std::string::npos)
        return nullptr;
    const std::size_t at = FindKey(header, key);
    return at == std::string::npos ? nullptr : &lines_[at];
}

bool VxEditIniFile::Has(std::string_view section, std::string_view key) const
{
    return FindEntry(section, key) != nullptr;
}

std::string VxEditIniFile::GetString(std::string_view section, std::string_view key,
                                     std::string_view fallback) const
{
    const Line* entry = FindEntry(section, key);
    return entry ? entry->value : std::string(fallback);
}

int VxEditIniFile::GetInt(std::string_view section, std::string_view key, int fallback) const
{
    const Line* entry = FindEntry(section, key);
    if (!entry)
        return fallback;
    std::string_view text = entry->value;
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    long long magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    if (error == std::errc::invalid_argument || magnitude < 0)
        return fallback;
    if (error == std::errc::result_out_of_range || magnitude > INT_MAX)
        return negative ? INT_MIN : INT_MAX;
    return static_cast<int>(negative ? -magnitude : magnitude);
}

std::vector<std::string> VxEditIniFile::GetSection(std::string_view section) const
{
    std::vector<std::string> entries;
    const std::size_t header = FindSection(section);
    if (header == std::string::npos)
        return entries;
    for (std::size_t i = header + 1; i < lines_.size() && lines_[i].kind != LineKind::kSection; ++i) {
        const std::string_view trimmed = Trim(lines_[i].text);
        if (!trimmed.empty() && trimmed.front() != ';')
            entries.emplace_back(trimmed);
    }
    return entries;
}

bool VxEditIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    section = Trim(section);
    key = Trim(key);
    if (section.empty() || key.empty() || HasLineBreak(section) || HasLineBreak(key) || HasLineBreak(value) ||
        section.find(']') != std::string_view::npos || key.find('=') != std::string_view::npos ||
        key.front() == '[' || key.front() == ';')
        return false;

    std::size_t header = FindSection(section);
    if (header == std::string::npos) {
        if (!lines_.empty()) {
            if (lines_.back().ending.empty())
                lines_.back().ending = lineEnd_;
            if (!Trim(lines_.back().text).empty()) {
                Line blank;
                blank.ending = lineEnd_;
                lines_.push_back(std::move(blank));
            }
        }
        Line line = Classify(Joined({"[", section, "]"}));
        line.ending = lineEnd_;
        lines_.push_back(std::move(line));
        header = lines_.size() - 1;
    }

    const std::size_t at = FindKey(header, key);
    if (at != std::string::npos) {
        Line& line = lines_[at];
        std::string ending = std::move(line.ending);
        line = Classify(Joined({line.name, "=", Quoted(value)}));
        line.ending = std::move(ending);
        return true;
    }

    // A new key goes after the last non-blank line of the section.
    std::size_t insertAt = header + 1;
    for (std::size_t i = header + 1; i < lines_.size() && lines_[i].kind != LineKind::kSection; ++i) {
        if (!Trim(lines_[i].text).empty())
            insertAt = i + 1;
    }
    if (lines_[insertAt - 1].ending.empty())
        lines_[insertAt - 1].ending = lineEnd_;
    Line line = Classify(Joined({key, "=", Quoted(value)}));
    line.ending = lineEnd_;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(line));
    return true;
}

std::string VxEditIniFile::Quoted(std::string_view value)
{
    return NeedsQuotes(value) ? Joined({"\"", value, "\""}) : std::string(value);
}

std::vector<std::string> VxEditIniFile::SectionNames() const
{
    std::vector<std::string> names;
    for (const Line& line : lines_) {
        if (line.kind == LineKind::kSection)
            names.push_back(line.name);
    }
    return names;
}

bool VxEditIniFile::WriteInt(std::string_view section, std::string_view key, int value)
{
    return WriteString(section, key, std::to_string(value));
}

std::string VxEditIniFile::Text() const
{
    std::string text;
    if (hasByteOrderMark_)
        text += kByteOrderMark;
    for (const Line& line : lines_) {
        text += line.text;
        text += line.ending;
    }
    return text;
}

bool VxEditIniFile::Commit() const
{
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path target(path_);
    // Replace the file a link points to, not the link.
    if (fs::is_symlink(target, error)) {
        target = fs::canonical(target, error);
        if (error)
            return false;
    }
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string pattern = (folder / Joined({".", target.filename().string(), ".XXXXXX"})).string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return false;
    TemporaryFile temporary(fd, pattern);

    struct stat info {};
    mode_t mode = 0;
    if (::stat(target.c_str(), &info) == 0) {
        mode = info.st_mode & 07777;
    } else {
        mode = ::umask(0);
        ::umask(mode);
        mode = 0666 & ~mode;
    }
    if (::fchmod(fd, mode) != 0 || !WriteAll(fd, Text()) || ::fsync(fd) != 0 || !temporary.Close())
        return false;
    if (::rename(pattern.c_str(), target.c_str()) != 0)
        return false;
    temporary.Keep();
    return true;
}
