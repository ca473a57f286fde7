#pragma once

#include "engine/VxEditFileStamp.h"
#include "engine/VxEditWriteSink.h"

#include <memory>
#include <string>
#include <sys/types.h>

class VxEditSaveIntent;

// Writes a file so that the old one survives any failure.
//
// Usually the bytes go to a temporary file in the target's folder, which
// takes the target's owner, group, mode and extended attributes (ACLs
// included) and replaces it only once everything is written and flushed.
// When that would change what the file is (the target has other hard links,
// or a new file in its folder cannot be made or cannot carry all of the
// above), the save goes into the target itself: its old content is first
// copied to a backup in the backup folder, with a save record beside it
// (VxEditSaveIntent) that lets the next start put the old content back
// after a run that ended during the save, and any failure puts it back.
class VxEditMirrorFile : public VxEditWriteSink {
public:
    explicit VxEditMirrorFile(std::string target);
    ~VxEditMirrorFile() override;
    VxEditMirrorFile(const VxEditMirrorFile&) = delete;
    VxEditMirrorFile& operator=(const VxEditMirrorFile&) = delete;

    // Where in-place saves keep the old content and their records while
    // they write: the recovery folder, which the next start looks into.
    // Empty (no such folder) lets no in-place save keep its old content.
    static void SetBackupFolder(std::string folder);

    bool Open();
    // An in-place save could not keep the old content aside first: Open
    // failed for that, and this says why. Going on is the user's choice.
    const std::string& BackupProblem() const { return backupProblem_; }
    // Opens the target for an in-place save that keeps no copy of its old
    // content: a failure or a crash while writing leaves it half written.
    bool OpenUnprotected();
    bool Write(const char* bytes, std::size_t length) override;
    // Flushes and closes; renames over the target, or, in place, cuts the
    // target to the bytes written and drops the backup.
    bool Commit();
    // Leaves the target as it was: removes the temporary file, or puts the
    // backup's content back into the target.
    void Abort();

    // The errno of the first failure.
    int Error() const { return error_; }
    const std::string& Target() const { return target_; }
    // The save goes into the target itself.
    bool InPlace() const { return inPlace_; }
    // After an in-place save whose old content could not be put back: the
    // backup that holds it, kept for the user. Empty otherwise.
    const std::string& KeptBackup() const { return keptBackup_; }
    // After an in-place save without a backup that failed once the target
    // had changed: the target holds part of the new text.
    bool LeftIncomplete() const { return incomplete_; }

protected:
    // One write call of the new text; the seam through which tests make
    // writing fail.
    virtual ssize_t WriteSome(int descriptor, const char* bytes, std::size_t length);
    // The points between the steps of an in-place save, each reached once
    // what it names is on disk; the seam through which tests stop a save.
    enum class Step {
        IntentRecorded,  // the save record, before the copy of the old content
        BackedUp,        // the whole copy, before the target changes
        TargetWritten,   // the whole new text, before the record says so
        WrittenRecorded  // the record says so, before it and the copy go
    };
    virtual void Reached(Step) {}

private:
    bool Fail();
    bool OpenTemporary(const struct stat* existing);
    void DropTemporary();
    bool OpenInPlace();
    bool MakeBackup();

    std::string target_;
    std::string temporary_;
    std::string keptBackup_;
    std::string backupProblem_;
    std::unique_ptr<VxEditSaveIntent> intent_;
    VxEditFileStamp before_;
    int descriptor_ = -1;
    // A second descriptor of the temporary that keeps its flock, which
    // tells sweeps that it is in use, up to the rename over the target.
    int temporaryLock_ = -1;
    int error_ = 0;
    bool inPlace_ = false;
    // In place: the target's bytes or length may differ from the old ones.
    bool changed_ = false;
    bool incomplete_ = false;
    off_t written_ = 0;
};
