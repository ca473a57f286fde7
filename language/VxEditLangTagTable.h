#pragma once

#include "language/VxEditLangTag.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

// The tags of a language configuration keyed by BeginTag. Every leading part
// of a BeginTag is a key too, holding no tag (a placeholder), so that the
// longest tag at a position is found by extending the key one character at a
// time until it is no longer in the table.
//
// Keys remember the order in which they were last entered; tags are listed
// and stored in that order, so reading them back in it rebuilds the same table.
class VxEditLangTagTable {
public:
    // What FindTag and ListTags accept.
    enum Kind { kSingleLine = 0, kMultiLine = 1, kAnyLine = 2 };

    struct Entry {
        std::string key;
        const VxEditLangTag* tag;  // null for a placeholder
    };

    VxEditLangTagTable() = default;
    VxEditLangTagTable(VxEditLangTagTable&&) noexcept = default;
    VxEditLangTagTable& operator=(VxEditLangTagTable&&) noexcept = default;

    // Enters the tag under its BeginTag after making each leading part and the
    // BeginTag itself a placeholder; a tag stored under any of those keys is
    // destroyed, so the last tag entered wins. A tag without BeginTag is ignored.
    void Enter(const VxEditLangTag& tag);
    // Sets one key as stored (binary form): a tag, or a placeholder when null.
    void SetKey(const std::string& key, std::unique_ptr<VxEditLangTag> tag);

    // The tag that the leading characters of text (length bytes) select, or
    // null; see VxEditLangConfig::FindTag.
    VxEditLangTag* Find(const char* text, std::size_t length, std::size_t tokenLength, int kind) const;
    // Empties the list, then appends the tags of the kind in table order.
    void List(std::vector<VxEditLangTag*>& list, int kind) const;

    // Every key in table order.
    std::vector<Entry> Entries() const;
    std::size_t KeyCount() const { return keys_.size(); }
    std::size_t TagCount() const;
    void Clear() { keys_.clear(); }

    static bool Accepts(const VxEditLangTag& tag, int kind);

private:
    struct Slot {
        std::unique_ptr<VxEditLangTag> tag;
        std::uint64_t order = 0;
    };
    struct KeyHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view key) const { return std::hash<std::string_view>{}(key); }
    };

    Slot& Touch(const std::string& key);
    std::vector<std::pair<const std::string*, const Slot*>> Ordered() const;

    std::unordered_map<std::string, Slot, KeyHash, std::equal_to<>> keys_;
    std::uint64_t nextOrder_ = 0;
};
