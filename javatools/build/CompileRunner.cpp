#include "javatools/build/CompileRunner.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr int kIdleMilliseconds = 30;
constexpr std::size_t kPiece = 256;
// The redirector's exit status once it has run the command to its end.
constexpr int kRedirectorRanCommand = 1;

// Both ends of a pipe, closed by the owner; no child inherits them unless
// they are placed on its standard streams.
class Pipe {
public:
    Pipe() { ok_ = pipe2(fds_, O_CLOEXEC) == 0; }
    ~Pipe()
    {
        CloseRead();
        CloseWrite();
    }
    Pipe(const Pipe&) = delete;
    Pipe& operator=(const Pipe&) = delete;

    bool Ok() const { return ok_; }
    int Read() const { return fds_[0]; }
    int Write() const { return fds_[1]; }
    void CloseRead() { Close(fds_[0]); }
    void CloseWrite() { Close(fds_[1]); }

private:
    static void Close(int& fd)
    {
        if (fd >= 0)
            close(fd);
        fd = -1;
    }

    int fds_[2] = {-1, -1};
    bool ok_ = false;
};

class FileActions {
public:
    FileActions() { posix_spawn_file_actions_init(&actions_); }
    ~FileActions() { posix_spawn_file_actions_destroy(&actions_); }
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;
    posix_spawn_file_actions_t* Get() { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

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
    Pipe output;
    Pipe input;
    if (!output.Ok() || !input.Ok()) {
        result.failure = std::strerror(errno);
        return result;
    }

    FileActions actions;
    posix_spawn_file_actions_adddup2(actions.Get(), input.Read(), STDIN_FILENO);
    posix_spawn_file_actions_adddup2(actions.Get(), output.Write(), STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(actions.Get(), output.Write(), STDERR_FILENO);
    if (!workingDirectory.empty())
        posix_spawn_file_actions_addchdir_np(actions.Get(), workingDirectory.c_str());

    std::vector<char*> argv;
    for (const std::string& argument : redirectorArgv)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

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
