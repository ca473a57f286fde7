// The mouse in an edit window: clicks, drags and double-clicks in the text
// area and in the left margin, the auto-scroll timer and cursor shapes.
#include "controller/VxEditController.h"

#include "controller/IVxEditView.h"
#include "engine/VxEdit.h"
#include "resources/CommandIds.h"

#include <algorithm>
#include <cstdlib>

int VxEditController::DocumentX(int x) const
{
    return x - MarginWidth() + view_.ScrollX();
}

int VxEditController::DocumentY(int y) const
{
    return y + view_.ScrollY();
}

std::int32_t VxEditController::LineAtY(int y) const
{
    const int lineHeight = std::max(view_.LineHeight(), 1);
    const int document = DocumentY(y);
    // Rounds towards minus infinity, so that a point above the window is
    // on the line above.
    const int line = document >= 0 ? document / lineHeight : -1;
    return std::clamp(line, 0, model_.LastLine());
}

// The position after a whole line: column 0 of the next line, or the end of
// the text on the last line.
VxEditLineCol VxEditController::LineEnd(std::int32_t line) const
{
    if (line < model_.LastLine())
        return VxEditLineCol(line + 1, 0);
    return VxEditLineCol(line, std::max(model_.LineLength(line), 0));
}

void VxEditController::SelectLines(std::int32_t anchorLine, std::int32_t line)
{
    VxEditLineCol anchor;
    VxEditLineCol active;
    if (line >= anchorLine) {
        anchor = VxEditLineCol(anchorLine, 0);
        active = LineEnd(line);
    } else {
        anchor = LineEnd(anchorLine);
        active = VxEditLineCol(line, 0);
    }
    SetCaret(active.line, active.column);
    SetSelection(anchor, active, VxEditSelection::kLines);
}

void VxEditController::StartCapture(int x, int y)
{
    captured_ = true;
    skipFirstMove_ = true;
    downX_ = lastX_ = x;
    downY_ = lastY_ = y;
    view_.StartTimer(kAutoScrollTimer, kAutoScrollPeriod);
}

void VxEditController::OnLButtonDown(int x, int y, int keys)
{
    StopMerging();
    dragPending_ = false;
    lastX_ = x;
    lastY_ = y;
    if (x < MarginWidth())
        MarginButtonDown(x, y, keys);
    else
        TextButtonDown(x, y, keys);
}

void VxEditController::MarginButtonDown(int x, int y, int keys)
{
    CancelSelection();
    if (keys & kKeyCtrl) {
        const std::int32_t last = model_.LastLine();
        SetCaret(last, std::max(model_.LineLength(last), 0));
        SetSelection(VxEditLineCol(0, 0), caret_, VxEditSelection::kStream);
        EnsureCaretVisible();
        return;
    }
    lineAnchor_ = LineAtY(y);
    SelectLines(lineAnchor_, lineAnchor_);
    StartCapture(x, y);
}

void VxEditController::TextButtonDown(int x, int y, int keys)
{
    if (PointInSelection(x, y)) {
        // Only a move of the held button turns this into a drag.
        dragPending_ = true;
        downX_ = x;
        downY_ = y;
        return;
    }
    const VxEditLineCol before = caret_;
    const VxEditSelection old = selection_;
    if (!(keys & kKeyShift))
        CancelSelection();
    const bool column = (keys & (kKeyShift | kKeyCtrl | kKeyAlt)) == kKeyAlt;
    if (column) {
        // Column mode first, so that the caret may land past a line's end.
        SetSelection(before, before, VxEditSelection::kColumnDrag);
    }
    SetCaretFromPoint(DocumentX(x), DocumentY(y));
    if (keys & kKeyShift) {
        const VxEditLineCol anchor = old.IsEmpty() ? before : old.anchor;
        const int mode = old.IsColumn() && !old.IsEmpty() ? VxEditSelection::kColumn
                                                          : VxEditSelection::kStream;
        SetSelection(anchor, caret_, mode);
        EnsureCaretVisible();
        return;
    }
    if (keys & kKeyCtrl) {
        SelectWord();
        return;
    }
    SetSelection(caret_, caret_, column ? VxEditSelection::kColumnDrag : VxEditSelection::kStream);
    EnsureCaretVisible();
    StartCapture(x, y);
}

void VxEditController::OnMouseMove(int x, int y)
{
    lastX_ = x;
    lastY_ = y;
    if (dragPending_) {
        const int distance = std::abs(x - downX_) + std::abs(y - downY_);
        if (distance >= std::max(view_.StartDragDistance(), 1)) {
            dragPending_ = false;
            DragSelection(downX_, downY_);
        }
        return;
    }
    if (!captured_)
        return;
    // The move that only reports the button-down point again changes nothing.
    if (skipFirstMove_) {
        skipFirstMove_ = false;
        if (x == downX_ && y == downY_)
            return;
    }
    int mode = selection_.mode;
    if (mode == VxEditSelection::kLines) {
        if (x < MarginWidth()) {
            SelectLines(lineAnchor_, LineAtY(y));
            EnsureCaretVisible();
            return;
        }
        mode = VxEditSelection::kStream;
    }
    const VxEditLineCol anchor = selection_.anchor;
    SetCaretFromPoint(DocumentX(x), DocumentY(y));
    SetSelection(anchor, caret_, mode);
    EnsureCaretVisible();
}

void VxEditController::OnLButtonUp(int x, int y)
{
    if (dragPending_) {
        // A click inside the selection: the caret goes there, the selection goes.
        dragPending_ = false;
        CancelSelection();
        SetCaretFromPoint(DocumentX(downX_), DocumentY(downY_));
        EnsureCaretVisible();
        return;
    }
    if (!captured_)
        return;
    OnMouseMove(x, y);
    captured_ = false;
    view_.KillTimer(kAutoScrollTimer);
    if (selection_.mode != VxEditSelection::kColumnDrag)
        return;
    std::int32_t left = 0;
    std::int32_t right = 0;
    ColumnDisplayRange(left, right);
    if (left == right)
        CancelSelection();
    else
        SetSelection(selection_.anchor, selection_.active, VxEditSelection::kColumn);
}

void VxEditController::OnCaptureLost()
{
    // A press inside the selection that never became a drag leaves it alone.
    dragPending_ = false;
    OnLButtonUp(lastX_, lastY_);
}

void VxEditController::OnTimer(int id)
{
    if (id == kAutoScrollTimer)
        OnMouseMove(lastX_, lastY_);
}

void VxEditController::OnLButtonDblClk(int x, int y, int keys)
{
    // The double-click's own press may have begun a drag; the word wins.
    dragPending_ = false;
    if (captured_) {
        captured_ = false;
        view_.KillTimer(kAutoScrollTimer);
    }
    if (x < MarginWidth()) {
        if (!(keys & kKeyCtrl))
            CancelSelection();
        return;
    }
    SetCaretFromPoint(DocumentX(x), DocumentY(y));
    SelectWord();
}

VxEditController::MouseCursor VxEditController::CursorAt(int x, int y)
{
    if (x < MarginWidth())
        return MouseCursor::kMargin;
    if (!captured_ && PointInSelection(x, y))
        return MouseCursor::kArrow;
    return MouseCursor::kIBeam;
}

bool VxEditController::PointInSelection(int x, int y)
{
    if (!HasSelection() || x < MarginWidth())
        return false;
    int pointX = DocumentX(x);
    int pointY = DocumentY(y);
    if (pointY < 0 || pointY / std::max(view_.LineHeight(), 1) > model_.LastLine())
        return false;
    const int originalX = pointX;
    const VxEditLineCol position = PointToPosition(pointX, pointY, true);
    if (selection_.IsColumn()) {
        if (position.line < selection_.FirstLine() || position.line > selection_.LastLine())
            return false;
        std::int32_t left = 0;
        std::int32_t right = 0;
        ColumnDisplayRange(left, right);
        const int leftX = PositionX(VxEditLineCol(position.line, ColumnAtDisplay(position.line, left)));
        const int rightX = PositionX(VxEditLineCol(position.line, ColumnAtDisplay(position.line, right)));
        return originalX >= leftX && originalX < rightX;
    }
    const VxEditLineColPair range = selection_.Normalized();
    if (position < range.start || range.end < position)
        return false;
    // Past the end of a line's text is outside, even on a selected line.
    const char* text = nullptr;
    std::int32_t length = 0;
    model_.LineText(position.line, text, length);
    if (originalX >= view_.TextExtent(text, length))
        return false;
    if (position == range.start && originalX < PositionX(range.start))
        return false;
    if (position == range.end && originalX >= PositionX(range.end))
        return false;
    return true;
}

void VxEditController::OnRightClick(int x, int y)
{
    if (PointInSelection(x, y))
        return;
    CancelSelection();
    SetCaretFromPoint(std::max(DocumentX(x), 0), DocumentY(y));
}
