#pragma once

#include <string>

// The standard message for a file operation that failed: it names the file
// and the cause (not found, access denied, is a directory, disk full...).
struct VxEditFileError {
    static std::string MessageFor(int error, const std::string& path);
    // Shows that message through the message seam.
    static void Report(int error, const std::string& path);
};
