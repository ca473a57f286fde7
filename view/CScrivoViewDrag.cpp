// Drag and drop in the edit view: the drag of the selected text and drops
// of text, placed by the controller.
#include "view/CScrivoView.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMimeData>

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
