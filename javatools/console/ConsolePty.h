#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <vector>

// One program on a pseudo-terminal: started from its argument vector in a
// working directory, with extra environment entries, as the leader of a
// session whose controlling terminal is the pty's slave side. The editor
// keeps the master side, reads it without blocking and writes typed input to
// it. Ending the pty hangs up the program's session and reaps the program, so
// no zombie is left behind.
class ConsolePty {
public:
    struct Size {
        int rows = 24;
        int columns = 80;
    };

    ConsolePty() = default;
    ConsolePty(const ConsolePty&) = delete;
    ConsolePty& operator=(const ConsolePty&) = delete;
    ~ConsolePty();

    // Starts argv (argv[0] looked up in PATH). Returns false with *error
    // saying why when the program could not be started (no such program, no
    // such directory, no pty); nothing is left running then.
    bool Start(const std::vector<std::string>& argv, const std::string& workingDirectory,
               const std::vector<std::string>& environment, Size size, std::string* error);

    // The master side's descriptor (non-blocking), or -1.
    int Fd() const { return master_; }
    pid_t Pid() const { return pid_; }
    bool IsRunning() const { return pid_ > 0; }

    // Reads what the program wrote: the byte count, 0 when nothing is there
    // now, -1 once the slave side is closed for good.
    std::ptrdiff_t Read(char* buffer, std::size_t size);
    // Writes typed bytes; waits briefly for room so that a long paste is not
    // cut short. Returns false when the pty is gone.
    bool Write(const char* bytes, std::size_t size);
    // Tells the program the terminal's new size (SIGWINCH).
    void Resize(Size size);

    // Checks without waiting whether the program has ended; when it has,
    // *status is its wait status and the program is reaped.
    bool PollExit(int* status);
    // Hangs up the session (SIGHUP), then reaps the program, killing it when
    // it does not end within a short grace time. Closes the master side.
    // Returns the wait status, or -1 when there was no program.
    int Terminate();

private:
    int master_ = -1;
    pid_t pid_ = -1;
};

// The exit status a wait status stands for: the exit code, or 128 plus the
// signal's number for a program ended by a signal (as shells report it).
int ConsoleExitCode(int waitStatus);
// "exit code 3" or "signal 2 (Interrupt)".
std::string ConsoleExitDescription(int waitStatus);
