#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// One compiler run that the editor does not wait for: the program gets
// /dev/null as input and one pipe for its output and errors, and leads a
// process group of its own, so that cancelling ends it with everything it
// started. The caller watches OutputFd() (an event loop's notifier, or
// poll) and calls ReadAvailable when it is readable. Destroying a run that
// has not ended cancels it; no child is ever left unreaped.
class SaveCheckProcess {
public:
    // How the program ended, once the output has ended.
    struct Ending {
        bool exited = false;   // else it was ended by a signal
        int exitCode = 0;      // when exited
        int signal = 0;        // when not
    };

    SaveCheckProcess() = default;
    ~SaveCheckProcess();
    SaveCheckProcess(const SaveCheckProcess&) = delete;
    SaveCheckProcess& operator=(const SaveCheckProcess&) = delete;

    // Starts argv[0] (a path, or a name looked up on the PATH) in the
    // working directory; false with the reason when it cannot be started.
    bool Start(const std::vector<std::string>& argv, const std::string& workingDirectory,
               std::string* reason);
    bool IsRunning() const { return child_ > 0; }
    int OutputFd() const { return output_; }
    pid_t ProcessId() const { return child_; }

    // Reads what the pipe holds without blocking; true once the output has
    // ended and the program has been reaped (Ending() is then known).
    bool ReadAvailable();
    const std::string& Output() const { return text_; }
    const Ending& Ended() const { return ending_; }

    // Kills the program's process group and reaps the program.
    void Cancel();

private:
    void Reap(bool kill);
    void CloseOutput();

    pid_t child_ = -1;
    int output_ = -1;
    std::string text_;
    Ending ending_;
};
