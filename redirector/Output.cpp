// Output: runs one program with this process's standard input, output and
// error, so that a compiler started through it writes into whatever pipe the
// editor gave to Output. Writes nothing of its own.
//
// Exit status: 0 when there was nothing to run or it could not be started,
// 1 once the started program has ended (its own status is not passed on).

#include "RedirectCommand.h"

#include <cerrno>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

extern char** environ;

namespace {

constexpr int kNotStarted = 0;
constexpr int kRanToEnd = 1;

int Run(const RedirectCommand& command)
{
    if (command.argv.empty() || command.argv.front().empty())
        return kNotStarted;

    std::vector<char*> argv;
    argv.reserve(command.argv.size() + 1);
    for (const std::string& arg : command.argv)
        argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    if (posix_spawn_file_actions_init(&actions) != 0)
        return kNotStarted;
    if (!command.workingDirectory.empty() &&
        posix_spawn_file_actions_addchdir_np(&actions, command.workingDirectory.c_str()) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return kNotStarted;
    }

    // posix_spawnp searches PATH as the shell does and reports a failed
    // exec or chdir as an error instead of starting a half-made child.
    pid_t child = 0;
    const int spawnError =
        posix_spawnp(&child, argv.front(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawnError != 0)
        return kNotStarted;

    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return kRanToEnd;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    return Run(ParseRedirectArguments(args));
}
