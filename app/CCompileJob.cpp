#include "app/CCompileJob.h"

#include "app/CMainFrame.h"
#include "javatools/build/CompileLog.h"
#include "javatools/output/OutputControlBar.h"

#include <QSocketNotifier>
#include <QStatusBar>
#include <QTimer>

CCompileJob::CCompileJob(CMainFrame& frame) : QObject(&frame), frame_(frame), grace_(new QTimer(this))
{
    grace_->setSingleShot(true);
    grace_->setInterval(kStopGraceMs);
    connect(grace_, &QTimer::timeout, this, [this] {
        if (!run_)
            return;
        run_->Kill();
        Finish();
    });
}

// The frame is half gone by now: the run ends without a word.
CCompileJob::~CCompileJob() = default;

void CCompileJob::Start(CompileRequest request)
{
    if (run_)
        return;
    run_ = std::make_unique<CompileRun>(std::move(request));
    if (!run_->Start()) {
        Finish();
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(run_->OutputFd(), QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, &CCompileJob::OnOutput);
    frame_.SetRestingMessage(QString::fromStdString(run_->CompilingMessage()));
    frame_.UpdateAllActions();
}

long CCompileJob::ProcessGroup() const
{
    return run_ ? static_cast<long>(run_->ProcessGroup()) : 0;
}

void CCompileJob::Stop()
{
    if (!run_ || run_->Stopped())
        return;
    run_->Stop();
    grace_->start();
}

void CCompileJob::StopNow()
{
    if (!run_)
        return;
    run_->StopWaiting(kCloseGraceMs);
    Finish();
}

void CCompileJob::OnOutput()
{
    if (run_ && run_->OnOutputReady())
        Finish();
}

void CCompileJob::Finish()
{
    grace_->stop();
    if (notifier_) {
        // This may run inside the notifier's own signal.
        notifier_->setEnabled(false);
        notifier_.release()->deleteLater();
    }
    const std::unique_ptr<CompileRun> run = std::move(run_);
    frame_.OutputBar()->ShowOutput(run->LogText(), run->Request().directory);
    frame_.SetRestingMessage(QString());
    if (run->Stopped())
        frame_.statusBar()->showMessage(QString::fromLatin1(CompileLog::kStopped));
    frame_.UpdateAllActions();
    emit Ended();
}
