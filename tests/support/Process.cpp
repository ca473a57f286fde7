#include "tests/support/Process.h"

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <csignal>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace quillet::test {

namespace {

struct Pipe {
    int fds[2] = {-1, -1};
    bool Open() { return pipe2(fds, O_CLOEXEC) == 0; }
    void Close(int which)
    {
        if (fds[which] >= 0)
            close(fds[which]);
        fds[which] = -1;
    }
    ~Pipe()
    {
        Close(0);
        Close(1);
    }
};

}  // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& workingDirectory,
                         const std::string& input)
{
    // A child that stops reading its input must not kill the test.
    std::signal(SIGPIPE, SIG_IGN);
    ProcessResult result;
    Pipe in, out, err;
    if (!in.Open() || !out.Open() || !err.Open())
        return result;

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in.fds[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out.fds[1], 1);
    posix_spawn_file_actions_adddup2(&actions, err.fds[1], 2);
    if (!workingDirectory.empty())
        posix_spawn_file_actions_addchdir_np(&actions, workingDirectory.c_str());

    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    pid_t pid = 0;
    const int error = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0)
        return result;
    result.started = true;
    in.Close(0);
    out.Close(1);
    err.Close(1);

    std::size_t written = 0;
    if (input.empty())
        in.Close(1);
    pollfd fds[3] = {{out.fds[0], POLLIN, 0}, {err.fds[0], POLLIN, 0}, {in.fds[1], POLLOUT, 0}};
    std::string* sinks[2] = {&result.out, &result.err};
    char buffer[4096];
    for (;;) {
        fds[2].fd = in.fds[1];
        if (fds[0].fd < 0 && fds[1].fd < 0)
            break;
        if (poll(fds, 3, -1) < 0) {
            if (errno == EINTR)
                continue;
            break;
        }
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd >= 0 && (fds[i].revents & (POLLIN | POLLHUP | POLLERR))) {
                const ssize_t n = read(fds[i].fd, buffer, sizeof buffer);
                if (n > 0)
                    sinks[i]->append(buffer, static_cast<std::size_t>(n));
                else
                    fds[i].fd = -1;
            }
        }
        if (fds[2].fd >= 0 && (fds[2].revents & (POLLOUT | POLLERR | POLLHUP))) {
            const ssize_t n = write(in.fds[1], input.data() + written, input.size() - written);
            if (n > 0)
                written += static_cast<std::size_t>(n);
            if (n <= 0 || written == input.size())
                in.Close(1);
        }
    }
    in.Close(1);

    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

}  // namespace quillet::test
