// The console's selection: made with the mouse or Select All, copied,
// pasted and offered by the context menu.
#include "javatools/console/ConsoleView.h"

#include "javatools/console/ConsoleSession.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>

#include <algorithm>

int ConsoleView::RowOfLine(int line) const
{
    return line - TopLine();
}

int ConsoleView::LineIndex(std::uint64_t line) const
{
    const std::uint64_t dropped = session_.Screen().DroppedLines();
    if (line < dropped)
        return -1;
    return static_cast<int>(std::min<std::uint64_t>(line - dropped, 1u << 30));
}

ConsoleView::Position ConsoleView::PositionAt(const QPoint& point) const
{
    const ConsoleScreen& screen = session_.Screen();
    const int row = std::clamp(point.y() / cellHeight_, 0, screen.Rows() - 1);
    const int line = std::min(TopLine() + row, screen.LineCount() - 1);
    const int column = std::clamp((point.x() + cellWidth_ / 2) / cellWidth_, 0, screen.Columns());
    return Position{screen.DroppedLines() + static_cast<std::uint64_t>(line), column};
}

std::pair<ConsoleView::Position, ConsoleView::Position> ConsoleView::OrderedSelection() const
{
    return anchor_ < end_ ? std::pair{anchor_, end_} : std::pair{end_, anchor_};
}

bool ConsoleView::HasSelection() const
{
    return hasSelection_ && anchor_ != end_;
}

bool ConsoleView::Selected(int line, int column) const
{
    if (!HasSelection())
        return false;
    const auto [start, end] = OrderedSelection();
    const Position at{session_.Screen().DroppedLines() + static_cast<std::uint64_t>(line), column};
    return start <= at && at < end;
}

QString ConsoleView::SelectedText() const
{
    if (!HasSelection())
        return {};
    const ConsoleScreen& screen = session_.Screen();
    auto [start, end] = OrderedSelection();
    int first = LineIndex(start.line);
    int firstColumn = start.column;
    if (first < 0) {
        first = 0;
        firstColumn = 0;
    }
    const int last = std::min(LineIndex(end.line), screen.LineCount() - 1);
    if (last < first)
        return {};
    return QString::fromStdString(screen.TextBetween(first, firstColumn, last, end.column));
}

void ConsoleView::SelectAll()
{
    const ConsoleScreen& screen = session_.Screen();
    anchor_ = Position{screen.DroppedLines(), 0};
    end_ = Position{screen.DroppedLines() + static_cast<std::uint64_t>(screen.LastUsedLine()),
                    screen.Columns()};
    hasSelection_ = true;
    viewport()->update();
}

void ConsoleView::Copy()
{
    if (HasSelection())
        QApplication::clipboard()->setText(SelectedText());
}

void ConsoleView::Paste()
{
    QString text = QApplication::clipboard()->text();
    if (text.isEmpty())
        return;
    // A terminal's Enter is a carriage return.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\r"));
    text.replace(QLatin1Char('\n'), QLatin1Char('\r'));
    session_.Screen().Paste(text.toStdString());
    ScrollToBottom();
}

void ConsoleView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton && QApplication::clipboard()->supportsSelection()) {
        const QString text = QApplication::clipboard()->text(QClipboard::Selection);
        if (!text.isEmpty())
            session_.Screen().Paste(QString(text).replace(QLatin1Char('\n'), QLatin1Char('\r')).toStdString());
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    anchor_ = end_ = PositionAt(event->position().toPoint());
    hasSelection_ = false;
    selecting_ = true;
    viewport()->update();
}

void ConsoleView::mouseMoveEvent(QMouseEvent* event)
{
    if (!selecting_)
        return;
    const QPoint point = event->position().toPoint();
    if (point.y() < 0)
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    else if (point.y() >= viewport()->height())
        verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    end_ = PositionAt(point);
    hasSelection_ = end_ != anchor_;
    viewport()->update();
}

void ConsoleView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !selecting_)
        return;
    selecting_ = false;
    if (HasSelection() && QApplication::clipboard()->supportsSelection())
        QApplication::clipboard()->setText(SelectedText(), QClipboard::Selection);
    if (QAccessible::isActive()) {
        int start = 0;
        int end = 0;
        if (SelectionOffsets(&start, &end)) {
            QAccessibleTextSelectionEvent selection(this, start, end);
            QAccessible::updateAccessibility(&selection);
        }
    }
}

// A double click selects the word (a run of non-blank cells) under the mouse.
void ConsoleView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const Position at = PositionAt(event->position().toPoint());
    const int line = LineIndex(at.line);
    if (line < 0)
        return;
    session_.Screen().CellsOf(line, cells_);
    const int columns = static_cast<int>(cells_.size());
    auto blank = [&](int column) {
        const char32_t ch = cells_[static_cast<std::size_t>(column)].ch;
        return ch == 0 || ch == U' ';
    };
    int column = std::min(event->position().toPoint().x() / cellWidth_, columns - 1);
    if (column < 0 || blank(column))
        return;
    int start = column;
    while (start > 0 && !blank(start - 1))
        --start;
    int end = column;
    while (end < columns && !blank(end))
        ++end;
    anchor_ = Position{at.line, start};
    end_ = Position{at.line, end};
    hasSelection_ = true;
    selecting_ = false;
    viewport()->update();
}

void ConsoleView::contextMenuEvent(QContextMenuEvent* event)
{
    menu_->exec(event->globalPos());
}
