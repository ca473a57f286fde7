#include "language/VxEditIniConfigWriter.h"

#include "language/VxEditIniColor.h"
#include "language/VxEditIniFile.h"
#include "language/VxEditIniKeys.h"
#include "language/VxEditLangConfig.h"

namespace keys = VxEditIniKeys;

namespace {

const char* Flag(int value)
{
    return value ? "1" : "0";
}

}  // namespace

int VxEditIniConfigWriter::Save(const VxEditLangConfig& config)
{
    VxEditIniFile file(path_);
    // Writing over a file we could not read would lose its other lines.
    if (!file.Load())
        return 0;
    return WriteTo(file, config) && file.Commit() ? 1 : 0;
}

bool VxEditIniConfigWriter::WriteTo(VxEditIniFile& file, const VxEditLangConfig& config)
{
    return WriteColorGroups(file, config) && WriteParser(file, config) && WriteFont(file, config) &&
           WriteKeywords(file, config) && WriteEditor(file, config);
}

bool VxEditIniConfigWriter::WriteColorGroups(VxEditIniFile& file, const VxEditLangConfig& config)
{
    int written = 0;
    for (int index = 0; index < config.GetColorGroupCount(); ++index) {
        const std::string name = config.GetColorGroupName(index);
        if (name.empty())
            continue;
        const VxEditColorGroup& group = *config.GetColorGroup(index);
        ++written;
        if (!file.WriteString(keys::kColorGroups, keys::kGroup + std::to_string(written), name) ||
            !file.WriteString(name, keys::kForeground, VxEditIniColor::Format(group.Foreground)) ||
            !file.WriteString(name, keys::kForeColorAutomatic, Flag(group.ForeColorAutomatic)) ||
            !file.WriteString(name, keys::kBackground, VxEditIniColor::Format(group.Background)) ||
            !file.WriteString(name, keys::kBackColorAutomatic, Flag(group.BackColorAutomatic)) ||
            !file.WriteString(name, keys::kDisplayName, group.DisplayName) ||
            !file.WriteString(name, keys::kConfigurable, Flag(group.Configurable)))
            return false;
    }
    return written == 0 || file.WriteInt(keys::kColorGroups, keys::kNumGroups, written);
}

bool VxEditIniConfigWriter::WriteParser(VxEditIniFile& file, const VxEditLangConfig& config)
{
    for (int set : keys::kSetOrder) {
        if (!file.WriteString(keys::kParser, keys::kSetKeys[set], config.GetCharSet(set)->ToString()))
            return false;
    }
    const std::vector<VxEditLangTagTable::Entry> entries = config.GetTagTable().Entries();
    int count = 0;
    for (const auto& entry : entries)
        count += entry.tag ? 1 : 0;
    if (!file.WriteInt(keys::kParser, keys::kNumTags, count))
        return false;
    int k = 0;
    for (const auto& entry : entries) {
        if (!entry.tag)
            continue;
        const VxEditLangTag& tag = *entry.tag;
        const std::string section = keys::kTag + std::to_string(++k);
        const std::string groupName = config.GetColorGroupName(tag.ColorGroup);
        if (groupName.empty())
            continue;
        if (!file.WriteString(section, keys::kColorGroup, groupName) ||
            !file.WriteString(section, keys::kBeginTag, tag.BeginTag) ||
            !file.WriteString(section, keys::kEndTag, tag.EndTag) ||
            !file.WriteString(section, keys::kEscapeChar, tag.EscapeChar) ||
            !file.WriteString(section, keys::kMultiLine, Flag(tag.MultiLine)))
            return false;
    }
    return true;
}

bool VxEditIniConfigWriter::WriteFont(VxEditIniFile& file, const VxEditLangConfig& config)
{
    return file.WriteString(keys::kFont, keys::kFaceName, config.GetFaceName()) &&
           file.WriteInt(keys::kFont, keys::kSize, config.GetSize()) &&
           file.WriteInt(keys::kFont, keys::kItalic, config.GetItalic()) &&
           file.WriteInt(keys::kFont, keys::kBold, config.GetBold());
}

bool VxEditIniConfigWriter::WriteKeywords(VxEditIniFile& file, const VxEditLangConfig& config)
{
    for (const auto& [keyword, group] : config.GetKeywordTable().Entries()) {
        const std::string groupName = config.GetColorGroupName(group);
        if (!groupName.empty() && !file.WriteString(keys::kKeywords, keyword, groupName))
            return false;
    }
    return true;
}

bool VxEditIniConfigWriter::WriteEditor(VxEditIniFile& file, const VxEditLangConfig& config)
{
    return file.WriteInt(keys::kEditor, keys::kTabSize, config.GetTabSize()) &&
           file.WriteString(keys::kEditor, keys::kAutoIndent, Flag(config.GetAutoIndent())) &&
           file.WriteString(keys::kEditor, keys::kShowWhitespace, Flag(config.GetShowWhitespace())) &&
           file.WriteString(keys::kEditor, keys::kVirtualWhitespace, Flag(config.GetVirtualWhitespace())) &&
           file.WriteString(keys::kEditor, keys::kReplaceTabs, Flag(config.GetReplaceTabs())) &&
           file.WriteString(keys::kEditor, keys::kMatchCase, Flag(config.GetMatchCase()));
}
