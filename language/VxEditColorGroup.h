#pragma once

#include <cstdint>
#include <string>

// One named colour of a language configuration. Colours are 0x00BBGGRR.
// An automatic colour is drawn with the matching colour of group 0 and is
// written to HTML without a colour.
struct VxEditColorGroup {
    std::uint32_t Foreground = 0;
    std::uint32_t Background = 0xFFFFFF;
    int ForeColorAutomatic = 0;
    int BackColorAutomatic = 0;
    std::uint16_t Reserved = 0;  // carried through the binary form unchanged
    std::string DisplayName;
    int Configurable = 1;

    bool operator==(const VxEditColorGroup& other) const = default;
};
