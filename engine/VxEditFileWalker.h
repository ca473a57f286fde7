#pragma once

#include <atomic>
#include <cstdint>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include <sys/types.h>

// Lists the files of a folder (and of its subfolders) whose names match one
// of the file patterns, folder by folder in name order. Symbolic links are
// followed, but a folder already walked is never walked again, so a link
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
    void WalkFolder(const std::string& folder, std::vector<std::string>& files);
    // False when the folder was walked already.
    bool Enter(const struct stat& folder);

    std::vector<std::string> fileTypes_;
    bool subfolders_;
    const std::atomic<bool>& stop_;
    std::set<std::pair<dev_t, ino_t>> walked_;
    std::int64_t unreadable_ = 0;
};
