#include "language/VxEditIniConfigReader.h"

#include "language/VxEditCharSet.h"
#include "language/VxEditIniColor.h"
#include "language/VxEditIniFile.h"
#include "language/VxEditIniKeys.h"
#include "language/VxEditLangConfig.h"

#include <charconv>
#include <set>

namespace keys = VxEditIniKeys;

namespace {

// k when name is prefix followed by the decimal number k (1 to limit, no
// leading zero; the prefix in any case), else 0.
int NumberOf(std::string_view name, std::string_view prefix, int limit)
{
    if (name.size() <= prefix.size() || name[prefix.size()] == '0')
        return 0;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        if (lower(name[i]) != lower(prefix[i]))
            return 0;
    }
    int k = 0;
    const char* end = name.data() + name.size();
    const auto [stop, error] = std::from_chars(name.data() + prefix.size(), end, k);
    return error == std::errc() && stop == end && k <= limit ? k : 0;
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t'))
        text.remove_suffix(1);
    return text;
}

// At most max bytes, not cutting a character in two.
std::string Truncated(std::string text, std::size_t max)
{
    if (text.size() <= max)
        return text;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t bytes = 1;
        VxEditCharSet::DecodeCharacter(text.data() + at, text.size() - at, bytes);
        if (at + bytes > max)
            break;
        at += bytes;
    }
    text.resize(at);
    return text;
}

VxEditColorGroup ReadGroup(const VxEditIniFile& file, const std::string& name)
{
    VxEditColorGroup group;
    group.DisplayName = file.GetString(name, keys::kDisplayName, name);
    group.Configurable = file.GetInt(name, keys::kConfigurable, 1);
    if (file.Has(name, keys::kForeground)) {
        group.Foreground = VxEditIniColor::Parse(file.GetString(name, keys::kForeground, ""));
        group.ForeColorAutomatic = file.GetInt(name, keys::kForeColorAutomatic, 0);
    } else {
        group.Foreground = 0;
        group.ForeColorAutomatic = 1;
    }
    if (file.Has(name, keys::kBackground)) {
        group.Background = VxEditIniColor::Parse(file.GetString(name, keys::kBackground, ""));
        group.BackColorAutomatic = file.GetInt(name, keys::kBackColorAutomatic, 0);
    } else {
        group.Background = 0xFFFFFF;
        group.BackColorAutomatic = 1;
    }
    return group;
}

}  // namespace

int VxEditIniConfigReader::Read(VxEditLangConfig& config)
{
    VxEditIniFile file(path_);
    file.Load();  // a file that cannot be read counts as missing
    return ReadFrom(file, config);
}

int VxEditIniConfigReader::ReadFrom(const VxEditIniFile& file, VxEditLangConfig& config)
{
    return ReadColorGroups(file, config) && ReadParser(file, config) && ReadFont(file, config) &&
                   ReadKeywords(file, config) && ReadEditor(file, config)
               ? 1
               : 0;
}

bool VxEditIniConfigReader::ReadColorGroups(const VxEditIniFile& file, VxEditLangConfig& config)
{
    // Only the numbers present can name a group, so a huge "NumGroups"
    // costs nothing.
    const int count = file.GetInt(keys::kColorGroups, keys::kNumGroups, 0);
    std::set<int> numbers;
    for (const std::string& line : file.GetSection(keys::kColorGroups)) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        if (const int k = NumberOf(Trim(std::string_view(line).substr(0, equals)), keys::kGroup, count))
            numbers.insert(k);
    }
    for (int k : numbers) {
        const std::string name = file.GetString(keys::kColorGroups, keys::kGroup + std::to_string(k), "");
        if (!name.empty())
            config.PutColorGroup(name, ReadGroup(file, name));
    }
    return true;
}

bool VxEditIniConfigReader::ReadParser(const VxEditIniFile& file, VxEditLangConfig& config)
{
    for (int set : keys::kSetOrder) {
        const std::string members = file.GetString(keys::kParser, keys::kSetKeys[set], "");
        if (!members.empty())
            config.SetCharSet(members, set, 0);
    }
    const int count = file.GetInt(keys::kParser, keys::kNumTags, 0);
    std::set<int> numbers;
    for (const std::string& section : file.SectionNames()) {
        if (const int k = NumberOf(section, keys::kTag, count))
            numbers.insert(k);
    }
    for (int k : numbers) {
        const std::string section = keys::kTag + std::to_string(k);
        VxEditLangTag tag;
        tag.ColorGroup = config.FindColorGroup(file.GetString(section, keys::kColorGroup, ""));
        if (tag.ColorGroup < 0)
            tag.ColorGroup = 0;
        tag.BeginTag = file.GetString(section, keys::kBeginTag, "");
        tag.EndTag = file.GetString(section, keys::kEndTag, "");
        tag.EscapeChar = file.GetString(section, keys::kEscapeChar, "");
        tag.MultiLine = file.GetInt(section, keys::kMultiLine, 0);
        config.AddTag(tag);
    }
    return true;
}

bool VxEditIniConfigReader::ReadFont(const VxEditIniFile& file, VxEditLangConfig& config)
{
    config.SetFaceName(Truncated(file.GetString(keys::kFont, keys::kFaceName, config.GetFaceName()),
                                 VxEditLangConfig::kMaxFaceNameLength));
    config.SetSize(file.GetInt(keys::kFont, keys::kSize, config.GetSize()));
    config.SetItalic(file.GetInt(keys::kFont, keys::kItalic, config.GetItalic()));
    config.SetBold(file.GetInt(keys::kFont, keys::kBold, config.GetBold()));
    return true;
}

bool VxEditIniConfigReader::ReadKeywords(const VxEditIniFile& file, VxEditLangConfig& config)
{
    for (const std::string& line : file.GetSection(keys::kKeywords)) {
        const std::size_t equals = line.find('=');
        if (equals == std::string::npos)
            continue;
        const std::string_view keyword = Trim(std::string_view(line).substr(0, equals));
        const std::string_view groupName = Trim(std::string_view(line).substr(equals + 1));
        if (keyword.empty() || groupName.empty())
            continue;
        const int group = config.FindColorGroup(std::string(groupName));
        if (group >= 0)
            config.SetKeyword(std::string(keyword), group);
    }
    return true;
}

bool VxEditIniConfigReader::ReadEditor(const VxEditIniFile& file, VxEditLangConfig& config)
{
    config.SetTabSize(file.GetInt(keys::kEditor, keys::kTabSize, 4));
    config.SetAutoIndent(file.GetInt(keys::kEditor, keys::kAutoIndent, 0));
    config.SetShowWhitespace(file.GetInt(keys::kEditor, keys::kShowWhitespace, 0));
    config.SetVirtualWhitespace(file.GetInt(keys::kEditor, keys::kVirtualWhitespace, 0));
    config.SetReplaceTabs(file.GetInt(keys::kEditor, keys::kReplaceTabs, 0));
    config.SetMatchCase(file.GetInt(keys::kEditor, keys::kMatchCase, 1));
    return true;
}
