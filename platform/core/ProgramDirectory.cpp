#include "platform/core/ProgramDirectory.h"

#include <filesystem>
#include <system_error>

namespace quillet::platform {

std::string ProgramDirectory()
{
    std::error_code error;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return "./";
    std::string dir = exe.parent_path().string();
    if (dir.empty() || dir.back() != '/')
        dir += '/';
    return dir;
}

}  // namespace quillet::platform
