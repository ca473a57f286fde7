#pragma once

#include "app/CFindInFilesDlg.h"
#include "engine/VxEditFileSearch.h"
#include "mvc/ICommandTarget.h"

#include <QObject>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

class CFindResultsBar;
class CMainFrame;
class CResultSteps;
class QTimer;

// Find in Files in the main frame: the dialog, a search on threads of its
// own whose results stream into the "Find Results" tab, a progress line in
// the status bar while it runs, and showing a match when one is chosen. Its
// commands include those of CResultSteps, which steps through the results.
class CFindInFiles : public QObject, public tarrow::foundation::ICommandTarget {
    Q_OBJECT
public:
    struct Hooks {
        // The folder the dialog starts in: the active document's.
        std::function<QString()> activeFolder;
        // The current texts of the open documents, by absolute path.
        std::function<std::map<std::string, std::string>()> openTexts;
        // Opens (or activates) the file and selects the match.
        std::function<void(const QString& path, int line, int column, int length)> showMatch;
    };

    CFindInFiles(CMainFrame& frame, Hooks hooks);
    ~CFindInFiles() override;

    // Starts a search as the dialog's Find does.
    void Start(const CFindInFilesDlg::Values& values);
    void Stop();
    bool IsSearching() const;
    CFindResultsBar* ResultsBar() const { return bar_; }

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, tarrow::foundation::CommandState& state) override;

signals:
    // A search began to fill the results.
    void SearchStarted();

private:
    class Sink;

    void ShowDialog();
    void EnsureBar();
    // Moves what the search found so far into the results.
    void Flush();
    void Finished(const VxEditFileSearchSummary& summary, int generation);

    CMainFrame& frame_;
    Hooks hooks_;
    CFindInFilesDlg::Values last_;
    CFindResultsBar* bar_ = nullptr;
    QTimer* flusher_;
    CResultSteps* steps_;
    std::unique_ptr<Sink> sink_;
    std::unique_ptr<VxEditFileSearch> search_;
    // Tells the end of the current search from that of one it replaced.
    int generation_ = 0;
};
