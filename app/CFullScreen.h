#pragma once

#include <QObject>

class QMainWindow;
class QShortcut;
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

private:
    QMainWindow& frame_;
    QToolBar* closeBar_ = nullptr;
    QShortcut* escape_ = nullptr;
    bool on_ = false;
    bool wasMaximized_ = false;
    bool statusBarShown_ = true;
};
