#pragma once

// The window that shows a viewport, told what to repaint when the model
// changes. Lines are model lines.
class IVxEditViewportHost {
public:
    virtual void RepaintLines(int first, int last) = 0;
    virtual void RepaintAll() = 0;
    virtual void RepaintMargin() = 0;
    // The document's size or the display metrics changed.
    virtual void ExtentChanged() = 0;
    // Another pane of the same text scrolled; a pane beside or above the
    // splitter's active pane takes over its origin across the split.
    virtual void FollowActivePane() = 0;

protected:
    virtual ~IVxEditViewportHost() = default;
};
