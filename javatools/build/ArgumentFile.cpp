#include "javatools/build/ArgumentFile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

std::string ArgumentFileText(const std::vector<std::string>& arguments)
{
    std::string text;
    for (const std::string& argument : arguments) {
        text += '"';
        for (char c : argument) {
            switch (c) {
            case '\\': text += "\\\\"; break;
            case '"': text += "\\\""; break;
            case '\n': text += "\\n"; break;
            case '\r': text += "\\r"; break;
            default: text += c;
            }
        }
        text += "\"\n";
    }
    return text;
}

TemporaryArgumentFile::~TemporaryArgumentFile()
{
    if (!path_.empty())
        ::unlink(path_.c_str());
}

bool TemporaryArgumentFile::Write(const std::vector<std::string>& arguments, std::string* failure)
{
    const char* folder = std::getenv("TMPDIR");
    std::string pattern = folder && folder[0] == '/' ? folder : "/tmp";
    if (pattern.back() != '/')
        pattern += '/';
    pattern += "quillet-sources-XXXXXX";
    // mkstemp makes the file for this user only.
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        *failure = "Could not create a temporary file in " + pattern.substr(0, pattern.rfind('/') + 1) + ": " +
                   std::strerror(errno);
        return false;
    }
    path_ = pattern;
    const std::string text = ArgumentFileText(arguments);
    std::size_t written = 0;
    while (written < text.size()) {
        const ssize_t n = ::write(fd, text.data() + written, text.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            *failure = "Could not write the temporary file " + path_ + ": " + std::strerror(errno);
            ::close(fd);
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    if (::close(fd) != 0) {
        *failure = "Could not write the temporary file " + path_ + ": " + std::strerror(errno);
        return false;
    }
    return true;
}
