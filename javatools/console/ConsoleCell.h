#pragma once

#include <cstdint>

// One character cell of the console, as the painter and the text readers need
// it. Colours are resolved to 0x00RRGGBB; a cell that uses the terminal's
// default colour says so in its flags, so the painter can use its own.
struct ConsoleCell {
    enum Flags : std::uint8_t {
        kDefaultForeground = 1,
        kDefaultBackground = 2,
        kBold = 4,
        kUnderline = 8,
        kItalic = 16,
        kReverse = 32,
        kStrike = 64,
    };
    // The right half of a wide character holds this instead of a character.
    static constexpr char32_t kWideTail = 0xFFFFFFFF;

    char32_t ch = 0;  // 0: blank
    std::uint32_t foreground = 0;
    std::uint32_t background = 0;
    std::uint8_t flags = kDefaultForeground | kDefaultBackground;
    std::uint8_t width = 1;  // 2 for a wide character

    bool IsBlank() const
    {
        return (ch == 0 || ch == U' ') &&
               (flags & (kDefaultBackground | kReverse | kUnderline | kStrike)) == kDefaultBackground;
    }
};
