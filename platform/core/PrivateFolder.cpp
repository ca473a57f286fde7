#include "platform/core/PrivateFolder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace quillet::platform {
namespace {

bool Refuse(std::string* reason, const std::string& text)
{
    if (reason)
        *reason = text;
    return false;
}

// A folder owned by us that only we may enter, not reached through a link.
bool IsPrivate(const std::string& path)
{
    struct stat status {};
    return lstat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode) &&
           status.st_uid == geteuid() && (status.st_mode & 077) == 0;
}

}  // namespace

bool MakePrivateFolder(const std::string& path, std::string* reason)
{
    if (path.empty())
        return Refuse(reason, "no folder named");
    const std::filesystem::path folder(path);
    std::error_code error;
    if (folder.has_parent_path())
        std::filesystem::create_directories(folder.parent_path(), error);
    if (mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return Refuse(reason, "'" + path + "' cannot be made: " + std::strerror(errno));
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0)
        return Refuse(reason, "'" + path + "' cannot be read: " + std::strerror(errno));
    if (!S_ISDIR(status.st_mode))
        return Refuse(reason, "'" + path + "' is not a folder");
    if (status.st_uid != geteuid())
        return Refuse(reason, "'" + path + "' belongs to another user");
    if ((status.st_mode & 077) != 0 && chmod(path.c_str(), status.st_mode & 0700) != 0)
        return Refuse(reason, "'" + path + "' cannot be made private: " + std::strerror(errno));
    return true;
}

std::string PrivateRuntimeFolder()
{
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && *runtime == '/' && IsPrivate(runtime))
        return runtime;
    const char* temporary = std::getenv("TMPDIR");
    const std::string base = temporary && *temporary == '/' ? temporary : "/tmp";
    const std::string folder = base + "/quillet-" + std::to_string(geteuid());
    return MakePrivateFolder(folder) ? folder : std::string();
}

}  // namespace quillet::platform
