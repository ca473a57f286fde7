#include "javatools/build/JavaSourceTree.h"

#include <algorithm>
#include <filesystem>
#include <set>
#include <sys/stat.h>
#include <system_error>
#include <utility>

namespace {

using FolderId = std::pair<dev_t, ino_t>;

// The folder's identity on its device, which links to it share.
bool IdentityOf(const std::string& folder, FolderId& id)
{
    struct stat info {};
    if (::stat(folder.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return false;
    id = {info.st_dev, info.st_ino};
    return true;
}

void Walk(const std::string& folder, std::set<FolderId>& seen, std::vector<std::string>& files)
{
    FolderId id;
    if (!IdentityOf(folder, id) || !seen.insert(id).second)
        return;
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    for (const std::string& name : names) {
        if (name.empty() || name.front() == '.')
            continue;
        const std::string path = folder + name;
        std::error_code kind;
        if (std::filesystem::is_directory(path, kind))
            Walk(path + "/", seen, files);
        else if (name.size() > 5 && name.ends_with(".java") && std::filesystem::is_regular_file(path, kind))
            files.push_back(path);
    }
}

}  // namespace

std::vector<std::string> JavaFilesUnder(const std::string& root)
{
    std::vector<std::string> files;
    std::set<FolderId> seen;
    std::string start = root.empty() ? std::string("./") : root;
    if (start.back() != '/')
        start += '/';
    Walk(start, seen, files);
    std::sort(files.begin(), files.end());
    return files;
}
