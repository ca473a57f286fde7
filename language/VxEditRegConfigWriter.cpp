#include "language/VxEditRegConfigWriter.h"

#include "language/VxEditLangConfig.h"
#include "language/VxEditRegKeys.h"
#include "platform/core/Profile.h"

namespace keys = VxEditRegKeys;

VxEditRegConfigWriter::VxEditRegConfigWriter(quillet::platform::Profile& profile, std::string base)
    : profile_(profile), base_(keys::SectionBase(std::move(base)))
{
}

int VxEditRegConfigWriter::Save(const VxEditLangConfig& config)
{
    return WriteEditor(config) && WriteColorGroups(config) && WriteFont(config) ? 1 : 0;
}

bool VxEditRegConfigWriter::WriteEditor(const VxEditLangConfig& config)
{
    const std::string section = base_ + keys::kEditor;
    return profile_.WriteInt(section, keys::kTabSize, config.GetTabSize()) &&
           profile_.WriteInt(section, keys::kAutoIndent, config.GetAutoIndent()) &&
           profile_.WriteInt(section, keys::kShowWhitespace, config.GetShowWhitespace()) &&
           profile_.WriteInt(section, keys::kVirtualWhitespace, config.GetVirtualWhitespace()) &&
           profile_.WriteInt(section, keys::kReplaceTabs, config.GetReplaceTabs()) &&
           profile_.WriteInt(section, keys::kMatchCase, config.GetMatchCase());
}

bool VxEditRegConfigWriter::WriteColorGroups(const VxEditLangConfig& config)
{
    for (const auto& [name, index] : config.GetColorGroupNames()) {
        const VxEditColorGroup* group = config.GetColorGroup(index);
        if (!group)
            continue;
        const std::string section = base_ + keys::kColorGroups + name;
        if (!profile_.WriteInt(section, keys::kBackColorAutomatic, group->BackColorAutomatic) ||
            !profile_.WriteInt(section, keys::kForeColorAutomatic, group->ForeColorAutomatic) ||
            !profile_.WriteInt(section, keys::kBackground, static_cast<int>(group->Background)) ||
            !profile_.WriteInt(section, keys::kForeground, static_cast<int>(group->Foreground)) ||
            !profile_.WriteString(section, keys::kDisplayName, group->DisplayName) ||
            !profile_.WriteInt(section, keys::kConfigurable, group->Configurable))
            return false;
    }
    return true;
}

bool VxEditRegConfigWriter::WriteFont(const VxEditLangConfig& config)
{
    const std::string section = base_ + keys::kFont;
    return profile_.WriteString(section, keys::kFaceName, config.GetFaceName()) &&
           profile_.WriteInt(section, keys::kSize, config.GetSize()) &&
           profile_.WriteInt(section, keys::kBold, config.GetBold()) &&
           profile_.WriteInt(section, keys::kItalic, config.GetItalic());
}
