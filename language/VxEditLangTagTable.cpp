#include "language/VxEditLangTagTable.h"

#include "language/VxEditCharSet.h"

#include <algorithm>

VxEditLangTagTable::Slot& VxEditLangTagTable::Touch(const std::string& key)
{
    Slot& slot = keys_[key];
    slot.tag.reset();
    slot.order = nextOrder_++;
    return slot;
}

void VxEditLangTagTable::Enter(const VxEditLangTag& tag)
{
    const std::string& begin = tag.BeginTag;
    if (begin.empty())
        return;
    std::size_t at = 0;
    while (at < begin.size()) {
        std::size_t bytes = 1;
        VxEditCharSet::DecodeCharacter(begin.data() + at, begin.size() - at, bytes);
        at += bytes;
        Touch(begin.substr(0, at));
    }
    keys_[begin].tag = std::make_unique<VxEditLangTag>(tag);
}

void VxEditLangTagTable::SetKey(const std::string& key, std::unique_ptr<VxEditLangTag> tag)
{
    Touch(key).tag = std::move(tag);
}

bool VxEditLangTagTable::Accepts(const VxEditLangTag& tag, int kind)
{
    switch (kind) {
    case kSingleLine: return tag.MultiLine == 0;
    case kMultiLine: return tag.MultiLine != 0;
    case kAnyLine: return true;
    default: return false;
    }
}

VxEditLangTag* VxEditLangTagTable::Find(const char* text, std::size_t length, std::size_t tokenLength,
                                        int kind) const
{
    std::size_t partLength = 0;
    while (partLength < length) {
        std::size_t bytes = 1;
        VxEditCharSet::DecodeCharacter(text + partLength, length - partLength, bytes);
        partLength += bytes;
        auto it = keys_.find(std::string_view(text, partLength));
        if (it == keys_.end())
            return nullptr;
        VxEditLangTag* candidate = it->second.tag.get();
        if (!candidate)
            continue;
        if (tokenLength != 0 && tokenLength != candidate->BeginTag.size())
            return nullptr;
        return Accepts(*candidate, kind) ? candidate : nullptr;
    }
    return nullptr;
}

std::vector<std::pair<const std::string*, const VxEditLangTagTable::Slot*>> VxEditLangTagTable::Ordered() const
{
    std::vector<std::pair<const std::string*, const Slot*>> ordered;
    ordered.reserve(keys_.size());
    for (const auto& [key, slot] : keys_)
        ordered.emplace_back(&key, &slot);
    std::sort(ordered.begin(), ordered.end(),
              [](const auto& a, const auto& b) { return a.second->order < b.second->order; });
    return ordered;
}

void VxEditLangTagTable::List(std::vector<VxEditLangTag*>& list, int kind) const
{
    list.clear();
    for (const auto& [key, slot] : Ordered()) {
        if (slot->tag && Accepts(*slot->tag, kind))
            list.push_back(slot->tag.get());
    }
}

std::vector<VxEditLangTagTable::Entry> VxEditLangTagTable::Entries() const
{
    std::vector<Entry> entries;
    for (const auto& [key, slot] : Ordered())
        entries.push_back(Entry{*key, slot->tag.get()});
    return entries;
}

std::size_t VxEditLangTagTable::TagCount() const
{
    return static_cast<std::size_t>(
        std::count_if(keys_.begin(), keys_.end(), [](const auto& entry) { return entry.second.tag != nullptr; }));
}
