#include "javatools/console/ConsolePty.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <utility>

extern char** environ;

namespace {

// Names the terminal describes itself with; a caller's entries override them.
constexpr const char* kTerminalType = "TERM=xterm-256color";
constexpr int kGraceMs = 500;
constexpr int kWriteWaitMs = 2000;

std::string NameOf(const std::string& entry)
{
    return entry.substr(0, entry.find('='));
}

// The child's environment: the editor's own, without the entries the caller
// or the terminal set, then those.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& extra)
{
    std::vector<std::string> names{"TERM", "COLUMNS", "LINES"};
    for (const std::string& entry : extra)
        names.push_back(NameOf(entry));
    std::vector<std::string> result;
    for (char** entry = environ; entry && *entry; ++entry) {
        const std::string text(*entry);
        bool replaced = false;
        for (const std::string& name : names)
            replaced = replaced || NameOf(text) == name;
        if (!replaced)
            result.push_back(text);
    }
    result.emplace_back(kTerminalType);
    for (const std::string& entry : extra)
        result.push_back(entry);
    return result;
}

std::vector<char*> Pointers(std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    for (std::string& text : strings)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

void SleepMs(int ms)
{
    timespec delay{0, ms * 1000000L};
    nanosleep(&delay, nullptr);
}

// What the child reports through the close-on-exec pipe when it cannot run
// the program: the step that failed and errno.
struct StartFailure {
    int step;  // 0: working directory, 1: exec
    int error;
};

[[noreturn]] void FailInChild(int pipe, int step)
{
    const StartFailure failure{step, errno};
    [[maybe_unused]] ssize_t written = write(pipe, &failure, sizeof failure);
    _exit(127);
}

}  // namespace

ConsolePty::~ConsolePty()
{
    Terminate();
}

bool ConsolePty::Start(const std::vector<std::string>& argv, const std::string& workingDirectory,
                       const std::vector<std::string>& environment, Size size, std::string* error)
{
    Terminate();
    if (argv.empty() || argv[0].empty()) {
        if (error)
            *error = "no program given";
        return false;
    }
    // Everything the child needs is prepared here: between fork and exec
    // only async-signal-safe calls are allowed.
    std::vector<std::string> args = argv;
    std::vector<std::string> env = ChildEnvironment(environment);
    std::vector<char*> argp = Pointers(args);
    std::vector<char*> envp = Pointers(env);
    const char* directory = workingDirectory.empty() ? nullptr : workingDirectory.c_str();

    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) {
        if (error)
            *error = std::strerror(errno);
        return false;
    }
    winsize window{};
    window.ws_row = static_cast<unsigned short>(size.rows);
    window.ws_col = static_cast<unsigned short>(size.columns);
    int master = -1;
    const pid_t pid = forkpty(&master, nullptr, nullptr, &window);
    if (pid < 0) {
        const int reason = errno;
        close(report[0]);
        close(report[1]);
        if (error)
            *error = std::string("cannot open a pseudo-terminal: ") + std::strerror(reason);
        return false;
    }
    if (pid == 0) {
        close(report[0]);
        sigset_t none;
        sigemptyset(&none);
        sigprocmask(SIG_SETMASK, &none, nullptr);
        for (int signal : {SIGINT, SIGQUIT, SIGPIPE, SIGCHLD, SIGHUP, SIGTERM, SIGTSTP})
            ::signal(signal, SIG_DFL);
        if (report[1] > 3)
            close_range(3, report[1] - 1, 0);
        close_range(report[1] + 1, ~0U, 0);
        if (directory && chdir(directory) != 0)
            FailInChild(report[1], 0);
        execvpe(argp[0], argp.data(), envp.data());
        FailInChild(report[1], 1);
    }

    close(report[1]);
    StartFailure failure{};
    ssize_t got;
    do {
        got = read(report[0], &failure, sizeof failure);
    } while (got < 0 && errno == EINTR);
    close(report[0]);
    if (got == static_cast<ssize_t>(sizeof failure)) {
        int status = 0;
        while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        close(master);
        if (error) {
            *error = failure.step == 0
                         ? "cannot change to the directory " + workingDirectory + ": " +
                               std::strerror(failure.error)
                         : "cannot start " + argv[0] + ": " + std::strerror(failure.error);
        }
        return false;
    }
    fcntl(master, F_SETFL, fcntl(master, F_GETFL) | O_NONBLOCK);
    fcntl(master, F_SETFD, FD_CLOEXEC);
    master_ = master;
    pid_ = pid;
    return true;
}

std::ptrdiff_t ConsolePty::Read(char* buffer, std::size_t size)
{
    if (master_ < 0)
        return -1;
    for (;;) {
        const ssize_t got = read(master_, buffer, size);
        if (got > 0)
            return got;
        if (got == 0)
            return -1;
        if (errno == EINTR)
            continue;
        // EIO: every slave descriptor is closed, the program is gone.
        return errno == EAGAIN ? 0 : -1;
    }
}

bool ConsolePty::Write(const char* bytes, std::size_t size)
{
    int waited = 0;
    while (size > 0 && master_ >= 0) {
        const ssize_t put = write(master_, bytes, size);
        if (put > 0) {
            bytes += put;
            size -= static_cast<std::size_t>(put);
            continue;
        }
        if (put < 0 && errno == EINTR)
            continue;
        if (put < 0 && errno != EAGAIN)
            return false;
        // The program reads no input right now; give it a moment.
        if (waited >= kWriteWaitMs)
            return false;
        pollfd room{master_, POLLOUT, 0};
        poll(&room, 1, 50);
        waited += 50;
    }
    return master_ >= 0;
}

void ConsolePty::Resize(Size size)
{
    if (master_ < 0)
        return;
    winsize window{};
    window.ws_row = static_cast<unsigned short>(size.rows);
    window.ws_col = static_cast<unsigned short>(size.columns);
    ioctl(master_, TIOCSWINSZ, &window);
}

bool ConsolePty::PollExit(int* status)
{
    if (pid_ <= 0)
        return false;
    int waitStatus = 0;
    const pid_t done = waitpid(pid_, &waitStatus, WNOHANG);
    if (done != pid_)
        return false;
    pid_ = -1;
    if (status)
        *status = waitStatus;
    return true;
}

int ConsolePty::Terminate()
{
    int status = -1;
    if (pid_ > 0) {
        // The program leads its own session; hanging up reaches every
        // process it started on this terminal.
        kill(-pid_, SIGHUP);
        kill(pid_, SIGHUP);
        if (master_ >= 0)
            close(std::exchange(master_, -1));
        for (int waited = 0; pid_ > 0 && waited < kGraceMs; waited += 10) {
            if (!PollExit(&status))
                SleepMs(10);
        }
        if (pid_ > 0) {
            kill(-pid_, SIGKILL);
            kill(pid_, SIGKILL);
            while (waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
            }
            pid_ = -1;
        }
    }
    if (master_ >= 0)
        close(std::exchange(master_, -1));
    return status;
}

int ConsoleExitCode(int waitStatus)
{
    if (WIFEXITED(waitStatus))
        return WEXITSTATUS(waitStatus);
    if (WIFSIGNALED(waitStatus))
        return 128 + WTERMSIG(waitStatus);
    return -1;
}

std::string ConsoleExitDescription(int waitStatus)
{
    if (WIFSIGNALED(waitStatus)) {
        const int signal = WTERMSIG(waitStatus);
        const char* name = strsignal(signal);
        return "signal " + std::to_string(signal) + (name ? std::string(" (") + name + ")" : "");
    }
    return "exit code " + std::to_string(ConsoleExitCode(waitStatus));
}
