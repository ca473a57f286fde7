#include "javatools/console/ConsoleView.h"

#include "javatools/console/ConsoleAccessible.h"
#include "javatools/console/ConsoleSession.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
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

VTermModifier ModifiersOf(Qt::KeyboardModifiers modifiers)
{
    int result = VTERM_MOD_NONE;
    if (modifiers & Qt::ShiftModifier)
        result |= VTERM_MOD_SHIFT;
    if (modifiers & Qt::AltModifier)
        result |= VTERM_MOD_ALT;
    if (modifiers & Qt::ControlModifier)
        result |= VTERM_MOD_CTRL;
    return static_cast<VTermModifier>(result);
}

VTermKey TerminalKey(int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return VTERM_KEY_ENTER;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return VTERM_KEY_TAB;
    case Qt::Key_Backspace:
        return VTERM_KEY_BACKSPACE;
    case Qt::Key_Escape:
        return VTERM_KEY_ESCAPE;
    case Qt::Key_Up:
        return VTERM_KEY_UP;
    case Qt::Key_Down:
        return VTERM_KEY_DOWN;
    case Qt::Key_Left:
        return VTERM_KEY_LEFT;
    case Qt::Key_Right:
        return VTERM_KEY_RIGHT;
    case Qt::Key_Insert:
        return VTERM_KEY_INS;
    case Qt::Key_Delete:
        return VTERM_KEY_DEL;
    case Qt::Key_Home:
        return VTERM_KEY_HOME;
    case Qt::Key_End:
        return VTERM_KEY_END;
    case Qt::Key_PageUp:
        return VTERM_KEY_PAGEUP;
    case Qt::Key_PageDown:
        return VTERM_KEY_PAGEDOWN;
    default:
        if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
            return static_cast<VTermKey>(VTERM_KEY_FUNCTION(key - Qt::Key_F1 + 1));
        return VTERM_KEY_NONE;
    }
}

// Function keys stay the editor's (compile, run, debug from the console too).
bool KeyForEditor(int key)
{
    return key >= Qt::Key_F1 && key <= Qt::Key_F35;
}

bool IsCopyKey(const QKeyEvent* key)
{
    return key->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier) && key->key() == Qt::Key_C;
}

bool IsPasteKey(const QKeyEvent* key)
{
    return key->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier) && key->key() == Qt::Key_V;
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

// --- Keys and typing -------------------------------------------------------

bool ConsoleView::event(QEvent* event)
{
    // The program gets the keys the editor's menus would otherwise take
    // (Ctrl+C interrupts it rather than copying).
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (!KeyForEditor(key->key())) {
            event->accept();
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

bool ConsoleView::focusNextPrevChild(bool)
{
    return false;  // Tab is the program's
}

void ConsoleView::keyPressEvent(QKeyEvent* event)
{
    ConsoleScreen& screen = session_.Screen();
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const int key = event->key();
    if (IsCopyKey(event)) {
        Copy();
        return;
    }
    if (IsPasteKey(event)) {
        Paste();
        return;
    }
    if (modifiers == Qt::ShiftModifier && (key == Qt::Key_PageUp || key == Qt::Key_PageDown)) {
        verticalScrollBar()->triggerAction(key == Qt::Key_PageUp ? QAbstractSlider::SliderPageStepSub
                                                                 : QAbstractSlider::SliderPageStepAdd);
        return;
    }
    const VTermModifier terminalModifiers = ModifiersOf(modifiers);
    if (const VTermKey terminalKey = TerminalKey(key); terminalKey != VTERM_KEY_NONE) {
        const VTermModifier withShift =
            key == Qt::Key_Backtab ? static_cast<VTermModifier>(terminalModifiers | VTERM_MOD_SHIFT)
                                   : terminalModifiers;
        screen.Key(terminalKey, withShift);
    } else if ((modifiers & Qt::ControlModifier) && key >= Qt::Key_A && key <= Qt::Key_Z) {
        screen.Character(U'a' + static_cast<char32_t>(key - Qt::Key_A), terminalModifiers);
    } else if ((modifiers & Qt::ControlModifier) &&
               (key == Qt::Key_At || key == Qt::Key_BracketLeft || key == Qt::Key_Backslash ||
                key == Qt::Key_BracketRight || key == Qt::Key_AsciiCircum ||
                key == Qt::Key_Underscore || key == Qt::Key_Space)) {
        screen.Character(static_cast<char32_t>(key), terminalModifiers);
    } else if (!event->text().isEmpty()) {
        const auto alt = static_cast<VTermModifier>(terminalModifiers & VTERM_MOD_ALT);
        for (char32_t ch : event->text().toUcs4()) {
            if (ch < 0x20 || ch == 0x7F) {
                const char byte = static_cast<char>(ch);
                session_.Write(&byte, 1);
            } else {
                screen.Character(ch, alt);
            }
        }
    } else {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    ScrollToBottom();
}

void ConsoleView::SendText(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    session_.Write(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    ScrollToBottom();
}

void ConsoleView::inputMethodEvent(QInputMethodEvent* event)
{
    if (!event->commitString().isEmpty())
        SendText(event->commitString());
    event->accept();
}

QVariant ConsoleView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    const ConsoleScreen& screen = session_.Screen();
    switch (query) {
    case Qt::ImEnabled:
        return true;
    case Qt::ImCursorRectangle: {
        const int row = RowOfLine(screen.ScrollbackCount() + screen.CursorRow());
        return QRect(screen.CursorColumn() * cellWidth_, row * cellHeight_, cellWidth_, cellHeight_);
    }
    case Qt::ImFont:
        return font_;
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

void ConsoleView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    viewport()->update();
}

void ConsoleView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    viewport()->update();
}

// --- Selection, copy and paste --------------------------------------------

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

// --- Text for assistive technology ----------------------------------------

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
