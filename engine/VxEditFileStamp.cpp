#include "engine/VxEditFileStamp.h"

#include <sys/stat.h>

VxEditFileStamp VxEditFileStamp::Of(const std::string& path)
{
    VxEditFileStamp stamp;
    struct stat status {};
    if (path.empty() || stat(path.c_str(), &status) != 0)
        return stamp;
    stamp.exists = true;
    stamp.device = static_cast<std::uint64_t>(status.st_dev);
    stamp.inode = static_cast<std::uint64_t>(status.st_ino);
    stamp.size = static_cast<std::int64_t>(status.st_size);
    stamp.modifiedNs = static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    return stamp;
}
