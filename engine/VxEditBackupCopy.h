#pragma once

#include <cstdint>
#include <string>

// The copy of a file's old content that a save into the file itself keeps
// while it writes, and puts back when the save cannot finish (at once, or at
// the next start after a run that ended during the save).
namespace VxEditBackupCopy {

// Copies the first `length` bytes of the open file `from` to a new file at
// path (mode 0600; refused when the name is taken) and flushes it to disk.
// False with errno set, and nothing left at path, when that fails.
bool Make(int from, std::int64_t length, const std::string& path);

// Writes the copy at path over the open file `to`, cuts it to the copy's
// length, which must be `length`, gives it back its modification time
// (nanoseconds since the epoch; only the file's owner may, so a refusal is
// ignored) and flushes it to disk. False with errno set when that fails.
bool PutBack(const std::string& path, std::int64_t length, std::int64_t modifiedNs, int to);

}  // namespace VxEditBackupCopy
