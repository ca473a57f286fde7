// The console window: its construction and font, and what it shows: the
// screen's rows painted as they change, the scrollback and its scroll bar.
#include "javatools/console/ConsoleView.h"

#include "javatools/console/ConsoleAccessible.h"
#include "javatools/console/ConsoleSession.h"

#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QPaintEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>

#include <algorithm>

namespace {

// One repaint per frame at most, however fast the program prints.
constexpr int kRefreshMs = 16;

QColor FromRgb(std::uint32_t rgb)
{
    return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

}  // namespace

ConsoleView::ConsoleView(ConsoleSession& session, QWidget* parent)
    : QAbstractScrollArea(parent), session_(session), refresh_(new QTimer(this)),
      menu_(new QMenu(this))
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setCursor(Qt::IBeamCursor);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    refresh_->setSingleShot(true);
    refresh_->setInterval(kRefreshMs);
    connect(refresh_, &QTimer::timeout, this, &ConsoleView::Refresh);
    connect(&session_, &ConsoleSession::Changed, this, &ConsoleView::ScheduleRefresh);

    QAction* copy = menu_->addAction(tr("&Copy\tCtrl+Shift+C"), this, &ConsoleView::Copy);
    QAction* paste = menu_->addAction(tr("&Paste\tCtrl+Shift+V"), this, &ConsoleView::Paste);
    menu_->addSeparator();
    menu_->addAction(tr("Select &All"), this, &ConsoleView::SelectAll);
    connect(menu_, &QMenu::aboutToShow, this, [this, copy, paste] {
        copy->setEnabled(HasSelection());
        const QMimeData* data = QApplication::clipboard()->mimeData();
        paste->setEnabled(data && data->hasText());
    });

    InstallConsoleAccessibleFactory();
    SetTerminalFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    droppedSeen_ = session_.Screen().DroppedLines();
}

ConsoleView::~ConsoleView() = default;

void ConsoleView::SetTerminalFont(const QFont& font)
{
    font_ = font;
    if (!QFontInfo(font_).fixedPitch()) {
        const int pointSize = font_.pointSize();
        font_ = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        if (pointSize > 0)
            font_.setPointSize(pointSize);
    }
    font_.setBold(false);
    font_.setItalic(false);
    const QFontMetrics metrics(font_);
    cellWidth_ = std::max(metrics.horizontalAdvance(QLatin1Char('M')), 1);
    cellHeight_ = std::max(metrics.height(), 1);
    ascent_ = metrics.ascent();
    FitToViewport();
    viewport()->update();
}

// --- What is shown ---------------------------------------------------------

int ConsoleView::TopLine() const
{
    return verticalScrollBar()->value();
}

bool ConsoleView::Following() const
{
    return verticalScrollBar()->value() >= verticalScrollBar()->maximum();
}

void ConsoleView::ScheduleRefresh()
{
    if (!refresh_->isActive())
        refresh_->start();
}

// Brings the picture up to date with the screen: a view that follows the
// output stays at the bottom; one the user scrolled up keeps showing the
// same lines while new ones arrive below.
void ConsoleView::Refresh()
{
    const ConsoleScreen& screen = session_.Screen();
    const std::uint64_t dropped = screen.DroppedLines();
    const bool follow = Following();
    const int oldTop = TopLine();
    const int shift = static_cast<int>(std::min<std::uint64_t>(dropped - droppedSeen_, 1u << 30));
    droppedSeen_ = dropped;
    const auto [first, last] = session_.Screen().TakeDamage();
    {
        const QSignalBlocker blocker(verticalScrollBar());
        UpdateScrollBar();
        verticalScrollBar()->setValue(follow ? verticalScrollBar()->maximum()
                                             : std::max(oldTop - shift, 0));
    }
    const int top = TopLine();
    if (top != oldTop || (!follow && shift > 0)) {
        viewport()->update();
    } else {
        for (int row = first; row < last; ++row)
            RepaintRow(screen.ScrollbackCount() + row - top);
    }
    NotifyAccessibility();
}

void ConsoleView::UpdateScrollBar()
{
    const ConsoleScreen& screen = session_.Screen();
    verticalScrollBar()->setRange(0, screen.ScrollbackCount());
    verticalScrollBar()->setPageStep(screen.Rows());
    verticalScrollBar()->setSingleStep(1);
}

void ConsoleView::ScrollToBottom()
{
    verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void ConsoleView::RepaintRow(int row)
{
    if (row >= 0 && row * cellHeight_ < viewport()->height())
        viewport()->update(0, row * cellHeight_, viewport()->width(), cellHeight_);
}

void ConsoleView::FitToViewport()
{
    const int columns = std::max(viewport()->width() / cellWidth_, 1);
    const int rows = std::max(viewport()->height() / cellHeight_, 1);
    const bool follow = Following();
    session_.Resize(rows, columns);
    const QSignalBlocker blocker(verticalScrollBar());
    UpdateScrollBar();
    if (follow)
        ScrollToBottom();
}

void ConsoleView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    FitToViewport();
    viewport()->update();
}

void ConsoleView::scrollContentsBy(int, int)
{
    viewport()->update();
}

void ConsoleView::paintEvent(QPaintEvent* event)
{
    const ConsoleScreen& screen = session_.Screen();
    QPainter painter(viewport());
    const QColor text = palette().color(QPalette::Text);
    const QColor base = palette().color(QPalette::Base);
    const QColor highlight = palette().color(QPalette::Highlight);
    const QColor highlightedText = palette().color(QPalette::HighlightedText);
    QFont bold = font_;
    bold.setBold(true);

    const int top = TopLine();
    const int cursorLine = screen.ScrollbackCount() + screen.CursorRow();
    const bool showCursor = screen.CursorVisible();
    const QRect area = event->rect();
    const int firstRow = std::max(area.top() / cellHeight_, 0);
    const int lastRow = area.bottom() / cellHeight_;
    painter.fillRect(area, base);
    for (int row = firstRow; row <= lastRow; ++row) {
        const int line = top + row;
        if (line >= screen.LineCount())
            break;
        const int y = row * cellHeight_;
        screen.CellsOf(line, cells_);
        int column = 0;
        while (column < screen.Columns()) {
            const ConsoleCell& cell = cells_[static_cast<std::size_t>(column)];
            // The colours of this cell decide the run that starts here.
            auto coloursOf = [&](int at, const ConsoleCell& c) {
                QColor fg = (c.flags & ConsoleCell::kDefaultForeground) ? text : FromRgb(c.foreground);
                QColor bg = (c.flags & ConsoleCell::kDefaultBackground) ? base : FromRgb(c.background);
                if (c.flags & ConsoleCell::kReverse)
                    std::swap(fg, bg);
                if (Selected(line, at)) {
                    fg = highlightedText;
                    bg = highlight;
                }
                if (showCursor && hasFocus() && line == cursorLine && at == screen.CursorColumn())
                    std::swap(fg, bg);
                return std::pair{fg, bg};
            };
            const auto [fg, bg] = coloursOf(column, cell);
            const int x = column * cellWidth_;
            if (cell.ch >= 0x80 && cell.ch != ConsoleCell::kWideTail) {
                // Characters outside ASCII may come from another face; each
                // gets its own cell(s) so the grid stays straight.
                const int width = cell.width * cellWidth_;
                painter.fillRect(x, y, width, cellHeight_, bg);
                painter.setPen(fg);
                painter.setFont((cell.flags & ConsoleCell::kBold) ? bold : font_);
                const char32_t ch = cell.ch;
                painter.drawText(QRect(x, y, width, cellHeight_), Qt::AlignCenter,
                                 QString::fromUcs4(&ch, 1));
                column += std::max<int>(cell.width, 1);
                continue;
            }
            QString run;
            int end = column;
            while (end < screen.Columns()) {
                const ConsoleCell& next = cells_[static_cast<std::size_t>(end)];
                if (next.ch >= 0x80 || next.flags != cell.flags || coloursOf(end, next) != std::pair{fg, bg})
                    break;
                run += next.ch == 0 ? QLatin1Char(' ') : QChar(static_cast<char16_t>(next.ch));
                ++end;
            }
            if (end == column) {
                // A wide character's tail: its head painted it.
                ++column;
                continue;
            }
            const int width = (end - column) * cellWidth_;
            painter.fillRect(x, y, width, cellHeight_, bg);
            if (!run.trimmed().isEmpty() || (cell.flags & (ConsoleCell::kUnderline | ConsoleCell::kStrike))) {
                QFont face = (cell.flags & ConsoleCell::kBold) ? bold : font_;
                face.setItalic((cell.flags & ConsoleCell::kItalic) != 0);
                face.setUnderline((cell.flags & ConsoleCell::kUnderline) != 0);
                face.setStrikeOut((cell.flags & ConsoleCell::kStrike) != 0);
                painter.setFont(face);
                painter.setPen(fg);
                painter.drawText(x, y + ascent_, run);
            }
            column = end;
        }
        if (showCursor && !hasFocus() && line == cursorLine) {
            painter.setPen(text);
            painter.drawRect(screen.CursorColumn() * cellWidth_, y, cellWidth_ - 1, cellHeight_ - 1);
        }
    }
}
