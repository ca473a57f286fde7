#pragma once

#include <cstddef>
#include <cstdint>

// CRC-32 (the polynomial of zlib and PNG) of a run of bytes: how the records
// of recovery journals and save intents tell a whole record from a torn one.
std::uint32_t VxEditCrc32(const char* data, std::size_t length);
