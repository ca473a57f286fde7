#pragma once

#include "javatools/build/ArgumentFile.h"
#include "javatools/build/CompileRunner.h"

#include <memory>
#include <string>
#include <sys/types.h>
#include <vector>

// What a compile through the output window runs and how its log names it.
struct CompileRequest {
    // The compiler as the user configured it, named in the log.
    std::string compiler;
    // The redirector's argument vector: the redirector, then the compiler's.
    std::vector<std::string> argv;
    // The target as the log shows it ("*.java" for a whole directory).
    std::string shownTarget;
    // Relative file names in the compiler's messages are read against it.
    std::string directory;
    // Where the compiler runs.
    std::string workingDirectory;
    // The "@file" the compiler reads its sources from, if any; removed
    // when the run is over.
    std::shared_ptr<TemporaryArgumentFile> argumentFile;
};

// One compile through the output window, from its start to its log. It
// ends when the compiler's output ends, or at once when it is killed; a
// stopped compile's log ends with "Build stopped." instead of "-Finished-".
// Free of Qt: the main frame watches OutputFd() from its event loop.
class CompileRun {
public:
    explicit CompileRun(CompileRequest request);

    // False when the redirector could not be started; the run has then
    // ended and its log says why.
    bool Start();
    bool Ended() const { return !runner_.IsRunning(); }
    int OutputFd() const { return runner_.OutputFd(); }
    pid_t ProcessGroup() const { return runner_.ProcessGroup(); }
    const CompileRequest& Request() const { return request_; }

    // Reads what the compiler wrote so far; true once the run has ended.
    bool OnOutputReady();
    // The user stops it: the compiler's group is asked to end.
    void Stop();
    // The grace after Stop has passed: the group is killed and the run ends.
    void Kill();
    // Stop and Kill in one, waiting at most graceMilliseconds between them.
    void StopWaiting(int graceMilliseconds);
    bool Stopped() const { return stopped_; }

    // The status bar's words while the compiler runs.
    std::string CompilingMessage() const;
    // The output window's text once the run has ended.
    std::string LogText() const;
    const CompileOutputTail& Output() const { return runner_.Output(); }

private:
    CompileRequest request_;
    CompileRunner runner_;
    // Why the redirector could not be started, when it could not.
    std::string startFailure_;
    bool stopped_ = false;
};
