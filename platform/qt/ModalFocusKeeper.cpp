#include "platform/qt/ModalFocusKeeper.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace quillet::platform {

ModalFocusKeeper::ModalFocusKeeper(QObject* parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

bool ModalFocusKeeper::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::Show && type != QEvent::Hide) || !watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (!widget->isWindow() || !widget->isModal())
        return false;
    if (type == QEvent::Show) {
        // The dialog shows before it takes the focus, so what is focused
        // now is what the user was working in.
        for (const Opened& opened : open_) {
            if (opened.dialog == widget)
                return false;
        }
        QWidget* window = QApplication::activeWindow();
        if (window == widget)
            window = nullptr;
        open_.append({widget, window, QApplication::focusWidget()});
        return false;
    }
    for (qsizetype i = open_.size() - 1; i >= 0; --i) {
        if (open_[i].dialog == widget) {
            const Opened opened = open_.takeAt(i);
            // After the dialog has gone, so that nothing of its own closing
            // moves the focus again.
            QTimer::singleShot(0, this, [this, opened] { Restore(opened); });
            break;
        }
    }
    return false;
}

void ModalFocusKeeper::Restore(const Opened& opened)
{
    // Another modal window open now keeps the focus; so does a window the
    // user chose meanwhile.
    if (QApplication::activeModalWidget())
        return;
    if (!opened.window || !opened.window->isVisible())
        return;
    QWidget* active = QApplication::activeWindow();
    if (active && active != opened.window)
        return;
    // The dialog's command may have moved the user elsewhere in the window
    // (a file it opened, a program it started in the console): what it
    // focused keeps the focus. Otherwise the widget the user was working in
    // gets it back.
    QWidget* focus = opened.window->focusWidget();
    if (!focus || focus == opened.focus || !focus->isVisible())
        focus = opened.focus;
    opened.window->activateWindow();
    if (focus && focus->isVisible() && focus->window() == opened.window)
        focus->setFocus(Qt::ActiveWindowFocusReason);
}

}  // namespace quillet::platform
