#pragma once

#include "language/VxEditLangConfig.h"

#include <gtest/gtest.h>

namespace quillet::test {

// Compares everything a configuration holds but its name. The font flags
// compare as stored when compareStoredFontFlags is set.
inline void ExpectSameConfig(const VxEditLangConfig& expected, const VxEditLangConfig& actual,
                             bool compareStoredFontFlags = true)
{
    EXPECT_EQ(expected.GetTabSize(), actual.GetTabSize());
    EXPECT_EQ(expected.GetAutoIndent(), actual.GetAutoIndent());
    EXPECT_EQ(expected.GetMatchCase(), actual.GetMatchCase());
    EXPECT_EQ(expected.GetReplaceTabs(), actual.GetReplaceTabs());
    EXPECT_EQ(expected.GetShowWhitespace(), actual.GetShowWhitespace());
    EXPECT_EQ(expected.GetVirtualWhitespace(), actual.GetVirtualWhitespace());
    EXPECT_EQ(expected.GetFaceName(), actual.GetFaceName());
    EXPECT_EQ(expected.GetSize(), actual.GetSize());
    if (compareStoredFontFlags) {
        EXPECT_EQ(expected.GetStoredBold(), actual.GetStoredBold());
        EXPECT_EQ(expected.GetStoredItalic(), actual.GetStoredItalic());
    }

    ASSERT_EQ(expected.GetColorGroupCount(), actual.GetColorGroupCount());
    for (int i = 0; i < expected.GetColorGroupCount(); ++i)
        EXPECT_EQ(*expected.GetColorGroup(i), *actual.GetColorGroup(i)) << "group " << i;
    EXPECT_EQ(expected.GetColorGroupNames(), actual.GetColorGroupNames());
    for (int kind = 0; kind < 4; ++kind)
        EXPECT_EQ(expected.GetSpecialColorGroupIndex(kind), actual.GetSpecialColorGroupIndex(kind));

    for (int set = 0; set < VxEditLangConfig::kSetCount; ++set)
        EXPECT_EQ(expected.GetCharSet(set)->ToString(), actual.GetCharSet(set)->ToString()) << "set " << set;

    const auto expectedKeys = expected.GetTagTable().Entries();
    const auto actualKeys = actual.GetTagTable().Entries();
    ASSERT_EQ(expectedKeys.size(), actualKeys.size());
    for (std::size_t i = 0; i < expectedKeys.size(); ++i) {
        EXPECT_EQ(expectedKeys[i].key, actualKeys[i].key);
        ASSERT_EQ(expectedKeys[i].tag == nullptr, actualKeys[i].tag == nullptr) << expectedKeys[i].key;
        if (expectedKeys[i].tag) {
            EXPECT_EQ(*expectedKeys[i].tag, *actualKeys[i].tag) << expectedKeys[i].key;
        }
    }
    EXPECT_EQ(expected.GetKeywordTable().Entries(), actual.GetKeywordTable().Entries());
    EXPECT_EQ(expected.GetKeywordTable().LowerCaseCount(), actual.GetKeywordTable().LowerCaseCount());
}

}  // namespace quillet::test
