#pragma once

#include <string>

// The standard message for a file operation that failed: it names the file
// and the cause (not found, access denied, is a directory, disk full...).
struct VxEditFileError {
    static std::string MessageFor(int error, const std::string& path);
    // As MessageFor, for a save into path: a folder on the way that is gone
    // (renamed or deleted since the file was opened) is named.
    static std::string SaveMessageFor(int error, const std::string& path);
    // Why something that is no regular file is not opened or written, by
    // its kind (st_mode): "'<path>' is not a regular file (a pipe)."
    static std::string NotAFileMessage(unsigned mode, const std::string& path);
    // Shows that message through the message seam.
    static void Report(int error, const std::string& path);
};
