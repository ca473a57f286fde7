#pragma once

#include <functional>

// Which character boundary of a line a pixel offset selects. Extents are
// tab-expanding widths of the line's first bytes, measured by the caller.
class VxEditTextFit {
public:
    using Extent = std::function<int(int bytes)>;

    // How many bytes of text[0, length) fill width pixels, rounded to the
    // nearer character boundary. Over a tab the printing mode needs the point
    // within 4 pixels of the tab's end to take the tab; otherwise any point
    // past the tab's start takes it.
    static int Fit(const char* text, int length, int width, bool printing, int averageCharWidth,
                   const Extent& extent);
};
