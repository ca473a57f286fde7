#include "language/VxEditCharSet.h"

#include <gtest/gtest.h>

#include <random>
#include <set>

TEST(CharSet, BytesAndMultiByteCharactersAreTheirCodes)
{
    VxEditCharSet set;
    set.AddAll("ba\xC3\xA9\xE2\x82\xAC");  // b a é €
    EXPECT_TRUE(set.Test('a'));
    EXPECT_TRUE(set.Test('b'));
    EXPECT_TRUE(set.Test(0xE9));
    EXPECT_TRUE(set.Test(0x20AC));
    EXPECT_FALSE(set.Test(0xC3));
    EXPECT_EQ(set.Count(), 4u);
    EXPECT_EQ(set.ToString(), "ab\xC3\xA9\xE2\x82\xAC");
}

TEST(CharSet, BytesThatStartNoValidSequenceStandAlone)
{
    VxEditCharSet set;
    set.AddAll("\xE9x\xC3");         // a Latin-1 byte, then a lead byte at the end
    set.AddAll("\xC0\x80\xED\xA0\x80");  // an overlong NUL and a surrogate
    for (unsigned code : {0xE9u, 'x' + 0u, 0xC3u, 0xC0u, 0x80u, 0xEDu, 0xA0u})
        EXPECT_TRUE(set.Test(code)) << code;
    EXPECT_EQ(set.Count(), 7u);
    EXPECT_FALSE(set.Test(0));
    // Members from 0x80 up are written as UTF-8 and so read back the same.
    VxEditCharSet again;
    again.AddAll(set.ToString());
    EXPECT_EQ(again, set);
}

TEST(CharSet, AddAllStopsAtCodeZero)
{
    VxEditCharSet set;
    set.AddAll(std::string_view("ab\0cd", 5));
    EXPECT_EQ(set.ToString(), "ab");
}

TEST(CharSet, SetTestAndClearCoverEveryCode)
{
    VxEditCharSet set;
    set.Set(0xFFFF, true);
    set.Set(0, true);
    set.Set(0x10000, true);  // out of range: ignored
    EXPECT_TRUE(set.Test(0xFFFF));
    EXPECT_TRUE(set.Test(0));
    EXPECT_FALSE(set.Test(0x10000));
    EXPECT_EQ(set.Count(), 2u);
    set.Set(0, false);
    EXPECT_FALSE(set.Test(0));
    set.Clear();
    EXPECT_TRUE(set.Empty());
}

TEST(CharSet, RandomMembersSurviveTheStringForm)
{
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        VxEditCharSet set;
        std::set<unsigned> model;
        for (int i = 0; i < 200; ++i) {
            unsigned code = 1 + random() % 0xFFFF;
            if (code >= 0xD800 && code <= 0xDFFF)
                continue;  // surrogates are not characters
            set.Set(code, true);
            model.insert(code);
        }
        VxEditCharSet again;
        again.AddAll(set.ToString());
        std::set<unsigned> members;
        for (unsigned code = 0; code < VxEditCharSet::kCodeCount; ++code) {
            if (again.Test(code))
                members.insert(code);
        }
        EXPECT_EQ(members, model);
    }
}
