#include "app/RecentFileList.h"

#include "app/SettingsKeys.h"
#include "platform/core/Profile.h"

#include <algorithm>
#include <cstdio>

namespace {

std::string EntryName(int index)
{
    char name[16];
    std::snprintf(name, sizeof name, settings::kRecentFileFormat, index + 1);
    return name;
}

}  // namespace

void RecentFileList::Add(const std::string& path)
{
    if (path.empty())
        return;
    paths_.erase(std::remove(paths_.begin(), paths_.end(), path), paths_.end());
    paths_.insert(paths_.begin(), path);
    if (paths_.size() > kSize)
        paths_.resize(kSize);
}

void RecentFileList::Remove(int index)
{
    if (index >= 0 && index < static_cast<int>(paths_.size()))
        paths_.erase(paths_.begin() + index);
}

void RecentFileList::Load(const quillet::platform::Profile& profile)
{
    paths_.clear();
    for (int i = 0; i < kSize; ++i) {
        std::string path = profile.GetString(settings::kRecentFileList, EntryName(i), "");
        if (!path.empty() && std::find(paths_.begin(), paths_.end(), path) == paths_.end())
            paths_.push_back(path);
    }
}

bool RecentFileList::Save(quillet::platform::Profile& profile) const
{
    bool ok = true;
    for (int i = 0; i < kSize; ++i) {
        const std::string path = i < static_cast<int>(paths_.size()) ? paths_[i] : std::string();
        ok = profile.WriteString(settings::kRecentFileList, EntryName(i), path) && ok;
    }
    return ok;
}

std::string RecentFileList::MenuText(int index) const
{
    if (index < 0 || index >= static_cast<int>(paths_.size()))
        return {};
    std::string name = AbbreviatePath(paths_[index], kMenuNameLength);
    // A single '&' would mark a mnemonic in a menu.
    std::string escaped;
    for (char c : name) {
        escaped += c;
        if (c == '&')
            escaped += '&';
    }
    return "&" + std::to_string(index + 1) + " " + escaped;
}

std::string AbbreviatePath(const std::string& path, std::size_t maxLength)
{
    if (path.size() <= maxLength)
        return path;
    const std::size_t slash = path.find_last_of('/');
    const std::string fileName = slash == std::string::npos ? path : path.substr(slash + 1);
    if (fileName.size() >= maxLength)
        return fileName.substr(0, maxLength);
    // Keep the root ("/") and as much of the end of the folder path as fits,
    // always on a folder boundary: "/.../src/Hello.java".
    const std::string root = path.rfind('/', 0) == 0 ? "/" : "";
    const std::string ellipsis = "...";
    std::string tail = path.substr(slash);  // "/name"
    std::size_t cut = slash;
    while (cut > 0) {
        const std::size_t previous = path.find_last_of('/', cut - 1);
        if (previous == std::string::npos)
            break;
        std::string candidate = path.substr(previous);
        if (root.size() + ellipsis.size() + candidate.size() > maxLength)
            break;
        tail = std::move(candidate);
        cut = previous;
    }
    std::string result = root + ellipsis + tail;
    if (result.size() > maxLength)
        result = fileName;
    return result;
}
