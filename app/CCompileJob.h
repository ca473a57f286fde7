#pragma once

#include "javatools/build/CompileRun.h"

#include <QObject>

#include <memory>

class CMainFrame;
class QSocketNotifier;
class QTimer;

// The main frame's compile through the output window, one at a time,
// watched from the event loop so that the editor goes on taking keys and
// clicks while the compiler runs. Meanwhile the status bar says what is
// compiled. Stop Build asks the compiler's process group to end and kills
// it when the grace has passed; the log replaces the output window's text
// when the run ends, and a stopped run says so in the status bar too.
class CCompileJob : public QObject {
    Q_OBJECT
public:
    static constexpr int kStopGraceMs = 2000;
    // Closing the window waits no longer than this for the compiler.
    static constexpr int kCloseGraceMs = 500;

    explicit CCompileJob(CMainFrame& frame);
    ~CCompileJob() override;

    void Start(CompileRequest request);
    bool IsRunning() const { return run_ != nullptr; }
    // The running compiler's process group, 0 when none runs.
    long ProcessGroup() const;
    void Stop();
    // The main window closes: the compile ends before this returns.
    void StopNow();

signals:
    void Ended();

private:
    void OnOutput();
    void Finish();

    CMainFrame& frame_;
    std::unique_ptr<CompileRun> run_;
    std::unique_ptr<QSocketNotifier> notifier_;
    QTimer* grace_;
};
