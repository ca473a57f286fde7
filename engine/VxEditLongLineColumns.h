#pragma once

#include "engine/VxEditLineColPair.h"

#include <cstdint>
#include <vector>

// Display columns of one very long line (a minified script is one line of
// megabytes), worked out once: the display column of a character start
// every kStep bytes, so that turning a byte column into a display column or
// back scans at most kStep bytes. An edit keeps every checkpoint before it,
// so typing at the end of such a line never measures the line again.
class VxEditLongLineColumns {
public:
    // Lines at least this many bytes long are measured through checkpoints.
    static constexpr std::int32_t kLongLine = 65536;
    static constexpr std::int32_t kStep = 4096;

    // The display column of a byte column of the line starting at
    // lineStart (a column inside a character lands where it starts).
    std::int32_t DisplayOf(std::int32_t line, std::int64_t lineStart, const char* text, std::int32_t length,
                           std::int32_t column, int tabSize);
    // The byte column of the character covering a display column, and the
    // display column where that character starts.
    std::int32_t ColumnOf(std::int32_t line, std::int64_t lineStart, const char* text, std::int32_t length,
                          std::int32_t display, int tabSize, std::int32_t* snappedDisplay);

    // The text changed over range: checkpoints behind its start are kept.
    void Edited(const VxEditLineColPair& range);
    void Forget();

private:
    struct Checkpoint {
        std::int32_t column;   // a character start
        std::int32_t display;  // its display column
    };

    void Follow(std::int32_t line, std::int64_t lineStart, int tabSize);
    // Adds checkpoints until one lies at or past column (or the line ends).
    void ExtendToColumn(const char* text, std::int32_t length, std::int32_t column);
    void ExtendToDisplay(const char* text, std::int32_t length, std::int32_t display);
    void AddNext(const char* text, std::int32_t length);

    std::int32_t line_ = -1;
    std::int64_t lineStart_ = -1;
    int tabSize_ = 0;
    std::vector<Checkpoint> checkpoints_;
};
