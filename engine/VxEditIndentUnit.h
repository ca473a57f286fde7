#pragma once

#include <cstdint>

class VxEditTextBuffer;

// One level of indentation as a document writes it: a tab, or a number of
// spaces. Detected from a text's leading whitespace when it is loaded, so
// that the editor goes on indenting the way the file already does.
struct VxEditIndentUnit {
    enum class Kind { kUnknown, kTabs, kSpaces };

    Kind kind = Kind::kUnknown;
    // The spaces of one level (kSpaces only).
    int spaces = 0;

    // Tabs when most indented lines start with a tab; else the step between
    // the indentation widths of neighbouring lines (2, 4 or 8 spaces) that
    // occurs most often (a smaller one that occurs at least half as often
    // wins: continuation lines often step two units), counting steps into
    // a block ("{" ends the line before) first; kUnknown when the text
    // shows neither. Only the
    // leading bytes of the first kSampleLines indented lines are read, so a
    // huge text costs what a short one does.
    static VxEditIndentUnit Detect(const VxEditTextBuffer& buffer);

    static constexpr std::int32_t kSampleLines = 4000;

    bool operator==(const VxEditIndentUnit& other) const = default;
};
