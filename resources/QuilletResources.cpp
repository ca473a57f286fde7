#include "resources/QuilletResources.h"

#include <algorithm>
#include <cstddef>

namespace quillet::resources {
namespace {

// The built-in "HTML" language configuration in its binary form, made by
// generator/GenerateHtmlLangConfig from generator/HtmlLangConfigSource.cpp.
const unsigned char kHtmlLangConfig[] = {
#include "HtmlLangConfig.inc"
};

struct Resource {
    std::string_view type;
    int id;
    const unsigned char* bytes;
    std::size_t size;
};

const Resource kResources[] = {
    {"VxEditLangConfig", 146, kHtmlLangConfig, sizeof kHtmlLangConfig},
};

bool SameType(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

}  // namespace

std::string_view Find(std::string_view type, int id)
{
    for (const Resource& resource : kResources) {
        if (resource.id == id && SameType(resource.type, type))
            return {reinterpret_cast<const char*>(resource.bytes), resource.size};
    }
    return {};
}

}  // namespace quillet::resources
