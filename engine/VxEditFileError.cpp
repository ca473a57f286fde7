#include "engine/VxEditFileError.h"

#include "platform/core/MessageSeam.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

std::string VxEditFileError::MessageFor(int error, const std::string& path)
{
    const std::string name = "'" + path + "'";
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return name + " was not found.";
    case EACCES:
    case EPERM:
        return "Access to " + name + " was denied.";
    case EISDIR:
        return name + " is a directory.";
    case ENOSPC:
    case EDQUOT:
        return "The disk is full while accessing " + name + ".";
    case EROFS:
        return name + " is on a read-only file system.";
    case ENAMETOOLONG:
        return "The file name " + name + " is too long.";
    case EMFILE:
    case ENFILE:
        return "Too many files are open to access " + name + ".";
    case ELOOP:
        return name + " leads through too many symbolic links.";
    case EIO:
        return "A hardware error occurred while accessing " + name + ".";
    default:
        return "An unexpected error occurred while accessing " + name + ": " +
               std::strerror(error) + ".";
    }
}

std::string VxEditFileError::SaveMessageFor(int error, const std::string& path)
{
    if (error == ENOENT || error == ENOTDIR) {
        const std::size_t slash = path.find_last_of('/');
        const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
        struct stat status {};
        if (stat(folder.c_str(), &status) != 0 || !S_ISDIR(status.st_mode))
            return "'" + path + "' cannot be saved: the folder '" + folder + "' no longer exists.";
    }
    return MessageFor(error, path);
}

std::string VxEditFileError::NotAFileMessage(unsigned mode, const std::string& path)
{
    if (S_ISDIR(mode))
        return MessageFor(EISDIR, path);
    const char* kind = S_ISFIFO(mode)  ? "a pipe"
                       : S_ISCHR(mode) ? "a character device"
                       : S_ISBLK(mode) ? "a block device"
                       : S_ISSOCK(mode) ? "a socket"
                                        : "of an unknown kind";
    return "'" + path + "' is not a regular file (" + kind + ").";
}

void VxEditFileError::Report(int error, const std::string& path)
{
    quillet::platform::ShowMessage(MessageFor(error, path), quillet::platform::MessageButtons::Ok,
                                   quillet::platform::MessageIcon::Warning);
}
