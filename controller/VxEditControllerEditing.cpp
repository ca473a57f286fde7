// Typing and the editing keys of VxEditController: the character handler
// with its merged undo steps, Return (its indentation is in
// VxEditControllerIndent.cpp), Tab and Shift+Tab,
// Backspace and Delete, word deletes, Ctrl+L and case changes.
#include "controller/VxEditController.h"

#include "controller/IVxEditView.h"
#include "engine/VxEdit.h"
#include "engine/VxEditCompositeCommand.h"
#include "engine/VxEditCompositeGuard.h"
#include "engine/VxEditTextBuffer.h"
#include "engine/VxEditTextCommand.h"
#include "engine/VxEditTypedLineBreak.h"
#include "engine/VxEditUtf8.h"
#include "language/VxEditLangConfig.h"
#include "mvc/VxEditMsg.h"
#include "resources/CommandIds.h"

#include <algorithm>
#include <optional>

using tarrow::foundation::MakeRef;

namespace {

// Upper or lower case for ASCII and the Latin-1 letters; every character
// keeps its byte length, so positions stay valid.
bool ConvertCase(std::string& text, bool upper)
{
    bool changed = false;
    for (std::size_t at = 0; at < text.size();) {
        auto& byte = reinterpret_cast<unsigned char&>(text[at]);
        const int length = VxEditUtf8::CharLength(text.data() + at, text.size() - at);
        if (length == 1) {
            if (upper && byte >= 'a' && byte <= 'z') {
                byte = static_cast<unsigned char>(byte - 32);
                changed = true;
            } else if (!upper && byte >= 'A' && byte <= 'Z') {
                byte = static_cast<unsigned char>(byte + 32);
                changed = true;
            }
        } else if (length == 2 && byte == 0xC3) {
            auto& trail = reinterpret_cast<unsigned char&>(text[at + 1]);
            if (upper && trail >= 0xA0 && trail <= 0xBE && trail != 0xB7) {
                trail = static_cast<unsigned char>(trail - 0x20);
                changed = true;
            } else if (!upper && trail >= 0x80 && trail <= 0x9E && trail != 0x97) {
                trail = static_cast<unsigned char>(trail + 0x20);
                changed = true;
            }
        }
        at += static_cast<std::size_t>(length);
    }
    return changed;
}

}  // namespace

bool VxEditController::IsEditCommand(int id)
{
    switch (id) {
    case cmd::kReturn: case cmd::kTab: case cmd::kBackTab: case cmd::kBackspace: case cmd::kDelete:
    case cmd::kDeleteWordLeft: case cmd::kDeleteWordRight: case cmd::kCutLines: case cmd::kDeleteLines:
    case cmd::kLowerCase: case cmd::kUpperCase:
        return true;
    default:
        return false;
    }
}

bool VxEditController::DispatchEdit(int id)
{
    if (!IsEditCommand(id))
        return false;
    if (!CanEdit())
        return true;
    switch (id) {
    case cmd::kReturn: Return(); break;
    case cmd::kTab: Tab(); break;
    case cmd::kBackTab: BackTab(); break;
    case cmd::kBackspace: Backspace(); break;
    case cmd::kDelete: Delete(); break;
    case cmd::kDeleteWordLeft: DeleteWord(true); break;
    case cmd::kDeleteWordRight: DeleteWord(false); break;
    case cmd::kCutLines: Lines(true); break;
    case cmd::kDeleteLines: Lines(false); break;
    case cmd::kLowerCase: ChangeCase(false); break;
    case cmd::kUpperCase: ChangeCase(true); break;
    default: break;
    }
    EnsureCaretVisible();
    return true;
}

std::string VxEditController::LineBreak() const
{
    return VxEditTypedLineBreak(model_.TextBuffer());
}

// The controller's insert: a position past the line's end is reached by
// filling the line with whitespace first, in the same undo step.
VxEditLineCol VxEditController::InsertText(const VxEditLineCol& at, std::string_view text)
{
    OwnEdit edit(*this);
    VxEditCompositeGuard group(model_);
    VxEditLineCol position = at;
    const std::int32_t length = std::max(model_.LineLength(at.line), 0);
    if (at.column > length) {
        const int tabSize = model_.TabSize();
        std::int32_t display = model_.DisplayLength(at.line);
        const std::int32_t target = DisplayOf(at);
        std::string fill;
        if (!model_.WritesOnlySpaces() && tabSize > 1) {
            for (std::int32_t stop = display + tabSize - display % tabSize; stop <= target;
                 stop += tabSize) {
                fill += '\t';
                display = stop;
            }
        }
        fill.append(static_cast<std::size_t>(target - display), ' ');
        model_.InsertAtLineCol(at.line, length, fill.data(), static_cast<std::int64_t>(fill.size()));
        position = VxEditLineCol(at.line, model_.LineLength(at.line));
    }
    if (text.empty())
        return position;
    VxEditLineColPair range(position, position);
    if (!model_.InsertAt(range, text.data(), static_cast<std::int64_t>(text.size())))
        return position;
    return range.end;
}

VxEditLineCol VxEditController::PadToCaret()
{
    if (caret_.column > model_.LineLength(caret_.line)) {
        const VxEditLineCol end = InsertText(caret_, {});
        caret_ = end;
    }
    return caret_;
}

void VxEditController::ReplaceSelection(std::string_view text)
{
    OwnEdit edit(*this);
    VxEditCompositeGuard group(model_);
    const VxEditLineCol at = DeleteSelection();
    const VxEditLineCol end = InsertText(at, text);
    SetCaret(end.line, end.column);
}

void VxEditController::InsertBlock(std::string_view text)
{
    if (!CanEdit())
        return;
    StopMerging();
    ReplaceSelection(text);
    EnsureCaretVisible();
}

// Typing

void VxEditController::TypeText(std::string_view text)
{
    if (!CanEdit())
        return;
    for (std::size_t at = 0; at < text.size();) {
        const int length = VxEditUtf8::CharLength(text.data() + at, text.size() - at);
        const std::string_view character = text.substr(at, static_cast<std::size_t>(length));
        at += static_cast<std::size_t>(length);
        const auto byte = static_cast<unsigned char>(character[0]);
        if (length == 1 && (byte < 32 || byte == 127))
            continue;
        TypeChar(character);
    }
    EnsureCaretVisible();
}

void VxEditController::TypeChar(std::string_view character)
{
    OwnEdit edit(*this);
    const bool virtualSpace = caret_.column > model_.LineLength(caret_.line);
    if (IsOverwrite()) {
        StopMerging();
        VxEditCompositeGuard group(model_);
        if (HasSelection()) {
            ReplaceSelection(character);
            return;
        }
        PadToCaret();
        const VxEditLineCol end = InsertText(caret_, character);
        if (end.line == caret_.line && end.column < model_.LineLength(end.line))
            model_.DeleteRange(end.line, end.column, end.line, words_.NextCharEnd(end.line, end.column));
        SetCaret(end.line, end.column);
        return;
    }
    if (character == "}" && !HasSelection() && IndentsByBraces() && StartsLineAtCaret()) {
        TypeClosingBrace();
        return;
    }
    if (HasSelection() || character.size() > 1) {
        StopMerging();
        ReplaceSelection(character);
        return;
    }
    if (virtualSpace)
        PadForTyping(character);
    TypeMerged(character);
}

// Typing in virtual space: the line is filled up to the caret, and the fill
// opens the typing run that the character joins, so that one undo removes
// the typed text together with the whitespace in front of it.
void VxEditController::PadForTyping(std::string_view character)
{
    StopMerging();
    const tarrow::foundation::CMvcCommand* before = model_.UndoTop();
    const VxEditLineCol end = PadToCaret();
    SetCaret(end.line, end.column);
    if (model_.UndoTop() == before)
        return;
    lastTyping_ = model_.UndoTop();
    typingClass_ = words_.ClassOf(VxEditUtf8::Decode(character.data(), character.size()), false);
    typingEnd_ = end;
}

void VxEditController::TypeMerged(std::string_view character)
{
    const int characterClass =
        words_.ClassOf(VxEditUtf8::Decode(character.data(), character.size()), false);
    const bool merge = lastTyping_ && lastTyping_.Get() == model_.UndoTop() &&
                       model_.RedoCount() == 0 && model_.IsModified() &&
                       !model_.IsRecordingComposite() && caret_ == typingEnd_ &&
                       characterClass == typingClass_;
    VxEditLineColPair range(caret_, caret_);
    if (!merge) {
        StopMerging();
        if (!model_.InsertAt(range, character.data(), static_cast<std::int64_t>(character.size())))
            return;
        if (range.end.line == range.start.line && !model_.IsRecordingComposite()) {
            lastTyping_ = model_.UndoTop();
            typingClass_ = characterClass;
            typingEnd_ = range.end;
        }
        SetCaret(range.end.line, range.end.column);
        return;
    }
    auto* command = new VxEditTextCommand(model_, range, true, std::string(character));
    command->Execute();
    const VxEditLineColPair done = command->Range().Normalized();
    if (done.start.line != done.end.line) {
        // The line grew past the length limit and was broken: a step of its own.
        StopMerging();
        model_.Log(command);
    } else if (auto* run = dynamic_cast<VxEditCompositeCommand*>(lastTyping_.Get())) {
        run->Add(command);
    } else {
        model_.LogPair(command, false);
        lastTyping_ = model_.UndoTop();
    }
    typingEnd_ = done.end;
    SetCaret(done.end.line, done.end.column);
}

// Return

void VxEditController::Return()
{
    if (IsOverwrite()) {
        CancelSelection();
        VerticalMove(1, false);
        MoveTo(SmartHomeTarget(), false, true);
        return;
    }
    OwnEdit edit(*this);
    StopMerging();
    VxEditCompositeGuard group(model_);
    const std::string lineBreak = LineBreak();
    std::int32_t keptIndent = -1;
    if (HasSelection()) {
        ReplaceSelection(lineBreak);
    } else {
        const std::int32_t length = model_.LineLength(caret_.line);
        if (caret_.column > length) {
            if (model_.IsBlankLine(caret_.line))
                keptIndent = DisplayOf(caret_);
            caret_.column = length;
        }
        const VxEditLineCol end = InsertText(caret_, lineBreak);
        SetCaret(end.line, end.column);
    }
    AutoIndent(keptIndent);
}

// Tab and Shift+Tab

void VxEditController::MakeLineSelection()
{
    const VxEditLineColPair range = selection_.Normalized();
    std::int32_t last = range.end.line;
    if (range.end.column == 0 && last > range.start.line)
        --last;
    const bool caretAtStart = selection_.active < selection_.anchor;
    const VxEditLineCol start(range.start.line, 0);
    const VxEditLineCol end = last < model_.LastLine() ? VxEditLineCol(last + 1, 0)
                                                       : VxEditLineCol(last, model_.LineLength(last));
    if (caretAtStart)
        SetSelection(end, start, VxEditSelection::kLines);
    else
        SetSelection(start, end, VxEditSelection::kLines);
    SetCaret(selection_.active.line, selection_.active.column);
}

void VxEditController::Tab()
{
    OwnEdit edit(*this);
    StopMerging();
    const bool manyLines = HasSelection() && selection_.FirstLine() != selection_.LastLine();
    if (manyLines && selection_.IsColumn()) {
        VxEditCompositeGuard group(model_);
        std::int32_t left = 0;
        std::int32_t right = 0;
        ColumnDisplayRange(left, right);
        std::int32_t first = -1;
        std::int32_t last = -1;
        std::int32_t firstColumn = 0;
        std::int32_t lastRight = 0;
        std::int32_t display = left;
        for (std::int32_t line = selection_.FirstLine(); line <= selection_.LastLine(); ++line) {
            if (model_.DisplayLength(line) < left)
                continue;
            const std::int32_t column = model_.DisplayToCharCol(display, line);
            if (first < 0) {
                first = line;
                firstColumn = column;
                display = model_.CharToDisplayCol(column, line);
            }
            const std::int32_t rightColumn = ColumnAtDisplay(line, right);
            const std::string tab = model_.TabString(VxEditLineCol(line, column));
            model_.InsertAtLineCol(line, column, tab.data(), static_cast<std::int64_t>(tab.size()));
            last = line;
            lastRight = rightColumn + static_cast<std::int32_t>(tab.size());
        }
        if (first >= 0) {
            const bool forward = !(selection_.active < selection_.anchor);
            const VxEditLineCol anchor(first, firstColumn);
            const VxEditLineCol active(last, lastRight);
            SetSelection(forward ? anchor : active, forward ? active : anchor, VxEditSelection::kColumn);
            SetCaret(selection_.active.line, selection_.active.column);
        }
        return;
    }
    if (manyLines && selection_.mode == VxEditSelection::kStream)
        MakeLineSelection();
    if (HasSelection() && selection_.mode == VxEditSelection::kLines) {
        VxEditCompositeGuard group(model_);
        const VxEditLineColPair range = selection_.Normalized();
        const std::int32_t last =
            range.end.column == 0 && range.end.line > range.start.line ? range.end.line - 1 : range.end.line;
        for (std::int32_t line = range.start.line; line <= last; ++line) {
            if (model_.IsBlankLine(line))
                continue;
            const std::string tab = model_.TabString(VxEditLineCol(line, 0));
            model_.InsertAtLineCol(line, 0, tab.data(), static_cast<std::int64_t>(tab.size()));
        }
        MakeLineSelection();
        return;
    }
    if (!HasSelection() && IsOverwrite() && caret_.column < model_.LineLength(caret_.line)) {
        const int tabSize = model_.TabSize();
        if (tabSize == 1) {
            MoveTo(CharRightTarget(), false, true);
            return;
        }
        const std::int32_t display = DisplayOf(caret_);
        const std::int32_t next = display + (tabSize - display % tabSize);
        MoveTo(VxEditLineCol(caret_.line, ColumnAtDisplay(caret_.line, next)), false, true);
        return;
    }
    VxEditCompositeGuard group(model_);
    VxEditLineCol at = DeleteSelection();
    at = InsertText(at, {});
    const VxEditLineCol end = InsertText(at, model_.TabString(at));
    SetCaret(end.line, end.column);
}

void VxEditController::BackTab()
{
    if (selection_.IsColumn() && HasSelection())
        return;
    const bool manyLines = HasSelection() && selection_.FirstLine() != selection_.LastLine();
    if (manyLines || (HasSelection() && selection_.mode == VxEditSelection::kLines)) {
        OwnEdit edit(*this);
        StopMerging();
        if (selection_.mode == VxEditSelection::kStream)
            MakeLineSelection();
        LockRedraw();
        {
            VxEditCompositeGuard group(model_);
            const VxEditLineColPair range = selection_.Normalized();
            const std::int32_t last = range.end.column == 0 && range.end.line > range.start.line
                                          ? range.end.line - 1
                                          : range.end.line;
            const int unit = model_.IndentWidth();
            for (std::int32_t line = range.start.line; line <= last; ++line) {
                const char* text = nullptr;
                std::int32_t length = 0;
                model_.LineText(line, text, length);
                std::int32_t remove = 0;
                if (length > 0 && text[0] == '\t')
                    remove = 1;
                else
                    while (remove < length && remove < unit && text[remove] == ' ')
                        ++remove;
                if (remove > 0)
                    model_.DeleteRange(line, 0, line, remove);
            }
        }
        MakeLineSelection();
        UnlockRedraw();
        return;
    }
    CancelSelection();
    if (caret_.column == 0)
        return;
    const int tabSize = model_.TabSize();
    if (tabSize == 1) {
        MoveTo(CharLeftTarget(), false, true);
        return;
    }
    const std::int32_t display = DisplayOf(caret_);
    if (display >= 1 && display <= tabSize - 1) {
        MoveTo(SmartHomeTarget(), false, true);
        return;
    }
    const std::int32_t back = display % tabSize == 0 ? tabSize : display % tabSize;
    MoveTo(VxEditLineCol(caret_.line, ColumnAtDisplay(caret_.line, display - back)), false, true);
}

// Deleting

void VxEditController::Backspace()
{
    OwnEdit edit(*this);
    StopMerging();
    if (HasSelection()) {
        DeleteSelectionToCaret();
        return;
    }
    if (caret_.line == 0 && caret_.column == 0)
        return;
    const std::int32_t length = model_.LineLength(caret_.line);
    if (caret_.column > length) {
        SetCaret(caret_.line, length);
        return;
    }
    const VxEditLineCol left = CharLeftTarget();
    model_.DeleteRange(left.line, left.column, caret_.line, caret_.column);
    SetCaret(left.line, left.column);
}

void VxEditController::Delete()
{
    OwnEdit edit(*this);
    StopMerging();
    if (HasSelection()) {
        DeleteSelectionToCaret();
        return;
    }
    const std::int32_t length = model_.LineLength(caret_.line);
    if (caret_.line == model_.LastLine() && caret_.column >= length)
        return;
    VxEditCompositeGuard group(model_);
    const VxEditLineCol at = PadToCaret();
    if (at.column >= model_.LineLength(at.line))
        model_.DeleteRange(at.line, at.column, at.line + 1, 0);
    else
        model_.DeleteRange(at.line, at.column, at.line, words_.NextCharEnd(at.line, at.column));
    SetCaret(at.line, at.column);
}

void VxEditController::DeleteWord(bool left)
{
    OwnEdit edit(*this);
    StopMerging();
    if (!HasSelection()) {
        const VxEditLineCol from(caret_.line, std::min(caret_.column, model_.LineLength(caret_.line)));
        const VxEditLineCol target = left ? words_.RunStartBefore(from) : words_.RunEndAfter(from);
        if (target == caret_)
            return;
        SetSelection(caret_, target, VxEditSelection::kStream);
    }
    DeleteSelectionToCaret();
}

void VxEditController::Lines(bool cut)
{
    OwnEdit edit(*this);
    StopMerging();
    std::int32_t first = caret_.line;
    std::int32_t last = caret_.line;
    if (HasSelection()) {
        first = selection_.FirstLine();
        last = selection_.LastLine();
    }
    const VxEditLineCol start(first, 0);
    const VxEditLineCol end = last < model_.LastLine() ? VxEditLineCol(last + 1, 0)
                                                       : VxEditLineCol(last, model_.LineLength(last));
    SetSelection(start, end, VxEditSelection::kLines);
    SetCaret(end.line, end.column);
    if (cut && HasSelection())
        Copy();
    DeleteSelectionToCaret();
}

void VxEditController::ChangeCase(bool upper)
{
    if (!HasSelection())
        return;
    OwnEdit edit(*this);
    StopMerging();
    const VxEditSelection kept = selection_;
    VxEditCompositeGuard group(model_);
    const auto convert = [this, upper](const VxEditLineColPair& range) {
        std::string text;
        if (!model_.CopyText(text, range) || !ConvertCase(text, upper))
            return;
        model_.DeleteRange(range);
        VxEditLineColPair at(range.start, range.start);
        model_.InsertAt(at, text.data(), static_cast<std::int64_t>(text.size()));
    };
    if (selection_.IsColumn()) {
        for (std::int32_t line = selection_.FirstLine(); line <= selection_.LastLine(); ++line) {
            std::int32_t start = 0;
            std::int32_t end = 0;
            ColumnSpan(line, start, end);
            end = std::min(end, model_.LineLength(line));
            if (start < end)
                convert(VxEditLineColPair(line, start, line, end));
        }
    } else {
        convert(StreamRange());
    }
    selection_ = kept;
    view_.InvalidateLines(kept.FirstLine(), kept.LastLine());
}

void VxEditController::ToggleWhitespace()
{
    VxEditLangConfig* config = model_.GetLangConfig();
    if (!config)
        return;
    config->SetShowWhitespace(config->GetShowWhitespace() ? 0 : 1);
    // Tab stops depend on the flag, so every view measures afresh.
    auto message = MakeRef<VxEditMsg>(kMsgFontUpdate);
    config->Notify(nullptr, message.Get());
    view_.InvalidateAll();
}
