#include "platform/qt/ContextMenuKey.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>

namespace quillet::platform {
namespace {

// Where the keyboard's menu belongs, in the coordinates of the widget that
// receives the event (a scroll area's viewport for lists and trees).
QPoint MenuPoint(QWidget* widget, QWidget*& receiver)
{
    receiver = widget;
    if (auto* view = qobject_cast<QAbstractItemView*>(widget)) {
        const QRect item = view->visualRect(view->currentIndex());
        if (item.isValid()) {
            receiver = view->viewport();
            return item.center();
        }
    }
    const QRect caret = widget->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    if (caret.isValid() && widget->rect().contains(caret.bottomLeft()))
        return caret.bottomLeft();
    return widget->rect().center();
}

}  // namespace

ContextMenuKey::ContextMenuKey(QObject* parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

bool ContextMenuKey::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F10 || key->modifiers() != Qt::ShiftModifier)
        return false;
    QWidget* focus = QApplication::focusWidget();
    if (!focus || watched != focus)
        return false;
    QWidget* receiver = nullptr;
    const QPoint point = MenuPoint(focus, receiver);
    QContextMenuEvent menu(QContextMenuEvent::Keyboard, point, receiver->mapToGlobal(point));
    QApplication::sendEvent(receiver, &menu);
    return true;
}

}  // namespace quillet::platform
