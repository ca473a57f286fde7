#pragma once

#include "javatools/console/ConsoleCell.h"

#include <QAbstractScrollArea>
#include <QFont>

#include <cstdint>
#include <vector>

class QMenu;
class QTimer;
class ConsoleSession;

// Paints a console's screen and scrollback in a fixed-pitch font and turns
// the user's keys, typing and pastes into the program's input. Output is
// painted at most once per frame, and then only the rows it changed. The
// mouse selects text (a stream from one cell to another); Ctrl+Shift+C and
// Ctrl+Shift+V copy and paste, as does the context menu. Escape leaves it.
class ConsoleView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit ConsoleView(ConsoleSession& session, QWidget* parent = nullptr);
    ~ConsoleView() override;

    ConsoleSession& Session() { return session_; }
    void SetTerminalFont(const QFont& font);

    // Everything the console shows and keeps, one "\n" between lines.
    QString Text() const;
    QString SelectedText() const;
    bool HasSelection() const;
    void SelectAll();
    void Copy();
    void Paste();

    // Offsets into Text() of the caret and of the selection, for assistive
    // technology; -1 for a position that is not in the text.
    int CursorOffset() const;
    bool SelectionOffsets(int* start, int* end) const;
    void SetSelectionOffsets(int start, int end);
    QRect CharacterRect(int offset) const;
    // Scrolls so that the line holding the offset is shown.
    void ScrollToOffset(int offset);
    int OffsetAt(const QPoint& point) const;

    // The first line shown (scrollback lines count first).
    int TopLine() const;

signals:
    // Escape was pressed: the user goes back to the editor. (Ctrl+[ sends
    // the program its ESC.)
    void FocusReturnRequested();

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // A cell of the whole history: lines are counted from the first line the
    // console ever had, so a position stays put when old lines are dropped.
    struct Position {
        std::uint64_t line = 0;
        int column = 0;
        auto operator<=>(const Position&) const = default;
    };

    void ScheduleRefresh();
    void Refresh();
    void UpdateScrollBar();
    void FitToViewport();
    void ScrollToBottom();
    bool Following() const;
    void RepaintRow(int row);
    int RowOfLine(int line) const;
    Position PositionAt(const QPoint& point) const;
    int LineIndex(std::uint64_t line) const;
    bool Selected(int line, int column) const;
    std::pair<Position, Position> OrderedSelection() const;
    void BuildText() const;
    int OffsetOf(int line, int column) const;
    // The line and cell column of a text offset; false when out of range.
    bool CellOfOffset(int offset, int* line, int* column) const;
    void SendText(const QString& text);
    void NotifyAccessibility();

    ConsoleSession& session_;
    QFont font_;
    int cellWidth_ = 8;
    int cellHeight_ = 16;
    int ascent_ = 12;
    QTimer* refresh_;
    QMenu* menu_;
    std::uint64_t droppedSeen_ = 0;
    bool selecting_ = false;
    bool hasSelection_ = false;
    Position anchor_;
    Position end_;
    int lastCursorOffset_ = -1;
    // The text (for copying and assistive technology) is rebuilt when it is
    // asked for after the screen changed.
    mutable std::uint64_t textRevision_ = ~std::uint64_t{0};
    mutable QString text_;
    mutable std::vector<int> lineStarts_;
    mutable std::vector<ConsoleCell> cells_;
};
