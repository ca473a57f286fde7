// The console's text for assistive technology: the whole text with offsets
// of its cells, the selection and caret by offset, and caret notifications.
#include "javatools/console/ConsoleView.h"

#include "javatools/console/ConsoleSession.h"

#include <QAccessible>
#include <QScrollBar>

#include <algorithm>

void ConsoleView::BuildText() const
{
    if (textRevision_ == session_.Screen().Revision())
        return;
    const ConsoleScreen& screen = session_.Screen();
    text_.clear();
    lineStarts_.clear();
    const int last = screen.LastUsedLine();
    for (int line = 0; line <= last; ++line) {
        if (line > 0)
            text_ += QLatin1Char('\n');
        lineStarts_.push_back(static_cast<int>(text_.size()));
        text_ += QString::fromStdString(screen.LineText(line));
    }
    textRevision_ = session_.Screen().Revision();
}

QString ConsoleView::Text() const
{
    BuildText();
    return text_;
}

int ConsoleView::OffsetOf(int line, int column) const
{
    BuildText();
    if (line < 0)
        return 0;
    if (line >= static_cast<int>(lineStarts_.size()))
        return static_cast<int>(text_.size());
    const int start = lineStarts_[static_cast<std::size_t>(line)];
    const int lineEnd = line + 1 < static_cast<int>(lineStarts_.size())
                            ? lineStarts_[static_cast<std::size_t>(line) + 1] - 1
                            : static_cast<int>(text_.size());
    const QString before =
        QString::fromStdString(session_.Screen().TextBetween(line, 0, line, column));
    return std::min(start + static_cast<int>(before.size()), lineEnd);
}

bool ConsoleView::CellOfOffset(int offset, int* line, int* column) const
{
    BuildText();
    if (offset < 0 || offset > static_cast<int>(text_.size()) || lineStarts_.empty())
        return false;
    const auto found = std::upper_bound(lineStarts_.begin(), lineStarts_.end(), offset);
    *line = static_cast<int>(found - lineStarts_.begin()) - 1;
    int characters = offset - lineStarts_[static_cast<std::size_t>(*line)];
    session_.Screen().CellsOf(*line, cells_);
    int cell = 0;
    while (cell < static_cast<int>(cells_.size()) && characters > 0) {
        const char32_t ch = cells_[static_cast<std::size_t>(cell)].ch;
        if (ch != ConsoleCell::kWideTail)
            characters -= ch >= 0x10000 ? 2 : 1;
        ++cell;
    }
    while (cell < static_cast<int>(cells_.size()) &&
           cells_[static_cast<std::size_t>(cell)].ch == ConsoleCell::kWideTail)
        ++cell;
    *column = cell;
    return true;
}

int ConsoleView::CursorOffset() const
{
    const ConsoleScreen& screen = session_.Screen();
    return OffsetOf(screen.ScrollbackCount() + screen.CursorRow(), screen.CursorColumn());
}

bool ConsoleView::SelectionOffsets(int* start, int* end) const
{
    if (!HasSelection())
        return false;
    const auto [from, to] = OrderedSelection();
    const int first = LineIndex(from.line);
    *start = first < 0 ? 0 : OffsetOf(first, from.column);
    *end = OffsetOf(LineIndex(to.line), to.column);
    return true;
}

void ConsoleView::SetSelectionOffsets(int start, int end)
{
    int startLine = 0;
    int startColumn = 0;
    int endLine = 0;
    int endColumn = 0;
    if (!CellOfOffset(start, &startLine, &startColumn) || !CellOfOffset(end, &endLine, &endColumn))
        return;
    const std::uint64_t dropped = session_.Screen().DroppedLines();
    anchor_ = Position{dropped + static_cast<std::uint64_t>(startLine), startColumn};
    end_ = Position{dropped + static_cast<std::uint64_t>(endLine), endColumn};
    hasSelection_ = anchor_ != end_;
    viewport()->update();
}

QRect ConsoleView::CharacterRect(int offset) const
{
    int line = 0;
    int column = 0;
    if (!CellOfOffset(offset, &line, &column))
        return {};
    const QPoint topLeft(column * cellWidth_, RowOfLine(line) * cellHeight_);
    return QRect(viewport()->mapToGlobal(topLeft), QSize(cellWidth_, cellHeight_));
}

void ConsoleView::ScrollToOffset(int offset)
{
    int line = 0;
    int column = 0;
    if (!CellOfOffset(offset, &line, &column))
        return;
    const int rows = session_.Screen().Rows();
    if (line < TopLine() || line >= TopLine() + rows)
        verticalScrollBar()->setValue(line - rows / 2);
}

int ConsoleView::OffsetAt(const QPoint& point) const
{
    const Position at = PositionAt(viewport()->mapFromGlobal(point));
    return OffsetOf(LineIndex(at.line), at.column);
}

void ConsoleView::NotifyAccessibility()
{
    if (!QAccessible::isActive())
        return;
    const int offset = CursorOffset();
    if (offset == lastCursorOffset_)
        return;
    lastCursorOffset_ = offset;
    QAccessibleTextCursorEvent moved(this, offset);
    QAccessible::updateAccessibility(&moved);
}
