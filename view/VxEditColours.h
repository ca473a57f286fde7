#pragma once

#include <QColor>
#include <QPalette>

#include <cstdint>

class VxEditLangConfig;
struct VxEditColorGroup;

// A text colour and a background.
struct VxEditColourPair {
    QColor foreground;
    QColor background;
};

// The colours of a configuration's groups as the view draws them: automatic
// colours take group 0's, and group 0's automatic colours come from the
// application palette.
class VxEditColours {
public:
    static QColor FromColorRef(std::uint32_t value);

    VxEditColours(const VxEditLangConfig* config, const QPalette& palette);

    VxEditColourPair Group(int index) const;
    // The "Text" and "Text Selection" special groups.
    const VxEditColourPair& Text() const { return text_; }
    const VxEditColourPair& Selection() const { return selection_; }

private:
    VxEditColourPair Resolve(const VxEditColorGroup* group) const;

    const VxEditLangConfig* config_;
    VxEditColourPair base_;  // group 0, resolved
    VxEditColourPair text_;
    VxEditColourPair selection_;
};
