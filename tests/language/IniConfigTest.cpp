#include "ConfigComparison.h"
#include "language/VxEditIniColor.h"
#include "language/VxEditIniConfigReader.h"
#include "language/VxEditIniConfigWriter.h"
#include "language/VxEditIniFile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

using namespace tarrow::foundation;
using quillet::test::ExpectSameConfig;
using quillet::test::ReadFileBytes;
using quillet::test::TempDir;
using quillet::test::WriteFileBytes;

namespace {

const std::string kJavaIni = std::string(QUILLET_SOURCE_DIR) + "resources/java.ini";

RefPtr<VxEditLangConfig> ReadIni(const std::string& path)
{
    auto config = MakeRef<VxEditLangConfig>("Java");
    EXPECT_EQ(MakeRef<VxEditIniConfigReader>(path)->Load(*config), 1);
    return config;
}

RefPtr<VxEditLangConfig> ReadIniText(const std::string& text)
{
    VxEditIniFile file;
    file.Parse(text);
    auto config = MakeRef<VxEditLangConfig>("Java");
    EXPECT_EQ(VxEditIniConfigReader::ReadFrom(file, *config), 1);
    return config;
}

}  // namespace

TEST(IniColor, RedGreenBlueInAndOut)
{
    EXPECT_EQ(VxEditIniColor::Format(0x00FF8001), "1,128,255");
    EXPECT_EQ(VxEditIniColor::Parse("1,128,255"), 0x00FF8001u);
    EXPECT_EQ(VxEditIniColor::Parse(" 1, 2 ,3"), 0x00030201u);
    EXPECT_EQ(VxEditIniColor::Parse("12,x,5"), 0x0005000Cu);
    EXPECT_EQ(VxEditIniColor::Parse("12"), 0x0000000Cu);
    EXPECT_EQ(VxEditIniColor::Parse("red"), 0u);
    EXPECT_EQ(VxEditIniColor::Parse("300,-1,99999999999999"), 0x00FF00FFu);
    for (std::uint32_t color : {0u, 0xFFFFFFu, 0x123456u})
        EXPECT_EQ(VxEditIniColor::Parse(VxEditIniColor::Format(color)), color);
}

TEST(IniConfigRoundTrip, JavaWrittenAndReadBackIsTheSame)
{
    auto java = ReadIni(kJavaIni);
    java->SetBold(1);  // stored, but written as 0
    java->SetItalic(1);
    TempDir dir;
    const std::string path = dir.File("java.ini");
    EXPECT_EQ(MakeRef<VxEditIniConfigWriter>(path)->Save(*java), 1);
    auto again = ReadIni(path);
    ExpectSameConfig(*java, *again, false);
    EXPECT_EQ(again->GetStoredBold(), 0);
    EXPECT_EQ(again->GetStoredItalic(), 0);
    VxEditIniFile written(path);
    ASSERT_TRUE(written.Load());
    EXPECT_EQ(written.GetString("Font", "Bold", ""), "0");
    EXPECT_EQ(written.GetString("Font", "Italic", ""), "0");

    // Writing the same configuration over its own file changes nothing.
    const std::string first = ReadFileBytes(path);
    EXPECT_EQ(MakeRef<VxEditIniConfigWriter>(path)->Save(*again), 1);
    EXPECT_EQ(ReadFileBytes(path), first);
}

TEST(IniConfigRoundTrip, OverlappingTagsKeepTheirOrder)
{
    auto config = MakeRef<VxEditLangConfig>("Tags");
    VxEditLangTag longer{"<!--", "-->", "", 0, 1};
    VxEditLangTag shorter{"<!", ">", "", 0, 0};
    config->AddTag(longer);
    config->AddTag(shorter);  // both remain: the longer one came first
    TempDir dir;
    const std::string path = dir.File("tags.ini");
    ASSERT_EQ(MakeRef<VxEditIniConfigWriter>(path)->Save(*config), 1);
    auto again = ReadIni(path);
    EXPECT_EQ(again->GetTagTable().TagCount(), 2u);
    ExpectSameConfig(*config, *again);
}

TEST(IniConfigReading, MissingFileGivesTheResetStateWithMatchCase)
{
    TempDir dir;
    auto config = MakeRef<VxEditLangConfig>("Java");
    config->SetMatchCase(0);
    config->SetTabSize(9);
    EXPECT_EQ(MakeRef<VxEditIniConfigReader>(dir.File("absent.ini"))->Load(*config), 1);
    auto reset = MakeRef<VxEditLangConfig>("Java");
    ExpectSameConfig(*reset, *config);
    EXPECT_EQ(config->GetMatchCase(), 1);

    // A file that cannot be read behaves as missing.
    auto fromFolder = ReadIni(dir.Path().string());
    ExpectSameConfig(*reset, *fromFolder);
}

TEST(IniConfigReading, FirstGroupOperatorReplacesGroupThreeAndKeywordIsAppended)
{
    auto config = ReadIniText(
        "[ColorGroups]\nNumGroups=2\nGroup1=Operator\nGroup2=Keyword\n"
        "[Operator]\nDisplayName=Tag Delimiter\nForeground=0,0,255\n"
        "[Keyword]\nForeground=127,0,85\nForeColorAutomatic=1\nBackground=1,2,3\n");
    ASSERT_EQ(config->GetColorGroupCount(), 5);
    const VxEditColorGroup& op = *config->GetColorGroup(3);
    EXPECT_EQ(op.DisplayName, "Tag Delimiter");
    EXPECT_EQ(op.Foreground, 0xFF0000u);
    EXPECT_EQ(op.ForeColorAutomatic, 0);
    EXPECT_EQ(op.Background, 0xFFFFFFu);  // missing: automatic white
    EXPECT_EQ(op.BackColorAutomatic, 1);
    EXPECT_EQ(op.Configurable, 1);
    EXPECT_EQ(config->GetSpecialColorGroupIndex(VxEditLangConfig::kOperatorGroup), 3);

    const VxEditColorGroup& keyword = *config->GetColorGroup(4);
    EXPECT_EQ(config->GetColorGroupName(4), "Keyword");
    EXPECT_EQ(keyword.DisplayName, "Keyword");  // the name when missing
    EXPECT_EQ(keyword.Foreground, 0x55007Fu);
    EXPECT_EQ(keyword.ForeColorAutomatic, 1);
    EXPECT_EQ(keyword.Background, 0x030201u);
    EXPECT_EQ(keyword.BackColorAutomatic, 0);
}

TEST(IniConfigReading, AutomaticFlagsAreReadOnlyWithTheirColour)
{
    auto config = ReadIniText(
        "[ColorGroups]\nNumGroups=1\nGroup1=Quiet\n"
        "[Quiet]\nForeColorAutomatic=0\nBackColorAutomatic=0\nConfigurable=0\n");
    const VxEditColorGroup& quiet = *config->GetColorGroup(4);
    EXPECT_EQ(quiet.Foreground, 0u);
    EXPECT_EQ(quiet.ForeColorAutomatic, 1);
    EXPECT_EQ(quiet.BackColorAutomatic, 1);
    EXPECT_EQ(quiet.Configurable, 0);
}

TEST(IniConfigReading, GroupListSkipsGapsAndHugeCountsCostNothing)
{
    auto config = ReadIniText(
        "[ColorGroups]\nNumGroups=2000000000\nGroup1=\nGroup3=Third\nGroup03=Padded\nGroup2000000001=Beyond\n");
    EXPECT_EQ(config->GetColorGroupCount(), 5);
    EXPECT_EQ(config->GetColorGroupName(4), "Third");
    EXPECT_EQ(config->FindColorGroup("Padded"), -1);
    EXPECT_EQ(config->FindColorGroup("Beyond"), -1);
}

TEST(IniConfigReading, UnknownGroupNamesGiveTextForTagsAndDropKeywords)
{
    auto config = ReadIniText(
        "[ColorGroups]\nNumGroups=1\nGroup1=Keyword\n"
        "[Parser]\nNumTags=3\nOperators=+-\nDelimiters=\n"
        "[Tag1]\nColorGroup=Nowhere\nBeginTag=//\nMultiLine=0\n"
        "[Tag2]\nColorGroup=Keyword\nBeginTag=\"\nEndTag=\"\nEscapeChar=\\\n"
        "[Tag3]\nColorGroup=Keyword\n"
        "[Keywords]\nclass=Keyword\n  int =  Keyword  \nghost=Nowhere\nnoequals\n=Keyword\nempty=\n");
    const VxEditLangTag* comment = config->FindTag("//", 2, 0, 2);
    ASSERT_NE(comment, nullptr);
    EXPECT_EQ(comment->ColorGroup, 0);
    EXPECT_EQ(comment->EndTag, "");
    const VxEditLangTag* string = config->FindTag("\"", 1, 0, 0);
    ASSERT_NE(string, nullptr);
    EXPECT_EQ(string->ColorGroup, 4);
    EXPECT_EQ(string->EscapeChar, "\\");
    EXPECT_EQ(config->GetTagTable().TagCount(), 2u);  // Tag3 has no BeginTag

    EXPECT_EQ(config->GetKeywordTable().Entries(),
              (std::vector<std::pair<std::string, int>>{{"class", 4}, {"int", 4}}));
    EXPECT_EQ(config->IsInCharSet('+', VxEditLangConfig::kOperators), 1);
}

TEST(IniConfigReading, FontAndEditorDefaultsAndLimits)
{
    auto config = ReadIniText("[Font]\nFaceName=ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789\n[Editor]\nTabSize=0\n");
    EXPECT_EQ(config->GetFaceName(), "ABCDEFGHIJKLMNOPQRSTUVWXYZ01234");
    EXPECT_EQ(config->GetSize(), 10);
    EXPECT_EQ(config->GetTabSize(), 1);
    EXPECT_EQ(config->GetMatchCase(), 1);
    EXPECT_EQ(config->GetAutoIndent(), 0);
}

TEST(IniConfigWriting, KeepsForeignLinesAndKeysNoLongerInTheConfiguration)
{
    TempDir dir;
    const std::string path = dir.File("java.ini");
    WriteFileBytes(path, "; my notes\n[Keywords]\nobsolete=Keyword\n[Mine]\nx=1\n");
    auto config = ReadIni(kJavaIni);
    ASSERT_EQ(MakeRef<VxEditIniConfigWriter>(path)->Save(*config), 1);
    VxEditIniFile file(path);
    ASSERT_TRUE(file.Load());
    EXPECT_EQ(file.GetString("Keywords", "obsolete", ""), "Keyword");
    EXPECT_EQ(file.GetString("Mine", "x", ""), "1");
    EXPECT_EQ(file.GetString("Keywords", "class", ""), "Keyword");
    EXPECT_EQ(ReadFileBytes(path).rfind("; my notes\n[Keywords]\nobsolete=Keyword\n@Deprecated=Annotation\n", 0), 0u);
}

TEST(IniConfigWriting, AFailedWriteChangesNothing)
{
    TempDir dir;
    const std::string path = dir.File("java.ini");
    const std::string original = "[Editor]\nTabSize=8\n";
    WriteFileBytes(path, original);
    auto config = ReadIni(kJavaIni);
    config->SetKeyword("two\nlines", 4);  // cannot be written as a key
    EXPECT_EQ(MakeRef<VxEditIniConfigWriter>(path)->Save(*config), 0);
    EXPECT_EQ(ReadFileBytes(path), original);

    // A path that cannot be read is never overwritten.
    EXPECT_EQ(MakeRef<VxEditIniConfigWriter>(dir.Path().string())->Save(*ReadIni(kJavaIni)), 0);
    EXPECT_TRUE(std::filesystem::is_directory(dir.Path()));
}

TEST(IniConfigWriting, GroupsWithoutNamesAndTheirTagsAreSkipped)
{
    auto config = MakeRef<VxEditLangConfig>("x");
    config->AddTag(VxEditLangTag{"#", "", "", 42, 0});  // no group 42
    config->AddTag(VxEditLangTag{"'", "'", "", 0, 0});
    VxEditIniFile file;
    ASSERT_TRUE(VxEditIniConfigWriter::WriteTo(file, *config));
    EXPECT_EQ(file.GetInt("ColorGroups", "NumGroups", 0), 4);
    EXPECT_EQ(file.GetInt("Parser", "NumTags", 0), 2);
    EXPECT_FALSE(file.Has("Tag1", "BeginTag"));
    EXPECT_EQ(file.GetString("Tag2", "BeginTag", ""), "'");
    EXPECT_EQ(file.GetString("Tag2", "ColorGroup", ""), "Text");
}
