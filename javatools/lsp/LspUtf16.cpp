#include "javatools/lsp/LspUtf16.h"

#include <cstddef>

namespace {

// The length of the valid UTF-8 sequence at the start of the bytes, or 0.
std::size_t SequenceLength(std::string_view bytes)
{
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80)
        return 1;
    std::size_t length = 0;
    unsigned minimum = 0;
    unsigned code = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, minimum = 0x80, code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, minimum = 0x800, code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, minimum = 0x10000, code = lead & 0x07;
    } else {
        return 0;
    }
    if (bytes.size() < length)
        return 0;
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xC0) != 0x80)
            return 0;
        code = (code << 6) | (byte(i) & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    return length;
}

}  // namespace

namespace LspUtf16 {

int FromByteColumn(std::string_view line, int byteColumn)
{
    int units = 0;
    std::size_t at = 0;
    while (at < line.size() && static_cast<long>(at) < byteColumn) {
        const std::size_t length = SequenceLength(line.substr(at));
        units += length == 4 ? 2 : 1;
        at += length == 0 ? 1 : length;
    }
    return units;
}

int ToByteColumn(std::string_view line, int utf16Column)
{
    int units = 0;
    std::size_t at = 0;
    while (at < line.size()) {
        const std::size_t length = SequenceLength(line.substr(at));
        const int width = length == 4 ? 2 : 1;
        if (units + width > utf16Column)
            break;
        units += width;
        at += length == 0 ? 1 : length;
    }
    return static_cast<int>(at);
}

}  // namespace LspUtf16
