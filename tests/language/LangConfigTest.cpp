#include "language/VxEditLangConfig.h"
#include "mvc/IObserver.h"
#include "mvc/VxEditMsg.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

using namespace tarrow::foundation;

namespace {

using Config = RefPtr<VxEditLangConfig>;

Config NewConfig(const char* name = "Test")
{
    return MakeRef<VxEditLangConfig>(name);
}

VxEditLangTag Tag(const std::string& begin, const std::string& end, int group, int multiLine)
{
    VxEditLangTag tag;
    tag.BeginTag = begin;
    tag.EndTag = end;
    tag.ColorGroup = group;
    tag.MultiLine = multiLine;
    return tag;
}

VxEditColorGroup Colored(const char* displayName, std::uint32_t foreground)
{
    VxEditColorGroup group;
    group.Foreground = foreground;
    group.DisplayName = displayName;
    return group;
}

struct Recorder : IObserver {
    std::vector<int> seen;
    void Update(ISubject*, IMessage* message) override { seen.push_back(message ? message->GetId() : 0); }
};

std::string FoundBegin(const VxEditLangConfig& config, const std::string& text, int tokenLength, int kind)
{
    const VxEditLangTag* tag =
        config.FindTag(text.data(), static_cast<int>(text.size()), tokenLength, kind);
    return tag ? tag->BeginTag : "(none)";
}

}  // namespace

TEST(LangConfigDefaults, ResetGivesFourAutomaticGroupsAndSingleByteFont)
{
    Config config = NewConfig("Default");
    EXPECT_EQ(config->RefCount(), 1);
    EXPECT_EQ(config->GetName(), "Default");
    EXPECT_EQ(std::string(config->GetRuntimeClassName()), "VxEditLangConfig");
    EXPECT_EQ(config->GetFaceName(), "Courier");
    EXPECT_EQ(config->GetSize(), 10);
    EXPECT_EQ(config->GetTabSize(), 4);
    EXPECT_EQ(config->GetMatchCase(), 1);
    EXPECT_EQ(config->GetAutoIndent(), 0);
    EXPECT_EQ(config->GetShowWhitespace(), 0);
    EXPECT_EQ(config->GetVirtualWhitespace(), 0);
    EXPECT_EQ(config->GetReplaceTabs(), 0);

    ASSERT_EQ(config->GetColorGroupCount(), 4);
    const char* names[] = {"Text", "Text Selection", "Number", "Operator"};
    const std::uint32_t foregrounds[] = {0x000000, 0xFFFFFF, 0x000000, 0x000000};
    const int configurable[] = {1, 1, 0, 0};
    for (int i = 0; i < 4; ++i) {
        const VxEditColorGroup* group = config->GetColorGroup(i);
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(group->DisplayName, names[i]);
        EXPECT_EQ(group->Foreground, foregrounds[i]);
        EXPECT_EQ(group->Background, foregrounds[i] ^ 0xFFFFFF);
        EXPECT_EQ(group->ForeColorAutomatic, 1);
        EXPECT_EQ(group->BackColorAutomatic, 1);
        EXPECT_EQ(group->Configurable, configurable[i]);
        EXPECT_EQ(config->FindColorGroup(names[i]), i);
        EXPECT_EQ(config->GetSpecialColorGroupIndex(i), i);
        EXPECT_EQ(config->GetSpecialColorGroup(i), group);
    }
    EXPECT_EQ(config->GetColorGroup(4), nullptr);
    EXPECT_EQ(config->GetColorGroup(-1), nullptr);
    EXPECT_EQ(config->GetSpecialColorGroup(4), nullptr);
}

TEST(LangConfigDefaults, FontFlagsAreStoredButReportedAsZero)
{
    Config config = NewConfig();
    config->SetBold(1);
    config->SetItalic(1);
    EXPECT_EQ(config->GetBold(), 0);
    EXPECT_EQ(config->GetItalic(), 0);
    EXPECT_EQ(config->GetStoredBold(), 1);
    EXPECT_EQ(config->GetStoredItalic(), 1);
}

TEST(LangConfigDefaults, ClearKeepsOptionsAndResetKeepsMatchCase)
{
    Config config = NewConfig();
    config->SetMatchCase(0);
    config->SetTabSize(8);
    config->SetFaceName("Andale Mono");
    config->SetKeyword("class", config->PutColorGroup("Keyword", Colored("Keyword", 0xFF0000)));
    config->AddTag(Tag("//", "", 0, 0));
    config->SetCharSet("abc", VxEditLangConfig::kOperators, 0);

    config->Clear();
    EXPECT_EQ(config->GetColorGroupCount(), 0);
    EXPECT_EQ(config->GetKeywordTable().Count(), 0u);
    EXPECT_EQ(config->GetTagTable().KeyCount(), 0u);
    EXPECT_EQ(config->IsInCharSet('a', VxEditLangConfig::kOperators), 0);
    EXPECT_EQ(config->GetTabSize(), 8);
    EXPECT_EQ(config->GetFaceName(), "Andale Mono");

    config->ResetDefaults();
    EXPECT_EQ(config->GetColorGroupCount(), 4);
    EXPECT_EQ(config->GetTabSize(), 4);
    EXPECT_EQ(config->GetFaceName(), "Courier");
    EXPECT_EQ(config->GetMatchCase(), 0);
}

TEST(LangConfigDefaults, TabSizeStaysUsableForColumnArithmetic)
{
    Config config = NewConfig();
    config->SetTabSize(0);
    EXPECT_EQ(config->GetTabSize(), 1);
    config->SetTabSize(-7);
    EXPECT_EQ(config->GetTabSize(), 1);
    config->SetTabSize(1 << 30);
    EXPECT_EQ(config->GetTabSize(), VxEditLangConfig::kMaxTabSize);
    config->SetTabSize(3);
    EXPECT_EQ(config->GetTabSize(), 3);
}

TEST(LangConfigGroups, GroupOfAKnownNameIsReplacedInPlaceAndNewNamesAreAppended)
{
    Config config = NewConfig();
    EXPECT_EQ(config->PutColorGroup("Operator", Colored("Tag Delimiter", 0xFF0000)), 3);
    EXPECT_EQ(config->GetColorGroupCount(), 4);
    EXPECT_EQ(config->GetColorGroup(3)->DisplayName, "Tag Delimiter");
    EXPECT_EQ(config->GetSpecialColorGroupIndex(VxEditLangConfig::kOperatorGroup), 3);
    EXPECT_EQ(config->GetColorGroupName(3), "Operator");

    EXPECT_EQ(config->PutColorGroup("Keyword", Colored("Keyword", 0x800000)), 4);
    EXPECT_EQ(config->GetColorGroupCount(), 5);
    EXPECT_EQ(config->GetColorGroupName(4), "Keyword");
    EXPECT_EQ(config->GetColorGroupName(9), "");
}

TEST(LangConfigObservers, SetCharSetTellsEveryObserverToRedoColouring)
{
    Config config = NewConfig();
    Recorder first, second;
    config->Attach(&first);
    config->Attach(&second);
    config->SetCharSet("+-", VxEditLangConfig::kOperators, 0);
    EXPECT_EQ(first.seen, std::vector<int>{kMsgInvalidateColouring});
    EXPECT_EQ(second.seen, std::vector<int>{kMsgInvalidateColouring});

    RefPtr<VxEditMsg> message = MakeRef<VxEditMsg>(kMsgFontUpdate);
    config->Notify(&first, message.Get());
    EXPECT_EQ(first.seen.size(), 1u);
    EXPECT_EQ(second.seen.back(), kMsgFontUpdate);
    EXPECT_EQ(message->RefCount(), 1);
    config->Detach(&first);
    config->Detach(&second);
}

TEST(LangConfigCharSets, SetsAreAddressedByNumberAndClearedOnRequest)
{
    Config config = NewConfig();
    config->SetCharSet("ab", VxEditLangConfig::kKWStartChars, 0);
    config->SetCharSet("c", VxEditLangConfig::kKWStartChars, 0);
    EXPECT_EQ(config->GetCharSet(VxEditLangConfig::kKWStartChars)->ToString(), "abc");
    config->SetCharSet("z", VxEditLangConfig::kKWStartChars, 1);
    EXPECT_EQ(config->GetCharSet(VxEditLangConfig::kKWStartChars)->ToString(), "z");
    for (int set = 0; set < 5; ++set) {
        config->SetCharSet(std::string(1, static_cast<char>('0' + set)), set, 1);
        for (int other = 0; other < 5; ++other)
            EXPECT_EQ(config->IsInCharSet('0' + set, other), other == set ? 1 : 0) << set << " " << other;
    }
    EXPECT_EQ(config->IsInCharSet('0', 5), 0);
    EXPECT_EQ(config->IsInCharSet('0', -1), 0);
    config->SetCharSet("x", 7, 0);  // no such set: nothing happens
    EXPECT_EQ(config->GetCharSet(7), nullptr);
}

TEST(LangConfigKeywords, ExactThenLowerCaseThenNumber)
{
    Config config = NewConfig();
    const int element = config->PutColorGroup("Element", Colored("Element", 1));
    const int attribute = config->PutColorGroup("Attribute Name", Colored("Attribute Name", 2));
    config->SetKeyword("DIR", element);
    config->SetKeyword("dir", attribute);
    config->SetKeyword("BIGGIE FRIES", element);

    int group = -1;
    EXPECT_EQ(config->LookupKeyword("dir", 3, group), 3);
    EXPECT_EQ(group, attribute);
    EXPECT_EQ(config->LookupKeyword("DIR", 3, group), 3);
    EXPECT_EQ(group, element);
    EXPECT_EQ(config->LookupKeyword("Dir", 3, group), 0);  // MatchCase 1

    config->SetMatchCase(0);
    group = -1;
    EXPECT_EQ(config->LookupKeyword("Dir", 3, group), 3);
    // The lower-case index keeps the keyword that comes last in byte order.
    EXPECT_EQ(group, attribute);
    EXPECT_EQ(config->LookupKeyword("biggie fries", 12, group), 12);
    EXPECT_EQ(group, element);

    EXPECT_EQ(config->LookupKeyword("dirx", 3, group), 3);  // only the given length counts
    EXPECT_EQ(config->LookupKeyword("9abc", 4, group), 4);
    EXPECT_EQ(group, config->GetSpecialColorGroupIndex(VxEditLangConfig::kNumberGroup));
    EXPECT_EQ(config->LookupKeyword("0x1F", 4, group), 4);
    group = -5;
    EXPECT_EQ(config->LookupKeyword("abc", 3, group), 0);
    EXPECT_EQ(config->LookupKeyword("dir", 0, group), 0);
    EXPECT_EQ(config->LookupKeyword(nullptr, 3, group), 0);
    EXPECT_EQ(group, -5);
}

TEST(LangConfigKeywords, RandomKeywordsMatchAPlainModel)
{
    std::mt19937 random(20240611);
    Config config = NewConfig();
    config->SetMatchCase(0);
    std::map<std::string, int> model;
    const std::string letters = "aAbBcC";
    for (int i = 0; i < 400; ++i) {
        std::string word(1 + random() % 3, 'a');
        for (char& c : word)
            c = letters[random() % letters.size()];
        const int group = static_cast<int>(random() % 4);
        config->SetKeyword(word, group);
        model[word] = group;
    }
    // Reference: exact, else the last keyword in byte order with that lower-case form.
    std::map<std::string, std::string> lower;
    for (const auto& [word, group] : model)
        lower[VxEditKeywordTable::LowerCase(word)] = word;
    int checked = 0;
    for (int n = 0; n < 300; ++n) {
        std::string word(1 + random() % 3, 'a');
        for (char& c : word)
            c = letters[random() % letters.size()];
        int expected = -1;
        if (auto it = model.find(word); it != model.end())
            expected = it->second;
        else if (auto low = lower.find(VxEditKeywordTable::LowerCase(word)); low != lower.end())
            expected = model[low->second];
        int group = -1;
        const int length = config->LookupKeyword(word.data(), static_cast<int>(word.size()), group);
        EXPECT_EQ(length, expected < 0 ? 0 : static_cast<int>(word.size())) << word;
        if (expected >= 0) {
            EXPECT_EQ(group, expected) << word;
            ++checked;
        }
    }
    EXPECT_GT(checked, 100);
    EXPECT_EQ(config->GetKeywordTable().Count(), model.size());
}

TEST(LangConfigTags, LeadingPartsArePlaceholdersAndTheLastTagWins)
{
    Config config = NewConfig();
    config->AddTag(Tag("<!--", "-->", 0, 1));
    config->AddTag(Tag("<!", ">", 1, 0));
    // Keys: "<", "<!" (tag), "<!-", "<!--" (tag).
    EXPECT_EQ(config->GetTagTable().KeyCount(), 4u);
    EXPECT_EQ(config->GetTagTable().TagCount(), 2u);
    // The walk stops at the first key that holds a tag.
    EXPECT_EQ(FoundBegin(*config, "<!--x", 0, 2), "<!");

    Config reversed = NewConfig();
    reversed->AddTag(Tag("<!", ">", 1, 0));
    reversed->AddTag(Tag("<!--", "-->", 0, 1));  // makes "<!" a placeholder again
    EXPECT_EQ(reversed->GetTagTable().TagCount(), 1u);
    EXPECT_EQ(FoundBegin(*reversed, "<!--x", 0, 2), "<!--");
    EXPECT_EQ(FoundBegin(*reversed, "<!x", 0, 2), "(none)");

    Config same = NewConfig();
    same->AddTag(Tag("\"", "\"", 1, 0));
    same->AddTag(Tag("\"", "'", 2, 1));
    ASSERT_EQ(same->GetTagTable().TagCount(), 1u);
    EXPECT_EQ(same->FindTag("\"", 1, 0, 2)->EndTag, "'");
}

TEST(LangConfigTags, FindTagHonoursLengthTokenLengthAndKind)
{
    Config config = NewConfig();
    config->AddTag(Tag("/*", "*/", 5, 1));
    config->AddTag(Tag("//", "", 5, 0));
    config->AddTag(Tag("\"", "\"", 6, 0));

    EXPECT_EQ(FoundBegin(*config, "/* x", 0, 2), "/*");
    EXPECT_EQ(FoundBegin(*config, "/* x", 0, 1), "/*");
    EXPECT_EQ(FoundBegin(*config, "/* x", 0, 0), "(none)");
    EXPECT_EQ(FoundBegin(*config, "// x", 0, 0), "//");
    EXPECT_EQ(FoundBegin(*config, "// x", 0, 3), "(none)");
    EXPECT_EQ(FoundBegin(*config, "// x", 2, 2), "//");
    EXPECT_EQ(FoundBegin(*config, "// x", 1, 2), "(none)");  // token is one byte, BeginTag two
    EXPECT_EQ(FoundBegin(*config, "/x", 0, 2), "(none)");
    EXPECT_EQ(config->FindTag("//", 1, 0, 2), nullptr);  // only one byte may be looked at
    EXPECT_EQ(config->FindTag("//", 0, 0, 2), nullptr);

    std::vector<VxEditLangTag*> list{nullptr};
    config->ListTags(list, 1);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0]->BeginTag, "/*");
    config->ListTags(list, 0);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0]->BeginTag, "//");
    EXPECT_EQ(list[1]->BeginTag, "\"");
    config->ListTags(list, 2);
    EXPECT_EQ(list.size(), 3u);
    config->ListTags(list, 3);
    EXPECT_TRUE(list.empty());
}

TEST(LangConfigTags, MultiByteCharactersAreWalkedWhole)
{
    Config config = NewConfig();
    config->AddTag(Tag("\xC2\xAB", "\xC2\xBB", 0, 0));  // « ... »
    EXPECT_EQ(config->GetTagTable().KeyCount(), 1u);    // no key for half a character
    EXPECT_EQ(FoundBegin(*config, "\xC2\xAB x", 0, 2), "\xC2\xAB");
    EXPECT_EQ(FoundBegin(*config, "\xC2\xAB x", 2, 2), "\xC2\xAB");
}

TEST(LangConfigTags, TagWithoutBeginTagIsIgnored)
{
    Config config = NewConfig();
    config->AddTag(Tag("", "x", 0, 0));
    EXPECT_EQ(config->GetTagTable().KeyCount(), 0u);
}
