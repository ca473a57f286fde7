#include "app/CMainFrame.h"

#include "app/CChildFrame.h"
#include "app/CCompileJob.h"
#include "app/CCustomizeToolbarsDlg.h"
#include "app/CFullScreen.h"
#include "app/CMessagePane.h"
#include "app/CSelectWindowDlg.h"
#include "app/CToolbarManager.h"
#include "app/CWindowSwitcher.h"
#include "app/CommandTable.h"
#include "app/EditViewFactory.h"
#include "app/MenuTable.h"
#include "app/RecentFileList.h"
#include "app/SettingsKeys.h"
#include "javatools/output/OutputControlBar.h"
#include "platform/core/Profile.h"
#include "javatools/console/CConsoleBar.h"
#include "platform/qt/LockKeys.h"
#include "resources/CommandIds.h"

#include <QAction>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

using tarrow::foundation::CommandState;

namespace {

constexpr int kIdleUpdateMs = 250;
// The Window menu lists this many windows by number.
constexpr int kWindowListSize = cmd::kWindowLastChild - cmd::kWindowFirstChild + 1;

// The window's title as its tab shows it, with "*" while modified.
QString ShownTitle(const QMdiSubWindow* window)
{
    QString title = window->windowTitle();
    return title.replace(QStringLiteral("[*]"), window->isWindowModified() ? QStringLiteral("*") : QString());
}

// "&1 Name" in the Window menu.
QString WindowListText(int index, const QMdiSubWindow* window)
{
    const QString title = ShownTitle(window).replace(QLatin1Char('&'), QStringLiteral("&&"));
    return QStringLiteral("&%1 %2").arg(index + 1).arg(title);
}

}  // namespace

CMainFrame::CMainFrame(quillet::platform::Profile& profile, const RecentFileList& recentFiles,
                       QWidget* parent)
    : QMainWindow(parent), profile_(profile), recentFiles_(recentFiles),
      mdiArea_(new QMdiArea(this)), capsIndicator_(new QLabel(QStringLiteral("CAP"), this)),
      numIndicator_(new QLabel(QStringLiteral("NUM"), this)),
      overwriteIndicator_(new QLabel(QStringLiteral("OVR"), this)),
      consoleBar_(new CConsoleBar(this)),
      outputBar_(new OutputControlBar(this)), compileJob_(new CCompileJob(*this)),
      restingMessage_(QStringLiteral("Ready"))
{
    toolbars_ = new CToolbarManager(*this, [this](int id) { return Action(id); });
    fullScreen_ = new CFullScreen(*this);
    setWindowTitle(QStringLiteral("Quillet"));
    setCentralWidget(mdiArea_);
    mdiArea_->setTabsClosable(true);
    mdiArea_->setTabsMovable(true);
    mdiArea_->setDocumentMode(true);
    // 1024 x 768 where the screen has room for it with the window manager's
    // frame and panels around it, so the status bar never falls off a small
    // screen's bottom edge.
    QSize size(1024, 768);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
    resize(size);

    workbookMode_ = profile_.GetInt(settings::kSettings, settings::kWorkbookMode, 1) != 0;
    toolbars_->SetLargeButtons(profile_.GetInt(settings::kSettings, settings::kLargeButtons, 0) != 0);

    // The output window and the console share the bottom as tabs, across
    // the whole width, a quarter of the window high; the output window
    // shows only when it was shown at the last exit, the console once a
    // program runs. The layout the user makes is stored with the toolbars'.
    setCorner(Qt::BottomLeftCorner, Qt::BottomDockWidgetArea);
    setCorner(Qt::BottomRightCorner, Qt::BottomDockWidgetArea);
    addDockWidget(Qt::BottomDockWidgetArea, outputBar_);
    tabifyDockWidget(outputBar_, consoleBar_);
    resizeDocks({outputBar_, consoleBar_}, {height() / 4, height() / 4}, Qt::Vertical);
    consoleBar_->hide();
    outputBar_->setVisible(
        profile_.GetInt(settings::kSettings, settings::kInitialShowOutput, 0) != 0);

    // The message pane first, left of the indicators.
    new CMessagePane(*statusBar());
    // Indicators show greyed while their state is off.
    for (QLabel* indicator : {capsIndicator_, numIndicator_, overwriteIndicator_}) {
        statusBar()->addPermanentWidget(indicator);
        SetIndicator(indicator, false);
    }
    capsIndicator_->setAccessibleDescription(QStringLiteral("Caps Lock"));
    numIndicator_->setAccessibleDescription(QStringLiteral("Num Lock"));
    overwriteIndicator_->setAccessibleDescription(QStringLiteral("Overwrite mode"));
    statusBar()->setAccessibleName(QStringLiteral("Status bar"));
    // The message pane says "Ready" (or what runs) whenever no prompt or
    // message is shown. Screen readers read the pane's message as the
    // status bar's description.
    statusBar()->showMessage(restingMessage_);
    statusBar()->setAccessibleDescription(statusBar()->currentMessage());
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& message) {
        if (message.isEmpty())
            statusBar()->showMessage(restingMessage_);
        else
            statusBar()->setAccessibleDescription(message);
    });

    connect(mdiArea_, &QMdiArea::subWindowActivated, this, &CMainFrame::OnSubWindowActivated);
    switcher_ = new CWindowSwitcher(*this, *mdiArea_, [this](QMdiSubWindow* window) {
        if (auto* child = qobject_cast<CChildFrame*>(window))
            ActivateChild(child);
    });
    windowListSeparator_ = new QAction(this);
    windowListSeparator_->setSeparator(true);
    connect(consoleBar_, &CConsoleBar::FocusReturnRequested, this, [this] {
        if (CChildFrame* child = ActiveChild())
            child->FocusEditor();
    });

    // Command states follow the application while it is idle, as well as
    // just before a menu opens.
    auto* idle = new QTimer(this);
    connect(idle, &QTimer::timeout, this, &CMainFrame::UpdateAllActions);
    connect(idle, &QTimer::timeout, this, &CMainFrame::UpdateLockIndicators);
    idle->start(kIdleUpdateMs);

    SetWorkbookMode(workbookMode_);
    RebuildMenus();
}

CMainFrame::~CMainFrame()
{
    // The child windows die with the base class; they must not call back
    // into a frame that is already half gone.
    mdiArea_->disconnect(this);
    mdiArea_->disconnect(switcher_);
    for (QMdiSubWindow* window : mdiArea_->subWindowList())
        window->disconnect(this);
    profile_.WriteInt(settings::kSettings, settings::kLargeButtons, LargeButtons() ? 1 : 0);
    profile_.WriteInt(settings::kSettings, settings::kInitialShowOutput, OutputWindowShown() ? 1 : 0);
    profile_.WriteInt(settings::kSettings, settings::kWorkbookMode, workbookMode_ ? 1 : 0);
}

IConsoleHost& CMainFrame::ConsoleHost()
{
    return *consoleBar_;
}

void CMainFrame::SetRestingMessage(const QString& message)
{
    restingMessage_ = message.isEmpty() ? QStringLiteral("Ready") : message;
    statusBar()->showMessage(restingMessage_);
}

void CMainFrame::SetApplicationTarget(tarrow::foundation::ICommandTarget* application)
{
    application_ = application;
    if (!toolbars_->Toolbar(toolbars_->Bars().constFirst().id)) {
        toolbars_->CreateToolbars();
        toolbars_->Load(profile_);
        // The stored layout places the console; it shows only once a program runs.
        consoleBar_->hide();
    }
    RebuildMenus();
}

bool CMainFrame::LargeButtons() const
{
    return toolbars_->LargeButtons();
}

bool CMainFrame::IsFullScreen() const
{
    return fullScreen_->IsOn();
}

bool CMainFrame::OutputWindowShown() const
{
    CommandState state;
    auto* self = const_cast<CMainFrame*>(this);
    const bool handled = self->OnUpdateCommand(cmd::kViewOutputWindow, state) ||
                         (application_ && application_->OnUpdateCommand(cmd::kViewOutputWindow, state));
    return handled && state.checked;
}

CChildFrame* CMainFrame::ActiveChild() const
{
    // While the frame is hidden or inactive the area has no active window;
    // the one activated last still is the user's current document.
    QMdiSubWindow* window = mdiArea_->currentSubWindow();
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList(QMdiArea::ActivationHistoryOrder);
    if (!window && !windows.isEmpty())
        window = windows.last();
    return qobject_cast<CChildFrame*>(window);
}

void CMainFrame::AddChild(CChildFrame* child)
{
    mdiArea_->addSubWindow(child);
    connect(child, &QWidget::windowTitleChanged, this, [this, child] {
        if (child == ActiveChild())
            UpdateTitle();
        UpdateWindowList();
    });
    connect(child, &CChildFrame::Closing, this, &CMainFrame::ActivateSuccessor);
    connect(child, &QMdiSubWindow::windowStateChanged, this, [this] { UpdateTitle(); });
    connect(child, &CChildFrame::ModifiedMarkChanged, this, [this, child] {
        if (child == ActiveChild())
            UpdateTitle();
    });
    connect(child, &QObject::destroyed, this, [this] {
        QTimer::singleShot(0, this, [this] {
            if (mdiArea_->subWindowList().isEmpty() && hadDocuments_)
                RebuildMenus();
            UpdateTitle();
            UpdateWindowList();
            UpdateAllActions();
        });
    });
    if (workbookMode_ || mdiArea_->subWindowList().size() == 1)
        child->showMaximized();
    else
        child->show();
    if (!hadDocuments_)
        RebuildMenus();
    ActivateChild(child);
}

void CMainFrame::ActivateChild(CChildFrame* child)
{
    mdiArea_->setActiveSubWindow(child);
    child->FocusEditor();
}

void CMainFrame::CloseChild(CChildFrame* child)
{
    ActivateSuccessor(child);
    delete child;
}

void CMainFrame::ActivateSuccessor(CChildFrame* closing)
{
    // Only the window in use hands over; others close behind it. The
    // successor is activated while the closing window still is maximised,
    // so that the area maximises the successor in its place.
    if (closing != ActiveChild())
        return;
    QMdiSubWindow* next = switcher_->Successor(closing);
    for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
        if (!next && window != closing)
            next = window;
    }
    if (auto* child = qobject_cast<CChildFrame*>(next))
        ActivateChild(child);
}

void CMainFrame::StepWindows(int step)
{
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList();
    if (windows.size() < 2)
        return;
    const qsizetype at = std::max<qsizetype>(windows.indexOf(ActiveChild()), 0);
    const qsizetype next = (at + step + windows.size()) % windows.size();
    if (auto* child = qobject_cast<CChildFrame*>(windows[next]))
        ActivateChild(child);
}

void CMainFrame::ChooseWindow()
{
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList();
    QStringList titles;
    for (const QMdiSubWindow* window : windows)
        titles << ShownTitle(window);
    CSelectWindowDlg dialog(titles, static_cast<int>(windows.indexOf(ActiveChild())), this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    // The windows may have changed while the dialog was open.
    const QList<QMdiSubWindow*> now = mdiArea_->subWindowList();
    const int chosen = dialog.Chosen();
    if (chosen >= 0 && chosen < windows.size() && now.contains(windows[chosen])) {
        if (auto* child = qobject_cast<CChildFrame*>(windows[chosen]))
            ActivateChild(child);
    }
}

QAction* CMainFrame::Action(int id)
{
    auto it = actions_.find(id);
    if (it != actions_.end())
        return *it;
    const CommandInfo& info = CommandInfoFor(id);
    auto* action = new QAction(info.menuText.section(QLatin1Char('\t'), 0, 0), this);
    // The prompt's first line goes to the status bar, the second is the tooltip.
    action->setStatusTip(info.prompt.section(QLatin1Char('\n'), 0, 0));
    const QString tip = info.prompt.section(QLatin1Char('\n'), 1, 1);
    action->setToolTip(tip.isEmpty() ? QString(action->text()).remove(QLatin1Char('&')) : tip);
    if (!info.keys.isEmpty()) {
        action->setShortcuts(info.keys);
        action->setShortcutContext(Qt::WindowShortcut);
    }
    connect(action, &QAction::triggered, this, [this, id] { RouteCommand(id); });
    addAction(action);  // keys work even while the entry is in no menu
    actions_.insert(id, action);
    return action;
}

bool CMainFrame::RouteCommand(int id)
{
    bool handled = false;
    if (!RouteUpdate(id, &handled).enabled && handled)
        return false;
    if (CChildFrame* child = ActiveChild(); child && child->OnCommand(id))
        return true;
    if (OnCommand(id))
        return true;
    return application_ && application_->OnCommand(id);
}

CommandState CMainFrame::RouteUpdate(int id, bool* handled)
{
    CommandState state;
    bool found = false;
    if (CChildFrame* child = ActiveChild())
        found = child->OnUpdateCommand(id, state);
    if (!found)
        found = OnUpdateCommand(id, state);
    if (!found && application_)
        found = application_->OnUpdateCommand(id, state);
    if (!found)
        state.enabled = false;  // nothing would carry it out
    if (handled)
        *handled = found;
    return state;
}

void CMainFrame::UpdateAllActions()
{
    for (auto it = actions_.begin(); it != actions_.end(); ++it) {
        const CommandState state = RouteUpdate(it.key());
        it.value()->setEnabled(state.enabled);
        if (it.value()->isCheckable())
            it.value()->setChecked(state.checked);
    }
    UpdateOverwriteIndicator();
    UpdateModifiedMarks();
}

void CMainFrame::UpdateTitle()
{
    const QString application = QStringLiteral("Quillet");
    CChildFrame* child = ActiveChild();
    // A maximised window outside the tabs puts "- [title]" after the
    // frame's own title itself.
    const bool titledByWindow = child && !workbookMode_ && child->isMaximized();
    const bool named = child && !titledByWindow;
    setWindowTitle(named ? QStringLiteral("%1 - %2").arg(application, child->windowTitle()) : application);
    setWindowModified(named && child->isWindowModified());
}

void CMainFrame::UpdateModifiedMarks()
{
    // A window whose mark changes says so, and the title follows then.
    for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
        if (auto* child = qobject_cast<CChildFrame*>(window))
            child->UpdateModifiedMark();
    }
}

QMenu* CMainFrame::AddMenu(QMenu* menu, const QList<int>& ids)
{
    for (int id : ids) {
        if (id == menus::kSeparator)
            menu->addSeparator();
        else if (id == menus::kRecentFiles)
            AddRecentFiles(menu);
        else if (id == menus::kToolbarsSubmenu)
            AddMenu(menu->addMenu(tr("T&oolbars")), menus::ToolbarsSubmenu());
        else if (id == menus::kWindowList) {
            windowMenu_ = menu;
            windowList_.clear();
            windowListTexts_.clear();
            connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateWindowList);
            UpdateWindowList();
        }
        else
            menu->addAction(Action(id));
    }
    connect(menu, &QMenu::aboutToShow, this, &CMainFrame::UpdateAllActions);
    return menu;
}

void CMainFrame::AddRecentFiles(QMenu* menu)
{
    if (recentFiles_.IsEmpty())
        return;
    for (int i = 0; i < static_cast<int>(recentFiles_.Paths().size()); ++i) {
        QAction* action = Action(cmd::kFileMruFirst + i);
        action->setText(QString::fromStdString(recentFiles_.MenuText(i)));
        action->setToolTip(QString::fromStdString(recentFiles_.Paths()[i]));
        menu->addAction(action);
    }
    menu->addSeparator();
}

void CMainFrame::UpdateWindowList()
{
    if (!windowMenu_)
        return;
    const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList();
    const int listed = std::min<int>(static_cast<int>(windows.size()), kWindowListSize);
    for (int i = 0; i < listed; ++i)
        Action(cmd::kWindowFirstChild + i)->setChecked(windows[i] == ActiveChild());
    QStringList texts;
    for (int i = 0; i < listed; ++i)
        texts << WindowListText(i, windows[i]);
    if (windows.size() > kWindowListSize)
        texts << Action(cmd::kWindowMore)->text();
    // The entries are made anew only when the list changed.
    if (texts == windowListTexts_)
        return;
    for (QAction* action : std::as_const(windowList_))
        windowMenu_->removeAction(action);
    windowList_.clear();
    windowListTexts_ = texts;
    if (windows.isEmpty())
        return;
    windowList_ << windowListSeparator_;
    for (int i = 0; i < listed; ++i) {
        QAction* action = Action(cmd::kWindowFirstChild + i);
        action->setCheckable(true);
        action->setText(texts[i]);
        action->setChecked(windows[i] == ActiveChild());
        windowList_ << action;
    }
    if (windows.size() > kWindowListSize)
        windowList_ << Action(cmd::kWindowMore);
    windowMenu_->addActions(windowList_);
}

void CMainFrame::RebuildMenus()
{
    menuBar()->clear();
    hadDocuments_ = !mdiArea_->subWindowList().isEmpty();
    for (int id : {cmd::kViewStatusBar, cmd::kViewWorkbookMode, cmd::kViewLineNumbers,
                   cmd::kViewOutputWindow, cmd::kViewLargeButtons, cmd::kViewFullScreen,
                   cmd::kViewToolbarFile, cmd::kViewToolbarEdit, cmd::kViewToolbarTools,
                   cmd::kViewConsole})
        Action(id)->setCheckable(true);
    for (const menus::Menu& menu : menus::MenuBarLayout(hadDocuments_)) {
        menuBar()->addMenu(AddMenu(new QMenu(menu.title, menuBar()), menu.entries));
    }
    // Keys of the main frame that have no menu entry, and the commands of
    // the other menu bar: every key of the tables works from the start, as
    // far as its command applies.
    for (int id : {cmd::kNextPane, cmd::kPrevPane})
        Action(id);
    for (const menus::Menu& menu : menus::MenuBarLayout(!hadDocuments_)) {
        for (int id : menu.entries) {
            if (id > 0)
                Action(id);
        }
    }
    UpdateAllActions();
}

void CMainFrame::SetWorkbookMode(bool on)
{
    workbookMode_ = on;
    mdiArea_->setViewMode(on ? QMdiArea::TabbedView : QMdiArea::SubWindowView);
    if (on) {
        for (QMdiSubWindow* window : mdiArea_->subWindowList())
            window->showMaximized();
    }
    UpdateTitle();
}

void CMainFrame::UpdateLockIndicators()
{
    if (statusBar()->isHidden())
        return;
    const std::optional<quillet::platform::LockKeyState> keys = quillet::platform::ReadLockKeys();
    SetIndicator(capsIndicator_, keys && keys->capsLock);
    SetIndicator(numIndicator_, keys && keys->numLock);
}

void CMainFrame::UpdateOverwriteIndicator()
{
    SetIndicator(overwriteIndicator_, RouteUpdate(cmd::kIndicatorOvr).enabled);
}

void CMainFrame::SetIndicator(QLabel* indicator, bool on)
{
    // Greyed while off; a screen reader hears "CAP on" or "CAP off".
    if (indicator->isEnabled() == on && !indicator->accessibleName().isEmpty())
        return;
    indicator->setEnabled(on);
    indicator->setAccessibleName(indicator->text() + (on ? tr(" on") : tr(" off")));
}

bool CMainFrame::OnCommand(int id)
{
    if (id >= cmd::kWindowFirstChild && id <= cmd::kWindowLastChild) {
        const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList();
        const int index = id - cmd::kWindowFirstChild;
        if (auto* child = index < windows.size() ? qobject_cast<CChildFrame*>(windows[index]) : nullptr)
            ActivateChild(child);
        return true;
    }
    switch (id) {
    case cmd::kViewStatusBar:
        statusBar()->setHidden(!statusBar()->isHidden());
        return true;
    case cmd::kViewWorkbookMode:
        SetWorkbookMode(!workbookMode_);
        return true;
    case cmd::kViewConsole:
        consoleBar_->setVisible(!consoleBar_->isVisible());
        return true;
    case cmd::kViewOutputWindow:
        outputBar_->setVisible(outputBar_->isHidden());
        return true;
    case cmd::kViewLargeButtons:
        toolbars_->SetLargeButtons(!toolbars_->LargeButtons());
        return true;
    case cmd::kViewFullScreen:
        fullScreen_->Toggle();
        return true;
    case cmd::kViewToolbarFile:
    case cmd::kViewToolbarEdit:
    case cmd::kViewToolbarTools:
        if (QToolBar* toolbar = toolbars_->ToolbarOfViewCommand(id))
            toolbar->setHidden(!toolbar->isHidden());
        return true;
    case cmd::kViewCustomizeToolbars:
        CustomizeToolbars();
        return true;
    case cmd::kWindowCascade:
        mdiArea_->cascadeSubWindows();
        return true;
    case cmd::kWindowTile:
        mdiArea_->tileSubWindows();
        return true;
    case cmd::kWindowNext:
    case cmd::kWindowPrevious:
        StepWindows(id == cmd::kWindowNext ? 1 : -1);
        return true;
    case cmd::kWindowMore:
        ChooseWindow();
        return true;
    case cmd::kAppExit:
        close();
        return true;
    case cmd::kBuildStop:
        compileJob_->Stop();
        return true;
    default:
        return false;
    }
}

bool CMainFrame::OnUpdateCommand(int id, CommandState& state)
{
    if (id >= cmd::kWindowFirstChild && id <= cmd::kWindowLastChild) {
        const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList();
        const int index = id - cmd::kWindowFirstChild;
        state.enabled = index < windows.size();
        state.checked = state.enabled && windows[index] == ActiveChild();
        return true;
    }
    switch (id) {
    case cmd::kViewStatusBar:
        state.checked = !statusBar()->isHidden();
        return true;
    case cmd::kViewWorkbookMode:
        state.checked = workbookMode_;
        return true;
    case cmd::kViewConsole:
        // There is something to show once a program has run.
        state.checked = consoleBar_->isVisible();
        state.enabled = state.checked || consoleBar_->HasRuns();
        return true;
    case cmd::kViewOutputWindow:
        state.checked = !outputBar_->isHidden();
        return true;
    case cmd::kViewLargeButtons:
        state.checked = toolbars_->LargeButtons();
        return true;
    case cmd::kViewFullScreen:
        state.checked = fullScreen_->IsOn();
        return true;
    case cmd::kViewToolbarFile:
    case cmd::kViewToolbarEdit:
    case cmd::kViewToolbarTools: {
        QToolBar* toolbar = toolbars_->ToolbarOfViewCommand(id);
        state.enabled = toolbar != nullptr;
        state.checked = toolbar && !toolbar->isHidden();
        return true;
    }
    case cmd::kViewCustomizeToolbars:
        return true;
    case cmd::kWindowCascade:
    case cmd::kWindowTile:
        // Tabs have no window arrangement.
        state.enabled = !workbookMode_ && !mdiArea_->subWindowList().isEmpty();
        return true;
    case cmd::kWindowNext:
    case cmd::kWindowPrevious:
        state.enabled = mdiArea_->subWindowList().size() > 1;
        return true;
    case cmd::kWindowMore:
        return true;
    case cmd::kAppExit:
        return true;
    case cmd::kBuildStop:
        state.enabled = compileJob_->IsRunning();
        return true;
    default:
        return false;
    }
}

void CMainFrame::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // Windows added while the frame was hidden could not be activated then.
    if (!mdiArea_->activeSubWindow()) {
        if (CChildFrame* child = ActiveChild()) {
            mdiArea_->setActiveSubWindow(child);
            child->FocusEditor();
        }
    }
}

void CMainFrame::closeEvent(QCloseEvent* event)
{
    bool accept = true;
    emit CloseRequested(accept);
    if (!accept) {
        event->ignore();
        return;
    }
    compileJob_->StopNow();
    // The layout is kept as the user sees it in the ordinary window.
    fullScreen_->Leave();
    toolbars_->Store(profile_);
    event->accept();
}

void CMainFrame::CustomizeToolbars()
{
    const CToolbarManager::Snapshot before = toolbars_->Save();
    CCustomizeToolbarsDlg dialog(*toolbars_, this);
    if (dialog.exec() != QDialog::Accepted)
        toolbars_->Restore(before);
}

void CMainFrame::OnSubWindowActivated(QMdiSubWindow* window)
{
    auto* child = qobject_cast<CChildFrame*>(window);
    if (child) {
        // Tabs show their windows maximised, whichever way the window
        // before went.
        if (workbookMode_ && !child->isMaximized())
            child->showMaximized();
        child->FocusEditor();
        consoleBar_->SetTerminalFont(EditViewFont(child->EditView()));
    }
    emit ActiveChildChanged(child);
    UpdateWindowList();
    UpdateAllActions();
    UpdateTitle();
}
