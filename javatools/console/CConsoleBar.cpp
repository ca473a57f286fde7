#include "javatools/console/CConsoleBar.h"

#include "javatools/console/ConsoleSession.h"
#include "javatools/console/ConsoleView.h"

#include <QFontDatabase>
#include <QTabWidget>

#include <cstdlib>

namespace {

std::string ShellProgram()
{
    const char* shell = std::getenv("SHELL");
    return shell && *shell ? shell : "/bin/sh";
}

}  // namespace

CConsoleBar::CConsoleBar(QWidget* parent)
    : QDockWidget(tr("Console"), parent), tabs_(new QTabWidget(this)),
      font_(QFontDatabase::systemFont(QFontDatabase::FixedFont))
{
    setObjectName(QStringLiteral("ConsoleBar"));
    setAccessibleName(tr("Console"));
    setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);
    tabs_->setTabsClosable(true);
    tabs_->setDocumentMode(true);
    tabs_->setMovable(true);
    setWidget(tabs_);
    connect(tabs_, &QTabWidget::tabCloseRequested, this,
            [this](int index) { CloseRun(RunOfTab(index)); });
}

CConsoleBar::~CConsoleBar()
{
    // The editor is going away: the programs are hung up, but nobody is told.
    for (auto& [id, run] : runs_) {
        run.finished = nullptr;
        run.session->Terminate();
    }
}

void CConsoleBar::SetTerminalFont(const QFont& font)
{
    font_ = font;
    for (auto& [id, run] : runs_)
        run.view->SetTerminalFont(font_);
}

int CConsoleBar::StartRun(const RunRequest& request, std::string* error)
{
    auto* session = new ConsoleSession(this);
    auto* view = new ConsoleView(*session);
    session->setParent(view);
    view->SetTerminalFont(font_);
    if (!session->Start(request.argv, request.workingDirectory, request.environment, error)) {
        delete view;
        return 0;
    }
    const int id = nextRun_++;
    Run& run = runs_[id];
    run.session = session;
    run.view = view;
    run.workingDirectory = request.workingDirectory;
    run.environment = request.environment;
    run.finished = request.finished;
    run.programRunning = true;
    connect(session, &ConsoleSession::Ended, this,
            [this, id](int waitStatus) { OnEnded(id, waitStatus); });
    connect(view, &ConsoleView::FocusReturnRequested, this, &CConsoleBar::FocusReturnRequested);

    const QString title = QString::fromStdString(request.title);
    view->setAccessibleName(title);
    view->setProperty("consoleRun", id);
    // A finished run of the same title gives up its tab, so that running
    // the same thing again does not pile up tabs that look alike.
    const int finished = FinishedTabTitled(title);
    const int replaced = finished >= 0 ? RunOfTab(finished) : 0;
    const int index = finished >= 0 ? tabs_->insertTab(finished, view, title) : tabs_->addTab(view, title);
    CloseRun(replaced);
    tabs_->setTabToolTip(index, title);
    tabs_->setCurrentIndex(index);
    show();
    raise();
    view->setFocus(Qt::OtherFocusReason);
    return id;
}

void CConsoleBar::WriteInput(int run, const std::string& bytes)
{
    auto it = runs_.find(run);
    if (it != runs_.end())
        it->second.session->Write(bytes);
}

bool CConsoleBar::IsRunning(int run) const
{
    auto it = runs_.find(run);
    return it != runs_.end() && it->second.programRunning;
}

ConsoleView* CConsoleBar::View(int run) const
{
    auto it = runs_.find(run);
    return it != runs_.end() ? it->second.view : nullptr;
}

int CConsoleBar::FinishedTabTitled(const QString& title) const
{
    for (int index = 0; index < tabs_->count(); ++index) {
        const int run = RunOfTab(index);
        if (run != 0 && !IsRunning(run) && tabs_->tabText(index) == title)
            return index;
    }
    return -1;
}

int CConsoleBar::RunOfTab(int index) const
{
    QWidget* page = tabs_->widget(index);
    return page ? page->property("consoleRun").toInt() : 0;
}

void CConsoleBar::Report(Run& run, const std::string& text)
{
    ConsoleScreen& screen = run.session->Screen();
    // Reset colours and start on a line of its own.
    std::string line = "\x1b[0m";
    if (screen.CursorColumn() > 0)
        line += "\r\n";
    line += text + "\r\n";
    screen.Feed(line);
}

void CConsoleBar::OnEnded(int id, int waitStatus)
{
    auto it = runs_.find(id);
    if (it == runs_.end())
        return;
    Run& run = it->second;
    if (!run.programRunning) {
        Report(run, "[The shell ended with " + ConsoleExitDescription(waitStatus) + ".]");
        return;
    }
    run.programRunning = false;
    Report(run, "[The program ended with " + ConsoleExitDescription(waitStatus) + ".]");
    StartShell(run);
    // The callback may start or close runs: it is called last, on a copy.
    std::function<void(int)> finished = std::exchange(run.finished, nullptr);
    if (finished)
        finished(ConsoleExitCode(waitStatus));
}

void CConsoleBar::StartShell(Run& run)
{
    std::string error;
    if (!run.session->Start({ShellProgram()}, run.workingDirectory, run.environment, &error))
        Report(run, "[" + error + "]");
}

void CConsoleBar::CloseRun(int id)
{
    auto it = runs_.find(id);
    if (it == runs_.end())
        return;
    Run run = std::move(it->second);
    runs_.erase(it);
    const int status = run.session->Terminate();
    tabs_->removeTab(tabs_->indexOf(run.view));
    run.view->deleteLater();
    if (tabs_->count() == 0)
        hide();
    if (run.programRunning && run.finished)
        run.finished(ConsoleExitCode(status));
}
