#include "platform/core/MemoryProfile.h"

#include <cctype>
#include <charconv>

namespace quillet::platform {

std::string MemoryProfile::KeyOf(std::string_view section, std::string_view name)
{
    std::string key;
    key.reserve(section.size() + name.size() + 1);
    for (char c : section)
        key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    key += '\n';  // cannot occur in a section or value name
    for (char c : name)
        key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key;
}

bool MemoryProfile::Has(std::string_view section, std::string_view name) const
{
    return values_.count(KeyOf(section, name)) != 0;
}

int MemoryProfile::GetInt(std::string_view section, std::string_view name, int fallback) const
{
    auto it = values_.find(KeyOf(section, name));
    if (it == values_.end())
        return fallback;
    int value = 0;
    const std::string& text = it->second;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() ? value : fallback;
}

std::string MemoryProfile::GetString(std::string_view section, std::string_view name,
                                     std::string_view fallback) const
{
    auto it = values_.find(KeyOf(section, name));
    return it == values_.end() ? std::string(fallback) : it->second;
}

bool MemoryProfile::WriteInt(std::string_view section, std::string_view name, int value)
{
    return WriteString(section, name, std::to_string(value));
}

bool MemoryProfile::WriteString(std::string_view section, std::string_view name,
                                std::string_view value)
{
    if (readOnly_)
        return false;
    values_[KeyOf(section, name)] = std::string(value);
    return true;
}

}  // namespace quillet::platform
