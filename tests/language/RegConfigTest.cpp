#include "ConfigComparison.h"
#include "language/VxEditRegConfigReader.h"
#include "language/VxEditRegConfigWriter.h"
#include "language/VxEditResConfigReader.h"
#include "platform/core/MemoryProfile.h"

#include <gtest/gtest.h>

using namespace tarrow::foundation;
using quillet::platform::MemoryProfile;
using quillet::test::ExpectSameConfig;

namespace {

RefPtr<VxEditLangConfig> BuiltInHtml()
{
    auto config = MakeRef<VxEditLangConfig>("HTML");
    EXPECT_EQ(MakeRef<VxEditResConfigReader>(146)->Load(*config), 1);
    return config;
}

}  // namespace

TEST(RegConfigStore, WritesSectionsFormedFromTheBase)
{
    MemoryProfile profile;
    auto config = BuiltInHtml();
    config->SetTabSize(8);
    config->SetBold(1);
    config->GetColorGroup(4)->Foreground = 0x00123456;
    auto writer = MakeRef<VxEditRegConfigWriter>(profile, "HTML");
    EXPECT_EQ(writer->Base(), "HTML\\");
    ASSERT_EQ(writer->Save(*config), 1);

    EXPECT_EQ(profile.GetInt("HTML\\Editor", "TabSize", 0), 8);
    EXPECT_EQ(profile.GetInt("HTML\\Editor", "MatchCase", -1), 0);
    EXPECT_EQ(profile.GetInt("HTML\\Color Groups\\Comment", "Foreground", 0), 0x00123456);
    EXPECT_EQ(profile.GetString("HTML\\Color Groups\\Operator", "DisplayName", ""), "Tag Delimiter");
    EXPECT_EQ(profile.GetInt("HTML\\Color Groups\\Operator", "BackColorAutomatic", -1), 1);
    EXPECT_EQ(profile.GetString("HTML\\Font", "Facename", ""), "Andale Mono");
    EXPECT_EQ(profile.GetInt("HTML\\Font", "Bold", -1), 0);
    EXPECT_EQ(profile.GetInt("HTML\\Font", "Size", 0), 10);
    // 6 editor values, 6 per group, 4 font values.
    EXPECT_EQ(profile.ValueCount(), 6u + 8u * 6u + 4u);

    MemoryProfile slashed;
    ASSERT_EQ(MakeRef<VxEditRegConfigWriter>(slashed, "HTML\\")->Save(*config), 1);
    EXPECT_EQ(slashed.GetInt("HTML\\Editor", "TabSize", 0), 8);
}

TEST(RegConfigStore, ReadsOverridesOverTheBuiltInForm)
{
    MemoryProfile profile;
    profile.WriteInt("HTML\\Editor", "TabSize", 2);
    profile.WriteInt("HTML\\Editor", "ShowWhitespace", 1);
    profile.WriteInt("HTML\\Color Groups\\Element", "Foreground", 0x0000FF);
    profile.WriteString("HTML\\Color Groups\\Element", "DisplayName", "Tag Name");
    profile.WriteInt("HTML\\Color Groups\\Nonexistent", "Foreground", 0x00FF00);
    profile.WriteString("HTML\\Font", "Facename", "DejaVu Sans Mono");
    profile.WriteInt("HTML\\Font", "Size", 12);

    auto config = BuiltInHtml();
    auto reader = MakeRef<VxEditRegConfigReader>(profile, "HTML");
    EXPECT_FALSE(reader->ResetsFirst());
    ASSERT_EQ(reader->Load(*config), 1);

    EXPECT_EQ(config->GetTabSize(), 2);
    EXPECT_EQ(config->GetShowWhitespace(), 1);
    EXPECT_EQ(config->GetMatchCase(), 0);  // missing: the built-in value stays
    const VxEditColorGroup& element = *config->GetColorGroup(5);
    EXPECT_EQ(element.Foreground, 0x0000FFu);
    EXPECT_EQ(element.DisplayName, "Tag Name");
    EXPECT_EQ(element.BackColorAutomatic, 1);
    EXPECT_EQ(config->GetColorGroupCount(), 8);  // an unknown group is ignored
    EXPECT_EQ(config->FindColorGroup("Nonexistent"), -1);
    EXPECT_EQ(config->GetFaceName(), "DejaVu Sans Mono");
    EXPECT_EQ(config->GetSize(), 12);
    EXPECT_EQ(config->GetKeywordTable().Count(), 218u);
}

TEST(RegConfigStore, WrittenValuesReadBackToTheSameConfiguration)
{
    MemoryProfile profile;
    auto changed = BuiltInHtml();
    changed->SetAutoIndent(1);
    changed->SetReplaceTabs(1);
    changed->SetVirtualWhitespace(1);
    changed->SetMatchCase(1);
    changed->SetSize(14);
    changed->GetColorGroup(7)->Background = 0x00EEEEEE;
    changed->GetColorGroup(7)->BackColorAutomatic = 0;
    changed->GetColorGroup(2)->Configurable = 0;
    ASSERT_EQ(MakeRef<VxEditRegConfigWriter>(profile, "HTML\\")->Save(*changed), 1);

    auto again = BuiltInHtml();
    ASSERT_EQ(MakeRef<VxEditRegConfigReader>(profile, "HTML")->Load(*again), 1);
    ExpectSameConfig(*changed, *again);
}

TEST(RegConfigStore, RefusedWritesAreReported)
{
    MemoryProfile profile;
    profile.SetReadOnly(true);
    EXPECT_EQ(MakeRef<VxEditRegConfigWriter>(profile, "HTML")->Save(*BuiltInHtml()), 0);
    EXPECT_EQ(profile.ValueCount(), 0u);
}
