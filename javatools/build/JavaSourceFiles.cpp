#include "javatools/build/JavaSourceFiles.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

std::string DirectoryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string FileNameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::vector<std::string> JavaFilesIn(const std::string& directory)
{
    std::vector<std::string> files;
    std::error_code error;
    const std::string base = directory.empty() ? std::string("./") : directory;
    for (std::filesystem::directory_iterator it(base, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        if (name.size() > 5 && name.ends_with(".java") && it->is_regular_file(error))
            files.push_back(directory + name);
    }
    std::sort(files.begin(), files.end());
    return files;
}
