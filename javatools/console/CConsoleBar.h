#pragma once

#include "javatools/console/IConsoleHost.h"

#include <QDockWidget>
#include <QFont>

#include <map>

class QTabWidget;
class ConsoleSession;
class ConsoleView;

// The "Console" bar at the bottom of the main frame: one closable tab per
// run, each a terminal. A run's program starts in its tab, which takes the
// keyboard focus; when the program ends the tab says how, the run's
// `finished` is called, and an interactive shell ($SHELL, else /bin/sh)
// starts in the same tab and directory. A new run takes the place of a
// finished one of the same title. Closing a tab hangs up whatever runs in it
// (a program that has not ended yet reports its end to `finished`).
class CConsoleBar : public QDockWidget, public IConsoleHost {
    Q_OBJECT
public:
    explicit CConsoleBar(QWidget* parent = nullptr);
    ~CConsoleBar() override;

    // The editor's font, used by every tab.
    void SetTerminalFont(const QFont& font);

    // IConsoleHost
    int StartRun(const RunRequest& request, std::string* error) override;
    void WriteInput(int run, const std::string& bytes) override;
    bool IsRunning(int run) const override;

    // The run's terminal, or nullptr once its tab is closed.
    ConsoleView* View(int run) const;
    QTabWidget* Tabs() const { return tabs_; }
    bool HasRuns() const { return !runs_.empty(); }
    // Hangs up the run's processes and removes its tab.
    void CloseRun(int run);

signals:
    // Escape in a terminal: the keys go back to the editor.
    void FocusReturnRequested();

private:
    struct Run {
        ConsoleSession* session = nullptr;
        ConsoleView* view = nullptr;
        std::string workingDirectory;
        std::vector<std::string> environment;
        std::function<void(int)> finished;
        bool programRunning = false;
    };

    void OnEnded(int run, int waitStatus);
    void StartShell(Run& run);
    int RunOfTab(int index) const;
    // The tab of a run whose program has ended, titled so; -1 when none is.
    int FinishedTabTitled(const QString& title) const;
    static void Report(Run& run, const std::string& text);

    QTabWidget* tabs_;
    QFont font_;
    std::map<int, Run> runs_;
    int nextRun_ = 1;
};
