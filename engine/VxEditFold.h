#pragma once

#include <cstdint>

// A folded range of lines: first stays on show and hides first+1..last.
struct VxEditFold {
    std::int32_t first = 0;
    std::int32_t last = 0;

    bool operator==(const VxEditFold&) const = default;
};
