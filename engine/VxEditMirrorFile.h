#pragma once

#include "engine/VxEditWriteSink.h"

#include <string>
#include <sys/types.h>

// Writes a file so that the old one survives any failure.
//
// Usually the bytes go to a temporary file in the target's folder, which
// takes the target's owner, group, mode and extended attributes (ACLs
// included) and replaces it only once everything is written and flushed.
// When that would change what the file is (the target has other hard links,
// or a new file in its folder cannot be made or cannot carry all of the
// above), the save goes into the target itself: its old content is first
// copied to a backup in the backup folder, and any failure puts it back.
class VxEditMirrorFile : public VxEditWriteSink {
public:
    explicit VxEditMirrorFile(std::string target);
    ~VxEditMirrorFile() override;
    VxEditMirrorFile(const VxEditMirrorFile&) = delete;
    VxEditMirrorFile& operator=(const VxEditMirrorFile&) = delete;

    // Where in-place saves keep the old content while they write; the
    // temporary folder until the program names one of its own.
    static void SetBackupFolder(std::string folder);

    bool Open();
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

protected:
    // One write call of the new text; the seam through which tests make
    // writing fail.
    virtual ssize_t WriteSome(int descriptor, const char* bytes, std::size_t length);

private:
    bool Fail();
    bool OpenTemporary(const struct stat* existing);
    void DropTemporary();
    bool OpenInPlace();
    bool MakeBackup();
    bool RestoreBackup();

    std::string target_;
    std::string temporary_;
    std::string backup_;
    std::string keptBackup_;
    int descriptor_ = -1;
    int error_ = 0;
    bool inPlace_ = false;
    off_t written_ = 0;
};
