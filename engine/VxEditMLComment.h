#pragma once

#include "engine/VxEditLineColPair.h"

#include <cstdint>
#include <deque>

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

// The spans of a text in order. A deque: a text of a hundred thousand
// comments grows it without ever holding two copies at once.
using VxEditSpanList = std::deque<VxEditMLComment>;
