#include "javatools/lsp/LspServerProcess.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <pthread.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char** environ;

namespace {

void CloseFd(int& fd)
{
    if (fd >= 0)
        ::close(fd);
    fd = -1;
}

struct Pipe {
    int fds[2] = {-1, -1};
    bool Open() { return ::pipe2(fds, O_CLOEXEC) == 0; }
    ~Pipe()
    {
        CloseFd(fds[0]);
        CloseFd(fds[1]);
    }
    int Take(int which)
    {
        const int fd = fds[which];
        fds[which] = -1;
        return fd;
    }
};

void SetNonBlocking(int fd)
{
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
}

// A write to a pipe whose reader is gone raises SIGPIPE; the editor must
// not die of a server that did. The signal is held for the write and a
// pending one taken back, so the caller's own handling stays as it was.
ssize_t WriteQuietly(int fd, const char* data, std::size_t size)
{
    sigset_t pipeOnly;
    sigemptyset(&pipeOnly);
    sigaddset(&pipeOnly, SIGPIPE);
    sigset_t before;
    pthread_sigmask(SIG_BLOCK, &pipeOnly, &before);
    const ssize_t written = ::write(fd, data, size);
    const int saved = errno;
    if (written < 0 && saved == EPIPE && !sigismember(&before, SIGPIPE)) {
        const timespec none{0, 0};
        while (sigtimedwait(&pipeOnly, nullptr, &none) < 0 && errno == EINTR) {
        }
    }
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    errno = saved;
    return written;
}

}  // namespace

LspServerProcess::~LspServerProcess()
{
    Kill();
}

bool LspServerProcess::Start(const std::vector<std::string>& argv, const std::string& workingDirectory,
                             std::string& error)
{
    Kill();
    errorTail_.clear();
    exitText_.clear();
    queue_.clear();
    if (argv.empty() || argv.front().empty()) {
        error = "no program named";
        return false;
    }
    Pipe input, output, errors;
    if (!input.Open() || !output.Open() || !errors.Open()) {
        error = std::strerror(errno);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input.fds[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output.fds[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, errors.fds[1], STDERR_FILENO);
    if (!workingDirectory.empty())
        posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // The server starts as from a shell: no signal blocked or ignored
    // because the editor blocks or ignores it.
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signal : {SIGPIPE, SIGINT, SIGQUIT, SIGHUP, SIGTERM, SIGCHLD})
        sigaddset(&defaults, signal);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    posix_spawnattr_setpgroup(&attributes, 0);

    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    pid_t child = -1;
    const int spawnError = posix_spawnp(&child, args.front(), &actions, &attributes, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    if (spawnError != 0) {
        error = std::strerror(spawnError);
        return false;
    }
    pid_ = child;
    in_ = input.Take(1);
    out_ = output.Take(0);
    err_ = errors.Take(0);
    SetNonBlocking(in_);
    SetNonBlocking(out_);
    SetNonBlocking(err_);
    return true;
}

bool LspServerProcess::Write(const std::string& bytes)
{
    if (in_ < 0)
        return false;
    queue_.append(bytes);
    return OnWritable();
}

bool LspServerProcess::OnWritable()
{
    while (in_ >= 0 && !queue_.empty()) {
        const ssize_t written = WriteQuietly(in_, queue_.data(), queue_.size());
        if (written > 0) {
            queue_.erase(0, static_cast<std::size_t>(written));
            continue;
        }
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return true;
        CloseInput();
        return false;
    }
    return in_ >= 0;
}

void LspServerProcess::CloseInput()
{
    CloseFd(in_);
    queue_.clear();
}

bool LspServerProcess::ReadOutput(std::string& into)
{
    char piece[65536];
    for (std::size_t budget = kReadBudget; out_ >= 0 && budget > 0;) {
        const ssize_t got = ::read(out_, piece, sizeof piece);
        if (got > 0) {
            into.append(piece, static_cast<std::size_t>(got));
            budget -= std::min(budget, static_cast<std::size_t>(got));
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return true;
        CloseFd(out_);
    }
    return out_ >= 0;
}

void LspServerProcess::ReadErrors()
{
    char piece[4096];
    while (err_ >= 0) {
        const ssize_t got = ::read(err_, piece, sizeof piece);
        if (got > 0) {
            errorTail_.append(piece, static_cast<std::size_t>(got));
            if (errorTail_.size() > kErrorTail)
                errorTail_.erase(0, errorTail_.size() - kErrorTail);
            continue;
        }
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return;
        CloseFd(err_);
    }
}

bool LspServerProcess::Reap()
{
    if (pid_ <= 0)
        return true;
    int status = 0;
    pid_t got;
    do {
        got = ::waitpid(pid_, &status, WNOHANG);
    } while (got < 0 && errno == EINTR);
    if (got == 0)
        return false;
    if (got > 0) {
        if (WIFEXITED(status))
            exitText_ = "exit code " + std::to_string(WEXITSTATUS(status));
        else if (WIFSIGNALED(status))
            exitText_ = "signal " + std::to_string(WTERMSIG(status));
    }
    pid_ = -1;
    ReadErrors();
    CloseAll();
    return true;
}

void LspServerProcess::Signal(int signal)
{
    if (pid_ > 0)
        ::kill(-pid_, signal);
}

void LspServerProcess::Kill()
{
    if (pid_ > 0) {
        ReadErrors();
        ::kill(-pid_, SIGKILL);
        int status = 0;
        // After SIGKILL the wait is short.
        while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
        }
        if (WIFSIGNALED(status))
            exitText_ = "signal " + std::to_string(WTERMSIG(status));
        else if (WIFEXITED(status))
            exitText_ = "exit code " + std::to_string(WEXITSTATUS(status));
        pid_ = -1;
    }
    CloseAll();
}

void LspServerProcess::CloseAll()
{
    CloseFd(in_);
    CloseFd(out_);
    CloseFd(err_);
    queue_.clear();
}
