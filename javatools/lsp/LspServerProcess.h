#pragma once

#include <cstddef>
#include <string>
#include <sys/types.h>
#include <vector>

// A language server as a child process: started from an argument vector
// (never through a shell) in a process group of its own, its standard input
// and output as non-blocking pipes the caller's event loop watches, its
// standard error read as it comes and kept as a short tail for messages.
// Nothing here blocks: writes that do not fit wait in a queue for
// OnWritable, and the end of the process is collected by Reap.
class LspServerProcess {
public:
    // How much of the server's standard error is kept.
    static constexpr std::size_t kErrorTail = 4096;
    // What one ReadOutput returns at most, so a chatty server leaves the
    // event loop its turns.
    static constexpr std::size_t kReadBudget = std::size_t{1} << 20;

    LspServerProcess() = default;
    // Kills the process group if it still runs.
    ~LspServerProcess();
    LspServerProcess(const LspServerProcess&) = delete;
    LspServerProcess& operator=(const LspServerProcess&) = delete;

    // Starts the program; on failure returns false with the reason in
    // `error` (a program that cannot be run fails here, not later).
    bool Start(const std::vector<std::string>& argv, const std::string& workingDirectory, std::string& error);
    bool IsRunning() const { return pid_ > 0; }
    pid_t Pid() const { return pid_; }

    // The descriptors to watch: output and error for reading, input for
    // writing while WantsWrite(). -1 once closed.
    int OutputFd() const { return out_; }
    int ErrorFd() const { return err_; }
    int InputFd() const { return in_; }
    bool WantsWrite() const { return in_ >= 0 && !queue_.empty(); }

    // Queues bytes for the server's input and writes what the pipe takes.
    // False once the input is gone (the server closed it or died).
    bool Write(const std::string& bytes);
    bool OnWritable();
    // Appends what the server wrote to `into`; false at the end of its
    // output (it closed it or ended).
    bool ReadOutput(std::string& into);
    // Reads the server's standard error into the tail.
    void ReadErrors();
    const std::string& ErrorTail() const { return errorTail_; }

    // Collects the process if it ended; true then, with how it ended in
    // ExitText() ("exit code 3", "signal 9").
    bool Reap();
    const std::string& ExitText() const { return exitText_; }
    // Sends a signal to the whole process group.
    void Signal(int signal);
    // Kills the group, closes the pipes and collects the process.
    void Kill();
    void CloseInput();

private:
    void CloseAll();

    pid_t pid_ = -1;
    int in_ = -1;
    int out_ = -1;
    int err_ = -1;
    std::string queue_;
    std::string errorTail_;
    std::string exitText_;
};
