// The edits of VxEdit: insertion and deletion with the line-length rule, the
// per-line data and the notifications they keep in step, and the undo
// history with its composites and save point.
#include "engine/VxEdit.h"

#include "engine/VxEditCompositeCommand.h"
#include "engine/VxEditCompositeGuard.h"
#include "engine/VxEditTextBuffer.h"
#include "engine/VxEditTextCommand.h"
#include "mvc/VxEditMsg.h"

#include <algorithm>
#include <cstring>
#include <optional>

using tarrow::foundation::CMvcCommand;
using tarrow::foundation::MakeRef;

int VxEdit::InsertAt(VxEditLineColPair& range, const char* bytes, std::int64_t length)
{
    if (buffer_->OffsetOf(range.start.line, range.start.column) < 0 || (!bytes && length != 0))
        return 0;
    if (length < 0)
        length = static_cast<std::int64_t>(std::strlen(bytes));
    DropSpansFrom(VxEditLineColPair(range.start, range.start));
    const bool slotsBefore = MarkSlotsMoveForInsert(range.start);
    // A line that was already longer than the limit (as loaded) keeps its
    // length; only a line the edit makes too long is broken. Text put back
    // by undo is restored exactly as it was.
    const bool applyRule = !autoBreakGuard_ && !restoring_ && !LineTooLong(range.start.line);
    if (buffer_->InsertText(range, bytes, length) != 1)
        return 0;
    if (applyRule)
        EnforceMaxLineLength(range);

    VxEditTextCommand* command = executing_;
    if (command) {
        ApplyCommand(*command, slotsBefore);
        NotifyCommand(command);
        return 1;
    }
    if (range.IsEmpty())
        return 1;
    // The text after the inserted text may be left too long; its breaks
    // join this edit's undo step.
    const bool trailing = applyRule && LineTooLong(range.end.line);
    std::optional<VxEditCompositeGuard> group;
    if (trailing)
        group.emplace(*this);
    command = new VxEditTextCommand(*this, range, true);
    Log(command);
    ApplyCommand(*command, slotsBefore);
    NotifyCommand(command);
    if (trailing)
        BreakTrailingText(range.end.line);
    return 1;
}

int VxEdit::InsertAtLineCol(std::int32_t line, std::int32_t column, const char* bytes,
                            std::int64_t length)
{
    VxEditLineColPair range(line, column, 0, 0);
    return InsertAt(range, bytes, length);
}

int VxEdit::DeleteRange(const VxEditLineColPair& range)
{
    return DeleteRange(range.start.line, range.start.column, range.end.line, range.end.column);
}

int VxEdit::DeleteRange(std::int32_t startLine, std::int32_t startColumn, std::int32_t endLine,
                        std::int32_t endColumn)
{
    VxEditLineColPair range =
        VxEditLineColPair(startLine, startColumn, endLine, endColumn).Normalized();
    if (range.end.line < 0 || range.end.line > LastLine())
        return 0;
    // A caret past the end of a line never splits its line end; a command
    // being undone or redone names its bytes exactly.
    if (!executing_)
        range.end.column = std::min(range.end.column, buffer_->LineContentLength(range.end.line));
    if (buffer_->OffsetOf(range.start.line, range.start.column) < 0 ||
        buffer_->OffsetOf(range.end.line, range.end.column) < 0)
        return 0;
    if (range.end <= range.start)
        return 1;

    DropSpansFrom(range);
    // On a blank line every column lies at or before the first non-blank.
    std::int32_t firstNonBlank = FirstNonBlank(range.start.line);
    if (firstNonBlank < 0)
        firstNonBlank = buffer_->LineContentLength(range.start.line);
    const bool slotsFromStart = range.start.column <= firstNonBlank &&
                                range.end.column < buffer_->LineContentLength(range.end.line);
    VxEditTextCommand* command = executing_;
    bool joinMayBreak = false;
    if (!command) {
        std::string text;
        CopyText(text, range);
        command = new VxEditTextCommand(*this, range, false, std::move(text));
        // A join breaks again only when neither part was already too long.
        joinMayBreak = !LineTooLong(range.start.line) && !LineTooLong(range.end.line);
    }
    if (buffer_->DeleteRange(range) != 1) {
        if (command != executing_)
            command->Release();
        return 0;
    }
    if (command != executing_) {
        // A join (of two lines, or with the text hidden behind a removed CR)
        // made the line too long: break it again where the parts met, as
        // part of the same undo step.
        if (joinMayBreak && LineTooLong(range.start.line)) {
            VxEditCompositeGuard group(*this);
            Log(command);
            ApplyCommand(*command, slotsFromStart);
            NotifyCommand(command);
            const std::string lineBreak = LineBreak();
            InsertAtLineCol(range.start.line, range.start.column, lineBreak.data(),
                            static_cast<std::int64_t>(lineBreak.size()));
            return 1;
        }
        Log(command);
    }
    ApplyCommand(*command, slotsFromStart);
    NotifyCommand(command);
    return 1;
}

int VxEdit::CopyText(std::string& text, std::int32_t startLine, std::int32_t startColumn,
                     std::int32_t endLine, std::int32_t endColumn) const
{
    return buffer_->CopyText(text, startLine, startColumn, endLine, endColumn) ? 1 : 0;
}

int VxEdit::CopyText(std::string& text, const VxEditLineColPair& range) const
{
    return CopyText(text, range.start.line, range.start.column, range.end.line, range.end.column);
}

int VxEdit::TextSpan(const VxEditLineColPair& range, const char*& text, std::int64_t& length)
{
    return buffer_->TextSpan(range.start.line, range.start.column, range.end.line, range.end.column,
                             text, length)
               ? 1
               : 0;
}

std::string VxEdit::LineBreak() const
{
    std::string lineBreak;
    if (buffer_->Carriage() != 0)
        lineBreak += buffer_->Carriage();
    lineBreak += buffer_->Separator();
    return lineBreak;
}

void VxEdit::EnforceMaxLineLength(VxEditLineColPair& range)
{
    const std::string lineBreak = LineBreak();
    for (std::int32_t line = range.start.line; line <= range.end.line; ++line) {
        if (!LineTooLong(line))
            continue;
        std::int32_t column = DisplayToCharCol(kMaxLineLength, line);
        // On the last line the break goes right after the inserted text
        // when the limit lies beyond it; what is too long after the text is
        // left to BreakTrailingText.
        if (line == range.end.line && column >= range.end.column)
            column = range.end.column;
        column = SnapColumn(line, column);
        if (column <= 0 || (line == range.start.line && column < range.start.column))
            continue;
        VxEditLineColPair lineBreakRange(line, column, line, column);
        buffer_->InsertText(lineBreakRange, lineBreak.data(), static_cast<std::int64_t>(lineBreak.size()));
        if (range.start == lineBreakRange.start)
            range.end.Shift(lineBreakRange, true);
        else
            range.Shift(lineBreakRange, true);
    }
}

void VxEdit::BreakTrailingText(std::int32_t line)
{
    const std::string lineBreak = LineBreak();
    for (; line <= LastLine() && LineTooLong(line); ++line) {
        const std::int32_t column = SnapColumn(line, DisplayToCharCol(kMaxLineLength, line));
        if (column <= 0)
            break;
        autoBreakGuard_ = true;
        InsertAtLineCol(line, column, lineBreak.data(), static_cast<std::int64_t>(lineBreak.size()));
        autoBreakGuard_ = false;
    }
}

std::int32_t VxEdit::FirstNonBlank(std::int32_t line)
{
    const char* text = nullptr;
    std::int32_t length = 0;
    if (!LineText(line, text, length))
        return 0;
    for (std::int32_t column = 0; column < length; ++column) {
        if (text[column] != ' ' && text[column] != '\t')
            return column;
    }
    return -1;  // empty or blank
}

bool VxEdit::MarkSlotsMoveForInsert(const VxEditLineCol& at)
{
    const std::int32_t first = FirstNonBlank(at.line);
    return first < 0 ? at.column == 0 : at.column <= first;
}

void VxEdit::DropSpansFrom(const VxEditLineColPair& edit)
{
    // Spans never overlap, so those that touch the edit or follow it are
    // the ones from the first that ends at or after its start. A span that
    // started on an earlier line goes too, and the scan position moves back
    // to its line, since what it covered may now be colour of another kind.
    const VxEditLineCol at = edit.Normalized().start;
    auto first = std::partition_point(spans_.begin(), spans_.end(),
                                      [&at](const VxEditMLComment& span) { return span.end < at; });
    DropSpansStartingAt(static_cast<std::size_t>(first - spans_.begin()));
}

void VxEdit::ApplyCommand(VxEditTextCommand& command, bool markSlotsBefore)
{
    const VxEditLineColPair range = command.Range().Normalized();
    if (range.IsEmpty())
        return;
    const std::int32_t start = range.start.line;
    const std::int32_t end = range.end.line;
    longLineColumns_.Edited(range);
    if (command.LastActionWasInsertion()) {
        colour_.InsertLines(start, end - start);
        marks_.InsertSlots(start, end - start, markSlotsBefore);
        for (std::int32_t line = start; line <= end; ++line)
            marks_.SetBit(line, kMarkChangedLine, true);
    } else {
        colour_.RemoveLines(start + 1, end - start);
        if (markSlotsBefore)
            marks_.RemoveSlots(start, end - 1);
        else
            marks_.RemoveSlots(start + 1, end);
        // After the slots moved, so that the joined line carries the mark.
        marks_.SetBit(start, kMarkChangedLine, true);
    }
    colour_.Drop(start);
    scanPosition_ = std::min(scanPosition_, start);
    OnLinesEdited(start, command.LastActionWasInsertion() ? end : start, command);
}

void VxEdit::NotifyCommand(CMvcCommand* command)
{
    if (auto* composite = dynamic_cast<VxEditCompositeCommand*>(command)) {
        for (std::size_t i = 0; i < composite->ChildCount(); ++i)
            NotifyCommand(composite->Child(i));
        return;
    }
    NotifyAll(command);
}

VxEditTextCommand* VxEdit::RecordInsertCommand(const VxEditLineColPair& range)
{
    auto* command = new VxEditTextCommand(*this, range, true);
    Log(command);
    return command;
}

void VxEdit::Log(CMvcCommand* command)
{
    if (!command)
        return;
    if (composite_) {
        composite_->Add(command);
        return;
    }
    MvcTransactionModel::Log(command);
}

void VxEdit::BeginComposite()
{
    EndComposite();
    composite_ = new VxEditCompositeCommand();
}

void VxEdit::EndComposite()
{
    VxEditCompositeCommand* composite = std::exchange(composite_, nullptr);
    if (!composite)
        return;
    if (composite->ChildCount() > 0)
        MvcTransactionModel::Log(composite);
    else
        composite->Release();
}

void VxEdit::LogPair(CMvcCommand* command, bool givenFirst)
{
    EndComposite();
    CMvcCommand* top = PopUndo();
    if (!top) {
        MvcTransactionModel::Log(command);
        return;
    }
    // The saved state lay between the two steps; no stack top reaches it now.
    if (savePoint_ == reinterpret_cast<std::uintptr_t>(top))
        savePoint_ = kUnreachable;
    auto* pair = new VxEditCompositeCommand();
    pair->Add(givenFirst ? command : top);
    pair->Add(givenFirst ? top : command);
    MvcTransactionModel::Log(pair);
}

void VxEdit::ClearHistory()
{
    const int wasModified = modified_;
    EndComposite();
    MvcTransactionModel::ClearHistory();
    savePoint_ = wasModified ? kUnreachable : 0;
    modified_ = wasModified;
}

void VxEdit::OnCommandDiscarded(CMvcCommand* command, bool overflow)
{
    // A state that can no longer be reached by undo and redo can never be
    // the saved one again.
    if (savePoint_ == reinterpret_cast<std::uintptr_t>(command) || (overflow && savePoint_ == 0))
        savePoint_ = kUnreachable;
}

void VxEdit::UpdateModifiedFromSavePoint()
{
    modified_ = reinterpret_cast<std::uintptr_t>(UndoTop()) != savePoint_ ? 1 : 0;
}

void VxEdit::SetModified(int modified)
{
    modified_ = modified ? 1 : 0;
    if (modified_)
        savePoint_ = kUnreachable;
    else
        savePoint_ = reinterpret_cast<std::uintptr_t>(UndoTop());
}
