#pragma once

#include <cstddef>
#include <vector>

// The document windows in the order they were last used, the one in use
// first, and a walk through them as Ctrl+Tab makes while Ctrl is held. The
// walk steps over the order as it was when the walk began; the windows it
// shows on the way keep their places, and only the one it ends on moves to
// the front, as desktops switch their windows.
class CWindowMru {
public:
    using Window = const void*;

    // A window came into use: it goes first, unless a walk shows it (then
    // the walk's end decides). A window not known yet goes first anyway.
    void Activated(Window window);
    void Removed(Window window);
    const std::vector<Window>& Order() const { return order_; }

    // The next window of the walk (step 1) or the one before it (step -1),
    // wrapping around; the first step begins the walk at the window in use.
    // Null while fewer than two windows are open.
    Window Step(int step);
    bool Walking() const { return walking_; }
    // Ends the walk on the window it shows, which goes first; returns it
    // (null without a walk).
    Window Commit();
    // Ends the walk where it began; returns that window (null without a walk).
    Window Cancel();

    // The window used last before the given one, for when that one closes;
    // null when no other is open.
    Window Successor(Window closing) const;

private:
    void MoveToFront(Window window);

    std::vector<Window> order_;
    std::vector<Window> walk_;
    std::size_t at_ = 0;
    bool walking_ = false;
};
