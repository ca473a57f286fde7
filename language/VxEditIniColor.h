#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Colours in ini files: "red,green,blue", each 0 to 255, for a 0x00BBGGRR value.
class VxEditIniColor {
public:
    static std::string Format(std::uint32_t color);
    // Each of the three parts that is not a number reads as 0; numbers are
    // kept within 0 to 255.
    static std::uint32_t Parse(std::string_view text);
};
