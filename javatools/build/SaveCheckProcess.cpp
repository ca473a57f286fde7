#include "javatools/build/SaveCheckProcess.h"

#include "javatools/build/ChildPipes.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

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

SaveCheckProcess::~SaveCheckProcess()
{
    Cancel();
}

bool SaveCheckProcess::Start(const std::vector<std::string>& argv, const std::string& workingDirectory,
                             std::string* reason)
{
    Cancel();
    text_.clear();
    ending_ = {};
    auto fail = [reason](int error) {
        if (reason)
            *reason = std::strerror(error);
        return false;
    };
    if (argv.empty())
        return fail(ENOENT);
    ChildPipe output;
    if (!output.Ok())
        return fail(errno);

    SpawnFileActions actions;
    posix_spawn_file_actions_addopen(actions.Get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(actions.Get(), output.Write(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(actions.Get(), output.Write(), STDERR_FILENO);
    if (!workingDirectory.empty())
        posix_spawn_file_actions_addchdir_np(actions.Get(), workingDirectory.c_str());
    SpawnAttributes attributes;
    // Its own process group, so that a cancel reaches what it starts too
    // (a wrapper script's compiler, the compiler's own children).
    posix_spawnattr_setflags(attributes.Get(), POSIX_SPAWN_SETPGROUP);
    posix_spawnattr_setpgroup(attributes.Get(), 0);

    const std::vector<char*> arguments = SpawnArgv(argv);
    pid_t child = 0;
    const int error = posix_spawnp(&child, arguments.front(), actions.Get(), attributes.Get(),
                                   arguments.data(), environ);
    output.CloseWrite();
    if (error != 0)
        return fail(error);
    child_ = child;
    output_ = output.TakeRead();
    fcntl(output_, F_SETFL, fcntl(output_, F_GETFL) | O_NONBLOCK);
    return true;
}

bool SaveCheckProcess::ReadAvailable()
{
    if (output_ < 0)
        return child_ <= 0;
    char piece[4096];
    for (;;) {
        const ssize_t got = read(output_, piece, sizeof piece);
        if (got > 0) {
            text_.append(piece, static_cast<std::size_t>(got));
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return false;
        break;
    }
    // The output ended: every writer has closed it, so the program has
    // ended or is about to.
    CloseOutput();
    Reap(false);
    return true;
}

void SaveCheckProcess::Cancel()
{
    CloseOutput();
    if (child_ > 0)
        Reap(true);
}

void SaveCheckProcess::Reap(bool kill)
{
    if (child_ <= 0)
        return;
    if (kill)
        ::kill(-child_, SIGKILL);
    int status = 0;
    while (waitpid(child_, &status, 0) < 0 && errno == EINTR) {
    }
    ending_.exited = WIFEXITED(status);
    ending_.exitCode = ending_.exited ? WEXITSTATUS(status) : 0;
    ending_.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    child_ = -1;
}

void SaveCheckProcess::CloseOutput()
{
    if (output_ >= 0)
        close(output_);
    output_ = -1;
}
