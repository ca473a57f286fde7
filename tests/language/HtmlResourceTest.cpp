#include "ConfigComparison.h"
#include "language/VxEditResConfigReader.h"
#include "mvc/CArchive.h"
#include "resources/QuilletResources.h"
#include "resources/generator/HtmlLangConfigSource.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <random>

using namespace tarrow::foundation;
using quillet::test::ExpectSameConfig;

namespace {

constexpr int kHtmlResource = 146;
constexpr std::size_t kHtmlSize = 2470;

RefPtr<VxEditLangConfig> NewConfig()
{
    return MakeRef<VxEditLangConfig>("HTML");
}

std::string Stored(const VxEditLangConfig& config)
{
    auto archive = CArchive::ForStoring();
    const_cast<VxEditLangConfig&>(config).Serialize(archive);
    return archive.TakeBytes();
}

std::string BuiltIn()
{
    return std::string(quillet::resources::Find("VXEDITLANGCONFIG", kHtmlResource));
}

std::string Begin(const VxEditLangConfig& config, const std::string& text)
{
    const VxEditLangTag* tag = config.FindTag(text.data(), static_cast<int>(text.size()), 0, 2);
    return tag ? tag->BeginTag : "(none)";
}

}  // namespace

TEST(HtmlResource, ReadsWholeFormWithItsCounts)
{
    const std::string bytes = BuiltIn();
    ASSERT_EQ(bytes.size(), kHtmlSize);
    auto config = NewConfig();
    auto archive = CArchive::ForLoading(bytes);
    ASSERT_TRUE(config->Serialize(archive));
    EXPECT_EQ(archive.Consumed(), kHtmlSize);
    EXPECT_EQ(config->GetColorGroupCount(), 8);
    EXPECT_EQ(config->GetTagTable().KeyCount(), 12u);
    EXPECT_EQ(config->GetTagTable().TagCount(), 3u);
    EXPECT_EQ(config->GetKeywordTable().Count(), 218u);
    EXPECT_EQ(config->GetColorGroupNames().size(), 8u);
    EXPECT_EQ(config->GetName(), "HTML");
}

TEST(HtmlResource, HoldsTheDefinedGroupsOptionsAndSets)
{
    auto config = NewConfig();
    ASSERT_EQ(VxEditResConfigReader::ReadBytes(BuiltIn(), *config), 1);
    const char* displayNames[] = {"Text", "Text Selection", "Number", "Tag Delimiter",
                                  "Comment", "Element", "String", "Attribute Name"};
    const std::uint32_t foregrounds[] = {0, 0xFFFFFF, 0, 0xFF0000, 0x008000, 0xFF0000, 0x808080, 0xFF0000};
    for (int i = 0; i < 8; ++i) {
        const VxEditColorGroup& group = *config->GetColorGroup(i);
        EXPECT_EQ(group.DisplayName, displayNames[i]);
        EXPECT_EQ(group.Foreground, foregrounds[i]);
        EXPECT_EQ(group.Background, i == 1 ? 0u : 0xFFFFFFu);
        EXPECT_EQ(group.ForeColorAutomatic, i < 3 ? 1 : 0);
        EXPECT_EQ(group.BackColorAutomatic, 1);
        EXPECT_EQ(group.Configurable, 1);
    }
    EXPECT_EQ(config->FindColorGroup("Operator"), 3);
    EXPECT_EQ(config->GetSpecialColorGroupIndex(VxEditLangConfig::kOperatorGroup), 3);
    EXPECT_EQ(config->GetMatchCase(), 0);
    EXPECT_EQ(config->GetTabSize(), 4);
    EXPECT_EQ(config->GetFaceName(), "Andale Mono");
    EXPECT_EQ(config->GetSize(), 10);
    EXPECT_EQ(config->GetCharSet(VxEditLangConfig::kKWStartChars)->ToString(), "");
    EXPECT_EQ(config->GetCharSet(VxEditLangConfig::kKWMiddleChars)->ToString(), "!-123");
    EXPECT_EQ(config->GetCharSet(VxEditLangConfig::kKWEndChars)->ToString(), "123");
    EXPECT_EQ(config->GetCharSet(VxEditLangConfig::kDelimiters)->ToString(), "!\"#$%&'()*+,-/:;<=>?@[\\]^`{|}~");
    EXPECT_EQ(config->GetCharSet(VxEditLangConfig::kOperators)->ToString(), "/<>");
}

TEST(HtmlResource, WritesBackTheSameBytesAndReadsBackEqual)
{
    auto config = NewConfig();
    ASSERT_EQ(VxEditResConfigReader::ReadBytes(BuiltIn(), *config), 1);
    const std::string written = Stored(*config);
    EXPECT_EQ(written.size(), kHtmlSize);
    EXPECT_EQ(written, BuiltIn());
    auto again = NewConfig();
    ASSERT_EQ(VxEditResConfigReader::ReadBytes(written, *again), 1);
    ExpectSameConfig(*config, *again);
}

TEST(HtmlResource, CheckedInFormIsWhatTheGeneratorMakes)
{
    auto built = NewConfig();
    BuildHtmlLangConfig(*built);
    EXPECT_EQ(Stored(*built), BuiltIn()) << "rebuild it with the regenerate_html_langconfig target";
}

TEST(HtmlResource, TagsAndKeywordsBehaveAsInTheLanguage)
{
    auto config = NewConfig();
    ASSERT_EQ(VxEditResConfigReader::ReadBytes(BuiltIn(), *config), 1);
    const int element = config->FindColorGroup("Element");
    const int attribute = config->FindColorGroup("Attribute Name");
    int group = -1;
    EXPECT_EQ(config->LookupKeyword("dir", 3, group), 3);
    EXPECT_EQ(group, attribute);
    EXPECT_EQ(config->LookupKeyword("DIR", 3, group), 3);
    EXPECT_EQ(group, element);
    EXPECT_EQ(config->LookupKeyword("Dir", 3, group), 3);
    EXPECT_TRUE(group == attribute || group == element) << group;
    EXPECT_EQ(config->LookupKeyword("body", 4, group), 4);  // MatchCase 0
    EXPECT_EQ(group, element);
    // A keyword with a blank is in the table but no word ever holds a blank.
    EXPECT_EQ(config->GetKeywordTable().Find("BIGGIE FRIES"), element);
    EXPECT_EQ(config->LookupKeyword("BIGGIE", 6, group), 0);

    EXPECT_EQ(Begin(*config, "<!-- x -->"), "<!-");
    EXPECT_EQ(Begin(*config, "<COMMENT>x"), "<COMMENT>");
    EXPECT_EQ(Begin(*config, "<COMMEN"), "(none)");
    EXPECT_EQ(Begin(*config, "<b>"), "(none)");
    EXPECT_EQ(Begin(*config, "\"x\""), "\"");
    std::vector<VxEditLangTag*> multiLine;
    config->ListTags(multiLine, 1);
    EXPECT_EQ(multiLine.size(), 3u);
}

TEST(HtmlResource, ReaderFindsItByIdAndFailsForOtherIds)
{
    auto config = NewConfig();
    auto reader = MakeRef<VxEditResConfigReader>(kHtmlResource);
    EXPECT_EQ(reader->Load(*config), 1);
    EXPECT_EQ(config->GetColorGroupCount(), 8);

    auto missing = MakeRef<VxEditResConfigReader>(147);
    EXPECT_EQ(missing->Load(*config), 0);
    auto reset = MakeRef<VxEditLangConfig>("x");
    reset->SetMatchCase(0);  // not part of the reset
    ExpectSameConfig(*reset, *config);
}

TEST(HtmlResourceDamage, EveryTruncationFailsAndChangesNothing)
{
    const std::string bytes = BuiltIn();
    const std::string reset = Stored(*NewConfig());
    for (std::size_t length = 0; length < bytes.size(); ++length) {
        auto config = NewConfig();
        auto archive = CArchive::ForLoading(std::string_view(bytes).substr(0, length));
        ASSERT_FALSE(config->Serialize(archive)) << length;
        ASSERT_EQ(Stored(*config), reset) << length;
    }
}

TEST(HtmlResourceDamage, HugeCountsAreRefusedWithoutAllocating)
{
    std::string bytes = BuiltIn();
    for (std::size_t at : {std::size_t{0}, std::size_t{0x103}}) {  // group count, tag key count
        std::string damaged = bytes;
        ASSERT_EQ(damaged[at + 1], '\0');
        damaged.replace(at, 4, "\xFF\xFF\xFF\x7F");
        auto config = NewConfig();
        EXPECT_EQ(VxEditResConfigReader::ReadBytes(damaged, *config), 0) << at;
    }
    // A string length beyond the end.
    std::string longName = bytes;
    ASSERT_EQ(longName.substr(0x16, 5), "\x04Text");  // DisplayName of group 0
    longName[0x16] = '\xFF';
    longName.insert(0x17, "\xFF\xFF\xFF\xFF\xFF\x7F");
    auto config = NewConfig();
    EXPECT_EQ(VxEditResConfigReader::ReadBytes(longName, *config), 0);
}

TEST(HtmlResourceDamage, InconsistentFormsAreRefused)
{
    auto build = [](auto change) {
        auto config = NewConfig();
        BuildHtmlLangConfig(*config);
        change(*config);
        return Stored(*config);
    };
    // A keyword naming a group that does not exist.
    std::string badKeyword = build([](VxEditLangConfig& c) { c.SetKeyword("zz", 8); });
    // A tag stored under a key other than its BeginTag.
    std::string badTag = BuiltIn();
    const std::size_t quoteTag = 0x10D;  // BeginTag of the '"' tag
    ASSERT_EQ(badTag.substr(quoteTag, 2), std::string("\x01\"", 2));
    badTag[quoteTag + 1] = '\'';
    // Fewer than the four special groups.
    auto fewGroups = [] {
        auto archive = CArchive::ForStoring();
        archive.WriteU32(1);
        archive.WriteU16(0);
        for (int i = 0; i < 4; ++i)
            archive.WriteU32(0);
        archive.WriteString("Text");
        archive.WriteU32(1);
        archive.WriteU32(0);
        for (int i = 0; i < 6; ++i)
            archive.WriteU32(i == 4 ? 4 : 0);
        archive.WriteString("Courier");
        for (int i = 0; i < 3; ++i)
            archive.WriteU32(0);
        for (int i = 0; i < 5; ++i)
            archive.WriteString("");
        archive.WriteCount(0);
        archive.WriteCount(0);
        return archive.TakeBytes();
    }();
    for (const std::string& bytes : {badKeyword, badTag, fewGroups}) {
        auto config = NewConfig();
        EXPECT_EQ(VxEditResConfigReader::ReadBytes(bytes, *config), 0);
        EXPECT_EQ(config->GetColorGroupCount(), 4);
    }
}

TEST(HtmlResourceDamage, RandomCorruptionEitherReadsCleanlyOrChangesNothing)
{
    const std::string bytes = BuiltIn();
    const std::string reset = Stored(*NewConfig());
    std::mt19937 random(146);
    int refused = 0;
    for (int round = 0; round < 300; ++round) {
        std::string damaged = bytes;
        for (int flips = 1 + random() % 4; flips > 0; --flips)
            damaged[random() % damaged.size()] = static_cast<char>(random());
        auto config = NewConfig();
        auto archive = CArchive::ForLoading(damaged);
        if (config->Serialize(archive)) {
            // What was read stores and reads back to the same configuration.
            auto again = NewConfig();
            ASSERT_EQ(VxEditResConfigReader::ReadBytes(Stored(*config), *again), 1);
            ASSERT_EQ(Stored(*again), Stored(*config));
        } else {
            ++refused;
            ASSERT_EQ(Stored(*config), reset);
        }
    }
    EXPECT_GT(refused, 0);
}
