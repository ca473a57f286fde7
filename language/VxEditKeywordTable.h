#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

// Keywords of a language configuration and their colour groups, with an
// index from the lower-cased form of each keyword to the keyword, so that a
// case-insensitive lookup is one hash lookup.
//
// Table order is ascending byte order of the keywords; when two keywords
// differ only in case, the index holds the one that comes last in it.
class VxEditKeywordTable {
public:
    VxEditKeywordTable() = default;
    VxEditKeywordTable(VxEditKeywordTable&&) noexcept = default;
    VxEditKeywordTable& operator=(VxEditKeywordTable&&) noexcept = default;

    void Set(const std::string& keyword, int group);
    // The group of the keyword spelt exactly so, or -1.
    int Find(std::string_view keyword) const;
    // The group of the keyword whose lower-cased form is lowerCased, or -1.
    int FindLowerCased(std::string_view lowerCased) const;

    // Every keyword and its group, in table order.
    std::vector<std::pair<std::string, int>> Entries() const;
    std::size_t Count() const { return groups_.size(); }
    std::size_t LowerCaseCount() const { return lowerCased_.size(); }
    void Clear();

    static std::string LowerCase(std::string_view text);

private:
    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const { return std::hash<std::string_view>{}(key); }
    };
    template <class Value>
    using Map = std::unordered_map<std::string, Value, KeyHash, std::equal_to<>>;

    Map<int> groups_;
    Map<std::string> lowerCased_;
};
