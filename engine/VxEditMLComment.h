#pragma once

#include "engine/VxEditLineColPair.h"

#include <cstdint>

// A span of text found by the colouring scanner that crosses line ends (a
// multi-line comment or tag): from its opening tag to just past its closing
// one. Kept sorted by start in the model.
class VxEditMLComment : public VxEditLineColPair {
public:
    VxEditMLComment() = default;
    VxEditMLComment(const VxEditLineColPair& range, std::int32_t kind)
        : VxEditLineColPair(range), kind(kind)
    {
    }

    std::int32_t kind = -1;
};
