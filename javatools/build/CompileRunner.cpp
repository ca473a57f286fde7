#include "javatools/build/CompileRunner.h"

#include "javatools/build/ChildPipes.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int kIdleMilliseconds = 30;
constexpr std::size_t kPiece = 256;
// The redirector's exit status once it has run the command to its end.
constexpr int kRedirectorRanCommand = 1;

}  // namespace

CompileRunner::Result CompileRunner::Run(const std::vector<std::string>& redirectorArgv,
                                         const std::string& workingDirectory,
                                         const std::function<void()>& idle)
{
    Result result;
    if (redirectorArgv.empty()) {
        result.failure = "no program named";
        return result;
    }
    ChildPipe output;
    ChildPipe input;
    if (!output.Ok() || !input.Ok()) {
        result.failure = std::strerror(errno);
        return result;
    }

    SpawnFileActions actions;
    posix_spawn_file_actions_adddup2(actions.Get(), input.Read(), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(actions.Get(), output.Write(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(actions.Get(), output.Write(), STDERR_FILENO);
    if (!workingDirectory.empty())
        posix_spawn_file_actions_addchdir_np(actions.Get(), workingDirectory.c_str());

    const std::vector<char*> argv = SpawnArgv(redirectorArgv);
    pid_t child = 0;
    const int spawnError =
        posix_spawn(&child, argv.front(), actions.Get(), nullptr, argv.data(), environ);
    output.CloseWrite();
    input.CloseRead();
    if (spawnError != 0) {
        result.failure = std::strerror(spawnError);
        return result;
    }
    result.redirectorStarted = true;

    char piece[kPiece];
    // A compiler that writes without pause must not stop the painting.
    auto lastIdle = std::chrono::steady_clock::now();
    for (;;) {
        const auto now = std::chrono::steady_clock::now();
        if (idle && now - lastIdle >= std::chrono::milliseconds(kIdleMilliseconds)) {
            idle();
            lastIdle = now;
        }
        pollfd ready{output.Read(), POLLIN, 0};
        const int polled = poll(&ready, 1, kIdleMilliseconds);
        if (polled < 0 && errno != EINTR)
            break;
        if (polled <= 0)
            continue;
        const ssize_t got = read(output.Read(), piece, sizeof piece);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        result.output.append(piece, static_cast<std::size_t>(got));
    }

    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    result.commandStarted = WIFEXITED(status) && WEXITSTATUS(status) == kRedirectorRanCommand;
    return result;
}
