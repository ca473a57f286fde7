#include "platform/core/UserFolders.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet::platform {
namespace {

struct FolderRule {
    const char* variable;
    const char* inHome;
};

FolderRule RuleFor(UserFolder kind)
{
    switch (kind) {
    case UserFolder::Config:
        return {"XDG_CONFIG_HOME", "/.config"};
    case UserFolder::Data:
        return {"XDG_DATA_HOME", "/.local/share"};
    case UserFolder::State:
        return {"XDG_STATE_HOME", "/.local/state"};
    case UserFolder::Cache:
        break;
    }
    return {"XDG_CACHE_HOME", "/.cache"};
}

std::string Quoted(const std::string& path)
{
    return "'" + path + "'";
}

}  // namespace

std::string HomeFolderProblem()
{
    const char* value = std::getenv("HOME");
    if (!value || !*value)
        return "HOME is not set";
    const std::string home = value;
    if (home.front() != '/')
        return "HOME (" + Quoted(home) + ") is not an absolute path";
    struct stat status {};
    if (stat(home.c_str(), &status) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            return "the home folder " + Quoted(home) + " does not exist";
        return "the home folder " + Quoted(home) + " cannot be reached: " + std::strerror(errno);
    }
    if (!S_ISDIR(status.st_mode))
        return "the home folder " + Quoted(home) + " is not a folder";
    if (status.st_uid != geteuid() && access(home.c_str(), W_OK | X_OK) != 0)
        return "the home folder " + Quoted(home) + " belongs to another user";
    return {};
}

std::string UserBaseFolder(UserFolder kind)
{
    const FolderRule rule = RuleFor(kind);
    std::string folder;
    // A relative XDG path is not to be used, as if it were not set.
    if (const char* named = std::getenv(rule.variable); named && *named == '/')
        folder = named;
    else if (const char* home = std::getenv("HOME"); home && *home == '/')
        folder = std::string(home) + rule.inHome;
    if (folder.empty())
        return {};
    struct stat status {};
    if (stat(folder.c_str(), &status) == 0 || HomeFolderProblem().empty())
        return folder;
    return {};
}

std::string FolderWriteProblem(const std::string& folder)
{
    // The nearest part of the path that exists is where the writing starts.
    std::string at = folder;
    while (at.size() > 1 && at.back() == '/')
        at.pop_back();
    struct stat status {};
    while (stat(at.c_str(), &status) != 0) {
        if (errno != ENOENT)
            return "the folder " + Quoted(at) + " cannot be reached: " + std::strerror(errno);
        const std::size_t slash = at.find_last_of('/');
        if (slash == std::string::npos)
            return Quoted(folder) + " is not an absolute path";
        at = slash == 0 ? std::string("/") : at.substr(0, slash);
    }
    if (!S_ISDIR(status.st_mode))
        return Quoted(at) + " is not a folder";
    if (access(at.c_str(), W_OK | X_OK) != 0) {
        if (errno == EROFS)
            return "the folder " + Quoted(at) + " is on a read-only file system";
        return "you may not write in the folder " + Quoted(at);
    }
    return {};
}

}  // namespace quillet::platform
