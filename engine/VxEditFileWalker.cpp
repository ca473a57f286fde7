#include "engine/VxEditFileWalker.h"

#include <algorithm>
#include <cstring>

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

VxEditFileWalker::VxEditFileWalker(std::vector<std::string> fileTypes, bool subfolders,
                                   const std::atomic<bool>& stop)
    : fileTypes_(std::move(fileTypes)), subfolders_(subfolders), stop_(stop)
{
}

bool VxEditFileWalker::Matches(const char* name) const
{
    if (fileTypes_.empty())
        return true;
    return std::any_of(fileTypes_.begin(), fileTypes_.end(), [name](const std::string& type) {
        return fnmatch(type.c_str(), name, FNM_CASEFOLD) == 0;
    });
}

bool VxEditFileWalker::Enter(const struct stat& folder)
{
    return walked_.emplace(folder.st_dev, folder.st_ino).second;
}

void VxEditFileWalker::Walk(const std::string& folder, std::vector<std::string>& files)
{
    struct stat info {};
    if (stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) {
        ++unreadable_;
        return;
    }
    Enter(info);
    std::string root = folder;
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();
    WalkFolder(root, files);
}

void VxEditFileWalker::WalkFolder(const std::string& folder, std::vector<std::string>& files)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir) {
        ++unreadable_;
        return;
    }
    struct Entry {
        std::string name;
        unsigned char type;
    };
    std::vector<Entry> entries;
    while (const dirent* entry = readdir(dir)) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0)
            continue;
        entries.push_back(Entry{entry->d_name, entry->d_type});
    }
    closedir(dir);
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.name < b.name; });

    const std::string prefix = folder == "/" ? folder : folder + "/";
    for (const Entry& entry : entries) {
        if (stop_.load(std::memory_order_relaxed))
            return;
        const std::string path = prefix + entry.name;
        bool isFolder = entry.type == DT_DIR;
        bool isFile = entry.type == DT_REG;
        struct stat info {};
        // Links and file systems that give no type are asked; a link counts
        // as what it points to.
        if (entry.type == DT_LNK || entry.type == DT_UNKNOWN || (isFolder && subfolders_)) {
            if (stat(path.c_str(), &info) != 0)
                continue;  // a dangling link
            isFolder = S_ISDIR(info.st_mode);
            isFile = S_ISREG(info.st_mode);
        }
        if (isFile && Matches(entry.name.c_str()))
            files.push_back(path);
        else if (isFolder && subfolders_ && Enter(info))
            WalkFolder(path, files);
    }
}
