#pragma once

#include "mvc/ICommandTarget.h"

#include "javatools/console/IConsoleHost.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>

#include <functional>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class CChildFrame;
class CCompileJob;
class CConsoleBar;
class OutputControlBar;
class CFullScreen;
class CToolbarManager;
class CWindowSwitcher;
class RecentFileList;

namespace quillet::platform {
class Profile;
}

// The editor's main window: the multiple-document area (tabbed in workbook
// mode), the menu bar (one menu while no document is open, another while one
// is), the toolbars, the status bar, the view modes and the routing of
// numbered commands to the active child frame, this frame and the
// application. Menus and toolbars are fixed tables: a command that does not
// apply to the active window is greyed by its update handler, never hidden.
class CMainFrame : public QMainWindow, public tarrow::foundation::ICommandTarget {
    Q_OBJECT
public:
    CMainFrame(quillet::platform::Profile& profile, const RecentFileList& recentFiles,
               QWidget* parent = nullptr);
    ~CMainFrame() override;

    // The application object, asked last when routing a command. With it
    // known the frame makes its toolbars and menus and restores the layout
    // kept under "Toolbars".
    void SetApplicationTarget(tarrow::foundation::ICommandTarget* application);
    CToolbarManager& Toolbars() const { return *toolbars_; }

    QMdiArea* MdiArea() const { return mdiArea_; }
    CChildFrame* ActiveChild() const;
    void AddChild(CChildFrame* child);
    // Brings the window to the front of the document area and gives its
    // edit view the keys.
    void ActivateChild(CChildFrame* child);
    // Closes the window at once, without asking; when it is the one in use,
    // the window used before it takes over first.
    void CloseChild(CChildFrame* child);

    // The action of a command; triggering it routes the command.
    QAction* Action(int id);
    bool RouteCommand(int id);
    tarrow::foundation::CommandState RouteUpdate(int id, bool* handled = nullptr);
    // Brings every action's enabled and checked state up to date.
    void UpdateAllActions();
    // Rebuilds the menu bar: after documents open or close, or the recent list changes.
    void RebuildMenus();

    // The console that runs programs in tabs at the bottom of the frame;
    // hidden until the first run.
    IConsoleHost& ConsoleHost();
    CConsoleBar* ConsoleBar() const { return consoleBar_; }
    // The compiler output window, docked at the bottom.
    OutputControlBar* OutputBar() const { return outputBar_; }
    // The compile that runs through the output window.
    CCompileJob& CompileJob() const { return *compileJob_; }
    // What the status bar's message pane says when no prompt or message
    // is shown; empty means "Ready". Shown at once.
    void SetRestingMessage(const QString& message);

    bool WorkbookMode() const { return workbookMode_; }
    void SetWorkbookMode(bool on);
    bool LargeButtons() const;
    bool IsFullScreen() const;
    void UpdateOverwriteIndicator();

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, tarrow::foundation::CommandState& state) override;

signals:
    // Asked before the window closes; handlers set accept to false to refuse.
    void CloseRequested(bool& accept);
    void ActiveChildChanged(CChildFrame* child);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QMenu* AddMenu(QMenu* menu, const QList<int>& ids);
    void AddRecentFiles(QMenu* menu);
    // The numbered windows at the end of the Window menu, in tab order.
    void UpdateWindowList();
    // The window in use is closing: the one used before it becomes active.
    void ActivateSuccessor(CChildFrame* closing);
    // The next (1) or previous (-1) window in tab order.
    void StepWindows(int step);
    // "More Windows...": every window in a list to choose from.
    void ChooseWindow();
    void OnSubWindowActivated(QMdiSubWindow* window);
    void UpdateLockIndicators();
    void SetIndicator(QLabel* indicator, bool on);
    // "Quillet - <document>" while a document window is active.
    void UpdateTitle();
    // The "*" of every window with unsaved changes (and so of the frame).
    void UpdateModifiedMarks();
    void CustomizeToolbars();
    // The output window's check state, kept as "InitialShowOutput".
    bool OutputWindowShown() const;

    quillet::platform::Profile& profile_;
    const RecentFileList& recentFiles_;
    tarrow::foundation::ICommandTarget* application_ = nullptr;
    CToolbarManager* toolbars_;
    CFullScreen* fullScreen_;
    QMdiArea* mdiArea_;
    QHash<int, QAction*> actions_;
    QLabel* capsIndicator_;
    QLabel* numIndicator_;
    QLabel* overwriteIndicator_;
    CConsoleBar* consoleBar_;
    OutputControlBar* outputBar_;
    CCompileJob* compileJob_;
    QString restingMessage_;
    CWindowSwitcher* switcher_ = nullptr;
    QPointer<QMenu> windowMenu_;
    QList<QAction*> windowList_;
    QStringList windowListTexts_;
    QAction* windowListSeparator_ = nullptr;
    bool workbookMode_ = true;
    bool hadDocuments_ = false;
};
