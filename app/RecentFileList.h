#pragma once

#include <string>
#include <vector>

namespace quillet::platform {
class Profile;
}

// The most-recently-used files, newest first, kept under "Recent File List"
// as "File1" to "File12".
class RecentFileList {
public:
    static constexpr int kSize = 12;
    static constexpr std::size_t kMenuNameLength = 30;

    void Add(const std::string& path);
    void Remove(int index);
    const std::vector<std::string>& Paths() const { return paths_; }
    bool IsEmpty() const { return paths_.empty(); }

    void Load(const quillet::platform::Profile& profile);
    bool Save(quillet::platform::Profile& profile) const;

    // The menu text of an entry: "&1 name", with the path shortened to fit.
    std::string MenuText(int index) const;

private:
    std::vector<std::string> paths_;
};

// Shortens a path to at most maxLength characters by replacing leading
// folders with "..." and, if the file name alone is too long, by cutting it;
// the file name is kept whole whenever it fits.
std::string AbbreviatePath(const std::string& path, std::size_t maxLength);
