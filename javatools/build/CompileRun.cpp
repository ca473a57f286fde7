#include "javatools/build/CompileRun.h"

#include "javatools/build/CompileLog.h"
#include "javatools/build/JavaSourceFiles.h"
#include "javatools/build/ProgramLookup.h"

#include <cstdlib>

namespace {

std::string SearchPath()
{
    const char* path = std::getenv("PATH");
    return path ? path : "";
}

}  // namespace

CompileRun::CompileRun(CompileRequest request) : request_(std::move(request)) {}

bool CompileRun::Start()
{
    return runner_.Start(request_.argv, request_.workingDirectory, &startFailure_);
}

bool CompileRun::OnOutputReady()
{
    return runner_.ReadAvailable();
}

void CompileRun::Stop()
{
    if (Ended())
        return;
    stopped_ = true;
    runner_.Terminate();
}

void CompileRun::Kill()
{
    runner_.Kill();
}

void CompileRun::StopWaiting(int graceMilliseconds)
{
    if (Ended())
        return;
    stopped_ = true;
    runner_.StopWaiting(graceMilliseconds);
}

std::string CompileRun::CompilingMessage() const
{
    return "Compiling " + FileNameOf(request_.shownTarget) + "\xE2\x80\xA6";
}

std::string CompileRun::LogText() const
{
    CompileLog log(request_.compiler, request_.shownTarget);
    log.AppendOutput(runner_.Output().Text());
    if (stopped_) {
        log.FinishStopped();
        return log.Text();
    }
    // A compiler that never ran must not read like a clean compile.
    const std::string redirector = request_.argv.empty() ? std::string() : request_.argv.front();
    if (!startFailure_.empty())
        log.AppendStartFailure(redirector, startFailure_);
    else if (!runner_.CommandStarted())
        log.AppendStartFailure(request_.compiler, ProgramStartFailure(request_.compiler, SearchPath()));
    log.Finish();
    return log.Text();
}
