#pragma once

#include "engine/VxEditLineColPair.h"

// The controller's selection: an anchor, an active end and a mode. Line
// selections cover whole lines with positions, from column 0 of the first
// line to column 0 of the line after the last (or the end of the text), so
// they read and draw like stream selections.
class VxEditSelection {
public:
    enum Mode { kNone = 0, kStream = 1, kLines = 2, kColumn = 3, kColumnDrag = 4 };

    bool IsEmpty() const { return mode == kNone || anchor == active; }
    bool IsColumn() const { return mode == kColumn || mode == kColumnDrag; }
    bool IsStream() const { return mode == kStream || mode == kLines; }
    VxEditLineColPair Normalized() const { return VxEditLineColPair(anchor, active).Normalized(); }
    int FirstLine() const { return anchor.line < active.line ? anchor.line : active.line; }
    int LastLine() const { return anchor.line < active.line ? active.line : anchor.line; }
    void Clear()
    {
        mode = kNone;
        anchor = active = VxEditLineCol();
    }

    VxEditLineCol anchor;
    VxEditLineCol active;
    int mode = kNone;
};
