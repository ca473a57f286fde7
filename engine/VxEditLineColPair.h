#pragma once

#include "engine/VxEditLineCol.h"

// A range of text. It may be unordered (a selection made backwards); the
// normalised form has start <= end.
class VxEditLineColPair {
public:
    VxEditLineColPair() = default;
    VxEditLineColPair(const VxEditLineCol& start, const VxEditLineCol& end) : start(start), end(end) {}
    VxEditLineColPair(std::int32_t startLine, std::int32_t startColumn, std::int32_t endLine,
                      std::int32_t endColumn)
        : start(startLine, startColumn), end(endLine, endColumn)
    {
    }
    virtual ~VxEditLineColPair() = default;
    VxEditLineColPair(const VxEditLineColPair&) = default;
    VxEditLineColPair& operator=(const VxEditLineColPair&) = default;

    void Normalize();
    VxEditLineColPair Normalized() const;
    bool IsEmpty() const { return start == end; }

    // Equality of the normalised forms.
    bool operator==(const VxEditLineColPair& other) const;
    bool operator!=(const VxEditLineColPair& other) const { return !(*this == other); }

    // start <= position <= end, both ends included.
    bool Contains(const VxEditLineCol& position) const;
    // Either range contains one of the other's ends.
    bool Overlaps(const VxEditLineColPair& other) const;

    void Shift(const VxEditLineColPair& edit, bool insertion);

    VxEditLineCol start;
    VxEditLineCol end;
};
