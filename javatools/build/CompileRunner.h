#pragma once

#include <functional>
#include <string>
#include <vector>

// Runs one command through the redirector and collects what it writes. The
// redirector gets its standard output and error on one pipe and its
// standard input on another; the caller's copies of the child's ends are
// closed at once, so the output pipe ends when the redirector and the
// compiler have both exited. While waiting for bytes the runner calls idle
// often, so that the caller's windows keep painting.
class CompileRunner {
public:
    struct Result {
        // The redirector itself ran.
        bool redirectorStarted = false;
        // The redirector reported that it started the command (exit status 1).
        bool commandStarted = false;
        std::string output;
        // Why the redirector could not be started, when it could not.
        std::string failure;
    };

    // redirectorArgv[0] is the redirector's path; the rest is its command,
    // run in workingDirectory (the editor's own when empty).
    static Result Run(const std::vector<std::string>& redirectorArgv,
                      const std::string& workingDirectory, const std::function<void()>& idle);
};
