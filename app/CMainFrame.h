#pragma once

#include <QMainWindow>

class QMdiArea;

// The editor's main window: a multiple-document area holding one child
// window per view of an open document.
class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);

    QMdiArea* MdiArea() const { return mdiArea_; }

private:
    QMdiArea* mdiArea_;
};
