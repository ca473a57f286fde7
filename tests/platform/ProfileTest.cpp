#include "platform/core/MemoryProfile.h"

#include <gtest/gtest.h>

using quillet::platform::MemoryProfile;

TEST(MemoryProfile, MissingValuesGiveTheFallback)
{
    MemoryProfile profile;
    EXPECT_FALSE(profile.Has("Tools", "CompilerArgs"));
    EXPECT_EQ(profile.GetInt("Tools", "CompileAutoSave", 1), 1);
    EXPECT_EQ(profile.GetString("Tools", "Java Compiler", "<NONE>"), "<NONE>");
}

TEST(MemoryProfile, NamesCompareWithoutRegardToCaseAndValuesRoundTrip)
{
    MemoryProfile profile;
    ASSERT_TRUE(profile.WriteInt("Java Files", "Associate", 1));
    ASSERT_TRUE(profile.WriteString("HTML\\Editor", "FaceName", "Courier New"));
    EXPECT_EQ(profile.GetInt("JAVA FILES", "associate", 3), 1);
    EXPECT_EQ(profile.GetString("html\\editor", "facename", ""), "Courier New");
    EXPECT_EQ(profile.ValueCount(), 2u);
}

TEST(MemoryProfile, TextThatIsNoNumberGivesTheFallbackAndReadOnlyRefusesWrites)
{
    MemoryProfile profile;
    profile.WriteString("Settings", "WorkbookMode", "yes");
    EXPECT_EQ(profile.GetInt("Settings", "WorkbookMode", 1), 1);
    profile.SetReadOnly(true);
    EXPECT_FALSE(profile.WriteInt("Settings", "WorkbookMode", 0));
    EXPECT_EQ(profile.GetString("Settings", "WorkbookMode", ""), "yes");
}
