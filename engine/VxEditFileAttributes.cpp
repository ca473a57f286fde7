#include "engine/VxEditFileAttributes.h"

#include <cerrno>
#include <string_view>
#include <sys/xattr.h>
#include <unistd.h>
#include <vector>

namespace VxEditFileAttributes {
namespace {

// The names of the file's extended attributes, NUL-separated; false with
// errno when they cannot be listed. A file system without attributes has none.
bool ListNames(const std::string& path, std::vector<char>& names)
{
    for (;;) {
        const ssize_t size = listxattr(path.c_str(), nullptr, 0);
        if (size < 0) {
            if (errno == ENOTSUP) {
                names.clear();
                return true;
            }
            return false;
        }
        names.resize(static_cast<std::size_t>(size));
        if (size == 0)
            return true;
        const ssize_t got = listxattr(path.c_str(), names.data(), names.size());
        if (got >= 0) {
            names.resize(static_cast<std::size_t>(got));
            return true;
        }
        if (errno != ERANGE)  // ERANGE: the list grew meanwhile; ask again
            return false;
    }
}

bool ReadValue(const std::string& path, const char* name, std::vector<char>& value)
{
    for (;;) {
        const ssize_t size = getxattr(path.c_str(), name, nullptr, 0);
        if (size < 0)
            return false;
        value.resize(static_cast<std::size_t>(size));
        if (size == 0)
            return true;
        const ssize_t got = getxattr(path.c_str(), name, value.data(), value.size());
        if (got >= 0) {
            value.resize(static_cast<std::size_t>(got));
            return true;
        }
        if (errno != ERANGE)
            return false;
    }
}

bool CopyExtendedAttributes(const std::string& fromPath, int to)
{
    std::vector<char> names;
    if (!ListNames(fromPath, names))
        return false;
    std::vector<char> value;
    for (std::size_t at = 0; at < names.size();) {
        const char* name = names.data() + at;
        const std::string_view nameView(name);
        at += nameView.size() + 1;
        if (!ReadValue(fromPath, name, value)) {
            if (errno == ENODATA)  // removed meanwhile
                continue;
            return false;
        }
        if (fsetxattr(to, name, value.data(), value.size(), 0) != 0)
            return false;
    }
    return true;
}

}  // namespace

bool CarryOver(const std::string& fromPath, const struct stat& from, int to)
{
    struct stat now {};
    if (fstat(to, &now) != 0)
        return false;
    // Owner first: changing it may clear set-id bits, which the mode then
    // puts back; the ACL, copied last, sets the group bits it implies.
    if ((now.st_uid != from.st_uid || now.st_gid != from.st_gid) &&
        fchown(to, from.st_uid, from.st_gid) != 0)
        return false;
    if (fchmod(to, from.st_mode & 07777) != 0)
        return false;
    return CopyExtendedAttributes(fromPath, to);
}

}  // namespace VxEditFileAttributes
