#include "engine/VxEditUtf8.h"

namespace {

// The allowed range of the second byte for each lead byte (RFC 3629), which
// rules out overlong forms, surrogates and code points above U+10FFFF.
bool SecondByteFits(unsigned char lead, unsigned char second)
{
    switch (lead) {
    case 0xE0: return second >= 0xA0 && second <= 0xBF;
    case 0xED: return second >= 0x80 && second <= 0x9F;
    case 0xF0: return second >= 0x90 && second <= 0xBF;
    case 0xF4: return second >= 0x80 && second <= 0x8F;
    default: return second >= 0x80 && second <= 0xBF;
    }
}

int SequenceLength(unsigned char lead)
{
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 1;
}

struct Range {
    std::uint32_t first;
    std::uint32_t last;
};

// East Asian Wide (W) and Fullwidth (F) blocks.
constexpr Range kWide[] = {
    {0x1100, 0x115F},   {0x231A, 0x231B},   {0x2329, 0x232A},   {0x23E9, 0x23EC},
    {0x23F0, 0x23F0},   {0x23F3, 0x23F3},   {0x25FD, 0x25FE},   {0x2614, 0x2615},
    {0x2648, 0x2653},   {0x267F, 0x267F},   {0x2693, 0x2693},   {0x26A1, 0x26A1},
    {0x26AA, 0x26AB},   {0x26BD, 0x26BE},   {0x26C4, 0x26C5},   {0x26CE, 0x26CE},
    {0x26D4, 0x26D4},   {0x26EA, 0x26EA},   {0x26F2, 0x26F3},   {0x26F5, 0x26F5},
    {0x26FA, 0x26FA},   {0x26FD, 0x26FD},   {0x2705, 0x2705},   {0x270A, 0x270B},
    {0x2728, 0x2728},   {0x274C, 0x274C},   {0x274E, 0x274E},   {0x2753, 0x2755},
    {0x2757, 0x2757},   {0x2795, 0x2797},   {0x27B0, 0x27B0},   {0x27BF, 0x27BF},
    {0x2B1B, 0x2B1C},   {0x2B50, 0x2B50},   {0x2B55, 0x2B55},   {0x2E80, 0x303E},
    {0x3041, 0x33FF},   {0x3400, 0x4DBF},   {0x4E00, 0x9FFF},   {0xA000, 0xA4CF},
    {0xA960, 0xA97F},   {0xAC00, 0xD7A3},   {0xF900, 0xFAFF},   {0xFE10, 0xFE19},
    {0xFE30, 0xFE6F},   {0xFF00, 0xFF60},   {0xFFE0, 0xFFE6},   {0x16FE0, 0x16FE4},
    {0x17000, 0x18CFF}, {0x1B000, 0x1B2FF}, {0x1F004, 0x1F004}, {0x1F0CF, 0x1F0CF},
    {0x1F18E, 0x1F18E}, {0x1F191, 0x1F19A}, {0x1F200, 0x1F251}, {0x1F300, 0x1F64F},
    {0x1F680, 0x1F6FF}, {0x1F7E0, 0x1F7EB}, {0x1F900, 0x1F9FF}, {0x1FA70, 0x1FAFF},
    {0x20000, 0x2FFFD}, {0x30000, 0x3FFFD},
};

}  // namespace

int VxEditUtf8::ExpectedLength(unsigned char lead)
{
    return SequenceLength(lead);
}

int VxEditUtf8::CharLength(const char* text, std::size_t available)
{
    if (available == 0)
        return 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    if (bytes[0] < 0x80)
        return 1;
    const int length = SequenceLength(bytes[0]);
    if (length == 1 || static_cast<std::size_t>(length) > available)
        return 1;
    if (!SecondByteFits(bytes[0], bytes[1]))
        return 1;
    for (int i = 2; i < length; ++i) {
        if (!IsContinuation(bytes[i]))
            return 1;
    }
    return length;
}

std::uint32_t VxEditUtf8::Decode(const char* text, std::size_t available, int* length)
{
    const int n = CharLength(text, available);
    if (length)
        *length = n;
    if (n == 0)
        return 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    if (n == 1)
        return bytes[0];
    std::uint32_t code = bytes[0] & (0x7F >> n);
    for (int i = 1; i < n; ++i)
        code = (code << 6) | (bytes[i] & 0x3F);
    return code;
}

int VxEditUtf8::CellWidth(std::uint32_t codePoint)
{
    if (codePoint < kWide[0].first)
        return 1;
    int low = 0;
    int high = static_cast<int>(sizeof kWide / sizeof kWide[0]) - 1;
    while (low <= high) {
        const int middle = (low + high) / 2;
        if (codePoint < kWide[middle].first)
            high = middle - 1;
        else if (codePoint > kWide[middle].last)
            low = middle + 1;
        else
            return 2;
    }
    return 1;
}

int VxEditUtf8::CellsAt(const char* text, std::size_t available, int* length)
{
    if (available > 0 && static_cast<unsigned char>(text[0]) < 0x80) {
        if (length)
            *length = 1;
        return 1;
    }
    int n = 0;
    const std::uint32_t code = Decode(text, available, &n);
    if (length)
        *length = n;
    return n <= 1 ? 1 : CellWidth(code);
}

std::size_t VxEditUtf8::CharStart(const char* text, std::size_t length, std::size_t column)
{
    if (column >= length)
        return column;
    // A lead byte is never a continuation byte, so the character holding the
    // column starts at most three bytes back, at a lead byte whose valid
    // sequence reaches past the column.
    if (!IsContinuation(static_cast<unsigned char>(text[column])))
        return column;
    for (std::size_t back = 1; back <= 3 && back <= column; ++back) {
        const unsigned char byte = static_cast<unsigned char>(text[column - back]);
        if (!IsContinuation(byte)) {
            const int n = CharLength(text + column - back, length - (column - back));
            return static_cast<std::size_t>(n) > back ? column - back : column;
        }
    }
    return column;
}
