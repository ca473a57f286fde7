#pragma once

#include <cstdint>
#include <string>

// What a file on disk was when the editor last read or wrote it: enough to
// tell that another program has since changed, replaced or deleted it.
struct VxEditFileStamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::int64_t size = 0;
    std::int64_t modifiedNs = 0;

    // The file the path names now, through symbolic links.
    static VxEditFileStamp Of(const std::string& path);

    bool operator==(const VxEditFileStamp& other) const = default;
};
