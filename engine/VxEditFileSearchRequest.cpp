#include "engine/VxEditFileSearchRequest.h"

std::vector<std::string> VxEditFileSearchRequest::SplitFileTypes(const std::string& types)
{
    std::vector<std::string> patterns;
    std::size_t start = 0;
    while (start <= types.size()) {
        std::size_t end = types.find_first_of(";,", start);
        if (end == std::string::npos)
            end = types.size();
        std::size_t first = types.find_first_not_of(" \t", start);
        std::size_t last = types.find_last_not_of(" \t", end == 0 ? 0 : end - 1);
        if (first != std::string::npos && first < end && last != std::string::npos && last >= first)
            patterns.push_back(types.substr(first, last - first + 1));
        start = end + 1;
    }
    return patterns;
}
