// Lines and columns of VxEdit: line text, byte columns kept on character
// boundaries, display columns with tabs expanded, and the rule that an edit
// makes no line wider than MaxLineLength display columns.
#include "engine/VxEdit.h"

#include "engine/VxEditTextBuffer.h"
#include "engine/VxEditUtf8.h"
#include "language/VxEditLangConfig.h"
#include "mvc/VxEditMsg.h"

#include <algorithm>

using tarrow::foundation::MakeRef;

namespace {

// Cells of the character at text[at] when it starts at display column
// display, and its byte length.
int CellsOf(const char* text, std::int32_t length, std::int32_t at, std::int32_t display,
            int tabSize, int& bytes)
{
    const auto byte = static_cast<unsigned char>(text[at]);
    bytes = 1;
    if (byte == '\t')
        return tabSize - display % tabSize;
    if (byte < 0x80)
        return 1;
    return VxEditUtf8::CellsAt(text + at, static_cast<std::size_t>(length - at), &bytes);
}

}  // namespace

std::int32_t VxEdit::LineCount() const
{
    return buffer_->LineCount();
}

std::int32_t VxEdit::LastLine() const
{
    return buffer_->LastLine();
}

int VxEdit::LineText(std::int32_t line, const char*& text, std::int32_t& length)
{
    length = buffer_->LineContentLength(line);
    if (length < 0) {
        text = nullptr;
        length = 0;
        return 0;
    }
    text = buffer_->PointerAt(buffer_->LineStart(line), length);
    return 1;
}

std::int32_t VxEdit::LineLength(std::int32_t line) const
{
    return buffer_->LineContentLength(line);
}

bool VxEdit::IsValidPosition(std::int32_t line, std::int32_t column, bool allowAny) const
{
    if (line < 0 || line > LastLine() || column < 0)
        return false;
    return allowAny || column <= buffer_->LineContentLength(line);
}

std::int32_t VxEdit::SnapColumn(std::int32_t line, std::int32_t column, bool check)
{
    const char* text = nullptr;
    std::int32_t length = 0;
    if (!LineText(line, text, length))
        return column;
    if (check)
        column = std::clamp(column, 0, length);
    if (column <= 0 || column >= length)
        return column;
    return static_cast<std::int32_t>(VxEditUtf8::CharStart(text, static_cast<std::size_t>(length),
                                                           static_cast<std::size_t>(column)));
}

bool VxEdit::IsBlankLine(std::int32_t line)
{
    const char* text = nullptr;
    std::int32_t length = 0;
    if (!LineText(line, text, length))
        return false;
    return std::all_of(text, text + length, [](char c) { return c == ' ' || c == '\t'; });
}

std::int32_t VxEdit::CharToDisplayColIn(const char* text, std::int32_t length, std::int32_t column,
                                        int tabSize, std::int32_t startDisplay)
{
    column = std::clamp(column, 0, length);
    tabSize = std::max(tabSize, 1);
    std::int32_t display = startDisplay;
    for (std::int32_t at = 0; at < column;) {
        int bytes = 1;
        const int cells = CellsOf(text, length, at, display, tabSize, bytes);
        // A column inside a character lands where that character starts.
        if (at + bytes > column)
            break;
        display += cells;
        at += bytes;
    }
    return display;
}

std::int32_t VxEdit::DisplayToCharColIn(const char* text, std::int32_t length, std::int32_t display,
                                        int tabSize, std::int32_t* snappedDisplay, std::int32_t startDisplay)
{
    tabSize = std::max(tabSize, 1);
    std::int32_t at = 0;
    std::int32_t start = startDisplay;
    while (at < length) {
        int bytes = 1;
        const int cells = CellsOf(text, length, at, start, tabSize, bytes);
        // A display column inside a tab or a wide character snaps to its start.
        if (display < start + cells)
            break;
        start += cells;
        at += bytes;
    }
    if (snappedDisplay)
        *snappedDisplay = start;
    return at;
}

std::int32_t VxEdit::CharToDisplayCol(std::int32_t column, std::int32_t line)
{
    const char* text = nullptr;
    std::int32_t length = 0;
    if (!LineText(line, text, length))
        return column;
    if (length >= VxEditLongLineColumns::kLongLine)
        return longLineColumns_.DisplayOf(line, buffer_->LineStart(line), text, length, column, TabSize());
    return CharToDisplayColIn(text, length, column, TabSize());
}

std::int32_t VxEdit::DisplayToCharCol(std::int32_t display, std::int32_t line,
                                      std::int32_t* snappedDisplay)
{
    const char* text = nullptr;
    std::int32_t length = 0;
    if (!LineText(line, text, length)) {
        if (snappedDisplay)
            *snappedDisplay = display;
        return display;
    }
    if (length >= VxEditLongLineColumns::kLongLine)
        return longLineColumns_.ColumnOf(line, buffer_->LineStart(line), text, length, display, TabSize(),
                                         snappedDisplay);
    return DisplayToCharColIn(text, length, display, TabSize(), snappedDisplay);
}

std::int32_t VxEdit::DisplayLength(std::int32_t line)
{
    return CharToDisplayCol(buffer_->LineContentLength(line), line);
}

std::string VxEdit::WhitespaceFor(std::int32_t width) const
{
    const int tabSize = TabSize();
    const bool spacesOnly = WritesOnlySpaces() || width < tabSize;
    if (width <= 0)
        return {};
    if (spacesOnly)
        return std::string(static_cast<std::size_t>(width), ' ');
    return std::string(static_cast<std::size_t>(width / tabSize), '\t') +
           std::string(static_cast<std::size_t>(width % tabSize), ' ');
}

int VxEdit::TabWidthAt(const VxEditLineCol& position)
{
    const int tabSize = TabSize();
    return tabSize - CharToDisplayCol(position.column, position.line) % tabSize;
}

std::string VxEdit::TabString(const VxEditLineCol& position)
{
    if (WritesOnlySpaces()) {
        const int unit = IndentWidth();
        return std::string(static_cast<std::size_t>(unit - CharToDisplayCol(position.column, position.line) % unit),
                           ' ');
    }
    return "\t";
}

void VxEdit::DetectIndent()
{
    detectedIndent_ = VxEditIndentUnit::Detect(*buffer_);
}

bool VxEdit::IndentsWithSpaces() const
{
    return braceIndented_ && detectedIndent_.kind == VxEditIndentUnit::Kind::kSpaces;
}

bool VxEdit::WritesOnlySpaces() const
{
    return IndentsWithSpaces() || (config_ && config_->GetReplaceTabs());
}

int VxEdit::IndentWidth() const
{
    return IndentsWithSpaces() ? detectedIndent_.spaces : TabSize();
}

bool VxEdit::LineTooLong(std::int32_t line)
{
    return LineTooLong(line, TabSize());
}

bool VxEdit::LineTooLong(std::int32_t line, std::int64_t tabSize)
{
    // No character is wider than its bytes except a tab, so short lines
    // need no measuring.
    if (buffer_->LineFullLength(line) * tabSize <= kMaxLineLength)
        return false;
    if (static_cast<std::int64_t>(buffer_->LineContentLength(line)) * tabSize <= kMaxLineLength)
        return false;
    return DisplayLength(line) > kMaxLineLength;
}

bool VxEdit::ReplacementTooLong(std::int32_t line, std::int32_t newDisplayLength)
{
    return newDisplayLength > kMaxLineLength && newDisplayLength > DisplayLength(line);
}

int VxEdit::BreakLongLines(bool apply, std::int32_t first, std::int32_t last)
{
    if (last < 0 || last > LastLine())
        last = LastLine();
    const std::string lineBreak = LineBreak();
    const int tabSize = TabSize();
    bool broke = false;
    for (std::int32_t line = std::max(first, 0); line <= last; ++line) {
        if (!LineTooLong(line, tabSize))
            continue;
        if (!apply)
            return 1;
        const std::int32_t column = SnapColumn(line, DisplayToCharCol(kMaxLineLength, line));
        if (column <= 0)
            continue;
        autoBreakGuard_ = true;
        InsertAtLineCol(line, column, lineBreak.data(), static_cast<std::int64_t>(lineBreak.size()));
        autoBreakGuard_ = false;
        ++last;  // the remainder is the next line, examined in turn
        broke = true;
    }
    if (!broke)
        return 0;
    ClearHistory();
    modified_ = 1;
    savePoint_ = kUnreachable;
    ResetColouring();
    auto paint = MakeRef<VxEditPaintMsg>(0, LastLine());
    NotifyAll(paint.Get());
    return 1;
}
