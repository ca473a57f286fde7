#pragma once

#include <cstdint>

// A range of lines a text offers to fold: first stays on show, the lines
// after it up to last may be hidden.
struct VxEditFoldRegion {
    enum Kind { kBlock, kComment, kImports, kElement };

    std::int32_t first = 0;
    std::int32_t last = 0;
    Kind kind = kBlock;

    bool operator==(const VxEditFoldRegion&) const = default;
};
