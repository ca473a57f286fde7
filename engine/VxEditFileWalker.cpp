#include "engine/VxEditFileWalker.h"

#include <algorithm>
#include <cstring>

#include <dirent.h>
#include <fnmatch.h>
#include <sys/stat.h>

namespace {

// The order of a walk that takes each folder's entries in name order: a
// folder's path sorts before any name it is the start of.
bool InWalkOrder(const std::string& a, const std::string& b)
{
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (a[i] == b[i])
            continue;
        if (a[i] == '/' || b[i] == '/')
            return a[i] == '/';
        return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[i]);
    }
    return a.size() < b.size();
}

const char* NameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return path.c_str() + (slash == std::string::npos ? 0 : slash + 1);
}

}  // namespace

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
    const std::size_t first = files.size();
    WalkFolder(root, false, files);
    if (links_.empty())
        return;
    WalkLinks(files);
    std::stable_sort(files.begin() + static_cast<std::ptrdiff_t>(first), files.end(), InWalkOrder);
}

void VxEditFileWalker::WalkFolder(const std::string& folder, bool throughLink, std::vector<std::string>& files)
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
        // File systems that give no type are asked, without following a
        // link; links wait until the real folders are walked.
        if (entry.type == DT_UNKNOWN || (isFolder && subfolders_) || (isFile && throughLink)) {
            if (lstat(path.c_str(), &info) != 0)
                continue;
            isFolder = S_ISDIR(info.st_mode);
            isFile = S_ISREG(info.st_mode);
        }
        if (entry.type == DT_LNK || S_ISLNK(info.st_mode)) {
            links_.push_back(path);
        } else if (isFile && Matches(entry.name.c_str())) {
            if (throughLink)
                AddLinkedFile(path, info, files);
            else
                files.push_back(path);
        } else if (isFolder && subfolders_ && Enter(info)) {
            WalkFolder(path, throughLink, files);
        }
    }
}

void VxEditFileWalker::WalkLinks(std::vector<std::string>& files)
{
    // The files found so far went through no link; a link to one of them
    // adds nothing.
    for (const std::string& path : files) {
        struct stat info {};
        if (stat(path.c_str(), &info) == 0)
            listed_.emplace(info.st_dev, info.st_ino);
    }
    // Folders behind links may hold more links: they join the end.
    for (std::size_t i = 0; i < links_.size(); ++i) {
        if (stop_.load(std::memory_order_relaxed))
            return;
        const std::string path = links_[i];
        struct stat info {};
        if (stat(path.c_str(), &info) != 0)
            continue;  // a dangling link
        if (S_ISREG(info.st_mode) && Matches(NameOf(path)))
            AddLinkedFile(path, info, files);
        else if (S_ISDIR(info.st_mode) && subfolders_ && Enter(info))
            WalkFolder(path, true, files);
    }
}

void VxEditFileWalker::AddLinkedFile(const std::string& path, const struct stat& file,
                                     std::vector<std::string>& files)
{
    if (listed_.emplace(file.st_dev, file.st_ino).second)
        files.push_back(path);
}
