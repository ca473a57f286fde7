#include "language/VxEditIniFile.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <map>
#include <random>

using quillet::test::ReadFileBytes;
using quillet::test::TempDir;
using quillet::test::WriteFileBytes;

namespace {

VxEditIniFile Parsed(std::string_view text)
{
    VxEditIniFile file;
    file.Parse(text);
    return file;
}

}  // namespace

TEST(IniFileReading, NamesIgnoreCaseAndValuesAreTrimmed)
{
    const VxEditIniFile file = Parsed(
        "; a comment\n"
        "[Editor]\n"
        "  TabSize =  8  \n"
        "Name= two words \t\n"
        "Quoted=\"  blanks kept \"\n"
        "Lone=\"\n"
        "[editor]\n"
        "TabSize=3\n"
        "[ Font ]\n"
        "FaceName=Courier\n");
    EXPECT_EQ(file.GetInt("EDITOR", "tabsize", 0), 8);  // the first section of a name counts
    EXPECT_EQ(file.GetString("editor", "name", ""), "two words");
    EXPECT_EQ(file.GetString("Editor", "Quoted", ""), "  blanks kept ");
    EXPECT_EQ(file.GetString("Editor", "Lone", ""), "\"");
    EXPECT_EQ(file.GetString("font", "FACENAME", ""), "Courier");
    EXPECT_EQ(file.GetString("Font", "Missing", "fallback"), "fallback");
    EXPECT_FALSE(file.Has("Nowhere", "TabSize"));
    EXPECT_TRUE(file.Has("Font", "FaceName"));
    EXPECT_EQ(file.SectionNames(), (std::vector<std::string>{"Editor", "editor", "Font"}));
}

TEST(IniFileReading, IntegersAreDecimalWithAFallback)
{
    const VxEditIniFile file = Parsed(
        "[S]\nA=42\nB=-7\nC=+3\nD=12abc\nE=abc\nF=\nG=99999999999\nH=-99999999999\nI=0x10\n");
    EXPECT_EQ(file.GetInt("S", "A", 1), 42);
    EXPECT_EQ(file.GetInt("S", "B", 1), -7);
    EXPECT_EQ(file.GetInt("S", "C", 1), 3);
    EXPECT_EQ(file.GetInt("S", "D", 1), 12);
    EXPECT_EQ(file.GetInt("S", "E", 1), 1);
    EXPECT_EQ(file.GetInt("S", "F", 1), 1);
    EXPECT_EQ(file.GetInt("S", "G", 1), 2147483647);
    EXPECT_EQ(file.GetInt("S", "H", 1), -2147483647 - 1);
    EXPECT_EQ(file.GetInt("S", "I", 1), 0);
    EXPECT_EQ(file.GetInt("S", "Missing", 5), 5);
}

TEST(IniFileReading, WholeSectionIsItsLinesWithoutCommentsOrBlanks)
{
    const VxEditIniFile file = Parsed("[Keywords]\r\nclass = Keyword\r\n\r\n; note\r\nnoequals\r\n[Next]\r\nx=1\r\n");
    EXPECT_EQ(file.GetSection("KEYWORDS"), (std::vector<std::string>{"class = Keyword", "noequals"}));
    EXPECT_TRUE(file.GetSection("Absent").empty());
}

TEST(IniFileReading, MissingFileIsEmptyAndUnreadableFileIsReported)
{
    TempDir dir;
    VxEditIniFile missing(dir.File("none.ini"));
    EXPECT_TRUE(missing.Load());
    EXPECT_EQ(missing.Text(), "");

    VxEditIniFile folder(dir.Path().string());
    EXPECT_FALSE(folder.Load());
    EXPECT_EQ(folder.GetString("A", "B", "x"), "x");
}

TEST(IniFileWriting, WritesCreateTheFileSectionAndKey)
{
    TempDir dir;
    const std::string path = dir.File("new.ini");
    VxEditIniFile file(path);
    ASSERT_TRUE(file.Load());
    ASSERT_TRUE(file.WriteString("Editor", "TabSize", "4"));
    ASSERT_TRUE(file.WriteInt("Editor", "AutoIndent", 1));
    ASSERT_TRUE(file.WriteString("Font", "FaceName", " padded "));
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(ReadFileBytes(path), "[Editor]\nTabSize=4\nAutoIndent=1\n\n[Font]\nFaceName=\" padded \"\n");

    VxEditIniFile again(path);
    ASSERT_TRUE(again.Load());
    EXPECT_EQ(again.GetString("Font", "FaceName", ""), " padded ");
}

TEST(IniFileWriting, EveryOtherLineIsKeptAsItWas)
{
    TempDir dir;
    const std::string path = dir.File("java.ini");
    const std::string original =
        "\xEF\xBB\xBF; Java\r\n"
        "[Editor]\r\n"
        "TabSize = 4   ; keep the spacing of others\r\n"
        "AutoIndent=0\r\n"
        "\r\n"
        "[Other]\n"
        "weird line\n"
        "Last=1";
    WriteFileBytes(path, original);
    VxEditIniFile file(path);
    ASSERT_TRUE(file.Load());
    EXPECT_EQ(file.Text(), original);
    ASSERT_TRUE(file.WriteString("editor", "autoindent", "1"));
    ASSERT_TRUE(file.WriteString("Editor", "MatchCase", "1"));
    ASSERT_TRUE(file.WriteString("Other", "New", "2"));
    ASSERT_TRUE(file.WriteString("Font", "Size", "10"));
    ASSERT_TRUE(file.Commit());
    EXPECT_EQ(ReadFileBytes(path),
              "\xEF\xBB\xBF; Java\r\n"
              "[Editor]\r\n"
              "TabSize = 4   ; keep the spacing of others\r\n"
              "AutoIndent=1\r\n"
              "MatchCase=1\r\n"
              "\r\n"
              "[Other]\n"
              "weird line\n"
              "Last=1\r\n"
              "New=2\r\n"
              "\r\n"
              "[Font]\r\n"
              "Size=10\r\n");
}

TEST(IniFileWriting, NamesAndValuesThatCannotStandOnALineAreRefused)
{
    VxEditIniFile file = Parsed("[A]\nx=1\n");
    const std::string before = file.Text();
    EXPECT_FALSE(file.WriteString("A", "k", "two\nlines"));
    EXPECT_FALSE(file.WriteString("A", "k=v", "1"));
    EXPECT_FALSE(file.WriteString("A", "[k", "1"));
    EXPECT_FALSE(file.WriteString("A", ";k", "1"));
    EXPECT_FALSE(file.WriteString("A]", "k", "1"));
    EXPECT_FALSE(file.WriteString("A", "", "1"));
    EXPECT_FALSE(file.WriteString("", "k", "1"));
    EXPECT_FALSE(file.WriteString("A", "k\rj", "1"));
    EXPECT_EQ(file.Text(), before);
}

TEST(IniFileWriting, FailedCommitLeavesNothingBehind)
{
    TempDir dir;
    VxEditIniFile file(dir.File("absent-folder/java.ini"));
    ASSERT_TRUE(file.Load());
    ASSERT_TRUE(file.WriteString("A", "b", "c"));
    EXPECT_FALSE(file.Commit());
    EXPECT_FALSE(std::filesystem::exists(dir.File("absent-folder")));
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path()));
}

TEST(IniFileWriting, RandomWritesReadBackAndKeepForeignLines)
{
    TempDir dir;
    const std::string path = dir.File("random.ini");
    const std::string foreign = "; header line\n[Keep]\nunrelated = yes\n";
    WriteFileBytes(path, foreign);
    std::mt19937 random(31);
    const char* sections[] = {"Alpha", "ALPHA", "beta", "Gamma Delta", "Keep"};
    const char* keys[] = {"one", "ONE", "Two", "three", "unrelated2"};
    std::map<std::pair<std::string, std::string>, std::string> model;
    const auto lower = [](std::string text) {
        for (char& c : text)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return text;
    };
    for (int round = 0; round < 12; ++round) {
        VxEditIniFile file(path);
        ASSERT_TRUE(file.Load());
        for (int i = 0; i < 15; ++i) {
            const std::string section = sections[random() % 5];
            const std::string key = keys[random() % 5];
            std::string value;
            for (int n = random() % 6; n > 0; --n)
                value += " a=\"b;["[random() % 7];
            ASSERT_TRUE(file.WriteString(section, key, value));
            model[{lower(section), lower(key)}] = value;
        }
        ASSERT_TRUE(file.Commit());

        VxEditIniFile check(path);
        ASSERT_TRUE(check.Load());
        for (const auto& [name, value] : model)
            ASSERT_EQ(check.GetString(name.first, name.second, "(missing)"), value) << name.first << "/" << name.second;
        EXPECT_EQ(check.GetString("Keep", "unrelated", ""), "yes");
        EXPECT_EQ(ReadFileBytes(path).rfind("; header line\n[Keep]\nunrelated = yes\n", 0), 0u);
    }
    EXPECT_GT(model.size(), 5u);
}
