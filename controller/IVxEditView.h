#pragma once

#include <string>

// What the edit controller asks of the window that shows its text. Pixel
// values are document coordinates: x = 0 is the left edge of the text area
// at column 0, y = line × line height; the scroll origin is in the same
// units. The controller never draws and never knows the toolkit.
class IVxEditView {
public:
    virtual int LineHeight() const = 0;
    virtual int CharWidth() const = 0;   // the average character width
    virtual int SpaceWidth() const = 0;
    // Width of text[0, length) drawn from the text area's left edge, tabs
    // expanded to the view's tab stops.
    virtual int TextExtent(const char* text, int length) const = 0;
    // How many bytes of text fill width pixels, rounded to the nearer
    // character boundary (see VxEditTextFit).
    virtual int Fit(const char* text, int length, int width, bool printing) const = 0;
    // The advance of one display cell in a monospaced face, else 0: lines
    // of megabytes are then measured in cells rather than shaped.
    virtual double CellAdvance() const { return 0; }

    // The text area (the window without the left margin).
    virtual int ClientWidth() const = 0;
    virtual int ClientHeight() const = 0;
    virtual int ScrollX() const = 0;
    virtual int ScrollY() const = 0;
    // Rounds down to whole characters and lines; negative values become 0.
    virtual void ScrollTo(int x, int y) = 0;

    virtual void InvalidateLines(int first, int last) = 0;
    virtual void InvalidateAll() = 0;
    // The caret point changed; the view moves its caret there.
    virtual void CaretMoved() = 0;
    // Queues a command for the controller, run after the current one.
    virtual void PostCommand(int id) = 0;

    // A repeating timer: the view calls the controller's OnTimer(id) every
    // period until it is killed. Starting a running timer restarts it.
    virtual void StartTimer(int id, int milliseconds) = 0;
    virtual void KillTimer(int id) = 0;

    // How far in pixels the mouse must move with the button held inside the
    // selection before a drag of the text starts; less is a click.
    virtual int StartDragDistance() const = 0;

    // What a drag of text from this window ended in.
    enum DropEffect { kDropNone = 0, kDropCopy = 1, kDropMove = 2 };
    // Runs a drag of text (a column block when column is set) until it is
    // dropped or abandoned. Drops on this same window reach the controller
    // before this returns.
    virtual DropEffect DoDragDrop(const std::string& text, bool column) = 0;

protected:
    virtual ~IVxEditView() = default;
};
