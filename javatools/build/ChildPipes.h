#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <unistd.h>
#include <vector>

// The pieces a child process is started with: both ends of a pipe, closed
// by their owner, posix_spawn's file actions and its argument list. The
// pipe is made close-on-exec, so no child inherits an end unless it is
// placed on one of the child's standard streams.
class ChildPipe {
public:
    ChildPipe() { ok_ = pipe2(fds_, O_CLOEXEC) == 0; }
    ~ChildPipe()
    {
        CloseRead();
        CloseWrite();
    }
    ChildPipe(const ChildPipe&) = delete;
    ChildPipe& operator=(const ChildPipe&) = delete;

    bool Ok() const { return ok_; }
    int Read() const { return fds_[0]; }
    int Write() const { return fds_[1]; }
    void CloseRead() { Close(fds_[0]); }
    void CloseWrite() { Close(fds_[1]); }
    // The read end, now the caller's to close.
    int TakeRead()
    {
        const int fd = fds_[0];
        fds_[0] = -1;
        return fd;
    }
    // The write end, now the caller's to close.
    int TakeWrite()
    {
        const int fd = fds_[1];
        fds_[1] = -1;
        return fd;
    }

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

class SpawnFileActions {
public:
    SpawnFileActions() { posix_spawn_file_actions_init(&actions_); }
    ~SpawnFileActions() { posix_spawn_file_actions_destroy(&actions_); }
    SpawnFileActions(const SpawnFileActions&) = delete;
    SpawnFileActions& operator=(const SpawnFileActions&) = delete;
    posix_spawn_file_actions_t* Get() { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

// The arguments as posix_spawn takes them: pointers into the strings, which
// must outlive the spawn, and a null at the end.
inline std::vector<char*> SpawnArgv(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    argv.reserve(arguments.size() + 1);
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    return argv;
}
