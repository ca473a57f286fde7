#pragma once

#include <functional>
#include <string>
#include <vector>

// Where the Java tools' runs that need a terminal go: the in-editor console.
// Each run is a program started from its argument vector on a
// pseudo-terminal, in a tab of its own that takes the keyboard focus. When the
// program ends, the tab reports its exit status and goes on with an
// interactive shell in the same directory, so the user can look around.
class IConsoleHost {
public:
    struct RunRequest {
        std::string title;                      // the tab's title
        std::vector<std::string> argv;          // argv[0] is looked up in PATH
        std::string workingDirectory;           // empty: the editor's own
        std::vector<std::string> environment;   // extra NAME=value entries
        // On the UI thread, once: when the program ends (its exit code, or 128
        // plus the signal that ended it), or when the user closes its tab
        // first. Not called when the console itself is destroyed.
        std::function<void(int exitStatus)> finished;
    };

    virtual ~IConsoleHost() = default;

    // Returns the run's id (greater than 0), or 0 with *error saying why the
    // program could not be started.
    virtual int StartRun(const RunRequest& request, std::string* error) = 0;
    // Sends bytes to the run's input as if typed; Enter is "\r". After the
    // program has ended they go to the shell that followed it.
    virtual void WriteInput(int run, const std::string& bytes) = 0;
    // True while the run's program (not the shell after it) runs.
    virtual bool IsRunning(int run) const = 0;
};
