#include "engine/VxEditFileMatchReader.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr std::size_t kPiece = 1 << 20;

std::int64_t CountLines(const char* text, std::size_t length)
{
    std::int64_t count = 0;
    for (std::size_t i = 0; i < length; ++i)
        count += text[i] == '\n';
    return count;
}

bool LooksBinary(const char* text, std::size_t length)
{
    return std::memchr(text, 0, std::min(length, VxEditFileMatchReader::kBinaryProbe)) != nullptr;
}

// Closes the descriptor it was given.
struct FileHandle {
    int fd;
    ~FileHandle()
    {
        if (fd >= 0)
            close(fd);
    }
};

}  // namespace

VxEditFileMatchReader::VxEditFileMatchReader(VxEditLineMatcher& matcher, const std::atomic<bool>& stop)
    : matcher_(matcher), stop_(stop)
{
}

void VxEditFileMatchReader::Begin()
{
    line_ = 0;
    tooComplexLines_ = 0;
    firstTooComplex_ = 0;
}

void VxEditFileMatchReader::SearchLines(const char* text, std::size_t length, const std::string& path,
                                        std::vector<VxEditFileMatch>& matches)
{
    // Lines are counted up to each place asked about, which only moves on.
    std::size_t counted = 0;
    auto lineAt = [&](std::size_t offset) {
        if (offset > counted) {
            line_ += CountLines(text + counted, offset - counted);
            counted = offset;
        }
        return line_ + 1;
    };
    std::int64_t lastTooComplex = 0;
    const auto onHit = [&](const VxEditLineMatcher::Hit& hit) {
        const std::int64_t line = lineAt(hit.lineStart);
        std::size_t end = hit.lineEnd;
        if (end > hit.lineStart && text[end - 1] == '\r')
            --end;
        matches.push_back(VxEditFileMatch{path, line, static_cast<std::int64_t>(hit.matchStart - hit.lineStart),
                                          static_cast<std::int64_t>(hit.matchLength),
                                          std::string(text + hit.lineStart, end - hit.lineStart)});
    };
    const auto onTooComplex = [&](std::size_t offset) {
        const std::int64_t line = lineAt(offset);
        if (line == lastTooComplex)
            return;
        lastTooComplex = line;
        if (tooComplexLines_++ == 0)
            firstTooComplex_ = line;
    };
    matcher_.FindLines(text, length, onHit, onTooComplex);
    lineAt(length);
}

VxEditFileMatchReader::Outcome VxEditFileMatchReader::SearchText(const std::string& path, const std::string& text,
                                                                 std::vector<VxEditFileMatch>& matches)
{
    Begin();
    if (LooksBinary(text.data(), text.size()))
        return Outcome::Binary;
    // Pieces of whole lines, so that a stop is seen soon in a huge text too.
    std::size_t from = 0;
    while (from < text.size()) {
        if (stop_.load(std::memory_order_relaxed))
            return Outcome::Stopped;
        std::size_t end = std::min(text.size(), from + kPiece);
        if (end < text.size()) {
            const void* lineEnd = std::memchr(text.data() + end, '\n', text.size() - end);
            end = lineEnd ? static_cast<std::size_t>(static_cast<const char*>(lineEnd) - text.data()) + 1 : text.size();
        }
        SearchLines(text.data() + from, end - from, path, matches);
        from = end;
    }
    return Outcome::Searched;
}

VxEditFileMatchReader::Outcome VxEditFileMatchReader::Search(const std::string& path,
                                                             std::vector<VxEditFileMatch>& matches)
{
    Begin();
    // Not blocking: a pipe that goes by a source file's name is not waited on.
    const FileHandle file{open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY)};
    struct stat info {};
    if (file.fd < 0 || fstat(file.fd, &info) != 0 || !S_ISREG(info.st_mode))
        return Outcome::Unreadable;
    if (buffer_.size() < kPiece)
        buffer_.resize(kPiece);
    std::size_t filled = 0;
    std::int64_t total = 0;
    bool first = true;
    bool atEnd = false;
    while (!atEnd) {
        if (stop_.load(std::memory_order_relaxed))
            return Outcome::Stopped;
        // A line longer than the buffer makes it grow.
        if (filled == buffer_.size())
            buffer_.resize(buffer_.size() * 2);
        const ssize_t got = read(file.fd, buffer_.data() + filled, buffer_.size() - filled);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return Outcome::Unreadable;
        }
        filled += static_cast<std::size_t>(got);
        total += got;
        // The size it reported saves the last read; a file that reports none
        // (as the kernel's do) is read until a read gives nothing.
        atEnd = got == 0 || (info.st_size > 0 && total >= info.st_size);
        if (first && (filled >= kBinaryProbe || atEnd)) {
            if (LooksBinary(buffer_.data(), filled))
                return Outcome::Binary;
            first = false;
        }
        if (!atEnd && filled < buffer_.size())
            continue;
        std::size_t whole = filled;
        if (!atEnd) {
            const void* lastEnd = memrchr(buffer_.data(), '\n', filled);
            if (!lastEnd)
                continue;
            whole = static_cast<std::size_t>(static_cast<const char*>(lastEnd) - buffer_.data()) + 1;
        }
        SearchLines(buffer_.data(), whole, path, matches);
        std::memmove(buffer_.data(), buffer_.data() + whole, filled - whole);
        filled -= whole;
    }
    return Outcome::Searched;
}
