#include "engine/VxEditMirrorFile.h"

#include "engine/VxEditFileAttributes.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace {

std::string& BackupFolder()
{
    static std::string folder;
    return folder;
}

// A new file named after pattern ("...XXXXXX" and then suffix), open for
// writing, mode 0600.
int MakeUnique(const std::string& pattern, const std::string& suffix, std::string& path)
{
    const std::string whole = pattern + suffix;
    std::vector<char> name(whole.begin(), whole.end());
    name.push_back('\0');
    const int descriptor = mkostemps(name.data(), static_cast<int>(suffix.size()), O_CLOEXEC);
    if (descriptor >= 0)
        path = name.data();
    return descriptor;
}

// Writes all of the bytes with plain write calls.
bool WriteAll(int descriptor, const char* bytes, std::size_t length)
{
    while (length > 0) {
        const ssize_t written = ::write(descriptor, bytes, length);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            if (written == 0)
                errno = ENOSPC;
            return false;
        }
        bytes += written;
        length -= static_cast<std::size_t>(written);
    }
    return true;
}

// Copies what `from` holds from its start to `to` at its current offset.
bool CopyContent(int from, int to)
{
    std::vector<char> piece(1 << 16);
    for (off_t at = 0;;) {
        const ssize_t got = pread(from, piece.data(), piece.size(), at);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return false;
        if (got == 0)
            return true;
        if (!WriteAll(to, piece.data(), static_cast<std::size_t>(got)))
            return false;
        at += got;
    }
}

}  // namespace

VxEditMirrorFile::VxEditMirrorFile(std::string target) : target_(std::move(target)) {}

VxEditMirrorFile::~VxEditMirrorFile()
{
    Abort();
}

void VxEditMirrorFile::SetBackupFolder(std::string folder)
{
    BackupFolder() = std::move(folder);
}

bool VxEditMirrorFile::Fail()
{
    if (error_ == 0)
        error_ = errno != 0 ? errno : EIO;
    return false;
}

bool VxEditMirrorFile::Open()
{
    struct stat existing {};
    if (stat(target_.c_str(), &existing) != 0)
        return OpenTemporary(nullptr);
    // Another name of the same file must see the new text too.
    if (existing.st_nlink > 1)
        return OpenInPlace();
    if (OpenTemporary(&existing))
        return true;
    // A folder we may not write to, or a new file that cannot be what the
    // old one is: the file itself takes the text.
    error_ = 0;
    return OpenInPlace();
}

bool VxEditMirrorFile::OpenTemporary(const struct stat* existing)
{
    const std::size_t slash = target_.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : target_.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target_ : target_.substr(slash + 1);
    descriptor_ = MakeUnique(folder + "." + name + ".XXXXXX", {}, temporary_);
    if (descriptor_ < 0)
        return Fail();
    if (existing) {
        if (!VxEditFileAttributes::CarryOver(target_, *existing, descriptor_)) {
            Fail();
            DropTemporary();
            return false;
        }
    } else {
        // A new file gets the permissions any newly created file gets.
        const mode_t mask = umask(0);
        umask(mask);
        if (fchmod(descriptor_, 0666 & ~mask) != 0) {
            Fail();
            DropTemporary();
            return false;
        }
    }
    return true;
}

void VxEditMirrorFile::DropTemporary()
{
    if (descriptor_ >= 0)
        close(std::exchange(descriptor_, -1));
    if (!temporary_.empty()) {
        unlink(temporary_.c_str());
        temporary_.clear();
    }
}

bool VxEditMirrorFile::OpenInPlace()
{
    inPlace_ = true;
    descriptor_ = open(target_.c_str(), O_RDWR | O_CLOEXEC);
    if (descriptor_ < 0)
        return Fail();
    if (!MakeBackup()) {
        Fail();
        close(std::exchange(descriptor_, -1));
        return false;
    }
    return true;
}

bool VxEditMirrorFile::MakeBackup()
{
    std::string folder = BackupFolder();
    if (folder.empty()) {
        const char* temporary = std::getenv("TMPDIR");
        folder = temporary && *temporary ? temporary : "/tmp";
    }
    if (folder.back() != '/')
        folder += '/';
    const std::size_t slash = target_.rfind('/');
    const std::string name = slash == std::string::npos ? target_ : target_.substr(slash + 1);
    const int backup = MakeUnique(folder + name + ".XXXXXX", ".backup", backup_);
    if (backup < 0)
        return false;
    const bool copied = CopyContent(descriptor_, backup) && fsync(backup) == 0;
    const int error = errno;
    close(backup);
    if (!copied) {
        unlink(backup_.c_str());
        backup_.clear();
        errno = error;
    }
    return copied;
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
        written_ += written;
        length -= static_cast<std::size_t>(written);
    }
    return true;
}

bool VxEditMirrorFile::Commit()
{
    if (descriptor_ < 0 || error_ != 0)
        return false;
    if (inPlace_) {
        if (ftruncate(descriptor_, written_) != 0 || fsync(descriptor_) != 0)
            return Fail();
        if (close(std::exchange(descriptor_, -1)) != 0) {
            Fail();
            // The descriptor is gone; the backup still holds the old text.
            keptBackup_ = std::exchange(backup_, {});
            return false;
        }
        unlink(backup_.c_str());
        backup_.clear();
        return true;
    }
    if (fsync(descriptor_) != 0)
        return Fail();
    if (close(std::exchange(descriptor_, -1)) != 0)
        return Fail();
    if (rename(temporary_.c_str(), target_.c_str()) != 0)
        return Fail();
    temporary_.clear();
    return true;
}

bool VxEditMirrorFile::RestoreBackup()
{
    const int backup = open(backup_.c_str(), O_RDONLY | O_CLOEXEC);
    if (backup < 0)
        return false;
    struct stat status {};
    const bool restored = fstat(backup, &status) == 0 && lseek(descriptor_, 0, SEEK_SET) == 0 &&
                          CopyContent(backup, descriptor_) &&
                          ftruncate(descriptor_, status.st_size) == 0 && fsync(descriptor_) == 0;
    close(backup);
    return restored;
}

void VxEditMirrorFile::Abort()
{
    if (!inPlace_) {
        DropTemporary();
        return;
    }
    if (descriptor_ >= 0) {
        // Nothing written yet means nothing to put back.
        const bool restored = written_ == 0 || RestoreBackup();
        close(std::exchange(descriptor_, -1));
        if (!restored)
            keptBackup_ = std::exchange(backup_, {});
    }
    if (!backup_.empty()) {
        unlink(backup_.c_str());
        backup_.clear();
    }
}
