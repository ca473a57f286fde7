#include "language/VxEditRegConfigReader.h"

#include "language/VxEditLangConfig.h"
#include "language/VxEditRegKeys.h"
#include "platform/core/Profile.h"

namespace keys = VxEditRegKeys;

VxEditRegConfigReader::VxEditRegConfigReader(quillet::platform::Profile& profile, std::string base)
    : VxEditLangConfigReader(false), profile_(profile), base_(keys::SectionBase(std::move(base)))
{
}

int VxEditRegConfigReader::Read(VxEditLangConfig& config)
{
    return ReadEditor(config) && ReadColorGroups(config) && ReadFont(config) ? 1 : 0;
}

bool VxEditRegConfigReader::ReadEditor(VxEditLangConfig& config) const
{
    const std::string section = base_ + keys::kEditor;
    config.SetTabSize(profile_.GetInt(section, keys::kTabSize, config.GetTabSize()));
    config.SetAutoIndent(profile_.GetInt(section, keys::kAutoIndent, config.GetAutoIndent()));
    config.SetShowWhitespace(profile_.GetInt(section, keys::kShowWhitespace, config.GetShowWhitespace()));
    config.SetVirtualWhitespace(profile_.GetInt(section, keys::kVirtualWhitespace, config.GetVirtualWhitespace()));
    config.SetReplaceTabs(profile_.GetInt(section, keys::kReplaceTabs, config.GetReplaceTabs()));
    config.SetMatchCase(profile_.GetInt(section, keys::kMatchCase, config.GetMatchCase()));
    return true;
}

bool VxEditRegConfigReader::ReadColorGroups(VxEditLangConfig& config) const
{
    for (const auto& [name, index] : config.GetColorGroupNames()) {
        VxEditColorGroup* current = config.GetColorGroup(index);
        if (!current)
            continue;
        const std::string section = base_ + keys::kColorGroups + name;
        VxEditColorGroup group = *current;
        group.BackColorAutomatic = profile_.GetInt(section, keys::kBackColorAutomatic, group.BackColorAutomatic);
        group.ForeColorAutomatic = profile_.GetInt(section, keys::kForeColorAutomatic, group.ForeColorAutomatic);
        group.Background = static_cast<std::uint32_t>(
            profile_.GetInt(section, keys::kBackground, static_cast<int>(group.Background)));
        group.Foreground = static_cast<std::uint32_t>(
            profile_.GetInt(section, keys::kForeground, static_cast<int>(group.Foreground)));
        group.DisplayName = profile_.GetString(section, keys::kDisplayName, group.DisplayName);
        group.Configurable = profile_.GetInt(section, keys::kConfigurable, group.Configurable);
        *current = group;
    }
    return true;
}

bool VxEditRegConfigReader::ReadFont(VxEditLangConfig& config) const
{
    const std::string section = base_ + keys::kFont;
    config.SetFaceName(profile_.GetString(section, keys::kFaceName, config.GetFaceName()));
    config.SetSize(profile_.GetInt(section, keys::kSize, config.GetSize()));
    config.SetBold(profile_.GetInt(section, keys::kBold, config.GetBold()));
    config.SetItalic(profile_.GetInt(section, keys::kItalic, config.GetItalic()));
    return true;
}
