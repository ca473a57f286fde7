#include "javatools/build/CompileRunner.h"

#include "javatools/build/ChildPipes.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr std::size_t kPiece = std::size_t{64} << 10;
// The redirector's exit status once it has run the command to its end.
constexpr int kRedirectorRanCommand = 1;

class SpawnAttributes {
public:
    SpawnAttributes() { posix_spawnattr_init(&attributes_); }
    ~SpawnAttributes() { posix_spawnattr_destroy(&attributes_); }
    SpawnAttributes(const SpawnAttributes&) = delete;
    SpawnAttributes& operator=(const SpawnAttributes&) = delete;
    posix_spawnattr_t* Get() { return &attributes_; }

private:
    posix_spawnattr_t attributes_;
};

}  // namespace

CompileRunner::~CompileRunner()
{
    Kill();
}

bool CompileRunner::Start(const std::vector<std::string>& redirectorArgv,
                          const std::string& workingDirectory, std::string* failure)
{
    Kill();
    tail_ = CompileOutputTail();
    commandStarted_ = false;
    terminated_ = false;
    auto fail = [failure](const char* reason) {
        if (failure)
            *failure = reason;
        return false;
    };
    if (redirectorArgv.empty())
        return fail("no program named");
    ChildPipe output;
    ChildPipe input;
    if (!output.Ok() || !input.Ok())
        return fail(std::strerror(errno));

    SpawnFileActions actions;
    posix_spawn_file_actions_adddup2(actions.Get(), input.Read(), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(actions.Get(), output.Write(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(actions.Get(), output.Write(), STDERR_FILENO);
    if (!workingDirectory.empty())
        posix_spawn_file_actions_addchdir_np(actions.Get(), workingDirectory.c_str());
    SpawnAttributes attributes;
    // The compiler starts as from a shell: no signal blocked, and none of
    // those that end a program ignored because the editor ignores it (a
    // compiler piped into head must die of SIGPIPE, not report it).
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signal : {SIGPIPE, SIGINT, SIGQUIT, SIGHUP, SIGTERM})
        sigaddset(&defaults, signal);
    posix_spawnattr_setsigmask(attributes.Get(), &none);
    posix_spawnattr_setsigdefault(attributes.Get(), &defaults);
    posix_spawnattr_setflags(attributes.Get(),
                             POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawnattr_setpgroup(attributes.Get(), 0);

    const std::vector<char*> argv = SpawnArgv(redirectorArgv);
    pid_t child = 0;
    const int spawnError =
        posix_spawn(&child, argv.front(), actions.Get(), attributes.Get(), argv.data(), environ);
    output.CloseWrite();
    input.CloseRead();
    if (spawnError != 0)
        return fail(std::strerror(spawnError));
    child_ = child;
    output_ = output.TakeRead();
    input_ = input.TakeWrite();
    fcntl(output_, F_SETFL, fcntl(output_, F_GETFL) | O_NONBLOCK);
    return true;
}

bool CompileRunner::ReadAvailable()
{
    if (output_ < 0)
        return child_ <= 0;
    char piece[kPiece];
    for (std::size_t budget = kReadBudget; budget > 0;) {
        const ssize_t got = read(output_, piece, std::min(sizeof piece, budget));
        if (got > 0) {
            tail_.Append(piece, static_cast<std::size_t>(got));
            budget -= static_cast<std::size_t>(got);
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return false;
        // The output ended: every writer has closed it, so the redirector
        // has ended or is about to. After a stop, whatever of the group
        // still lives without its output goes with it.
        CloseOutput();
        if (terminated_)
            kill(-child_, SIGKILL);
        Reap();
        return true;
    }
    return false;
}

void CompileRunner::Terminate()
{
    // The group is signalled only while its leader is unreaped, so the
    // number cannot have passed to another group.
    if (child_ <= 0)
        return;
    kill(-child_, SIGTERM);
    terminated_ = true;
}

void CompileRunner::Kill()
{
    CloseOutput();
    if (child_ <= 0)
        return;
    kill(-child_, SIGKILL);
    Reap();
}

void CompileRunner::StopWaiting(int graceMilliseconds)
{
    if (child_ <= 0)
        return;
    Terminate();
    // The group has ended when its output has; what it still writes is
    // read meanwhile, so that no writer waits on a full pipe.
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(graceMilliseconds);
    while (output_ >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            until - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd ready{output_, POLLIN, 0};
        if (poll(&ready, 1, static_cast<int>(left.count())) < 0 && errno != EINTR)
            break;
        if (ReadAvailable())
            return;
    }
    Kill();
}

void CompileRunner::Reap()
{
    if (child_ <= 0)
        return;
    int status = 0;
    while (waitpid(child_, &status, 0) < 0 && errno == EINTR) {
    }
    commandStarted_ = WIFEXITED(status) && WEXITSTATUS(status) == kRedirectorRanCommand;
    child_ = -1;
    if (input_ >= 0)
        close(input_);
    input_ = -1;
}

void CompileRunner::CloseOutput()
{
    if (output_ >= 0)
        close(output_);
    output_ = -1;
}
