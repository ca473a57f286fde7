#include "engine/VxEditMirrorFile.h"

#include "engine/VxEditBackupCopy.h"
#include "engine/VxEditFileAttributes.h"
#include "engine/VxEditSaveIntent.h"
#include "engine/VxEditStaleTemporaries.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
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

// The target by a path that stays good when the working folder changes.
std::string AbsolutePath(const std::string& path)
{
    if (char* resolved = realpath(path.c_str(), nullptr)) {
        std::string absolute = resolved;
        std::free(resolved);
        return absolute;
    }
    if (!path.empty() && path[0] == '/')
        return path;
    std::vector<char> folder(4096);
    return getcwd(folder.data(), folder.size()) ? std::string(folder.data()) + "/" + path : path;
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
    // Temporaries that killed saves left here go before this one comes.
    VxEditStaleTemporaries::SweepOnce(folder.empty() ? "." : folder);
    descriptor_ = MakeUnique(VxEditStaleTemporaries::PatternFor(folder, name), VxEditStaleTemporaries::kSuffix,
                             temporary_);
    if (descriptor_ < 0)
        return Fail();
    // Where locks are not to be had, a sweep still spares a temporary
    // younger than its own start.
    if (flock(descriptor_, LOCK_EX | LOCK_NB) == 0)
        temporaryLock_ = fcntl(descriptor_, F_DUPFD_CLOEXEC, 0);
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
    if (temporaryLock_ >= 0)
        close(std::exchange(temporaryLock_, -1));
}

bool VxEditMirrorFile::OpenInPlace()
{
    inPlace_ = true;
    descriptor_ = open(target_.c_str(), O_RDWR | O_CLOEXEC);
    if (descriptor_ < 0)
        return Fail();
    if (!MakeBackup()) {
        close(std::exchange(descriptor_, -1));
        return false;
    }
    return true;
}

bool VxEditMirrorFile::OpenUnprotected()
{
    backupProblem_.clear();
    error_ = 0;
    inPlace_ = true;
    intent_.reset();
    descriptor_ = open(target_.c_str(), O_RDWR | O_CLOEXEC);
    return descriptor_ >= 0 || Fail();
}

bool VxEditMirrorFile::MakeBackup()
{
    const std::string& folder = BackupFolder();
    if (folder.empty()) {
        backupProblem_ = "there is no recovery folder to keep it in";
        return false;
    }
    struct stat status {};
    if (fstat(descriptor_, &status) != 0)
        return Fail();
    before_.exists = true;
    before_.device = static_cast<std::uint64_t>(status.st_dev);
    before_.inode = static_cast<std::uint64_t>(status.st_ino);
    before_.size = static_cast<std::int64_t>(status.st_size);
    before_.modifiedNs = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    // The record first, then the copy, then the record says the copy is
    // whole: only then may the target change.
    intent_ = std::make_unique<VxEditSaveIntent>();
    bool kept = intent_->Begin(folder, AbsolutePath(target_), before_);
    if (kept)
        Reached(Step::IntentRecorded);
    if (kept && !VxEditBackupCopy::Make(descriptor_, before_.size, intent_->BackupPath())) {
        const int error = errno;
        intent_->Forget();
        errno = error;
        kept = false;
    } else if (kept && !intent_->Mark(VxEditSaveIntent::Stage::BackedUp, before_.size)) {
        const int error = errno;
        intent_->Finish();
        errno = error;
        kept = false;
    }
    if (!kept) {
        backupProblem_ = "it cannot be copied into " + folder + " (" + std::strerror(errno) + ")";
        intent_.reset();
        return false;
    }
    Reached(Step::BackedUp);
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
    changed_ = true;
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
        changed_ = true;
        if (ftruncate(descriptor_, written_) != 0 || fsync(descriptor_) != 0)
            return Fail();
        if (close(std::exchange(descriptor_, -1)) != 0) {
            Fail();
            // The descriptor is gone; the backup still holds the old text.
            if (intent_) {
                keptBackup_ = intent_->BackupPath();
                intent_->Forget();
                intent_.reset();
            }
            return false;
        }
        if (intent_) {
            Reached(Step::TargetWritten);
            intent_->Mark(VxEditSaveIntent::Stage::Written, written_);
            Reached(Step::WrittenRecorded);
            intent_->Finish();
            intent_.reset();
        }
        return true;
    }
    if (fsync(descriptor_) != 0)
        return Fail();
    if (close(std::exchange(descriptor_, -1)) != 0)
        return Fail();
    if (rename(temporary_.c_str(), target_.c_str()) != 0)
        return Fail();
    temporary_.clear();
    if (temporaryLock_ >= 0)
        close(std::exchange(temporaryLock_, -1));
    return true;
}

void VxEditMirrorFile::Abort()
{
    if (!inPlace_) {
        DropTemporary();
        return;
    }
    if (descriptor_ < 0)
        return;
    bool restored = !changed_;
    if (changed_ && intent_)
        restored = VxEditBackupCopy::PutBack(intent_->BackupPath(), before_.size, before_.modifiedNs, descriptor_);
    close(std::exchange(descriptor_, -1));
    if (intent_) {
        if (restored) {
            intent_->Mark(VxEditSaveIntent::Stage::Restored, before_.size);
            intent_->Finish();
        } else {
            keptBackup_ = intent_->BackupPath();
            intent_->Forget();
        }
        intent_.reset();
    } else if (!restored) {
        incomplete_ = true;
    }
}
