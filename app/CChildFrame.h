#pragma once

#include "mvc/ICommandTarget.h"

#include <QMdiSubWindow>

#include <vector>

class QLabel;
class QSplitter;
class QStatusBar;
class CScrivoDoc;

// The window of one view on a document: a split window (the class tree
// joins the edit view on its left) over a status bar of its own that shows
// the caret's line and column. Commands are routed to the edit view, its
// controller and the document, in that order.
class CChildFrame : public QMdiSubWindow, public tarrow::foundation::ICommandTarget {
    Q_OBJECT
public:
    CChildFrame(CScrivoDoc* document, QWidget* editView,
                std::vector<tarrow::foundation::ICommandTarget*> route,
                QWidget* parent = nullptr);

    CScrivoDoc* Document() const { return document_; }
    QWidget* EditView() const { return editView_; }
    QSplitter* Splitter() const { return splitter_; }
    void FocusEditor();
    // Moves the focus to the next (1) or previous (-1) pane of the split window.
    void FocusPane(int step);

    // The status texts "Line:%d" and "Col:%d".
    void ShowCaretPosition(const QString& lineText, const QString& columnText);

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, tarrow::foundation::CommandState& state) override;

signals:
    // Asked before the window closes; handlers set accept to false to refuse.
    void CloseRequested(CChildFrame* frame, bool& accept);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    CScrivoDoc* document_;
    QWidget* editView_;
    std::vector<tarrow::foundation::ICommandTarget*> route_;
    QSplitter* splitter_;
    QLabel* linePane_;
    QLabel* columnPane_;
};
