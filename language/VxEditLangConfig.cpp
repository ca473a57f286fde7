#include "language/VxEditLangConfig.h"

#include "mvc/CArchive.h"
#include "mvc/VxEditMsg.h"

#include <algorithm>
#include <cstdint>

using tarrow::foundation::CArchive;
using tarrow::foundation::IMessage;
using tarrow::foundation::IObserver;
using tarrow::foundation::RefPtr;

namespace {

// There is no double-byte system here, so the single-byte font applies.
constexpr const char* kDefaultFaceName = "Courier";
constexpr int kDefaultSize = 10;
// The system's window text and window colours.
constexpr std::uint32_t kWindowText = 0x000000;
constexpr std::uint32_t kWindow = 0xFFFFFF;

constexpr const char* kSpecialGroupNames[4] = {"Text", "Text Selection", "Number", "Operator"};

// The smallest encoding of one entry of each list, for bounding counts.
constexpr std::size_t kMinGroupBytes = 2 + 4 * 4 + 1 + 4;
constexpr std::size_t kMinTagKeyBytes = 1 + 4;
constexpr std::size_t kMinTableEntryBytes = 1 + 2;

VxEditColorGroup AutomaticGroup(const char* name, std::uint32_t foreground, std::uint32_t background,
                                int configurable)
{
    VxEditColorGroup group;
    group.Foreground = foreground;
    group.Background = background;
    group.ForeColorAutomatic = 1;
    group.BackColorAutomatic = 1;
    group.DisplayName = name;
    group.Configurable = configurable;
    return group;
}

bool ReadInt(CArchive& archive, int& value)
{
    std::int32_t raw = 0;
    if (!archive.ReadI32(raw))
        return false;
    value = raw;
    return true;
}

}  // namespace

VxEditLangConfig::VxEditLangConfig(std::string name) : name_(std::move(name))
{
    ResetDefaults();
}

void VxEditLangConfig::Clear()
{
    tags_.Clear();
    keywords_.Clear();
    groups_.Clear();
    for (VxEditCharSet& set : sets_)
        set.Clear();
}

void VxEditLangConfig::ResetDefaults()
{
    Clear();
    faceName_ = kDefaultFaceName;
    size_ = kDefaultSize;
    italic_ = 0;
    bold_ = 0;
    PutColorGroup("Text", AutomaticGroup("Text", kWindowText, kWindow, 1));
    PutColorGroup("Text Selection", AutomaticGroup("Text Selection", kWindow, kWindowText, 1));
    PutColorGroup("Number", AutomaticGroup("Number", kWindowText, kWindow, 0));
    PutColorGroup("Operator", AutomaticGroup("Operator", kWindowText, kWindow, 0));
    tabSize_ = 4;
    autoIndent_ = 0;
    showWhitespace_ = 0;
    virtualWhitespace_ = 0;
    replaceTabs_ = 0;
}

void VxEditLangConfig::Notify(IObserver* sender, IMessage* message)
{
    UpdateAllObservers(sender, message);
}

VxEditColorGroup* VxEditLangConfig::GetSpecialColorGroup(int kind) const
{
    if (kind < 0 || kind >= static_cast<int>(special_.size()))
        return nullptr;
    return groups_.At(special_[static_cast<std::size_t>(kind)]);
}

int VxEditLangConfig::GetSpecialColorGroupIndex(int kind) const
{
    if (kind < 0 || kind >= static_cast<int>(special_.size()))
        return special_[kTextGroup];
    return special_[static_cast<std::size_t>(kind)];
}

const std::vector<std::unique_ptr<VxEditColorGroup>>& VxEditLangConfig::GetColorGroups() const
{
    return groups_.Groups();
}

VxEditLangTag* VxEditLangConfig::FindTag(const char* text, int length, int tokenLength, int kind) const
{
    if (!text || length <= 0 || tokenLength < 0)
        return nullptr;
    return tags_.Find(text, static_cast<std::size_t>(length), static_cast<std::size_t>(tokenLength), kind);
}

void VxEditLangConfig::ListTags(std::vector<VxEditLangTag*>& list, int kind) const
{
    tags_.List(list, kind);
}

int VxEditLangConfig::LookupKeyword(const char* text, int length, int& group) const
{
    if (!text || length <= 0)
        return 0;
    const std::string_view word(text, static_cast<std::size_t>(length));
    int found = keywords_.Find(word);
    if (found < 0 && matchCase_ == 0)
        found = keywords_.FindLowerCased(VxEditKeywordTable::LowerCase(word));
    if (found < 0 && word[0] >= '0' && word[0] <= '9')
        found = special_[kNumberGroup];
    if (found < 0)
        return 0;
    group = found;
    return length;
}

int VxEditLangConfig::IsInCharSet(unsigned code, int set) const
{
    const VxEditCharSet* members = GetCharSet(set);
    return members && members->Test(code) ? 1 : 0;
}

const VxEditCharSet* VxEditLangConfig::GetCharSet(int set) const
{
    if (set < 0 || set >= kSetCount)
        return nullptr;
    return &sets_[static_cast<std::size_t>(set)];
}

void VxEditLangConfig::SetCharSet(const std::string& text, int set, int clearFirst)
{
    if (set < 0 || set >= kSetCount)
        return;
    VxEditCharSet& members = sets_[static_cast<std::size_t>(set)];
    if (clearFirst)
        members.Clear();
    members.AddAll(text);
    RefPtr<VxEditMsg> message = RefPtr<VxEditMsg>::Adopt(new VxEditMsg(kMsgInvalidateColouring));
    Notify(nullptr, message.Get());
}

void VxEditLangConfig::SetTabSize(int tabSize)
{
    tabSize_ = std::clamp(tabSize, 1, kMaxTabSize);
}

int VxEditLangConfig::PutColorGroup(const std::string& name, const VxEditColorGroup& group)
{
    const int index = groups_.Put(name, group);
    UpdateSpecialGroups();
    return index;
}

void VxEditLangConfig::UpdateSpecialGroups()
{
    for (std::size_t kind = 0; kind < special_.size(); ++kind) {
        const int index = groups_.IndexOf(kSpecialGroupNames[kind]);
        if (index >= 0)
            special_[kind] = index;
    }
}

bool VxEditLangConfig::Serialize(CArchive& archive)
{
    if (archive.IsStoring())
        return Store(archive);
    // Read into a fresh configuration so that a bad form changes nothing here.
    RefPtr<VxEditLangConfig> staged = RefPtr<VxEditLangConfig>::Adopt(new VxEditLangConfig(name_));
    if (!staged->Load(archive))
        return false;
    TakeContentFrom(*staged);
    return true;
}

bool VxEditLangConfig::Store(CArchive& archive) const
{
    archive.WriteU32(static_cast<std::uint32_t>(groups_.Count()));
    for (const auto& group : groups_.Groups()) {
        archive.WriteU16(group->Reserved);
        archive.WriteU32(group->Foreground);
        archive.WriteU32(group->Background);
        archive.WriteU32(static_cast<std::uint32_t>(group->ForeColorAutomatic));
        archive.WriteU32(static_cast<std::uint32_t>(group->BackColorAutomatic));
        archive.WriteString(group->DisplayName);
        archive.WriteU32(static_cast<std::uint32_t>(group->Configurable));
    }

    const std::vector<VxEditLangTagTable::Entry> keys = tags_.Entries();
    archive.WriteU32(static_cast<std::uint32_t>(keys.size()));
    for (const VxEditLangTagTable::Entry& entry : keys) {
        archive.WriteString(entry.key);
        archive.WriteU32(entry.tag ? 1 : 0);
        if (!entry.tag)
            continue;
        archive.WriteString(entry.tag->BeginTag);
        archive.WriteString(entry.tag->EndTag);
        archive.WriteString(entry.tag->EscapeChar);
        archive.WriteU16(static_cast<std::uint16_t>(entry.tag->ColorGroup));
        archive.WriteU32(static_cast<std::uint32_t>(entry.tag->MultiLine));
    }

    for (int option : {matchCase_, showWhitespace_, replaceTabs_, virtualWhitespace_, tabSize_, autoIndent_})
        archive.WriteU32(static_cast<std::uint32_t>(option));
    archive.WriteString(faceName_);
    for (int option : {size_, italic_, bold_})
        archive.WriteU32(static_cast<std::uint32_t>(option));
    for (const VxEditCharSet& set : sets_)
        archive.WriteString(set.ToString());

    const auto keywords = keywords_.Entries();
    archive.WriteCount(static_cast<std::uint32_t>(keywords.size()));
    for (const auto& [keyword, group] : keywords) {
        archive.WriteString(keyword);
        archive.WriteU16(static_cast<std::uint16_t>(group));
    }
    const auto names = groups_.Names();
    archive.WriteCount(static_cast<std::uint32_t>(names.size()));
    for (const auto& [name, index] : names) {
        archive.WriteString(name);
        archive.WriteU16(static_cast<std::uint16_t>(index));
    }
    return !archive.Failed();
}

bool VxEditLangConfig::Load(CArchive& archive)
{
    Clear();
    // The special indices are not stored: groups 0 to 3 are the special groups.
    return LoadGroups(archive) && groups_.Count() >= static_cast<int>(special_.size()) && LoadTags(archive) &&
           LoadOptions(archive) && LoadTables(archive);
}

bool VxEditLangConfig::LoadGroups(CArchive& archive)
{
    std::uint32_t count = 0;
    if (!archive.ReadU32(count) || count > archive.Remaining() / kMinGroupBytes)
        return false;
    for (std::uint32_t i = 0; i < count; ++i) {
        VxEditColorGroup group;
        if (!archive.ReadU16(group.Reserved) || !archive.ReadU32(group.Foreground) ||
            !archive.ReadU32(group.Background) || !ReadInt(archive, group.ForeColorAutomatic) ||
            !ReadInt(archive, group.BackColorAutomatic) || !archive.ReadString(group.DisplayName) ||
            !ReadInt(archive, group.Configurable))
            return false;
        groups_.Append(group);
    }
    return true;
}

bool VxEditLangConfig::LoadTags(CArchive& archive)
{
    std::uint32_t count = 0;
    if (!archive.ReadU32(count) || count > archive.Remaining() / kMinTagKeyBytes)
        return false;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string key;
        std::uint32_t present = 0;
        if (!archive.ReadString(key) || key.empty() || !archive.ReadU32(present) || present > 1)
            return false;
        if (present == 0) {
            tags_.SetKey(key, nullptr);
            continue;
        }
        auto tag = std::make_unique<VxEditLangTag>();
        std::uint16_t group = 0;
        if (!archive.ReadString(tag->BeginTag) || !archive.ReadString(tag->EndTag) ||
            !archive.ReadString(tag->EscapeChar) || !archive.ReadU16(group) || !ReadInt(archive, tag->MultiLine))
            return false;
        // A tag found under a key other than its BeginTag would make the
        // scanner step past text it never matched.
        if (tag->BeginTag != key || group >= groups_.Count())
            return false;
        tag->ColorGroup = group;
        tags_.SetKey(key, std::move(tag));
    }
    return true;
}

bool VxEditLangConfig::LoadOptions(CArchive& archive)
{
    if (!ReadInt(archive, matchCase_) || !ReadInt(archive, showWhitespace_) || !ReadInt(archive, replaceTabs_) ||
        !ReadInt(archive, virtualWhitespace_) || !ReadInt(archive, tabSize_) || !ReadInt(archive, autoIndent_))
        return false;
    if (tabSize_ < 1 || tabSize_ > kMaxTabSize)
        return false;
    if (!archive.ReadString(faceName_) || !ReadInt(archive, size_) || !ReadInt(archive, italic_) ||
        !ReadInt(archive, bold_))
        return false;
    for (VxEditCharSet& set : sets_) {
        std::string members;
        if (!archive.ReadString(members))
            return false;
        set.AddAll(members);
    }
    return true;
}

bool VxEditLangConfig::LoadTables(CArchive& archive)
{
    std::uint32_t count = 0;
    if (!archive.ReadCount(count, kMinTableEntryBytes))
        return false;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string keyword;
        std::uint16_t group = 0;
        if (!archive.ReadString(keyword) || !archive.ReadU16(group) || group >= groups_.Count())
            return false;
        keywords_.Set(keyword, group);
    }
    if (!archive.ReadCount(count, kMinTableEntryBytes))
        return false;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::string name;
        std::uint16_t index = 0;
        if (!archive.ReadString(name) || !archive.ReadU16(index) || index >= groups_.Count())
            return false;
        groups_.SetName(name, index);
    }
    return true;
}

void VxEditLangConfig::TakeContentFrom(VxEditLangConfig& other)
{
    showWhitespace_ = other.showWhitespace_;
    replaceTabs_ = other.replaceTabs_;
    virtualWhitespace_ = other.virtualWhitespace_;
    tabSize_ = other.tabSize_;
    autoIndent_ = other.autoIndent_;
    matchCase_ = other.matchCase_;
    faceName_ = std::move(other.faceName_);
    size_ = other.size_;
    italic_ = other.italic_;
    bold_ = other.bold_;
    keywords_ = std::move(other.keywords_);
    sets_ = other.sets_;
    tags_ = std::move(other.tags_);
    groups_ = std::move(other.groups_);
    special_ = other.special_;
}
