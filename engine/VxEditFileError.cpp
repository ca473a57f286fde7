#include "engine/VxEditFileError.h"

#include "platform/core/MessageSeam.h"

#include <cerrno>
#include <cstring>

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

void VxEditFileError::Report(int error, const std::string& path)
{
    quillet::platform::ShowMessage(MessageFor(error, path), quillet::platform::MessageButtons::Ok,
                                   quillet::platform::MessageIcon::Warning);
}
