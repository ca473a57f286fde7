#pragma once

#include "app/CWindowMru.h"

#include <QObject>

#include <functional>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

// Ctrl+Tab and Ctrl+Shift+Tab in the main frame: while Ctrl is held each
// Tab activates the next (or previous) document window in the order they
// were last used; releasing Ctrl keeps the one shown and puts it first,
// Escape goes back to where the walk began. Watches the application's keys
// ahead of the document area, whose own Ctrl+Tab only ever reaches the
// window used last. Also tells which window was used before one that closes.
class CWindowSwitcher : public QObject {
public:
    using Activate = std::function<void(QMdiSubWindow*)>;

    // activate: how a window of the walk is shown and given the keys.
    CWindowSwitcher(QWidget& frame, QMdiArea& area, Activate activate);
    ~CWindowSwitcher() override;

    // The window used last other than the closing one; null when none is.
    QMdiSubWindow* Successor(QMdiSubWindow* closing) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnActivated(QMdiSubWindow* window);
    void Show(CWindowMru::Window window);
    bool InFrame(QObject* watched) const;

    QWidget& frame_;
    QMdiArea& area_;
    Activate activate_;
    CWindowMru mru_;
};
