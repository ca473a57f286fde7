#include "engine/VxEditMirrorFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

VxEditMirrorFile::VxEditMirrorFile(std::string target) : target_(std::move(target)) {}

VxEditMirrorFile::~VxEditMirrorFile()
{
    Abort();
}

bool VxEditMirrorFile::Fail()
{
    if (error_ == 0)
        error_ = errno != 0 ? errno : EIO;
    return false;
}

bool VxEditMirrorFile::Open()
{
    const std::size_t slash = target_.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : target_.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target_ : target_.substr(slash + 1);
    std::string pattern = folder + "." + name + ".XXXXXX";
    std::vector<char> path(pattern.begin(), pattern.end());
    path.push_back('\0');
    descriptor_ = mkostemp(path.data(), O_CLOEXEC);
    if (descriptor_ < 0)
        return Fail();
    temporary_ = path.data();

    struct stat existing {};
    if (stat(target_.c_str(), &existing) == 0) {
        if (fchmod(descriptor_, existing.st_mode & 07777) != 0)
            return Fail();
        if (geteuid() == 0)
            (void)fchown(descriptor_, existing.st_uid, existing.st_gid);
    } else {
        // A new file gets the permissions any newly created file gets.
        const mode_t mask = umask(0);
        umask(mask);
        if (fchmod(descriptor_, 0666 & ~mask) != 0)
            return Fail();
    }
    return true;
}

ssize_t VxEditMirrorFile::WriteSome(int descriptor, const char* bytes, std::size_t length)
{
    return ::write(descriptor, bytes, length);
}

bool VxEditMirrorFile::Write(const char* bytes, std::size_t length)
{
    if (descriptor_ < 0 || error_ != 0)
        return false;
    while (length > 0) {
        const ssize_t written = WriteSome(descriptor_, bytes, length);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = ENOSPC;
            return Fail();
        }
        bytes += written;
        length -= static_cast<std::size_t>(written);
    }
    return true;
}

bool VxEditMirrorFile::Commit()
{
    if (descriptor_ < 0 || error_ != 0)
        return false;
    if (fsync(descriptor_) != 0)
        return Fail();
    const int descriptor = std::exchange(descriptor_, -1);
    if (close(descriptor) != 0)
        return Fail();
    if (rename(temporary_.c_str(), target_.c_str()) != 0)
        return Fail();
    temporary_.clear();
    return true;
}

void VxEditMirrorFile::Abort()
{
    if (descriptor_ >= 0)
        close(std::exchange(descriptor_, -1));
    if (!temporary_.empty()) {
        unlink(temporary_.c_str());
        temporary_.clear();
    }
}
