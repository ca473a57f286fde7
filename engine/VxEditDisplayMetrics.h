#pragma once

#include <string>

// What the view needs to lay out a model's text: the font described by the
// language configuration, and the sizes the view measures with that font.
class VxEditDisplayMetrics {
public:
    virtual ~VxEditDisplayMetrics() = default;

    std::string faceName;
    int pointSize = 10;
    int bold = 0;
    int italic = 0;

    // Measured by the view; 0 until then.
    int lineHeight = 0;
    int averageCharWidth = 0;
    int tabGlyphWidth = 0;
    int spaceWidth = 0;
};
