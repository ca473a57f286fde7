#include "app/CFindInFiles.h"

#include "app/CFindResultsBar.h"
#include "app/CMainFrame.h"
#include "app/CResultSteps.h"
#include "controller/VxEditSearchState.h"
#include "javatools/output/OutputControlBar.h"
#include "resources/CommandIds.h"

#include <QDir>
#include <QFileInfo>
#include <QListWidget>
#include <QLocale>
#include <QStatusBar>
#include <QTimer>

#include <atomic>
#include <vector>

namespace {

constexpr int kFlushMs = 50;

}  // namespace

// Takes the search's results on its threads and keeps them until the
// user-interface thread flushes them.
class CFindInFiles::Sink : public IVxEditFileSearchSink {
public:
    explicit Sink(CFindInFiles& owner) : owner_(owner) {}

    void OnMatches(std::vector<VxEditFileMatch>&& matches) override
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        pending_.insert(pending_.end(), std::make_move_iterator(matches.begin()),
                        std::make_move_iterator(matches.end()));
    }
    void OnProgress(std::int64_t searched, std::int64_t total) override
    {
        searched_ = searched;
        total_ = total;
    }
    void OnFinished(const VxEditFileSearchSummary& summary) override
    {
        QMetaObject::invokeMethod(
            &owner_, [owner = &owner_, summary, generation = generation_.load()] { owner->Finished(summary, generation); },
            Qt::QueuedConnection);
    }

    std::vector<VxEditFileMatch> Take()
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        return std::exchange(pending_, {});
    }
    std::int64_t Searched() const { return searched_; }
    std::int64_t Total() const { return total_; }
    void SetGeneration(int generation) { generation_ = generation; }

private:
    CFindInFiles& owner_;
    std::mutex mutex_;
    std::vector<VxEditFileMatch> pending_;
    std::atomic<std::int64_t> searched_{0};
    std::atomic<std::int64_t> total_{0};
    std::atomic<int> generation_{0};
};

CFindInFiles::CFindInFiles(CMainFrame& frame, Hooks hooks)
    : QObject(&frame), frame_(frame), hooks_(std::move(hooks)), flusher_(new QTimer(this)),
      steps_(new CResultSteps(frame, *this)), sink_(std::make_unique<Sink>(*this))
{
    flusher_->setInterval(kFlushMs);
    connect(flusher_, &QTimer::timeout, this, &CFindInFiles::Flush);
}

CFindInFiles::~CFindInFiles()
{
    // The search's threads end before the sink they write to.
    search_.reset();
}

bool CFindInFiles::IsSearching() const
{
    return bar_ && bar_->IsSearching();
}

void CFindInFiles::EnsureBar()
{
    if (bar_)
        return;
    bar_ = new CFindResultsBar(&frame_);
    frame_.addDockWidget(Qt::BottomDockWidgetArea, bar_);
    frame_.tabifyDockWidget(frame_.OutputBar(), bar_);
    connect(bar_, &CFindResultsBar::StopRequested, this, &CFindInFiles::Stop);
    connect(bar_, &CFindResultsBar::MatchActivated, this,
            [this](const QString& path, int line, int column, int length) {
                hooks_.showMatch(path, line, column, length);
            });
}

void CFindInFiles::ShowDialog()
{
    CFindInFilesDlg::Values values = last_;
    const QString active = hooks_.activeFolder ? hooks_.activeFolder() : QString();
    if (!active.isEmpty())
        values.folder = active;
    else if (values.folder.isEmpty())
        values.folder = QDir::currentPath();
    if (!VxEditSearchState::ForThread().findText.empty())
        values.text = QString::fromStdString(VxEditSearchState::ForThread().findText);
    CFindInFilesDlg dialog(values, &frame_);
    if (dialog.exec() == QDialog::Accepted)
        Start(dialog.Result());
}

void CFindInFiles::Start(const CFindInFilesDlg::Values& values)
{
    last_ = values;
    VxEditSearchState& state = VxEditSearchState::ForThread();
    state.findText = values.text.toStdString();
    VxEditSearchState::AddToHistory(state.findHistory, state.findText);

    VxEditFileSearchRequest request;
    request.text = values.text.toStdString();
    request.matchCase = values.matchCase;
    request.wholeWord = values.wholeWord;
    request.pattern = values.pattern;
    request.folder = QFileInfo(values.folder).absoluteFilePath().toStdString();
    request.fileTypes = VxEditFileSearchRequest::SplitFileTypes(values.fileTypes.toStdString());
    request.subfolders = values.subfolders;
    if (hooks_.openTexts)
        request.openTexts = hooks_.openTexts();

    EnsureBar();
    search_.reset();  // a running search ends first
    Flush();
    bar_->Begin();
    bar_->show();
    bar_->raise();
    sink_->SetGeneration(++generation_);
    search_ = std::make_unique<VxEditFileSearch>(*sink_);
    search_->Start(std::move(request));
    flusher_->start();
    emit SearchStarted();
}

void CFindInFiles::Stop()
{
    if (search_)
        search_->Stop();
}

void CFindInFiles::Flush()
{
    const std::vector<VxEditFileMatch> matches = sink_->Take();
    if (bar_ && !matches.empty())
        bar_->Add(matches);
    if (IsSearching()) {
        const QLocale locale;
        frame_.statusBar()->showMessage(tr("Find in Files: %1 of %2 files searched")
                                            .arg(locale.toString(sink_->Searched()), locale.toString(sink_->Total())));
    }
}

void CFindInFiles::Finished(const VxEditFileSearchSummary& summary, int generation)
{
    if (generation != generation_)
        return;
    Flush();
    flusher_->stop();
    const QLocale locale;
    QString text;
    if (!summary.patternError.empty()) {
        text = tr("The pattern cannot be used: %1").arg(QString::fromStdString(summary.patternError));
    } else {
        text = tr("%1 matches in %2 files; %3 files searched")
                   .arg(locale.toString(summary.matches), locale.toString(summary.filesMatched),
                        locale.toString(summary.filesSearched));
        if (summary.binarySkipped > 0 || summary.unreadable > 0)
            text += tr("; %1 binary and %2 unreadable skipped")
                        .arg(locale.toString(summary.binarySkipped), locale.toString(summary.unreadable));
        if (summary.stopped)
            text += tr(" (stopped)");
        if (summary.tooComplexLines == 1) {
            text += tr(". The pattern is too complex for line %1 of %2; some matches may be missing.")
                        .arg(locale.toString(summary.tooComplexLine), QString::fromStdString(summary.tooComplexPath));
        } else if (summary.tooComplexLines > 1) {
            text += tr(". The pattern is too complex for %1 lines, the first line %2 of %3; some matches may be "
                       "missing.")
                        .arg(locale.toString(summary.tooComplexLines), locale.toString(summary.tooComplexLine),
                             QString::fromStdString(summary.tooComplexPath));
        }
    }
    bar_->Finish(text);
    frame_.statusBar()->showMessage(text, 10000);
}

bool CFindInFiles::OnCommand(int id)
{
    if (steps_->OnCommand(id))
        return true;
    if (id != cmd::kEditFindInFiles)
        return false;
    ShowDialog();
    return true;
}

bool CFindInFiles::OnUpdateCommand(int id, tarrow::foundation::CommandState& state)
{
    if (steps_->OnUpdateCommand(id, state))
        return true;
    return id == cmd::kEditFindInFiles;
}
