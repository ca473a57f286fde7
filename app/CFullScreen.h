#pragma once

#include <QObject>

class QMainWindow;
class QToolBar;

// Full-screen mode of the main frame: the window covers the screen without
// its status bar; the toolbars stay, and a "Close Full Screen" toolbar (or
// Escape) puts the window back as it was.
class CFullScreen : public QObject {
    Q_OBJECT
public:
    explicit CFullScreen(QMainWindow& frame);

    bool IsOn() const { return on_; }
    void Enter();
    void Leave();
    void Toggle() { on_ ? Leave() : Enter(); }

    static constexpr const char* kToolbarTitle = "Close Full Screen";

protected:
    // Escape anywhere in the frame leaves the mode, before the window that
    // has the focus sees it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QMainWindow& frame_;
    QToolBar* closeBar_ = nullptr;
    bool on_ = false;
    bool wasMaximized_ = false;
    bool statusBarShown_ = true;
};
