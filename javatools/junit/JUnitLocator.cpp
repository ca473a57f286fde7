#include "javatools/junit/JUnitLocator.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace {

constexpr const char* kLauncher = "junit-platform-console-standalone";

}  // namespace

std::string FindJUnitLauncher(const std::string& jarFolder)
{
    const std::filesystem::path folder(jarFolder);
    std::error_code error;
    const std::filesystem::path plain = folder / (std::string(kLauncher) + ".jar");
    if (std::filesystem::is_regular_file(plain, error))
        return plain.string();
    std::vector<std::string> versioned;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        const std::string name = it->path().filename().string();
        std::error_code kind;
        if (name.starts_with(std::string(kLauncher) + "-") && name.ends_with(".jar") &&
            std::filesystem::is_regular_file(it->path(), kind))
            versioned.push_back(name);
    }
    if (versioned.empty())
        return {};
    // "1.10.0" after "1.9.1": compare the version numbers as numbers.
    auto numbers = [](const std::string& name) {
        std::vector<long> parts;
        long value = -1;
        for (char c : name) {
            if (c >= '0' && c <= '9') {
                value = (value < 0 ? 0 : value * 10) + (c - '0');
            } else if (value >= 0) {
                parts.push_back(value);
                value = -1;
            }
        }
        return parts;
    };
    const auto newest = std::max_element(versioned.begin(), versioned.end(),
                                          [&](const std::string& a, const std::string& b) {
                                              return numbers(a) < numbers(b);
                                          });
    return (folder / *newest).string();
}
