#include "engine/VxEditStaleTemporaries.h"

#include <cctype>
#include <chrono>
#include <fcntl.h>
#include <filesystem>
#include <mutex>
#include <set>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::int64_t NowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

// Taken while the program loads, before any save can begin.
const std::int64_t kProcessStartNs = NowNs();

constexpr std::size_t kRandomPart = 6;

}  // namespace

std::string VxEditStaleTemporaries::PatternFor(const std::string& folder, const std::string& name)
{
    // Room for the rest within a file name's limit.
    return folder + "." + name.substr(0, 200) + ".XXXXXX";
}

bool VxEditStaleTemporaries::IsTemporaryName(const std::string& name)
{
    const std::string suffix = kSuffix;
    // ".", a name of at least one byte, ".", the random part, the suffix.
    if (name.size() < 2 + 1 + kRandomPart + suffix.size() || name[0] != '.' ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
        return false;
    const std::size_t random = name.size() - suffix.size() - kRandomPart;
    if (name[random - 1] != '.')
        return false;
    for (std::size_t i = random; i < random + kRandomPart; ++i) {
        if (!std::isalnum(static_cast<unsigned char>(name[i])))
            return false;
    }
    return true;
}

int VxEditStaleTemporaries::Sweep(const std::string& folder, std::int64_t cutoffNs)
{
    int removed = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        if (!IsTemporaryName(entry.path().filename().string()))
            continue;
        const std::string path = entry.path().string();
        const int descriptor = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (descriptor < 0)
            continue;
        struct stat status {};
        struct stat named {};
        const bool stale =
            fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == geteuid() &&
            status.st_nlink == 1 &&
            static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec < cutoffNs &&
            flock(descriptor, LOCK_EX | LOCK_NB) == 0 && lstat(path.c_str(), &named) == 0 &&
            named.st_dev == status.st_dev && named.st_ino == status.st_ino;
        if (stale && unlink(path.c_str()) == 0)
            ++removed;
        close(descriptor);
    }
    return removed;
}

void VxEditStaleTemporaries::SweepOnce(const std::string& folder)
{
    static std::mutex guard;
    static std::set<std::string> swept;
    {
        const std::lock_guard<std::mutex> lock(guard);
        if (!swept.insert(folder).second)
            return;
    }
    Sweep(folder, kProcessStartNs);
}

std::int64_t VxEditStaleTemporaries::ProcessStartNs()
{
    return kProcessStartNs;
}
