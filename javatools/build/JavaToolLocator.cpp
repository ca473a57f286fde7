#include "javatools/build/JavaToolLocator.h"

#include "javatools/build/ProgramLookup.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <vector>

namespace {

// Compares directory names by their numbers, so that java-17 comes after
// java-8 and java-21 after java-17.
bool VersionLess(const std::string& a, const std::string& b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (std::isdigit(static_cast<unsigned char>(a[i])) &&
            std::isdigit(static_cast<unsigned char>(b[j]))) {
            std::size_t ei = i;
            std::size_t ej = j;
            while (ei < a.size() && std::isdigit(static_cast<unsigned char>(a[ei])))
                ++ei;
            while (ej < b.size() && std::isdigit(static_cast<unsigned char>(b[ej])))
                ++ej;
            const unsigned long long na = std::stoull(a.substr(i, std::min<std::size_t>(ei - i, 18)));
            const unsigned long long nb = std::stoull(b.substr(j, std::min<std::size_t>(ej - j, 18)));
            if (na != nb)
                return na < nb;
            i = ei;
            j = ej;
        } else {
            if (a[i] != b[j])
                return a[i] < b[j];
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j;
}

// The bin directories of the JDKs under root, newest first.
std::vector<std::string> JdkBinDirectories(const std::string& root)
{
    std::vector<std::string> names;
    std::error_code error;
    for (std::filesystem::directory_iterator it(root, error), end; !error && it != end;
         it.increment(error)) {
        if (it->is_directory(error))
            names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end(), VersionLess);
    std::vector<std::string> bins;
    for (auto it = names.rbegin(); it != names.rend(); ++it)
        bins.push_back(root + "/" + *it + "/bin");
    return bins;
}

std::string Locate(const std::string& name, const std::string& javaHome,
                   const std::string& searchPath, const std::vector<std::string>& jdkBins)
{
    if (!javaHome.empty()) {
        if (std::string found = FindProgram(javaHome + "/bin/" + name, {}); !found.empty())
            return found;
    }
    if (!searchPath.empty()) {
        if (std::string found = FindProgram(name, searchPath); !found.empty())
            return found;
    }
    for (const std::string& bin : jdkBins) {
        if (std::string found = FindProgram(bin + "/" + name, {}); !found.empty())
            return found;
    }
    return {};
}

}  // namespace

JavaToolPaths DetectJavaTools(const std::string& javaHome, const std::string& searchPath,
                              const std::string& jvmRoot)
{
    const std::vector<std::string> jdkBins = JdkBinDirectories(jvmRoot);
    return {Locate("java", javaHome, searchPath, jdkBins), Locate("javac", javaHome, searchPath, jdkBins),
            Locate("jdb", javaHome, searchPath, jdkBins)};
}
