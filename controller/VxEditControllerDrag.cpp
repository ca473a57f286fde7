// Drag and drop of text: the selection dragged out of this window, and text
// dragged over and dropped on it, moved or copied.
#include "controller/VxEditController.h"

#include "controller/IVxEditView.h"
#include "engine/VxEdit.h"
#include "engine/VxEditCompositeGuard.h"

#include <algorithm>

void VxEditController::DragSelection(int x, int y)
{
    SetCaretFromPoint(DocumentX(x), DocumentY(y));
    const VxEditLineCol home = caret_;
    view_.InvalidateAll();
    const std::string text = SelectionText();
    const bool column = selection_.IsColumn();
    dragSource_ = true;
    droppedHere_ = false;
    const IVxEditView::DropEffect effect = view_.DoDragDrop(text, column);
    dragSource_ = false;
    // A drag abandoned over this window ends its drop caret as well.
    dropTarget_ = false;
    if (droppedHere_)
        return;
    if (effect == IVxEditView::kDropMove && CanEdit()) {
        // Dropped in another window: the text left this one.
        StopMerging();
        OwnEdit edit(*this);
        DeleteSelectionToCaret();
    } else if (effect == IVxEditView::kDropNone) {
        CancelSelection();
        SetCaret(home.line, home.column);
    }
    EnsureCaretVisible();
}

bool VxEditController::DragOver(int x, int y)
{
    if (!CanEdit())
        return false;
    if (!dropTarget_) {
        dropTarget_ = true;
        caretBeforeDrag_ = caret_;
        preferredXBeforeDrag_ = preferredX_;
        selectionBeforeDrag_ = selection_;
    }
    SetCaretFromPoint(std::max(DocumentX(x), 0), DocumentY(y));
    EnsureCaretVisible();
    return true;
}

void VxEditController::DragLeave()
{
    if (!dropTarget_)
        return;
    dropTarget_ = false;
    const VxEditSelection before = selection_;
    selection_ = selectionBeforeDrag_;
    InvalidateSelection(before);
    // Set directly: the caret may have stood in virtual space.
    caret_ = caretBeforeDrag_;
    caretX_ = PositionX(caret_);
    caretY_ = caret_.line * view_.LineHeight();
    preferredX_ = preferredXBeforeDrag_;
    CaretUpdated();
}

bool VxEditController::OnSelection(const VxEditLineCol& position)
{
    if (!HasSelection())
        return false;
    if (selection_.IsColumn()) {
        if (position.line < selection_.FirstLine() || position.line > selection_.LastLine())
            return false;
        std::int32_t left = 0;
        std::int32_t right = 0;
        ColumnDisplayRange(left, right);
        const std::int32_t display = DisplayOf(position);
        return display >= left && display <= right;
    }
    const VxEditLineColPair range = selection_.Normalized();
    return !(position < range.start) && !(range.end < position);
}

IVxEditView::DropEffect VxEditController::Drop(int x, int y, const std::string& text, bool column,
                                               bool copy)
{
    dropTarget_ = false;
    if (!CanEdit())
        return IVxEditView::kDropNone;
    StopMerging();
    int pointX = std::max(DocumentX(x), 0);
    int pointY = DocumentY(y);
    const VxEditLineCol target = PointToPosition(pointX, pointY, VirtualSpaceAllowed() || column);
    if (dragSource_) {
        droppedHere_ = true;
        if (!copy && OnSelection(target)) {
            // Moving text onto itself or its edges leaves it where it is.
            CancelSelection();
            SetCaret(target.line, target.column);
            return IVxEditView::kDropNone;
        }
        MoveOrCopyHere(target, text, column, copy);
        return copy ? IVxEditView::kDropCopy : IVxEditView::kDropMove;
    }
    CancelSelection();
    OwnEdit edit(*this);
    VxEditCompositeGuard group(model_);
    if (column) {
        PasteColumnBlock(target, text);
        SelectDropped(target, target, text, true);
    } else {
        const VxEditLineCol end = InsertText(target, text);
        SelectDropped(target, end, text, false);
    }
    EnsureCaretVisible();
    return copy ? IVxEditView::kDropCopy : IVxEditView::kDropMove;
}

// A move within this window deletes the selection and inserts it at the
// drop position in one undo step; the drop position is first carried past
// the deletion.
void VxEditController::MoveOrCopyHere(VxEditLineCol target, const std::string& text, bool column,
                                      bool copy)
{
    OwnEdit edit(*this);
    VxEditCompositeGuard group(model_);
    if (column) {
        std::int32_t display = DisplayOf(target);
        if (!copy) {
            std::int32_t left = 0;
            std::int32_t right = 0;
            ColumnDisplayRange(left, right);
            const bool besideBlock =
                target.line >= selection_.FirstLine() && target.line <= selection_.LastLine();
            if (besideBlock && display >= right)
                display -= right - left;
            DeleteSelection();
        }
        CancelSelection();
        const VxEditLineCol at(target.line, ColumnAtDisplay(target.line, display));
        PasteColumnBlock(at, text);
        SelectDropped(at, at, text, true);
    } else {
        if (!copy) {
            // A stream move: only the selection's range leaves the text.
            if (!selection_.IsColumn())
                target.Shift(StreamRange(), false);
            DeleteSelection();
        }
        CancelSelection();
        const VxEditLineCol end = InsertText(target, text);
        SelectDropped(target, end, text, false);
    }
    EnsureCaretVisible();
}

void VxEditController::SelectDropped(const VxEditLineCol& at, const VxEditLineCol& end,
                                     const std::string& text, bool column)
{
    if (!column) {
        SetCaret(end.line, end.column);
        SetSelection(at, caret_, VxEditSelection::kStream);
        return;
    }
    // The block's rows each end in a line break; the widest row sets the
    // rectangle's right edge.
    const std::int32_t left = DisplayOf(at);
    std::int32_t right = left;
    std::int32_t line = at.line;
    std::size_t from = 0;
    for (std::size_t separator = text.find('\n'); separator != std::string::npos;
         separator = text.find('\n', from), ++line) {
        std::size_t size = separator - from;
        if (size > 0 && text[separator - 1] == '\r')
            --size;
        from = separator + 1;
        if (line > model_.LastLine())
            break;
        const std::int32_t start = ColumnAtDisplay(line, left);
        right = std::max(right, DisplayOf(VxEditLineCol(line, start + static_cast<std::int32_t>(size))));
    }
    const std::int32_t last = std::clamp(line - 1, at.line, model_.LastLine());
    const VxEditLineCol anchor(at.line, ColumnAtDisplay(at.line, left));
    SetSelection(anchor, anchor, VxEditSelection::kColumn);
    SetCaret(last, ColumnAtDisplay(last, right));
    SetSelection(anchor, caret_, VxEditSelection::kColumn);
}
