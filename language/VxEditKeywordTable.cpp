#include "language/VxEditKeywordTable.h"

#include <algorithm>

std::string VxEditKeywordTable::LowerCase(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

void VxEditKeywordTable::Set(const std::string& keyword, int group)
{
    groups_[keyword] = group;
    auto [it, inserted] = lowerCased_.try_emplace(LowerCase(keyword), keyword);
    if (!inserted && it->second < keyword)
        it->second = keyword;
}

int VxEditKeywordTable::Find(std::string_view keyword) const
{
    auto it = groups_.find(keyword);
    return it == groups_.end() ? -1 : it->second;
}

int VxEditKeywordTable::FindLowerCased(std::string_view lowerCased) const
{
    auto it = lowerCased_.find(lowerCased);
    return it == lowerCased_.end() ? -1 : Find(it->second);
}

std::vector<std::pair<std::string, int>> VxEditKeywordTable::Entries() const
{
    std::vector<std::pair<std::string, int>> entries(groups_.begin(), groups_.end());
    std::sort(entries.begin(), entries.end());
    return entries;
}

void VxEditKeywordTable::Clear()
{
    groups_.clear();
    lowerCased_.clear();
}
