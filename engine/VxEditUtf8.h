#pragma once

#include <cstddef>
#include <cstdint>

// UTF-8 as the engine counts it: a character is a valid UTF-8 sequence, or a
// single byte that starts none (a stray continuation byte, an overlong or
// surrogate form, a truncated sequence). Columns are byte columns; display
// cells are 1 per character and 2 for East Asian wide characters.
struct VxEditUtf8 {
    // Byte length of the character that starts at text[0] (1 to 4); at least
    // 1 when available > 0, and never more than available.
    static int CharLength(const char* text, std::size_t available);

    // The code point of that character; a byte that starts no valid sequence
    // decodes as itself (0x80..0xFF), which no valid sequence can produce at
    // that length.
    static std::uint32_t Decode(const char* text, std::size_t available, int* length = nullptr);

    // 2 for East Asian wide and fullwidth code points, else 1.
    static int CellWidth(std::uint32_t codePoint);
    // Cells of the character at text[0] (tabs are the caller's business).
    static int CellsAt(const char* text, std::size_t available, int* length = nullptr);

    // Where the character holding byte column of text[0, length) starts,
    // found by looking at most three bytes back: column itself when it starts
    // a character or lies at or past the end.
    static std::size_t CharStart(const char* text, std::size_t length, std::size_t column);

    // The length a sequence starting with this byte would have (1 to 4).
    static int ExpectedLength(unsigned char lead);

    static bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }
};
