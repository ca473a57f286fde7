#pragma once

#include "javatools/build/CompileOutputTail.h"

#include <cstddef>
#include <string>
#include <sys/types.h>
#include <vector>

// Runs one command through the redirector without waiting for it. The
// redirector gets its standard output and error on one pipe and its
// standard input on another, and leads a process group of its own, so that
// a stop reaches the compiler and whatever that started. The caller's
// copies of the child's ends are closed at once, so the output pipe ends
// when every process that writes to it has exited. The caller watches
// OutputFd() (an event loop's notifier, or poll) and calls ReadAvailable
// when it is readable; what was read is kept as a bounded tail. A runner
// destroyed while its command runs kills the group; no child is left
// unreaped.
class CompileRunner {
public:
    // What one ReadAvailable reads at most, so that a compiler that writes
    // without pause leaves the event loop its turns.
    static constexpr std::size_t kReadBudget = std::size_t{1} << 20;

    CompileRunner() = default;
    ~CompileRunner();
    CompileRunner(const CompileRunner&) = delete;
    CompileRunner& operator=(const CompileRunner&) = delete;

    // redirectorArgv[0] is the redirector's path; the rest is its command,
    // run in workingDirectory (the editor's own when empty). False with the
    // reason when the redirector could not be started.
    bool Start(const std::vector<std::string>& redirectorArgv, const std::string& workingDirectory,
               std::string* failure);
    // Started and not yet reaped.
    bool IsRunning() const { return child_ > 0; }
    int OutputFd() const { return output_; }
    // The redirector's process id, which is also its group's; 0 when none runs.
    pid_t ProcessGroup() const { return child_ > 0 ? child_ : 0; }

    // Reads what the pipe holds, up to kReadBudget, without blocking; true
    // once the output has ended and the redirector has been reaped.
    bool ReadAvailable();
    // Asks the whole group to end (SIGTERM); the output ends when it has.
    void Terminate();
    // Ends the whole group (SIGKILL), reaps the redirector and stops
    // reading, whether or not the output has ended.
    void Kill();
    // Terminate, then wait up to the grace for the output to end, then
    // Kill: for when there is no event loop left to wait in.
    void StopWaiting(int graceMilliseconds);

    const CompileOutputTail& Output() const { return tail_; }
    // After the end: the redirector reported that it started the command
    // (its exit status 1).
    bool CommandStarted() const { return commandStarted_; }

private:
    void Reap();
    void CloseOutput();

    pid_t child_ = -1;
    int output_ = -1;
    // The input pipe's write end, held until the end as the redirector's
    // input stays open while it runs.
    int input_ = -1;
    bool commandStarted_ = false;
    bool terminated_ = false;
    CompileOutputTail tail_;
};
