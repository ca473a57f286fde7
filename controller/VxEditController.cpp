// The controller's state: caret, selection, the notifications it follows,
// the hit test and scrolling the caret into view.
#include "controller/VxEditController.h"

#include "controller/IVxEditView.h"
#include "controller/VxEditSearchState.h"
#include "engine/VxEdit.h"
#include "engine/VxEditTextCommand.h"
#include "language/VxEditLangConfig.h"
#include "mvc/VxEditMsg.h"
#include "resources/CommandIds.h"

#include <algorithm>
#include <cmath>

using tarrow::foundation::IMessage;
using tarrow::foundation::ISubject;
using tarrow::foundation::MakeRef;

VxEditController::OwnEdit::OwnEdit(VxEditController& controller) : controller_(controller)
{
    ++controller_.ownEdits_;
}

VxEditController::OwnEdit::~OwnEdit()
{
    --controller_.ownEdits_;
}

VxEditController::VxEditController(VxEdit& model, IVxEditView& view, IVxEditClipboard& clipboard)
    : model_(model), view_(view), clipboard_(clipboard), words_(model)
{
    model_.Attach(this);
}

VxEditController::~VxEditController()
{
    VxEditSearchState& search = VxEditSearchState::ForThread();
    if (search.owner == this)
        search.owner = nullptr;
    model_.Detach(this);
}

VxEditLangConfig* VxEditController::GetLangConfig() const
{
    return model_.GetLangConfig();
}

bool VxEditController::VirtualSpaceAllowed() const
{
    const VxEditLangConfig* config = model_.GetLangConfig();
    return (config && config->GetVirtualWhitespace()) || selection_.IsColumn();
}

// Editing waits while the button is held for a selection drag, or inside
// the selection before its text is dragged.
bool VxEditController::CanEdit() const
{
    return !readOnly_ && !captured_ && !dragPending_;
}

void VxEditController::Reset()
{
    caret_ = VxEditLineCol(0, 0);
    selection_.Clear();
    redrawLock_ = 0;
    preferredX_ = 0;
    StopMerging();
    typingClass_ = -1;
    notifiedLine_ = 0;
    lineLeftPosted_ = false;
    caretX_ = 0;
    caretY_ = 0;
    // A new text ends whatever the mouse was doing.
    if (captured_)
        view_.KillTimer(kAutoScrollTimer);
    captured_ = false;
    dragPending_ = false;
    dropTarget_ = false;
    CaretUpdated();
}

void VxEditController::Update(ISubject* subject, IMessage* message)
{
    if (!message)
        return;
    bool caretMoved = false;
    switch (message->GetId()) {
    case kMsgInitController:
        Reset();
        view_.ScrollTo(0, 0);
        return;
    case kMsgOverwriteChanged:
        OnOverwriteChanged();
        return;
    case kMsgTextCommand:
        if (ownEdits_ == 0) {
            StopMerging();
            const VxEditLineCol before = caret_;
            FollowForeignEdit(message);
            caretMoved = caret_ != before;
        }
        break;
    default:
        break;
    }
    caretX_ = PositionX(caret_);
    caretY_ = caret_.line * view_.LineHeight();
    view_.CaretMoved();
    // Another window's edit moved this caret: the status shown for this
    // window follows it.
    if (caretMoved)
        OnCaretChanged();
}

void VxEditController::FollowForeignEdit(IMessage* message)
{
    auto* command = dynamic_cast<VxEditTextCommand*>(message);
    if (!command)
        return;
    const VxEditLineColPair range = command->Range().Normalized();
    const bool insertion = command->LastActionWasInsertion();
    caret_.Shift(range, insertion);
    if (!selection_.IsEmpty()) {
        selection_.anchor.Shift(range, insertion);
        selection_.active.Shift(range, insertion);
    }
    caret_.line = std::clamp(caret_.line, 0, model_.LastLine());
    if (!VirtualSpaceAllowed())
        caret_.column = std::min(caret_.column, model_.LineLength(caret_.line));
}

// Caret and selection

void VxEditController::SetCaret(std::int32_t line, std::int32_t column, bool keepPreferredX)
{
    line = std::clamp(line, 0, model_.LastLine());
    const std::int32_t length = model_.LineLength(line);
    column = std::max(column, 0);
    if (!VirtualSpaceAllowed())
        column = std::min(column, length);
    if (column < length)
        column = model_.SnapColumn(line, column);
    caret_ = VxEditLineCol(line, column);
    caretX_ = PositionX(caret_);
    caretY_ = line * view_.LineHeight();
    if (!keepPreferredX)
        preferredX_ = caretX_;
    CaretUpdated();
}

void VxEditController::SetCaretFromPoint(int x, int y)
{
    const VxEditLineCol position = PointToPosition(x, y, VirtualSpaceAllowed());
    SetCaret(position.line, position.column);
}

void VxEditController::CaretUpdated()
{
    view_.CaretMoved();
    RefreshBraces();
    OnCaretChanged();
    if (caret_.line != notifiedLine_ && !handlingLineLeft_ && !lineLeftPosted_) {
        lineLeftPosted_ = true;
        view_.PostCommand(cmd::kLineLeft);
    }
}

void VxEditController::SetSelection(const VxEditLineCol& anchor, const VxEditLineCol& active, int mode)
{
    const VxEditSelection before = selection_;
    selection_.anchor = anchor;
    selection_.active = active;
    selection_.mode = mode;
    InvalidateSelection(before);
}

void VxEditController::CancelSelection()
{
    if (selection_.mode == VxEditSelection::kNone)
        return;
    const VxEditSelection before = selection_;
    selection_.Clear();
    InvalidateSelection(before);
}

void VxEditController::InvalidateSelection(const VxEditSelection& before)
{
    const auto repaint = [this](const VxEditSelection& selection) {
        if (selection.mode != VxEditSelection::kNone)
            view_.InvalidateLines(selection.FirstLine(), selection.LastLine());
    };
    repaint(before);
    repaint(selection_);
}

std::int32_t VxEditController::DisplayOf(const VxEditLineCol& position)
{
    const std::int32_t length = model_.LineLength(position.line);
    if (length < 0)
        return position.column;
    if (position.column <= length)
        return model_.CharToDisplayCol(position.column, position.line);
    return model_.DisplayLength(position.line) + position.column - length;
}

std::int32_t VxEditController::ColumnAtDisplay(std::int32_t line, std::int32_t display)
{
    const std::int32_t length = std::max(model_.LineLength(line), 0);
    const std::int32_t displayLength = model_.DisplayLength(line);
    if (display >= displayLength)
        return length + display - displayLength;
    return model_.DisplayToCharCol(display, line);
}

void VxEditController::ColumnDisplayRange(std::int32_t& left, std::int32_t& right)
{
    const std::int32_t a = DisplayOf(selection_.anchor);
    const std::int32_t b = DisplayOf(selection_.active);
    left = std::min(a, b);
    right = std::max(a, b);
}

bool VxEditController::ColumnSpan(std::int32_t line, std::int32_t& start, std::int32_t& end)
{
    if (!selection_.IsColumn() || line < selection_.FirstLine() || line > selection_.LastLine())
        return false;
    std::int32_t left = 0;
    std::int32_t right = 0;
    ColumnDisplayRange(left, right);
    start = ColumnAtDisplay(line, left);
    end = std::max(start, ColumnAtDisplay(line, right));
    return true;
}

bool VxEditController::IsOverwrite() const
{
    return model_.IsOverwrite();
}

void VxEditController::SetOverwrite(bool overwrite)
{
    if (model_.IsOverwrite() == overwrite)
        return;
    model_.SetOverwrite(overwrite);
    const auto message = MakeRef<VxEditMsg>(kMsgOverwriteChanged);
    model_.UpdateAllObservers(nullptr, message.Get());
}

// Points and positions

int VxEditController::PositionX(const VxEditLineCol& position)
{
    const char* text = nullptr;
    std::int32_t length = 0;
    if (!model_.LineText(position.line, text, length))
        return 0;
    if (const double cell = LongLineCell(length); cell > 0) {
        if (position.column <= length)
            return static_cast<int>(std::lround(model_.CharToDisplayCol(position.column, position.line) * cell));
        return static_cast<int>(std::lround(model_.DisplayLength(position.line) * cell)) +
               (position.column - length) * view_.SpaceWidth();
    }
    if (position.column <= length)
        return view_.TextExtent(text, position.column);
    return view_.TextExtent(text, length) + (position.column - length) * view_.SpaceWidth();
}

double VxEditController::LongLineCell(std::int32_t length) const
{
    return length >= VxEditLongLineColumns::kLongLine ? view_.CellAdvance() : 0.0;
}

VxEditLineCol VxEditController::PointToPosition(int& x, int& y, bool allowVirtual, bool printing)
{
    const int lineHeight = std::max(view_.LineHeight(), 1);
    const std::int32_t line = std::clamp(y / lineHeight, 0, model_.LastLine());
    y = line * lineHeight;
    if (x <= 0) {
        x = 0;
        return VxEditLineCol(line, 0);
    }
    const char* text = nullptr;
    std::int32_t length = 0;
    model_.LineText(line, text, length);
    const double cell = LongLineCell(length);
    const int extent = cell > 0 ? static_cast<int>(std::lround(model_.DisplayLength(line) * cell))
                                : view_.TextExtent(text, length);
    if (extent < x) {
        std::int32_t column = length;
        int end = extent;
        if (allowVirtual) {
            const int space = std::max(view_.SpaceWidth(), 1);
            const int extra = (x - extent) / space;
            column += extra;
            end += extra * space;
        }
        x = end;
        return VxEditLineCol(line, column);
    }
    if (cell > 0) {
        std::int32_t snapped = 0;
        const std::int32_t column =
            model_.DisplayToCharCol(static_cast<std::int32_t>(std::lround(x / cell)), line, &snapped);
        x = static_cast<int>(std::lround(snapped * cell));
        return VxEditLineCol(line, column);
    }
    const std::int32_t column = view_.Fit(text, length, x, printing);
    x = view_.TextExtent(text, column);
    return VxEditLineCol(line, column);
}

// Scrolling

void VxEditController::UnlockRedraw()
{
    if (redrawLock_ > 0 && --redrawLock_ == 0) {
        view_.InvalidateAll();
        EnsureCaretVisible();
    }
}

void VxEditController::EnsureCaretVisible()
{
    if (redrawLock_ > 0)
        return;
    const int lineHeight = std::max(view_.LineHeight(), 1);
    const int charWidth = std::max(view_.CharWidth(), 1);
    const int left = view_.ScrollX();
    const int top = view_.ScrollY();
    const int right = left + view_.ClientWidth();
    const int bottom = top + view_.ClientHeight() - lineHeight;
    int x = left;
    int y = top;
    if (caretY_ < top)
        y -= (top - caretY_) / lineHeight * lineHeight;
    else if (caretY_ > bottom)
        y += ((caretY_ - bottom) / lineHeight + 1) * lineHeight;
    if (caretX_ < left)
        x -= ((left - caretX_) / charWidth + 8) * charWidth;
    else if (caretX_ >= right)
        x += ((caretX_ - right) / charWidth + 8) * charWidth;
    if (x != left || y != top) {
        view_.ScrollTo(x, y);
        view_.CaretMoved();
    }
}

void VxEditController::RevealCaret()
{
    const int lineHeight = std::max(view_.LineHeight(), 1);
    const int top = view_.ScrollY();
    if (caretY_ < top || caretY_ > top + view_.ClientHeight() - lineHeight) {
        const int visible = std::max(view_.ClientHeight() / lineHeight, 1);
        view_.ScrollTo(view_.ScrollX(), std::max(caret_.line - visible / 3, 0) * lineHeight);
        view_.CaretMoved();
    }
    EnsureCaretVisible();
}

void VxEditController::ScrollLines(int lines)
{
    view_.ScrollTo(view_.ScrollX(), view_.ScrollY() + lines * view_.LineHeight());
    view_.CaretMoved();
}

int VxEditController::MarginWidth() const
{
    int width = 0;
    if (marginStyle_ != kMarginStyleNumbers && marginStyle_ != kMarginStyleNone)
        width += kSelectionMarginWidth;
    if (marginStyle_ != kMarginStyleNone && marginStyle_ != kMarginStyleSelection) {
        if (numberMarginWidth_ > 0) {
            width += numberMarginWidth_;
        } else {
            int digits = 1;
            for (std::int32_t count = model_.LineCount(); count >= 10; count /= 10)
                ++digits;
            width += digits * view_.CharWidth();
        }
    }
    return width;
}

void VxEditController::SetMarginStyle(int style)
{
    marginStyle_ = style;
    // The caret keeps its text position; its window point moves with the margin.
    SetCaret(caret_.line, caret_.column, true);
    view_.InvalidateAll();
}

void VxEditController::SetNumberMarginWidth(int width)
{
    numberMarginWidth_ = std::max(width, 0);
    SetCaret(caret_.line, caret_.column, true);
    view_.InvalidateAll();
}

// Line-leave notification

bool VxEditController::OnLineLeft(std::int32_t line, bool changed)
{
    model_.UpdateAllObservers(nullptr, nullptr);
    view_.InvalidateAll();
    return true;
}

void VxEditController::OnFocusIn()
{
    notifiedLine_ = caret_.line;
}

void VxEditController::LineLeftNotification()
{
    lineLeftPosted_ = false;
    if (HasSelection() || caret_.line == notifiedLine_)
        return;
    handlingLineLeft_ = true;
    const std::int32_t left = notifiedLine_;
    const bool changed = model_.TestMark(left, VxEdit::kMarkChangedLine) != 0;
    if (OnLineLeft(left, changed) && changed)
        model_.ToggleMark(left, VxEdit::kMarkChangedLine);
    notifiedLine_ = caret_.line;
    handlingLineLeft_ = false;
}
