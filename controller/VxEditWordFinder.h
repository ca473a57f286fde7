#pragma once

#include "engine/VxEditLineCol.h"

#include <cstdint>

class VxEdit;

// Character classes and the runs of one class that word movement, word
// deletion and word selection work on. Classes: 0 space or tab (only when
// whitespace is distinguished, else 1), 1 a delimiter of the model's
// language configuration, 2 any other character.
class VxEditWordFinder {
public:
    static constexpr int kWhite = 0;
    static constexpr int kDelimiter = 1;
    static constexpr int kWord = 2;

    explicit VxEditWordFinder(VxEdit& model) : model_(model) {}

    int ClassOf(std::uint32_t code, bool distinguishWhite) const;
    // The class of the character that starts at the column.
    int ClassAt(std::int32_t line, std::int32_t column, bool distinguishWhite) const;

    // The start of the run of one class that ends at the position; at
    // column 0 the run is the line break and the result the end of the
    // previous line. runClass receives the run's class (-1 for a line break).
    VxEditLineCol RunStartBefore(const VxEditLineCol& at, int* runClass = nullptr) const;
    // The end of the run that starts at the position; at the line end the
    // next line's start (on the last line the position itself).
    VxEditLineCol RunEndAfter(const VxEditLineCol& at, int* runClass = nullptr) const;

    // The targets of Ctrl+Left and Ctrl+Right.
    VxEditLineCol WordLeftTarget(const VxEditLineCol& at) const;
    VxEditLineCol WordRightTarget(const VxEditLineCol& at) const;

    // The word around the caret for select word; false when there is none.
    bool WordAt(const VxEditLineCol& at, VxEditLineCol& start, VxEditLineCol& end) const;

    // The character before the column (its start), or -1 at column 0.
    std::int32_t PreviousCharStart(std::int32_t line, std::int32_t column) const;
    std::int32_t NextCharEnd(std::int32_t line, std::int32_t column) const;

private:
    VxEdit& model_;
};
