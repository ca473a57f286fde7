// Copy, cut and paste of VxEditController, for stream and column
// selections, on the clipboard the controller was given.
#include "controller/VxEditController.h"

#include "controller/IVxEditClipboard.h"
#include "controller/IVxEditView.h"
#include "engine/VxEdit.h"
#include "engine/VxEditCompositeGuard.h"
#include "language/VxEditHtmlExport.h"

#include <algorithm>
#include <cstdlib>
#include <utility>
#include <vector>

VxEditLineColPair VxEditController::StreamRange() const
{
    VxEditLineColPair range = selection_.Normalized();
    const auto limit = [this](VxEditLineCol& end) {
        end.column = std::clamp(end.column, 0, std::max(model_.LineLength(end.line), 0));
    };
    limit(range.start);
    limit(range.end);
    return range;
}

std::string VxEditController::SelectionText()
{
    std::string text;
    if (!HasSelection())
        return text;
    if (!selection_.IsColumn()) {
        if (!model_.CopyText(text, StreamRange()))
            text.clear();
        return text;
    }
    for (std::int32_t line = selection_.FirstLine(); line <= selection_.LastLine(); ++line) {
        std::int32_t start = 0;
        std::int32_t end = 0;
        ColumnSpan(line, start, end);
        const std::int32_t length = model_.LineLength(line);
        if (length >= start) {
            end = std::min(end, length);
            std::string piece;
            if (start < end && model_.CopyText(piece, line, start, line, end))
                text += piece;
        }
        // Rows end in LF, the platform's line end, whatever the text's are.
        text += '\n';
    }
    return text;
}

void VxEditController::Copy()
{
    std::string text;
    bool column = false;
    if (HasSelection()) {
        text = SelectionText();
        column = selection_.IsColumn();
        if (text.empty() && selection_.FirstLine() == selection_.LastLine()) {
            // A selection wholly beyond the line's end copies as blanks.
            const int cells = std::abs(DisplayOf(selection_.active) - DisplayOf(selection_.anchor));
            text.assign(static_cast<std::size_t>(cells), ' ');
        }
    } else {
        const std::int32_t line = caret_.line;
        const bool copied = line < model_.LastLine()
                                ? model_.CopyText(text, line, 0, line + 1, 0)
                                : model_.CopyText(text, line, 0, line, model_.LineLength(line));
        if (!copied)
            text.clear();
    }
    if (text.empty())
        clipboard_.Clear();
    else
        clipboard_.SetText(text, column);
}

void VxEditController::CopyAsHtml()
{
    std::string html;
    if (HasSelection()) {
        VxEditHtmlExport exporter(model_);
        if (selection_.IsColumn()) {
            std::vector<std::pair<std::int32_t, std::int32_t>> ranges;
            for (std::int32_t line = selection_.FirstLine(); line <= selection_.LastLine(); ++line) {
                std::int32_t start = 0;
                std::int32_t end = 0;
                ColumnSpan(line, start, end);
                const std::int32_t length = model_.LineLength(line);
                if (length < start)
                    ranges.emplace_back(0, 0);
                else
                    ranges.emplace_back(start, std::min(end, length));
            }
            html = exporter.ExportColumns(selection_.FirstLine(), ranges);
        } else {
            const VxEditLineColPair range = StreamRange();
            html = exporter.ExportRange(range.start.line, range.start.column, range.end.line,
                                        range.end.column, true);
        }
    }
    clipboard_.SetText(html, false);
}

void VxEditController::Cut()
{
    if (!CanEdit())
        return;
    StopMerging();
    Copy();
    if (!HasSelection())
        return;
    OwnEdit edit(*this);
    DeleteSelectionToCaret();
    EnsureCaretVisible();
}

void VxEditController::Paste()
{
    if (!CanEdit())
        return;
    std::string text;
    bool column = false;
    if (!clipboard_.GetText(text, column))
        return;
    StopMerging();
    PasteText(text, column);
    EnsureCaretVisible();
}

VxEditLineCol VxEditController::DeleteSelection()
{
    if (!HasSelection()) {
        selection_.Clear();
        return caret_;
    }
    OwnEdit edit(*this);
    VxEditLineCol at;
    if (selection_.IsColumn()) {
        VxEditCompositeGuard group(model_);
        std::int32_t left = 0;
        std::int32_t right = 0;
        ColumnDisplayRange(left, right);
        const std::int32_t first = selection_.FirstLine();
        for (std::int32_t line = first; line <= selection_.LastLine(); ++line) {
            std::int32_t start = 0;
            std::int32_t end = 0;
            ColumnSpan(line, start, end);
            const std::int32_t length = model_.LineLength(line);
            if (length < start)
                continue;
            end = std::min(end, length);
            if (start < end)
                model_.DeleteRange(line, start, line, end);
        }
        at = VxEditLineCol(first, ColumnAtDisplay(first, left));
    } else {
        // The text deleted is the text copied: ends in virtual space stop at
        // their line's end. The caret keeps a virtual start, whose line stays.
        model_.DeleteRange(StreamRange());
        at = selection_.Normalized().start;
    }
    CancelSelection();
    return at;
}

void VxEditController::DeleteSelectionToCaret()
{
    const VxEditLineCol at = DeleteSelection();
    SetCaret(at.line, at.column);
}

void VxEditController::PasteText(const std::string& text, bool column)
{
    OwnEdit edit(*this);
    VxEditCompositeGuard group(model_);
    const VxEditLineCol at = DeleteSelection();
    if (text.empty()) {
        SetCaret(at.line, at.column);
        return;
    }
    if (column) {
        PasteColumnBlock(at, text);
        SetCaret(at.line, at.column);
        return;
    }
    const VxEditLineCol end = InsertText(at, text);
    SetCaret(end.line, end.column);
}

void VxEditController::PasteColumnBlock(const VxEditLineCol& at, const std::string& text)
{
    const int x = PositionX(at);
    int y = at.line * view_.LineHeight();
    std::size_t from = 0;
    for (std::size_t separator = text.find('\n'); separator != std::string::npos;
         separator = text.find('\n', from)) {
        std::string_view row(text.data() + from, separator - from);
        if (!row.empty() && row.back() == '\r')
            row.remove_suffix(1);
        from = separator + 1;
        int rowX = x;
        int rowY = y;
        const VxEditLineCol position = PointToPosition(rowX, rowY, true);
        // An empty row would only leave trailing blanks behind.
        if (!row.empty())
            InsertText(position, row);
        // Rows that follow need a line to go on.
        if (position.line == model_.LastLine() && text.find('\n', from) != std::string::npos) {
            const std::string lineBreak = LineBreak();
            model_.InsertAtLineCol(position.line, model_.LineLength(position.line), lineBreak.data(),
                                   static_cast<std::int64_t>(lineBreak.size()));
        }
        y += view_.LineHeight();
    }
}
