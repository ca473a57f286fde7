#include "app/CWindowSwitcher.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

namespace {

QMdiSubWindow* SubWindow(CWindowMru::Window window)
{
    return static_cast<QMdiSubWindow*>(const_cast<void*>(window));
}

}  // namespace

CWindowSwitcher::CWindowSwitcher(QWidget& frame, QMdiArea& area, Activate activate)
    : QObject(&frame), frame_(frame), area_(area), activate_(std::move(activate))
{
    connect(&area_, &QMdiArea::subWindowActivated, this, &CWindowSwitcher::OnActivated);
    // Filters installed later are asked first: this one before the area's.
    qApp->installEventFilter(this);
}

CWindowSwitcher::~CWindowSwitcher()
{
    qApp->removeEventFilter(this);
}

QMdiSubWindow* CWindowSwitcher::Successor(QMdiSubWindow* closing) const
{
    return SubWindow(mru_.Successor(closing));
}

void CWindowSwitcher::OnActivated(QMdiSubWindow* window)
{
    if (!window)
        return;
    const std::vector<CWindowMru::Window>& order = mru_.Order();
    if (std::find(order.begin(), order.end(), window) == order.end()) {
        const CWindowMru::Window key = window;
        connect(window, &QObject::destroyed, this, [this, key] { mru_.Removed(key); });
    }
    mru_.Activated(window);
}

void CWindowSwitcher::Show(CWindowMru::Window window)
{
    if (window)
        activate_(SubWindow(window));
}

bool CWindowSwitcher::InFrame(QObject* watched) const
{
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget())
        return false;
    return static_cast<QWidget*>(watched)->window() == &frame_;
}

bool CWindowSwitcher::eventFilter(QObject* watched, QEvent* event)
{
    // Each key reaches the frame's platform window before its widgets; only
    // the widgets' events count.
    if (!watched->isWidgetType())
        return false;
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* key = static_cast<QKeyEvent*>(event);
        const Qt::KeyboardModifiers held =
            key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        const bool tab = key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab;
        if (tab && held == Qt::ControlModifier && InFrame(watched)) {
            const bool back = key->key() == Qt::Key_Backtab || (key->modifiers() & Qt::ShiftModifier);
            Show(mru_.Step(back ? -1 : 1));
            return true;
        }
        if (mru_.Walking() && key->key() == Qt::Key_Escape) {
            Show(mru_.Cancel());
            return true;
        }
        // Any other key ends the walk on the window shown and goes there.
        if (mru_.Walking() && key->key() != Qt::Key_Control && key->key() != Qt::Key_Shift)
            mru_.Commit();
        return false;
    }
    case QEvent::KeyRelease:
        if (mru_.Walking() && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Control)
            mru_.Commit();
        return false;
    case QEvent::MouseButtonPress:
        mru_.Commit();
        return false;
    case QEvent::WindowDeactivate:
        // A release that goes to another program is never seen here.
        if (watched == &frame_)
            mru_.Commit();
        return false;
    default:
        return false;
    }
}
