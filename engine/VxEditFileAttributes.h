#pragma once

#include <string>
#include <sys/stat.h>

// What a file is besides its bytes: owner, group, permission bits and
// extended attributes (user.*, security.*, and the POSIX ACLs, which live in
// system.posix_acl_*). A save that writes a new file gives it all of these,
// or says it could not, so that the save goes into the old file instead.
namespace VxEditFileAttributes {

// Gives the open file `to` the owner, group and mode of `from` (as stat
// read it) and every extended attribute of the file at fromPath. False with
// errno when any of them could not be given.
bool CarryOver(const std::string& fromPath, const struct stat& from, int to);

}  // namespace VxEditFileAttributes
