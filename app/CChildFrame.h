#pragma once

#include "mvc/ICommandTarget.h"

#include <QMdiSubWindow>

#include <vector>

class QDialog;
class QLabel;
class QSplitter;
class QStatusBar;
class CClassView;
class CScrivoDoc;
class CScrivoSettings;
class CWordCompletion;

// The window of one view on a document: a split window, the class tree on
// the left and the edit view on the right, over a status bar of its own that
// shows the caret's line and column. The frame carries out the class view's
// commands (refresh, the code-generation dialogs); other commands are routed
// to the edit view, its controller and the document, in that order.
class CChildFrame : public QMdiSubWindow, public tarrow::foundation::ICommandTarget {
    Q_OBJECT
public:
    CChildFrame(CScrivoDoc* document, QWidget* editView,
                std::vector<tarrow::foundation::ICommandTarget*> route,
                QWidget* parent = nullptr);

    CScrivoDoc* Document() const { return document_; }
    QWidget* EditView() const { return editView_; }
    QSplitter* Splitter() const { return splitter_; }
    CClassView* ClassView() const { return classView_; }
    // The word lists that fill the dialogs' drop-down lists.
    void SetSettings(const CScrivoSettings* settings) { settings_ = settings; }
    // Complete Word (Ctrl+Space) in this window; without it the command is
    // not handled here.
    void SetWordCompletion(CWordCompletion* completion) { completion_ = completion; }
    // Rebuilds the class tree; a new text titled after "Scrivo" takes the
    // first declaration's name as its title.
    void RefreshClassView();
    // Puts the edit view's caret at the start of the line and gives it the focus.
    void GoToDeclaration(int line);
    void FocusEditor();
    // Moves the focus to the next (1) or previous (-1) pane of the split window.
    void FocusPane(int step);

    // Shows whether the document has unsaved changes ("*" in the title).
    void UpdateModifiedMark();
    // The status texts "Line:%d" and "Col:%d".
    void ShowCaretPosition(const QString& lineText, const QString& columnText);

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, tarrow::foundation::CommandState& state) override;

signals:
    // Asked before the window closes; handlers set accept to false to refuse.
    void CloseRequested(CChildFrame* frame, bool& accept);
    // The window closes (its close was accepted); it is still whole.
    void Closing(CChildFrame* frame);
    void ModifiedMarkChanged();
    // View › Line Numbers was chosen in this window.
    void LineNumbersChosen(bool shown);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    bool RunCodeCommand(int id);
    // Runs a code-generation dialog: true when the user accepted it and
    // this window is still open (it may be closed while the dialog is).
    bool Accepted(QDialog& dialog);
    void InsertClass();
    void InsertInterface();
    void InsertMethod();
    void InsertMemberVariable();
    void InsertTryCatch();

    CScrivoDoc* document_;
    QWidget* editView_;
    std::vector<tarrow::foundation::ICommandTarget*> route_;
    QSplitter* splitter_;
    CClassView* classView_;
    const CScrivoSettings* settings_ = nullptr;
    CWordCompletion* completion_ = nullptr;
    QLabel* linePane_;
    QLabel* columnPane_;
};
