#pragma once

#include "engine/VxEditWriteSink.h"

#include <string>
#include <sys/types.h>

// Writes a file so that the old one survives any failure: the bytes go to a
// temporary file in the target's folder, which replaces the target only once
// everything is written and flushed. The new file takes the permission bits
// (and, when we may, the owner) of the file it replaces.
class VxEditMirrorFile : public VxEditWriteSink {
public:
    explicit VxEditMirrorFile(std::string target);
    ~VxEditMirrorFile() override;
    VxEditMirrorFile(const VxEditMirrorFile&) = delete;
    VxEditMirrorFile& operator=(const VxEditMirrorFile&) = delete;

    bool Open();
    bool Write(const char* bytes, std::size_t length) override;
    // Flushes, closes and renames over the target.
    bool Commit();
    // Removes the temporary file; the target is left as it was.
    void Abort();

    // The errno of the first failure.
    int Error() const { return error_; }
    const std::string& Target() const { return target_; }

protected:
    // One write call; the seam through which tests make writing fail.
    virtual ssize_t WriteSome(int descriptor, const char* bytes, std::size_t length);

private:
    bool Fail();

    std::string target_;
    std::string temporary_;
    int descriptor_ = -1;
    int error_ = 0;
};
