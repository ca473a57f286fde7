#include "app/CSaveChecks.h"

#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CScrivoDoc.h"
#include "engine/VxScrivo.h"
#include "javatools/build/SaveCheck.h"
#include "view/CScrivoView.h"

#include <QSocketNotifier>
#include <QStatusBar>

namespace {

// A problem stays in the message pane this long unless something else
// takes its place.
constexpr int kProblemShownMs = 15000;

// Stops the notifier and deletes it later, as this may run inside the
// notifier's own signal.
void Retire(std::unique_ptr<QSocketNotifier>& notifier)
{
    if (!notifier)
        return;
    notifier->setEnabled(false);
    notifier.release()->deleteLater();
}

}  // namespace

// The check of one document and the notifier that watches its compiler.
struct CSaveChecks::Running {
    explicit Running(VxEdit& model) : check(model) {}
    SaveCheck check;
    std::unique_ptr<QSocketNotifier> notifier;
};

CSaveChecks::CSaveChecks(quillet::platform::Profile& settings, CMainFrame& frame)
    : settings_(settings), frame_(frame)
{
}

CSaveChecks::~CSaveChecks() = default;

void CSaveChecks::OnSaved(CScrivoDoc& document, const std::string& path)
{
    std::unique_ptr<Running>& running = checks_[&document];
    if (!running)
        running = std::make_unique<Running>(*document.Model());
    running->notifier.reset();
    running->check.Cancel();
    const std::string compiler = SaveCheck::ConfiguredCompiler(settings_);
    if (CScrivoDoc::LanguageFor(path) != "Java" || compiler.empty()) {
        running->check.ClearMarks();
        ShowCaretNote();
        return;
    }
    std::string problem;
    if (!running->check.Start(compiler, path, &problem)) {
        Report(problem);
        return;
    }
    running->notifier =
        std::make_unique<QSocketNotifier>(running->check.OutputFd(), QSocketNotifier::Read);
    CScrivoDoc* checked = &document;
    connect(running->notifier.get(), &QSocketNotifier::activated, this,
            [this, checked] { OnOutput(checked); });
}

void CSaveChecks::OnOutput(CScrivoDoc* document)
{
    const auto found = checks_.find(document);
    if (found == checks_.end())
        return;
    Running& running = *found->second;
    std::string problem;
    if (!running.check.OnOutputReady(&problem))
        return;
    Retire(running.notifier);
    if (problem.empty())
        lastProblem_.clear();
    else
        Report(problem);
    ShowCaretNote();
    emit CheckEnded(document);
}

void CSaveChecks::Forget(const CScrivoDoc* document)
{
    const auto found = checks_.find(document);
    if (found == checks_.end())
        return;
    Retire(found->second->notifier);
    checks_.erase(found);
}

bool CSaveChecks::IsRunning(const CScrivoDoc* document) const
{
    const auto found = checks_.find(document);
    return found != checks_.end() && found->second->check.IsRunning();
}

long CSaveChecks::ProcessId(const CScrivoDoc* document) const
{
    return IsRunning(document) ? static_cast<long>(checks_.at(document)->check.ProcessId()) : 0;
}

QString CSaveChecks::NoteAt(const CScrivoDoc* document, int line) const
{
    const auto found = checks_.find(document);
    if (found == checks_.end())
        return {};
    return QString::fromStdString(found->second->check.NoteAt(line));
}

void CSaveChecks::ShowCaretNote()
{
    QString note;
    CChildFrame* child = frame_.ActiveChild();
    if (auto* view = child ? qobject_cast<CScrivoView*>(child->EditView()) : nullptr)
        note = NoteAt(child->Document(), view->Controller().Caret().line);
    // The pane has one line: the messages of a line follow one another.
    note.replace(QLatin1Char('\n'), QStringLiteral("; "));
    QStatusBar* status = frame_.statusBar();
    if (!note.isEmpty()) {
        if (status->currentMessage() != note)
            status->showMessage(note);
    } else if (!shownNote_.isEmpty() && status->currentMessage() == shownNote_) {
        status->clearMessage();
    }
    shownNote_ = note;
}

void CSaveChecks::Report(const std::string& problem)
{
    if (problem == lastProblem_)
        return;
    lastProblem_ = problem;
    frame_.statusBar()->showMessage(QString::fromStdString(problem), kProblemShownMs);
}
