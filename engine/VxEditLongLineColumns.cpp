#include "engine/VxEditLongLineColumns.h"

#include "engine/VxEdit.h"
#include "engine/VxEditUtf8.h"

#include <algorithm>

void VxEditLongLineColumns::Forget()
{
    line_ = -1;
    checkpoints_.clear();
}

void VxEditLongLineColumns::Follow(std::int32_t line, std::int64_t lineStart, int tabSize)
{
    // Another line, or this one moved or is measured with other tabs.
    if (line == line_ && lineStart == lineStart_ && tabSize == tabSize_)
        return;
    line_ = line;
    lineStart_ = lineStart;
    tabSize_ = tabSize;
    checkpoints_.assign(1, Checkpoint{0, 0});
}

void VxEditLongLineColumns::Edited(const VxEditLineColPair& edit)
{
    if (line_ < 0)
        return;
    const VxEditLineColPair range = edit.Normalized();
    if (range.start.line > line_)
        return;
    if (range.start.line < line_) {
        // Lines above moved it; an edit within one line above moves only
        // its start, which Follow notices.
        if (range.end.line != range.start.line)
            Forget();
        return;
    }
    // What follows the edit's start on this line has changed.
    const std::int32_t from = range.start.column;
    while (checkpoints_.size() > 1 && checkpoints_.back().column > from)
        checkpoints_.pop_back();
}

void VxEditLongLineColumns::AddNext(const char* text, std::int32_t length)
{
    Checkpoint point = checkpoints_.back();
    const std::int32_t target = std::min(point.column + kStep, length);
    while (point.column < target) {
        const auto byte = static_cast<unsigned char>(text[point.column]);
        int bytes = 1;
        int cells = 1;
        if (byte == '\t')
            cells = tabSize_ - point.display % tabSize_;
        else if (byte >= 0x80)
            cells = VxEditUtf8::CellsAt(text + point.column, static_cast<std::size_t>(length - point.column), &bytes);
        point.column += bytes;
        point.display += cells;
    }
    checkpoints_.push_back(point);
}

void VxEditLongLineColumns::ExtendToColumn(const char* text, std::int32_t length, std::int32_t column)
{
    while (checkpoints_.back().column < column && checkpoints_.back().column < length)
        AddNext(text, length);
}

void VxEditLongLineColumns::ExtendToDisplay(const char* text, std::int32_t length, std::int32_t display)
{
    while (checkpoints_.back().display <= display && checkpoints_.back().column < length)
        AddNext(text, length);
}

std::int32_t VxEditLongLineColumns::DisplayOf(std::int32_t line, std::int64_t lineStart, const char* text,
                                              std::int32_t length, std::int32_t column, int tabSize)
{
    Follow(line, lineStart, std::max(tabSize, 1));
    column = std::clamp(column, 0, length);
    ExtendToColumn(text, length, column);
    const auto after = std::upper_bound(checkpoints_.begin(), checkpoints_.end(), column,
                                        [](std::int32_t at, const Checkpoint& point) { return at < point.column; });
    const Checkpoint& from = *(after - 1);
    // The rest is measured as if the line began at the checkpoint, with
    // the tab stops it had.
    const std::int32_t offsetDisplay = from.display - from.display % tabSize_;
    return offsetDisplay + VxEdit::CharToDisplayColIn(text + from.column, length - from.column,
                                                       column - from.column, tabSize_, from.display % tabSize_);
}

std::int32_t VxEditLongLineColumns::ColumnOf(std::int32_t line, std::int64_t lineStart, const char* text,
                                             std::int32_t length, std::int32_t display, int tabSize,
                                             std::int32_t* snappedDisplay)
{
    Follow(line, lineStart, std::max(tabSize, 1));
    ExtendToDisplay(text, length, display);
    const auto after = std::upper_bound(checkpoints_.begin(), checkpoints_.end(), display,
                                        [](std::int32_t at, const Checkpoint& point) { return at < point.display; });
    const Checkpoint& from = *(after - 1);
    const std::int32_t offsetDisplay = from.display - from.display % tabSize_;
    std::int32_t snapped = 0;
    const std::int32_t column =
        from.column + VxEdit::DisplayToCharColIn(text + from.column, length - from.column, display - offsetDisplay,
                                                 tabSize_, &snapped, from.display % tabSize_);
    if (snappedDisplay)
        *snappedDisplay = offsetDisplay + snapped;
    return column;
}
