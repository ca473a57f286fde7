// The edit view window: its construction, the commands it handles before
// the controller, the controller's view of it, scrolling, painting and the
// splitter panes that follow each other.
#include "view/CScrivoView.h"

#include "controller/VxEditTextFit.h"
#include "engine/VxEdit.h"
#include "resources/CommandIds.h"
#include "view/CGotoLineDialog.h"
#include "view/VxEditAccessible.h"
#include "view/VxEditFindReplaceDialog.h"
#include "view/VxEditPaintReport.h"

#include "mvc/VxEditMsg.h"

#include <QAccessible>
#include <QGuiApplication>
#include <QSplitter>
#include <QInputMethod>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

using tarrow::foundation::CommandState;

namespace {

constexpr int kCaretWidth = 2;
constexpr int kBlinkMilliseconds = 530;
// Columns of room to the right of the longest line, as far as the caret
// scrolls past an edge.
constexpr int kSpareColumns = 8;

}  // namespace

CScrivoView::CScrivoView(VxEdit& model, QWidget* parent)
    : CScrivoView(model,
                  [](VxEdit& text, IVxEditView& view, IVxEditClipboard& clipboard) {
                      return std::make_unique<CScrivoCtlr>(text, view, clipboard);
                  },
                  parent)
{
}

CScrivoView::CScrivoView(VxEdit& model, const ControllerFactory& makeController, QWidget* parent)
    : QAbstractScrollArea(parent),
      model_(&model),
      viewport_(model),
      ownedController_(makeController(model, *this, clipboard_)),
      controller_(*ownedController_)
{
    VxEditAccessible::Install();
    viewport_.SetScrivoController(&controller_);
    viewport_.SetHost(this);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_InputMethodEnabled);
    viewport()->setCursor(Qt::IBeamCursor);
    viewport()->setMouseTracking(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    viewport()->setAutoFillBackground(false);
    blink_.setInterval(kBlinkMilliseconds);
    connect(&blink_, &QTimer::timeout, this, [this] {
        caretOn_ = !caretOn_;
        viewport()->update(CaretRect());
    });
    controller_.SetCaretStatusHandler(
        [this](const std::string& both, const std::string& line, const std::string& column) {
            emit CaretStatusChanged(QString::fromStdString(both));
            emit CaretPositionChanged(QString::fromStdString(line), QString::fromStdString(column));
        });
    controller_.SetOverwriteHandler([this](bool overwrite) { emit OverwriteChanged(overwrite); });
    UpdateScrollBars();
}

CScrivoView::~CScrivoView()
{
    viewport_.SetHost(nullptr);
    controller_.SetCaretStatusHandler({});
    controller_.SetOverwriteHandler({});
}

bool CScrivoView::OnCommand(int id)
{
    switch (id) {
    case cmd::kFilePrint:
        if (!printerSetup_)
            return false;
        FilePrint();
        return true;
    case cmd::kFilePrintPreview:
        if (!printerSetup_)
            return false;
        FilePrintPreview();
        return true;
    case cmd::kEditFind:
    case cmd::kEditReplace:
        VxEditFindReplaceDialog::Open(*this, id == cmd::kEditReplace);
        return true;
    case cmd::kEditGotoLine: {
        CGotoLineDialog dialog(controller_.Caret().line + 1, this);
        if (dialog.exec() == QDialog::Accepted)
            controller_.GotoLine(dialog.LineNumber());
        return true;
    }
    default:
        return controller_.OnCommand(id);
    }
}

bool CScrivoView::OnUpdateCommand(int id, CommandState& state)
{
    if (id == cmd::kFilePrint || id == cmd::kFilePrintPreview) {
        state.enabled = printerSetup_ != nullptr;
        return printerSetup_ != nullptr;
    }
    switch (id) {
    case cmd::kEditFind:
    case cmd::kEditReplace:
    case cmd::kEditGotoLine:
        state.enabled = true;
        return true;
    default:
        return controller_.OnUpdateCommand(id, state);
    }
}

QString CScrivoView::LineAndColumnText() const
{
    return QString::fromStdString(controller_.LineAndColumnText());
}

QString CScrivoView::LineText() const
{
    return QString::fromStdString(controller_.LineText());
}

QString CScrivoView::ColumnText() const
{
    return QString::fromStdString(controller_.ColumnText());
}

void CScrivoView::Render(QPainter& painter, const QRect& clip)
{
    viewport_.Draw(painter, clip, palette());
}

// IVxEditView

int CScrivoView::LineHeight() const
{
    return viewport_.GetMetrics().LineHeight();
}

int CScrivoView::CharWidth() const
{
    return viewport_.GetMetrics().CharWidth();
}

int CScrivoView::SpaceWidth() const
{
    return viewport_.GetMetrics().SpaceWidth();
}

int CScrivoView::TextExtent(const char* text, int length) const
{
    return viewport_.GetMetrics().Extent(text, length);
}

int CScrivoView::Fit(const char* text, int length, int width, bool printing) const
{
    const VxEditFontMetrics& metrics = viewport_.GetMetrics();
    return VxEditTextFit::Fit(text, length, width, printing, metrics.CharWidth(),
                              [&](int bytes) { return metrics.Extent(text, bytes); });
}

double CScrivoView::CellAdvance() const
{
    return viewport_.GetMetrics().CellAdvance();
}

int CScrivoView::ClientWidth() const
{
    return std::max(viewport()->width() - viewport_.MarginWidth(), 0);
}

int CScrivoView::ClientHeight() const
{
    return viewport()->height();
}

int CScrivoView::ScrollX() const
{
    return viewport_.ScrollX();
}

int CScrivoView::ScrollY() const
{
    return viewport_.ScrollY();
}

void CScrivoView::ScrollTo(int x, int y)
{
    const int columns = std::max(x, 0) / CharWidth();
    const int lines = std::max(y, 0) / LineHeight();
    syncingScrollBars_ = true;
    if (columns > horizontalScrollBar()->maximum())
        horizontalScrollBar()->setMaximum(columns);
    horizontalScrollBar()->setValue(columns);
    verticalScrollBar()->setValue(lines);
    syncingScrollBars_ = false;
    FollowScrollBars();
}

void CScrivoView::InvalidateLines(int first, int last)
{
    RepaintLines(first, last);
}

void CScrivoView::InvalidateAll()
{
    viewport()->update();
}

QRect CScrivoView::CaretRect() const
{
    const int x = viewport_.MarginWidth() + controller_.CaretX() - viewport_.ScrollX();
    const int y = controller_.CaretY() - viewport_.ScrollY();
    return QRect(x, y, kCaretWidth, LineHeight());
}

void CScrivoView::CaretMoved()
{
    const QRect caret = CaretRect();
    if (caret != caretShown_) {
        viewport()->update(caretShown_);
        viewport()->update(caret);
        caretShown_ = caret;
    }
    caretOn_ = true;
    if (blink_.isActive())
        blink_.start();
    if (hasFocus())
        QGuiApplication::inputMethod()->update(Qt::ImCursorRectangle);
    // Screen readers follow the caret, told once per move: the view hears
    // of every change of the model (a long text's colouring sends many), and
    // a reader asked for each would flood the accessibility bus.
    const VxEditLineCol caretAt = controller_.Caret();
    const bool moved = caretAt.line != announcedCaret_.line || caretAt.column != announcedCaret_.column;
    if (QAccessible::isActive() && moved) {
        announcedCaret_ = caretAt;
        if (QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(this)) {
            if (QAccessibleTextInterface* text = accessible->textInterface()) {
                QAccessibleTextCursorEvent moved(this, text->cursorPosition());
                QAccessible::updateAccessibility(&moved);
            }
        }
    }
}

void CScrivoView::PostCommand(int id)
{
    QMetaObject::invokeMethod(this, [this, id] { OnCommand(id); }, Qt::QueuedConnection);
}

// IVxEditViewportHost

void CScrivoView::RepaintLines(int first, int last)
{
    const int lineHeight = LineHeight();
    const int top = first * lineHeight - viewport_.ScrollY();
    const int bottom = (last + 1) * lineHeight - viewport_.ScrollY();
    const QRect lines = QRect(0, top, viewport()->width(), bottom - top).intersected(viewport()->rect());
    if (!lines.isEmpty())
        viewport()->update(lines);
}

void CScrivoView::RepaintAll()
{
    viewport()->update();
}

void CScrivoView::RepaintMargin()
{
    viewport()->update(QRect(0, 0, viewport_.MarginWidth(), viewport()->height()));
}

void CScrivoView::ExtentChanged()
{
    UpdateScrollBars();
}

// Scrolling

void CScrivoView::UpdateScrollBars()
{
    const int lineHeight = LineHeight();
    const int charWidth = CharWidth();
    const int visibleLines = std::max(viewport()->height() / lineHeight, 1);
    const int visibleColumns = std::max(ClientWidth() / charWidth, 1);
    syncingScrollBars_ = true;
    verticalScrollBar()->setRange(0, std::max(model_->LineCount() - visibleLines, 0));
    verticalScrollBar()->setPageStep(visibleLines);
    const int widest = viewport_.LongestLineColumns() + kSpareColumns - visibleColumns;
    horizontalScrollBar()->setRange(0, std::max({widest, 0, viewport_.ScrollX() / charWidth}));
    horizontalScrollBar()->setPageStep(visibleColumns);
    syncingScrollBars_ = false;
    FollowScrollBars();
}

void CScrivoView::FollowScrollBars()
{
    const int x = horizontalScrollBar()->value() * CharWidth();
    const int y = verticalScrollBar()->value() * LineHeight();
    if (x == viewport_.ScrollX() && y == viewport_.ScrollY())
        return;
    viewport_.SetScrollOrigin(x, y);
    viewport()->update();
    CaretMoved();
    if (!followingPane_ && IsActivePane()) {
        const auto message = tarrow::foundation::MakeRef<VxEditMsg>(kMsgSplitterSync);
        model_->UpdateAllObservers(&viewport_, message.Get());
    }
}

void CScrivoView::scrollContentsBy(int, int)
{
    if (!syncingScrollBars_)
        FollowScrollBars();
}

// Events

void CScrivoView::paintEvent(QPaintEvent* event)
{
    QPainter painter(viewport());
    viewport_.Draw(painter, event->rect(), palette());
    // The caret shows with the focus, and as the drop position while text
    // is dragged over the window.
    const QRect caret = CaretRect();
    const bool shown = hasFocus() || controller_.IsDropTarget();
    if (shown && caretOn_ && caret.left() >= viewport_.MarginWidth() && caret.intersects(event->rect()))
        painter.fillRect(caret, palette().color(QPalette::Text));
    if (VxEditPaintReport* report = VxEditPaintReport::Active()) {
        const int lineHeight = LineHeight();
        const int first = (viewport_.ScrollY() + event->rect().top()) / lineHeight;
        const int last = std::min((viewport_.ScrollY() + event->rect().bottom()) / lineHeight, model_->LastLine());
        report->Painted(first + 1, last + 1, LineText(), ColumnText());
    }
}

void CScrivoView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    UpdateScrollBars();
}

// Splitter panes

bool CScrivoView::IsActivePane() const
{
    const auto* splitter = qobject_cast<const QSplitter*>(parentWidget());
    if (!splitter)
        return false;
    QWidget* focus = splitter->focusWidget();
    return focus == this || (focus && isAncestorOf(focus));
}

void CScrivoView::FollowActivePane()
{
    auto* splitter = qobject_cast<QSplitter*>(parentWidget());
    if (!splitter || followingPane_)
        return;
    CScrivoView* active = nullptr;
    for (int index = 0; index < splitter->count(); ++index) {
        auto* pane = qobject_cast<CScrivoView*>(splitter->widget(index));
        if (pane && pane != this && pane->IsActivePane())
            active = pane;
    }
    if (!active)
        return;
    const QRect mine(mapToGlobal(QPoint(0, 0)), size());
    const QRect its(active->mapToGlobal(QPoint(0, 0)), active->size());
    int x = viewport_.ScrollX();
    int y = viewport_.ScrollY();
    if (mine.left() == its.left() && mine.width() == its.width())
        x = active->ScrollX();
    if (mine.top() == its.top() && mine.height() == its.height())
        y = active->ScrollY();
    if (x == viewport_.ScrollX() && y == viewport_.ScrollY())
        return;
    followingPane_ = true;
    ScrollTo(x, y);
    followingPane_ = false;
}
