#include "javatools/build/ProgramLookup.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// 0 when path is an executable regular file, else the errno that tells why not.
int ExecutableError(const std::string& path)
{
    struct stat info {};
    if (stat(path.c_str(), &info) != 0)
        return errno;
    if (S_ISDIR(info.st_mode))
        return EISDIR;
    if (!S_ISREG(info.st_mode) || access(path.c_str(), X_OK) != 0)
        return EACCES;
    return 0;
}

}  // namespace

std::string FindProgram(const std::string& program, const std::string& searchPath)
{
    if (program.empty())
        return {};
    if (program.find('/') != std::string::npos)
        return ExecutableError(program) == 0 ? program : std::string();
    std::size_t start = 0;
    for (;;) {
        const std::size_t colon = searchPath.find(':', start);
        std::string directory = searchPath.substr(start, colon == std::string::npos
                                                             ? std::string::npos
                                                             : colon - start);
        if (directory.empty())
            directory = ".";
        const std::string candidate = directory + "/" + program;
        if (ExecutableError(candidate) == 0)
            return candidate;
        if (colon == std::string::npos)
            return {};
        start = colon + 1;
    }
}

std::string ProgramStartFailure(const std::string& program, const std::string& searchPath)
{
    if (program.empty())
        return "no program named";
    if (program.find('/') != std::string::npos) {
        const int error = ExecutableError(program);
        if (error != 0)
            return std::strerror(error);
    } else if (FindProgram(program, searchPath).empty()) {
        return "not found in PATH";
    }
    return "the program could not be run";
}
