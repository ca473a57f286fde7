#pragma once

#include <cstdint>

class VxEditLineColPair;

// A place in a text: 0-based line and 0-based byte column, ordered line first.
class VxEditLineCol {
public:
    VxEditLineCol() = default;
    VxEditLineCol(std::int32_t line, std::int32_t column) : line(line), column(column) {}
    VxEditLineCol(const VxEditLineCol&) = default;
    VxEditLineCol& operator=(const VxEditLineCol&) = default;
    virtual ~VxEditLineCol() = default;

    bool operator<(const VxEditLineCol& other) const
    {
        return line < other.line || (line == other.line && column < other.column);
    }
    bool operator>(const VxEditLineCol& other) const { return other < *this; }
    bool operator==(const VxEditLineCol& other) const
    {
        return line == other.line && column == other.column;
    }
    bool operator!=(const VxEditLineCol& other) const { return !(*this == other); }
    bool operator<=(const VxEditLineCol& other) const { return !(other < *this); }
    bool operator>=(const VxEditLineCol& other) const { return !(*this < other); }

    // Keeps the position on the same text after an insertion or deletion of
    // the given range.
    void Shift(const VxEditLineColPair& edit, bool insertion);

    std::int32_t line = 0;
    std::int32_t column = 0;
};
