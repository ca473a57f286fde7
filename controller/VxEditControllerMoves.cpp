// Caret movement of VxEditController: character, word, line, page and text
// moves, with and without extending the selection, and the selections made
// by keys (word, all).
#include "controller/VxEditController.h"

#include "controller/IVxEditView.h"
#include "engine/VxEdit.h"
#include "resources/CommandIds.h"

#include <algorithm>

bool VxEditController::IsMoveCommand(int id)
{
    switch (id) {
    case cmd::kCharLeft: case cmd::kSelectCharLeft: case cmd::kCharRight: case cmd::kSelectCharRight:
    case cmd::kLineUp: case cmd::kSelectLineUp: case cmd::kLineDown: case cmd::kSelectLineDown:
    case cmd::kWordLeft: case cmd::kSelectWordLeft: case cmd::kWordRight: case cmd::kSelectWordRight:
    case cmd::kLineStart: case cmd::kSelectToLineStart: case cmd::kLineEnd: case cmd::kSelectToLineEnd:
    case cmd::kTextStart: case cmd::kSelectToTextStart: case cmd::kTextEnd: case cmd::kSelectToTextEnd:
    case cmd::kPageUp: case cmd::kSelectPageUp: case cmd::kPageDown: case cmd::kSelectPageDown:
    case cmd::kScrollLineUp: case cmd::kScrollLineDown:
    case cmd::kSelectColumnLeft: case cmd::kSelectColumnRight:
    case cmd::kSelectColumnUp: case cmd::kSelectColumnDown:
        return true;
    default:
        return false;
    }
}

bool VxEditController::DispatchMove(int id)
{
    if (!IsMoveCommand(id))
        return false;
    switch (id) {
    case cmd::kCharLeft: case cmd::kSelectCharLeft:
        MoveTo(CharLeftTarget(), id == cmd::kSelectCharLeft, true);
        break;
    case cmd::kCharRight: case cmd::kSelectCharRight:
        MoveTo(CharRightTarget(), id == cmd::kSelectCharRight, true);
        break;
    case cmd::kLineUp: case cmd::kSelectLineUp:
        VerticalMove(-1, id == cmd::kSelectLineUp);
        break;
    case cmd::kLineDown: case cmd::kSelectLineDown:
        VerticalMove(1, id == cmd::kSelectLineDown);
        break;
    case cmd::kWordLeft: case cmd::kSelectWordLeft:
        MoveTo(words_.WordLeftTarget(caret_), id == cmd::kSelectWordLeft, true);
        break;
    case cmd::kWordRight: case cmd::kSelectWordRight:
        MoveTo(words_.WordRightTarget(caret_), id == cmd::kSelectWordRight, true);
        break;
    case cmd::kLineStart: case cmd::kSelectToLineStart:
        MoveTo(SmartHomeTarget(), id == cmd::kSelectToLineStart, true);
        break;
    case cmd::kLineEnd: case cmd::kSelectToLineEnd:
        MoveTo(VxEditLineCol(caret_.line, model_.LineLength(caret_.line)), id == cmd::kSelectToLineEnd,
               true);
        break;
    case cmd::kTextStart: case cmd::kSelectToTextStart:
        MoveTo(VxEditLineCol(0, 0), id == cmd::kSelectToTextStart, true);
        break;
    case cmd::kTextEnd: case cmd::kSelectToTextEnd:
        MoveTo(VxEditLineCol(model_.LastLine(), model_.LineLength(model_.LastLine())),
               id == cmd::kSelectToTextEnd, true);
        break;
    case cmd::kPageUp: case cmd::kSelectPageUp:
        PageMove(-1, id == cmd::kSelectPageUp);
        break;
    case cmd::kPageDown: case cmd::kSelectPageDown:
        PageMove(1, id == cmd::kSelectPageDown);
        break;
    case cmd::kScrollLineUp:
        ScrollLineKey(-1);
        break;
    case cmd::kScrollLineDown:
        ScrollLineKey(1);
        break;
    case cmd::kSelectColumnLeft:
    case cmd::kSelectColumnRight:
    case cmd::kSelectColumnUp:
    case cmd::kSelectColumnDown:
        ExtendColumnSelection(id);
        break;
    default:
        break;
    }
    return true;
}

void VxEditController::MoveTo(const VxEditLineCol& target, bool extend, bool setPreferredX)
{
    if (extend) {
        ExtendSelectionTo(target, setPreferredX);
        return;
    }
    CancelSelection();
    SetCaret(target.line, target.column, !setPreferredX);
    EnsureCaretVisible();
}

void VxEditController::ExtendColumnSelection(int id)
{
    const VxEditSelection before = selection_;
    if (!selection_.IsColumn() || selection_.IsEmpty()) {
        selection_.anchor = caret_;
        selection_.active = caret_;
    }
    // Column mode first, so that the caret may go past line ends.
    selection_.mode = VxEditSelection::kColumn;
    VxEditLineCol target = caret_;
    if (id == cmd::kSelectColumnLeft)
        target = CharLeftTarget();
    else if (id == cmd::kSelectColumnRight)
        target = VxEditLineCol(caret_.line, caret_.column < model_.LineLength(caret_.line)
                                                ? words_.NextCharEnd(caret_.line, caret_.column)
                                                : caret_.column + 1);
    else {
        const int step = id == cmd::kSelectColumnUp ? -1 : 1;
        if (caret_.line + step >= 0 && caret_.line + step <= model_.LastLine())
            target = VerticalTarget(step);
    }
    const bool vertical = id == cmd::kSelectColumnUp || id == cmd::kSelectColumnDown;
    SetCaret(target.line, target.column, vertical);
    selection_.active = caret_;
    InvalidateSelection(before);
    EnsureCaretVisible();
}

void VxEditController::ExtendSelectionTo(const VxEditLineCol& target, bool setPreferredX)
{
    const VxEditSelection before = selection_;
    if (selection_.IsEmpty()) {
        selection_.mode = VxEditSelection::kStream;
        selection_.anchor = caret_;
    }
    SetCaret(target.line, target.column, !setPreferredX);
    selection_.active = caret_;
    InvalidateSelection(before);
    EnsureCaretVisible();
}

VxEditLineCol VxEditController::CharLeftTarget() const
{
    if (caret_.column == 0) {
        if (caret_.line == 0)
            return caret_;
        return VxEditLineCol(caret_.line - 1, model_.LineLength(caret_.line - 1));
    }
    const std::int32_t length = model_.LineLength(caret_.line);
    if (caret_.column > length)
        return VxEditLineCol(caret_.line, VirtualSpaceAllowed() ? caret_.column - 1 : length);
    return VxEditLineCol(caret_.line, std::max(words_.PreviousCharStart(caret_.line, caret_.column), 0));
}

VxEditLineCol VxEditController::CharRightTarget() const
{
    const std::int32_t length = model_.LineLength(caret_.line);
    if (caret_.column < length)
        return VxEditLineCol(caret_.line, words_.NextCharEnd(caret_.line, caret_.column));
    if (VirtualSpaceAllowed())
        return VxEditLineCol(caret_.line, caret_.column + 1);
    if (caret_.line < model_.LastLine())
        return VxEditLineCol(caret_.line + 1, 0);
    return VxEditLineCol(caret_.line, length);
}

VxEditLineCol VxEditController::SmartHomeTarget() const
{
    const char* text = nullptr;
    std::int32_t length = 0;
    model_.LineText(caret_.line, text, length);
    std::int32_t first = 0;
    while (first < length && (text[first] == ' ' || text[first] == '\t'))
        ++first;
    if (caret_.column == first || first == length)
        first = 0;
    return VxEditLineCol(caret_.line, first);
}

VxEditLineCol VxEditController::VerticalTarget(int lines)
{
    int x = preferredX_;
    int y = caretY_ + lines * view_.LineHeight();
    return PointToPosition(x, y, VirtualSpaceAllowed());
}

void VxEditController::VerticalMove(int lines, bool extend)
{
    const std::int32_t line = caret_.line + lines;
    if (line < 0 || line > model_.LastLine()) {
        if (!extend)
            CancelSelection();
        EnsureCaretVisible();
        return;
    }
    MoveTo(VerticalTarget(lines), extend, false);
}

void VxEditController::PageMove(int direction, bool extend)
{
    const int lineHeight = std::max(view_.LineHeight(), 1);
    const int page = view_.ClientHeight() / lineHeight;
    if (page <= 0)
        return;
    const std::int32_t step = std::max(page - 1, 1);
    const std::int32_t target = std::clamp(caret_.line + direction * step, 0, model_.LastLine());
    const std::int32_t moved = target - caret_.line;
    view_.ScrollTo(view_.ScrollX(), view_.ScrollY() + moved * lineHeight);
    MoveTo(VerticalTarget(moved), extend, false);
}

void VxEditController::ScrollLineKey(int direction)
{
    ScrollLines(direction);
    const int lineHeight = std::max(view_.LineHeight(), 1);
    const std::int32_t top = (view_.ScrollY() + lineHeight - 1) / lineHeight;
    const std::int32_t bottom =
        std::max(top, (view_.ScrollY() + view_.ClientHeight()) / lineHeight - 1);
    std::int32_t line = caret_.line;
    if (line < top)
        line = top;
    else if (line > bottom)
        line = bottom;
    line = std::min(line, model_.LastLine());
    if (line == caret_.line)
        return;
    CancelSelection();
    int x = caretX_;
    int y = line * lineHeight;
    const VxEditLineCol position = PointToPosition(x, y, VirtualSpaceAllowed());
    SetCaret(position.line, position.column, true);
}

void VxEditController::SelectAll()
{
    CancelSelection();
    if (model_.LineCount() < 1)
        return;
    LockRedraw();
    const std::int32_t last = model_.LastLine();
    SetCaret(last, model_.LineLength(last));
    ExtendSelectionTo(VxEditLineCol(0, 0), true);
    UnlockRedraw();
}

void VxEditController::SelectWord()
{
    VxEditLineCol start;
    VxEditLineCol end;
    if (!words_.WordAt(caret_, start, end))
        return;
    CancelSelection();
    SetCaret(end.line, end.column);
    SetSelection(start, caret_, VxEditSelection::kStream);
    EnsureCaretVisible();
}
