#pragma once

#include <atomic>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

// Lists the files of a folder (and of its subfolders) whose names match one
// of the file patterns, in name order folder by folder. Symbolic links are
// followed, but only after every folder reachable without one: a folder or
// file is then listed once, under the path that goes through no link when
// there is one, and a folder already walked is never walked again, so a link
// loop ends. Folders that cannot be read are counted and passed over.
class VxEditFileWalker {
public:
    // An empty list of patterns takes every file.
    VxEditFileWalker(std::vector<std::string> fileTypes, bool subfolders, const std::atomic<bool>& stop);

    // Appends the files under folder to files; stops early when asked to.
    void Walk(const std::string& folder, std::vector<std::string>& files);
    std::int64_t Unreadable() const { return unreadable_; }

    bool Matches(const char* name) const;

private:
    // Lists a folder's files and walks its real subfolders; links met are
    // kept for later. Files reached through a link are listed only when
    // they were not listed already.
    void WalkFolder(const std::string& folder, bool throughLink, std::vector<std::string>& files);
    // Follows the links kept by WalkFolder, in the order they were met.
    void WalkLinks(std::vector<std::string>& files);
    void AddLinkedFile(const std::string& path, const struct stat& file, std::vector<std::string>& files);
    // False when the folder was walked already.
    bool Enter(const struct stat& folder);

    std::vector<std::string> fileTypes_;
    bool subfolders_;
    const std::atomic<bool>& stop_;
    std::set<std::pair<dev_t, ino_t>> walked_;
    std::vector<std::string> links_;
    // The files listed, by device and inode, once a link is followed.
    std::set<std::pair<dev_t, ino_t>> listed_;
    std::int64_t unreadable_ = 0;
};
