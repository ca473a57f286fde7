#include "view/CScrivoView.h"

#include "controller/VxEditTextFit.h"
#include "engine/VxEdit.h"
#include "resources/CommandIds.h"
#include "view/CGotoLineDialog.h"
#include "view/VxEditAccessible.h"
#include "view/VxEditFindReplaceDialog.h"
#include "view/VxEditKeyTable.h"
#include "view/VxEditPaintReport.h"

#include "mvc/VxEditMsg.h"

#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDrag>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QSplitter>
#include <QInputMethod>
#include <QKeyEvent>
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
    // Screen readers follow the caret; the offset costs a walk of the text,
    // so it is worked out only while one listens.
    if (QAccessible::isActive()) {
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

bool CScrivoView::TakesKey(const QKeyEvent* event) const
{
    if (VxEditKeyTable::CommandFor(event->keyCombination()) != 0)
        return true;
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    return !event->text().isEmpty() && event->text().at(0).isPrint() &&
           !(modifiers & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

bool CScrivoView::event(QEvent* event)
{
    if (event->type() == QEvent::ShortcutOverride) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (TakesKey(key)) {
            key->accept();
            return true;
        }
    }
    // Tab and Shift+Tab edit here instead of moving the focus.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            keyPressEvent(key);
            return true;
        }
    }
    return QAbstractScrollArea::event(event);
}

void CScrivoView::keyPressEvent(QKeyEvent* event)
{
    const int command = VxEditKeyTable::CommandFor(event->keyCombination());
    if (command != 0) {
        OnCommand(command);
        event->accept();
        return;
    }
    if (TakesKey(event)) {
        const QByteArray text = event->text().toUtf8();
        controller_.TypeText(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
        event->accept();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void CScrivoView::inputMethodEvent(QInputMethodEvent* event)
{
    const QByteArray text = event->commitString().toUtf8();
    if (!text.isEmpty())
        controller_.TypeText(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    event->accept();
}

QVariant CScrivoView::inputMethodQuery(Qt::InputMethodQuery query) const
{
    switch (query) {
    case Qt::ImEnabled:
        return true;
    case Qt::ImCursorRectangle:
        return CaretRect().intersected(viewport()->rect()).translated(viewport()->pos());
    case Qt::ImFont:
        return viewport_.GetMetrics().Font();
    case Qt::ImCursorPosition:
    case Qt::ImAnchorPosition:
        return 0;
    case Qt::ImSurroundingText:
    case Qt::ImCurrentSelection:
        return QString();
    default:
        return QAbstractScrollArea::inputMethodQuery(query);
    }
}

void CScrivoView::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    controller_.OnFocusIn();
    // The open find dialog works on the edit window used last.
    if (VxEditFindReplaceDialog* dialog = VxEditFindReplaceDialog::Current())
        dialog->SetEditor(this);
    caretOn_ = true;
    blink_.start();
    viewport()->update(CaretRect());
}

void CScrivoView::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    blink_.stop();
    if (controller_.IsCaptured() || controller_.IsDragPending())
        controller_.OnCaptureLost();
    viewport()->update(CaretRect());
}

namespace {

int MouseKeys(Qt::KeyboardModifiers modifiers)
{
    int keys = 0;
    if (modifiers & Qt::ShiftModifier)
        keys |= VxEditController::kKeyShift;
    if (modifiers & Qt::ControlModifier)
        keys |= VxEditController::kKeyCtrl;
    if (modifiers & Qt::AltModifier)
        keys |= VxEditController::kKeyAlt;
    return keys;
}

// The margin cursor: a small arrow pointing right, towards the line it
// selects, drawn black with a white outline so it shows on any margin.
const QCursor& MarginCursor()
{
    static const QCursor cursor = [] {
        QPixmap pixmap(16, 16);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        const QPolygonF arrow({QPointF(14, 1), QPointF(3, 8), QPointF(7, 9), QPointF(4, 15),
                               QPointF(7, 15), QPointF(9, 10), QPointF(12, 13)});
        painter.setPen(QPen(Qt::white, 1.5));
        painter.setBrush(Qt::black);
        painter.drawPolygon(arrow);
        painter.end();
        return QCursor(pixmap, 14, 1);
    }();
    return cursor;
}

}  // namespace

void CScrivoView::UpdateCursor(const QPoint& point)
{
    switch (controller_.CursorAt(point.x(), point.y())) {
    case VxEditController::MouseCursor::kMargin:
        viewport()->setCursor(MarginCursor());
        break;
    case VxEditController::MouseCursor::kArrow:
        viewport()->setCursor(Qt::ArrowCursor);
        break;
    case VxEditController::MouseCursor::kIBeam:
        viewport()->setCursor(Qt::IBeamCursor);
        break;
    }
}

void CScrivoView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    controller_.OnLButtonDown(point.x(), point.y(), MouseKeys(event->modifiers()));
    UpdateCursor(point);
}

void CScrivoView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint point = event->position().toPoint();
    controller_.OnMouseMove(point.x(), point.y());
    UpdateCursor(point);
}

void CScrivoView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    controller_.OnLButtonUp(point.x(), point.y());
    UpdateCursor(point);
}

void CScrivoView::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    controller_.OnLButtonDblClk(point.x(), point.y(), MouseKeys(event->modifiers()));
}

void CScrivoView::wheelEvent(QWheelEvent* event)
{
    controller_.OnMouseWheel(event->angleDelta().y());
    event->accept();
}

void CScrivoView::StartTimer(int id, int milliseconds)
{
    KillTimer(id);
    timers_[id] = startTimer(milliseconds);
}

void CScrivoView::KillTimer(int id)
{
    const auto found = timers_.find(id);
    if (found == timers_.end())
        return;
    killTimer(found->second);
    timers_.erase(found);
}

void CScrivoView::timerEvent(QTimerEvent* event)
{
    for (const auto& [id, qtId] : timers_) {
        if (qtId == event->timerId()) {
            controller_.OnTimer(id);
            return;
        }
    }
    QAbstractScrollArea::timerEvent(event);
}

// The context menu

void CScrivoView::contextMenuEvent(QContextMenuEvent* event)
{
    QPoint point(5, 5);
    // The mouse's menu arrives through the viewport, in its coordinates.
    if (event->reason() != QContextMenuEvent::Keyboard) {
        point = event->pos();
        controller_.OnRightClick(point.x(), point.y());
    }
    event->accept();
    ShowContextMenu(point);
}

void CScrivoView::ShowContextMenu(const QPoint& point)
{
    std::vector<MenuItem> items = {
        {cmd::kEditUndo, "&Undo"}, {cmd::kEditRedo, "&Redo"},   {0, nullptr},
        {cmd::kEditCut, "Cu&t"},   {cmd::kEditCopy, "&Copy"},   {cmd::kEditPaste, "&Paste"},
        {0, nullptr},              {cmd::kEditSelectAll, "Select &All"},
        {0, nullptr},              {cmd::kNextError, "Next Error"},
        {cmd::kPrevError, "Previous Error"},
        {cmd::kClearErrors, "Clear All Errors"},
        {0, nullptr},              {cmd::kToggleBreakpoint, "Toggle Breakpoint\tF9"},
        {cmd::kClearBreakpoints, "Clear all breakpoints"},
    };
    if (commandTarget_) {
        items.push_back({0, nullptr});
        items.push_back({cmd::kInsertTryCatch, "Try/Catch Block"});
    }
    RunCommandMenu(point, items);
}

void CScrivoView::RunCommandMenu(const QPoint& point, const std::vector<MenuItem>& items)
{
    tarrow::foundation::ICommandTarget* target = commandTarget_ ? commandTarget_ : this;
    QMenu menu(this);
    for (const MenuItem& item : items) {
        if (item.id == 0) {
            menu.addSeparator();
            continue;
        }
        QAction* action = menu.addAction(QString::fromLatin1(item.text));
        CommandState state;
        state.enabled = false;
        target->OnUpdateCommand(item.id, state);
        action->setEnabled(state.enabled);
        if (state.checked) {
            action->setCheckable(true);
            action->setChecked(true);
        }
        const int id = item.id;
        connect(action, &QAction::triggered, this, [target, id] { target->OnCommand(id); });
    }
    menu.exec(viewport()->mapToGlobal(point));
}

// Drag and drop

Qt::DropAction CScrivoView::RunDrag(QMimeData* data)
{
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    return drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::MoveAction);
}

int CScrivoView::StartDragDistance() const
{
    return QApplication::startDragDistance();
}

IVxEditView::DropEffect CScrivoView::DoDragDrop(const std::string& text, bool column)
{
    const Qt::DropAction action = RunDrag(VxEditQtClipboard::MakeMimeData(text, column));
    if (action == Qt::MoveAction)
        return kDropMove;
    if (action == Qt::CopyAction)
        return kDropCopy;
    return kDropNone;
}

void CScrivoView::dragEnterEvent(QDragEnterEvent* event)
{
    dragMoveEvent(event);
}

void CScrivoView::dragMoveEvent(QDragMoveEvent* event)
{
    const QPoint point = event->position().toPoint();
    if (!event->mimeData()->hasText() || !controller_.DragOver(point.x(), point.y())) {
        event->ignore();
        return;
    }
    event->setDropAction((event->modifiers() & Qt::ControlModifier) ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
}

void CScrivoView::dragLeaveEvent(QDragLeaveEvent* event)
{
    // The drop caret goes; the caret is drawn again where it was.
    viewport()->update(CaretRect());
    controller_.DragLeave();
    viewport()->update(CaretRect());
    event->accept();
}

void CScrivoView::dropEvent(QDropEvent* event)
{
    const QRect dropCaret = CaretRect();
    std::string text;
    bool column = false;
    if (!VxEditQtClipboard::ReadMimeData(event->mimeData(), text, column)) {
        controller_.DragLeave();
        viewport()->update(dropCaret);
        event->ignore();
        return;
    }
    const QPoint point = event->position().toPoint();
    const bool copy = (event->modifiers() & Qt::ControlModifier) != 0;
    const DropEffect effect = controller_.Drop(point.x(), point.y(), text, column, copy);
    viewport()->update(dropCaret);
    if (effect == kDropNone) {
        event->setDropAction(Qt::IgnoreAction);
        event->ignore();
        return;
    }
    event->setDropAction(effect == kDropCopy ? Qt::CopyAction : Qt::MoveAction);
    event->accept();
    setFocus(Qt::MouseFocusReason);
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
