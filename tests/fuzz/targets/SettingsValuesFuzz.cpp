#include "FuzzCheck.h"
#include "FuzzSupport.h"
#include "FuzzTargets.h"
#include "language/VxEditIniConfigReader.h"
#include "language/VxEditIniFile.h"
#include "language/VxEditLangConfig.h"
#include "language/VxEditRegConfigReader.h"
#include "language/VxEditRegConfigWriter.h"
#include "platform/core/MemoryProfile.h"

#include <algorithm>
#include <string>
#include <string_view>

using quillet::platform::MemoryProfile;
using tarrow::foundation::MakeRef;
using tarrow::foundation::RefPtr;

namespace {

// The Java configuration as shipped, before the user's settings. The
// keywords, which settings do not touch, are left out to keep runs fast.
RefPtr<VxEditLangConfig> Shipped()
{
    static const VxEditIniFile file = [] {
        std::string text = ReadBytes(QUILLET_JAVA_INI);
        text.resize(std::min(text.size(), text.find("[Keywords]")));
        VxEditIniFile parsed;
        parsed.Parse(text);
        return parsed;
    }();
    auto config = MakeRef<VxEditLangConfig>("Java");
    QUILLET_FUZZ_CHECK(VxEditIniConfigReader::ReadFrom(file, *config) == 1);
    return config;
}

// The shipped configuration with the settings of the profile over it.
RefPtr<VxEditLangConfig> ReadBack(MemoryProfile& profile)
{
    auto config = Shipped();
    QUILLET_FUZZ_CHECK(MakeRef<VxEditRegConfigReader>(profile, "Java")->Load(*config) == 1);
    return config;
}

void CheckSame(const VxEditLangConfig& a, const VxEditLangConfig& b)
{
    QUILLET_FUZZ_CHECK(a.GetTabSize() == b.GetTabSize());
    QUILLET_FUZZ_CHECK(a.GetAutoIndent() == b.GetAutoIndent());
    QUILLET_FUZZ_CHECK(a.GetShowWhitespace() == b.GetShowWhitespace());
    QUILLET_FUZZ_CHECK(a.GetVirtualWhitespace() == b.GetVirtualWhitespace());
    QUILLET_FUZZ_CHECK(a.GetReplaceTabs() == b.GetReplaceTabs());
    QUILLET_FUZZ_CHECK(a.GetMatchCase() == b.GetMatchCase());
    QUILLET_FUZZ_CHECK(a.GetFaceName() == b.GetFaceName());
    QUILLET_FUZZ_CHECK(a.GetSize() == b.GetSize());
    // Text is drawn plain whatever the store says, and written so.
    QUILLET_FUZZ_CHECK(a.GetBold() == b.GetBold() && a.GetItalic() == b.GetItalic());
    QUILLET_FUZZ_CHECK(a.GetColorGroupCount() == b.GetColorGroupCount());
    for (int index = 0; index < a.GetColorGroupCount(); ++index) {
        const VxEditColorGroup* ga = a.GetColorGroup(index);
        const VxEditColorGroup* gb = b.GetColorGroup(index);
        QUILLET_FUZZ_CHECK((ga == nullptr) == (gb == nullptr));
        QUILLET_FUZZ_CHECK(ga == nullptr || *ga == *gb);
    }
}

}  // namespace

// Each line is a section, a value name and a value, separated by tabs, as
// a hand-edited or damaged settings store may hold them. The Java
// configuration read over them stays usable, and written to a new store it
// reads back the same.
int FuzzSettingsValues(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    MemoryProfile profile;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        const std::size_t tab = line.find('\t');
        const std::size_t second = tab == std::string_view::npos ? tab : line.find('\t', tab + 1);
        if (second == std::string_view::npos)
            continue;
        QUILLET_FUZZ_CHECK(profile.WriteString(line.substr(0, tab), line.substr(tab + 1, second - tab - 1),
                                               line.substr(second + 1)));
    }

    auto config = ReadBack(profile);
    const auto shipped = Shipped();
    QUILLET_FUZZ_CHECK(config->GetTabSize() >= 1 && config->GetTabSize() <= VxEditLangConfig::kMaxTabSize);
    QUILLET_FUZZ_CHECK(config->GetColorGroupCount() == shipped->GetColorGroupCount());
    for (int kind = 0; kind < 4; ++kind)
        QUILLET_FUZZ_CHECK(config->GetSpecialColorGroup(kind) != nullptr);

    MemoryProfile written;
    QUILLET_FUZZ_CHECK(MakeRef<VxEditRegConfigWriter>(written, "Java")->Save(*config) == 1);
    CheckSame(*config, *ReadBack(written));
    // Written over the same store, too.
    QUILLET_FUZZ_CHECK(MakeRef<VxEditRegConfigWriter>(profile, "Java")->Save(*config) == 1);
    CheckSame(*config, *ReadBack(profile));
    return 0;
}
