#pragma once

#include "controller/CScrivoCtlr.h"
#include "controller/IVxEditView.h"
#include "mvc/ICommandTarget.h"
#include "mvc/IRefCount.h"
#include "view/CScrivoViewport.h"
#include "view/IVxEditViewportHost.h"
#include "view/VxEditQtClipboard.h"

#include <QAbstractScrollArea>
#include <QString>
#include <QTimer>

#include <functional>
#include <map>
#include <memory>
#include <string>

class QMimeData;
class VxEdit;
class VxEditPrinterSetup;

// The edit view of a document: a scroll-area window that owns a viewport
// drawing the model and the controller that edits it. Keys go through the
// accelerator table to the controller's commands; other keys and
// input-method commits are typed. Commands routed to the view (undo, redo,
// the clipboard, select all, line numbers, the edit keys) reach the
// controller through OnCommand.
class CScrivoView : public QAbstractScrollArea,
                    public IVxEditView,
                    public IVxEditViewportHost,
                    public tarrow::foundation::ICommandTarget {
    Q_OBJECT
public:
    // The view holds a counted reference to the model for its whole life.
    explicit CScrivoView(VxEdit& model, QWidget* parent = nullptr);
    ~CScrivoView() override;

    // Makes the controller of a window whose controller adds to the edit
    // view's (the output window's).
    using ControllerFactory = std::function<std::unique_ptr<CScrivoCtlr>(
        VxEdit& model, IVxEditView& view, IVxEditClipboard& clipboard)>;

    VxEdit& Model() const { return *model_; }
    CScrivoCtlr& Controller() { return controller_; }
    CScrivoViewport& Viewport() { return viewport_; }

    // ICommandTarget
    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, tarrow::foundation::CommandState& state) override;

    // Print and Print Preview use the shared printer settings and print the
    // document's title in the page header.
    void SetPrinting(VxEditPrinterSetup* setup, std::function<std::string()> title);
    // Print: the print dialog (page range, copies, a printer or a PDF file),
    // then the pages; false when cancelled or the printer failed.
    bool FilePrint();
    // Print Preview; its "Print..." goes on to FilePrint.
    void FilePrintPreview();

    // The status texts for the caret: "Ln %d, Col %d", "Line:%d", "Col:%d".
    QString LineAndColumnText() const;
    QString LineText() const;
    QString ColumnText() const;
    bool IsOverwrite() const { return controller_.IsOverwrite(); }

    // Paints the window's text and margin (without the caret) onto any
    // painter, in window coordinates.
    void Render(QPainter& painter, const QRect& clip);

    // IVxEditView
    int LineHeight() const override;
    int CharWidth() const override;
    int SpaceWidth() const override;
    int TextExtent(const char* text, int length) const override;
    int Fit(const char* text, int length, int width, bool printing) const override;
    double CellAdvance() const override;
    int ClientWidth() const override;
    int ClientHeight() const override;
    int ScrollX() const override;
    int ScrollY() const override;
    void ScrollTo(int x, int y) override;
    void InvalidateLines(int first, int last) override;
    void InvalidateAll() override;
    void CaretMoved() override;
    void PostCommand(int id) override;
    void StartTimer(int id, int milliseconds) override;
    void KillTimer(int id) override;
    int StartDragDistance() const override;
    DropEffect DoDragDrop(const std::string& text, bool column) override;

    // IVxEditViewportHost
    void RepaintLines(int first, int last) override;
    void RepaintAll() override;
    void RepaintMargin() override;
    void ExtentChanged() override;
    void FollowActivePane() override;

    // The context menu at a point of the window's text area (viewport
    // coordinates): the edit commands with their current states.
    virtual void ShowContextMenu(const QPoint& point);
    // Where the context menu's commands and their states go: the window
    // that holds the view, which routes them on to it. With a target the
    // menu also offers "Try/Catch Block", which the window carries out.
    void SetCommandTarget(tarrow::foundation::ICommandTarget* target) { commandTarget_ = target; }

    // The tooltip over a line's margin (what the check on save said about
    // the line); an empty text shows none.
    using MarginNoteSource = std::function<QString(std::int32_t line)>;
    void SetMarginNotes(MarginNoteSource source) { marginNotes_ = std::move(source); }

    QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

signals:
    void CaretPositionChanged(const QString& lineText, const QString& columnText);
    void CaretStatusChanged(const QString& lineAndColumnText);
    void OverwriteChanged(bool overwrite);

protected:
    CScrivoView(VxEdit& model, const ControllerFactory& makeController, QWidget* parent);

    // An entry of a context menu; id 0 is a separator.
    struct MenuItem {
        int id;
        const char* text;
    };
    // Shows a context menu of commands with their current states at a point
    // of the text area and carries out the one chosen.
    void RunCommandMenu(const QPoint& point, const std::vector<MenuItem>& items);

    bool event(QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

    // Runs the drag of the data (taking it over) and returns the action the
    // drop took.
    virtual Qt::DropAction RunDrag(QMimeData* data);
    void scrollContentsBy(int dx, int dy) override;

private:
    QRect CaretRect() const;
    void UpdateScrollBars();
    void FollowScrollBars();
    void UpdateCursor(const QPoint& point);
    bool IsActivePane() const;
    bool TakesKey(const QKeyEvent* event) const;
    std::string PrintTitle() const;

    tarrow::foundation::RefPtr<VxEdit> model_;
    VxEditQtClipboard clipboard_;
    CScrivoViewport viewport_;
    std::unique_ptr<CScrivoCtlr> ownedController_;
    CScrivoCtlr& controller_;
    QTimer blink_;
    QRect caretShown_;
    bool caretOn_ = true;
    bool syncingScrollBars_ = false;
    // The controller's timer ids and Qt's ids for them.
    std::map<int, int> timers_;
    // Set while this pane takes over another pane's origin, so that it does
    // not pass the change on again.
    bool followingPane_ = false;
    VxEditPrinterSetup* printerSetup_ = nullptr;
    std::function<std::string()> printTitle_;
    tarrow::foundation::ICommandTarget* commandTarget_ = nullptr;
    MarginNoteSource marginNotes_;
    // Where the caret was when screen readers were last told.
    VxEditLineCol announcedCaret_{-1, -1};
};
