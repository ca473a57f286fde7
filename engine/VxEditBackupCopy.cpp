#include "engine/VxEditBackupCopy.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// Copies `length` bytes from the start of one open file to the start of
// another.
bool CopyBytes(int from, int to, std::int64_t length)
{
    std::vector<char> piece(1 << 20);
    for (off_t at = 0; at < length;) {
        const std::size_t wanted = static_cast<std::size_t>(std::min<std::int64_t>(length - at, 1 << 20));
        const ssize_t got = pread(from, piece.data(), wanted, at);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            // The file is shorter than it was said to be.
            if (got == 0)
                errno = EIO;
            return false;
        }
        for (ssize_t put = 0; put < got;) {
            const ssize_t count = pwrite(to, piece.data() + put, static_cast<std::size_t>(got - put), at + put);
            if (count < 0 && errno == EINTR)
                continue;
            if (count <= 0) {
                if (count == 0)
                    errno = ENOSPC;
                return false;
            }
            put += count;
        }
        at += got;
    }
    return true;
}

}  // namespace

namespace VxEditBackupCopy {

bool Make(int from, std::int64_t length, const std::string& path)
{
    const int copy = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (copy < 0)
        return false;
    const bool made = CopyBytes(from, copy, length) && fsync(copy) == 0;
    const int error = errno;
    if (close(copy) != 0 || !made) {
        unlink(path.c_str());
        errno = made ? errno : error;
        return false;
    }
    return true;
}

bool PutBack(const std::string& path, std::int64_t length, std::int64_t modifiedNs, int to)
{
    const int copy = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (copy < 0)
        return false;
    struct stat status {};
    bool restored = fstat(copy, &status) == 0;
    if (restored && status.st_size != length) {
        errno = EIO;
        restored = false;
    }
    restored = restored && CopyBytes(copy, to, length) && ftruncate(to, length) == 0;
    const int error = errno;
    close(copy);
    if (!restored) {
        errno = error;
        return false;
    }
    const timespec times[2] = {{0, UTIME_OMIT},
                               {static_cast<time_t>(modifiedNs / 1000000000), static_cast<long>(modifiedNs % 1000000000)}};
    futimens(to, times);
    return fsync(to) == 0;
}

}  // namespace VxEditBackupCopy
