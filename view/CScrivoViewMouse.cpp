// The edit view's mouse: buttons, wheel and cursor shapes handed to the
// controller, its timers, and the context menu.
#include "view/CScrivoView.h"

#include "engine/VxEdit.h"
#include "resources/CommandIds.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QToolTip>

using tarrow::foundation::CommandState;

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

bool CScrivoView::viewportEvent(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QAbstractScrollArea::viewportEvent(event);
    auto* help = static_cast<QHelpEvent*>(event);
    const QPoint point = help->pos();
    QString note;
    if (marginNotes_ && point.x() < controller_.MarginWidth()) {
        const int line = (point.y() + ScrollY()) / std::max(LineHeight(), 1);
        if (line >= 0 && line <= model_->LastLine())
            note = marginNotes_(line);
    }
    if (note.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), note, viewport());
    return true;
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
