// HTML export: escaping, FONT tags, ranges and column blocks, the page and
// its file, and a round trip from the exported HTML back to the text and its
// colours for generated and real-looking Java and HTML.
#include "engine/VxScrivo.h"
#include "language/VxEditHtmlExport.h"
#include "language/VxEditIniConfigReader.h"
#include "language/VxEditLangConfig.h"
#include "language/VxEditLangConfigRegistry.h"
#include "language/VxEditResConfigReader.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace quillet::test {
namespace {

using tarrow::foundation::MakeRef;
using tarrow::foundation::RefPtr;

class ExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        VxEditLangConfigRegistry& registry = VxEditLangConfigRegistry::Instance();
        registry.Reset();
        registry.Register("Java", MakeRef<VxEditIniConfigReader>(QUILLET_JAVA_INI).Get());
        registry.Register("HTML", MakeRef<VxEditResConfigReader>(146).Get());
    }
    void TearDown() override
    {
        model.Reset();
        VxEditLangConfigRegistry::Instance().Reset();
    }

    VxEditHtmlExport& Open(const char* language, const std::string& text)
    {
        model = MakeRef<VxScrivo>();
        model->NewText();
        model->SetLangConfigByName(language);
        if (!text.empty())
            model->InsertAtLineCol(0, 0, text.data(), static_cast<std::int64_t>(text.size()));
        exporter.emplace(*model);
        return *exporter;
    }

    std::string Tag(const char* group) const
    {
        const VxEditLangConfig& config = *model->GetLangConfig();
        return VxEditHtmlExport::FontTag(*config.GetColorGroup(config.FindColorGroup(group)));
    }

    RefPtr<VxScrivo> model;
    std::optional<VxEditHtmlExport> exporter;
};

VxEditColorGroup Colours(std::uint32_t foreground, std::uint32_t background, int foreAuto, int backAuto)
{
    VxEditColorGroup group;
    group.Foreground = foreground;
    group.Background = background;
    group.ForeColorAutomatic = foreAuto;
    group.BackColorAutomatic = backAuto;
    return group;
}

TEST(EscapeHtmlTest, EntitiesOnceAndTabsAsNonBreakingSpaces)
{
    EXPECT_EQ("a &amp;lt; b &lt;&gt; c", VxEditHtmlExport::EscapeHtml("a &lt; b <> c", 4));
    EXPECT_EQ("&nbsp;&nbsp;&nbsp;&nbsp;x y\r\n", VxEditHtmlExport::EscapeHtml("\tx y\r\n", 4));
    EXPECT_EQ("&nbsp;&nbsp;", VxEditHtmlExport::EscapeHtml("\t", 2));
    EXPECT_EQ(std::string("\xC3\xA9\0z", 4), VxEditHtmlExport::EscapeHtml(std::string("\xC3\xA9\0z", 4), 4));
}

TEST(FontTagTest, FourFormsByAutomaticColours)
{
    // 0x00BBGGRR: red 0x12, green 0x34, blue 0xAB.
    EXPECT_EQ("", VxEditHtmlExport::FontTag(Colours(0xAB3412, 0xFFFFFF, 1, 1)));
    EXPECT_EQ("<FONT COLOR=\"#1234ab\">", VxEditHtmlExport::FontTag(Colours(0xAB3412, 0xFFFFFF, 0, 1)));
    EXPECT_EQ("<FONT STYLE=\"background-color:#ffeedd\">",
              VxEditHtmlExport::FontTag(Colours(0xAB3412, 0xDDEEFF, 1, 0)));
    EXPECT_EQ("<FONT COLOR=\"#1234ab\" STYLE=\"background-color:#ffeedd \">",
              VxEditHtmlExport::FontTag(Colours(0xAB3412, 0xDDEEFF, 0, 0)));
}

TEST_F(ExportTest, LessThanInsideAColouredRunIsEscaped)
{
    VxEditHtmlExport& html = Open("Java", "a<b");
    EXPECT_EQ("a<FONT COLOR=\"#606060\">&lt;</FONT>b", html.ExportRange(0, 0, 0, 3, false));
}

TEST_F(ExportTest, TabBecomesTabSizeNonBreakingSpacesSpaceStays)
{
    VxEditHtmlExport& html = Open("Java", "\tx y");
    EXPECT_EQ("<PRE>&nbsp;&nbsp;&nbsp;&nbsp;x y</PRE>", html.ExportRange(0, 0, 0, 4, true));
}

TEST_F(ExportTest, HtmlTextIsBareElementNamesAreBlue)
{
    VxEditHtmlExport& html = Open("HTML", "hi <BODY>");
    EXPECT_EQ("hi <FONT COLOR=\"#0000ff\">&lt;</FONT><FONT COLOR=\"#0000ff\">BODY</FONT>"
              "<FONT COLOR=\"#0000ff\">&gt;</FONT>",
              html.ExportRange(0, 0, 0, 9, false));
}

TEST_F(ExportTest, GroupWithBothColoursGivesLongForm)
{
    VxEditHtmlExport& html = Open("Java", "int a;");
    model->ToggleMark(0, VxEdit::kMarkErrorLine);
    EXPECT_EQ("<FONT COLOR=\"#000000\" STYLE=\"background-color:#ffcdcd \">int a;</FONT>",
              html.ExportRange(0, 0, 0, 6, false));
}

TEST_F(ExportTest, EmptyDocumentPage)
{
    VxEditHtmlExport& html = Open("Java", "");
    EXPECT_EQ("<HTML><HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=utf-8\"></HEAD>"
              "<BODY><PRE></PRE></BODY></HTML>",
              html.ExportPage());
    VxEditLangConfig& config = *model->GetLangConfig();
    VxEditColorGroup text = *config.GetColorGroup(0);
    text.ForeColorAutomatic = 0;
    text.Foreground = 0x0000FF;
    config.PutColorGroup("Text", text);
    EXPECT_EQ(std::string(VxEditHtmlExport::kPageStart) + "<PRE><FONT COLOR=\"#ff0000\"></FONT></PRE></BODY></HTML>",
              html.ExportPage());
}

TEST_F(ExportTest, StreamRangeJoinsLinePiecesColumnBlockJoinsWithBreaks)
{
    VxEditHtmlExport& html = Open("HTML", "abcdef\nghijkl\nmnopqr\nst");
    EXPECT_EQ("<PRE>def\r\nghijkl\r\nmn</PRE>", html.ExportRange(0, 3, 2, 2, true));
    EXPECT_EQ("<PRE>cd<BR>ij<BR>op</PRE>", html.ExportColumns(0, {{2, 4}, {2, 4}, {2, 4}}));
    // Cut to the lines: "st" is shorter than the block, "" lies before it.
    EXPECT_EQ("<PRE>f<BR><BR></PRE>", html.ExportColumns(0, {{5, 9}, {0, 0}, {0, 0}}));
    EXPECT_EQ("<PRE>r<BR></PRE>", html.ExportColumns(2, {{5, 9}, {3, 9}}));
    EXPECT_EQ("<PRE>qr<BR>st</PRE>", html.ExportColumns(2, {{4, 9}, {0, 9}}));
}

TEST_F(ExportTest, LinesInsideACommentCarryTheCommentColour)
{
    VxEditHtmlExport& html = Open("Java", "x /* a\n\tb < c\n*/ y");
    const std::string comment = Tag("Comment");
    EXPECT_EQ(comment + "&nbsp;&nbsp;&nbsp;&nbsp;b &lt; c</FONT>", html.ExportRange(1, 0, 1, 6, false));
    EXPECT_EQ("x " + comment + "/* a</FONT>\r\n" + comment + "&nbsp;&nbsp;&nbsp;&nbsp;b &lt; c</FONT>\r\n" +
                  comment + "*/</FONT> y",
              html.ExportRange(0, 0, 2, 4, false));
}

TEST_F(ExportTest, ColouringOffExportsEscapedTextOnly)
{
    VxEditHtmlExport& html = Open("Java", "int a<b;");
    model->SetColouringEnabled(0);
    EXPECT_EQ("<PRE>int a&lt;b;</PRE>", html.ExportRange(0, 0, 0, 8, true));
}

TEST_F(ExportTest, PageFileHoldsExactlyThePage)
{
    VxEditHtmlExport& html = Open("Java", "class A {\r\n\tint x; // <x>\r\n}\r\n");
    TempDir dir;
    const std::string path = dir.File("page.htm");
    WriteFileBytes(path, "old content that is longer than the page will be, much longer, really much longer");
    ASSERT_EQ(1, html.WritePage(path));
    EXPECT_EQ(html.ExportPage(), ReadFileBytes(path));
    EXPECT_EQ(0u, html.ExportPage().find(std::string(VxEditHtmlExport::kPageStart) + "<PRE>"));
    EXPECT_EQ("</PRE></BODY></HTML>", html.ExportPage().substr(html.ExportPage().size() - 20));
}

TEST_F(ExportTest, APageOfAccentedAndChineseTextDeclaresUtf8AndHoldsItsBytes)
{
    // In a plain text the exported page holds exactly the text's bytes, and
    // its head names their character set before anything else is read.
    const std::string text = "caf\xC3\xA9 \xE4\xB8\xAD\xE6\x96\x87";
    VxEditHtmlExport& html = Open("HTML", text);
    TempDir dir;
    const std::string path = dir.File("cafe.html");
    ASSERT_EQ(1, html.WritePage(path));
    const std::string page = ReadFileBytes(path);
    const std::string head = page.substr(0, page.find("</HEAD>"));
    EXPECT_NE(head.find("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=utf-8\">"),
              std::string::npos)
        << page;
    EXPECT_EQ(std::string(VxEditHtmlExport::kPageStart) + "<PRE>" + text + "</PRE></BODY></HTML>", page);
}

TEST_F(ExportTest, UnopenableFileFailsWithoutWriting)
{
    VxEditHtmlExport& html = Open("Java", "int a;");
    TempDir dir;
    const std::string path = dir.File("missing/page.htm");
    EXPECT_EQ(0, html.WritePage(path));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_EQ(0, html.WritePage(dir.Path().string()));
}

// The exported page read back: text with the opening tag in force for each
// byte ("" outside FONT elements).
std::vector<std::pair<char, std::string>> ReadBack(const std::string& page, int tabSize)
{
    std::vector<std::pair<char, std::string>> bytes;
    std::string tag;
    const std::string nbsp = "&nbsp;";
    for (std::size_t at = 0; at < page.size();) {
        if (page[at] == '<') {
            const std::size_t end = page.find('>', at);
            const std::string element = page.substr(at, end + 1 - at);
            if (element.rfind("<FONT", 0) == 0)
                tag = element;
            else if (element == "</FONT>")
                tag.clear();
            at = end + 1;
            continue;
        }
        if (page.compare(at, nbsp.size(), nbsp) == 0) {
            for (int i = 0; i < tabSize; ++i)
                EXPECT_EQ(0, page.compare(at + i * nbsp.size(), nbsp.size(), nbsp));
            bytes.emplace_back('\t', tag);
            at += nbsp.size() * static_cast<std::size_t>(tabSize);
            continue;
        }
        static const std::pair<const char*, char> kEntities[] = {{"&amp;", '&'}, {"&lt;", '<'}, {"&gt;", '>'}};
        bool entity = false;
        for (const auto& [name, c] : kEntities) {
            if (page.compare(at, std::strlen(name), name) == 0) {
                bytes.emplace_back(c, tag);
                at += std::strlen(name);
                entity = true;
                break;
            }
        }
        if (!entity)
            bytes.emplace_back(page[at++], tag);
    }
    return bytes;
}

// The text and colours the page should show: each line's bytes with the
// tag of the group its runs give them, lines joined by CR LF.
std::vector<std::pair<char, std::string>> Expected(VxScrivo& model, VxEditHtmlExport& html)
{
    std::vector<std::pair<char, std::string>> bytes;
    for (int line = 0; line <= model.LastLine(); ++line) {
        const std::vector<ColorRun> runs = *model.GetColourRuns(line);
        const char* text = nullptr;
        std::int32_t length = 0;
        model.LineText(line, text, length);
        int at = 0;
        for (ColorRun run : runs) {
            const int end = ColorRunLength(run) == 0 ? length : at + static_cast<int>(ColorRunLength(run));
            const std::string tag = html.FontTag(ColorRunGroup(run));
            for (; at < end; ++at)
                bytes.emplace_back(text[at], tag);
        }
        if (line < model.LastLine()) {
            bytes.emplace_back('\r', "");
            bytes.emplace_back('\n', "");
        }
    }
    return bytes;
}

std::string Generated(std::mt19937& random, const std::vector<std::string>& pieces, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
        text += pieces[std::uniform_int_distribution<std::size_t>(0, pieces.size() - 1)(random)];
    return text;
}

std::string WithCrLf(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '\n' && (out.empty() || out.back() != '\r'))
            out += '\r';
        out += c;
    }
    return out;
}

class ExportRoundTripTest : public ExportTest {
protected:
    void Check(const char* language, const std::string& text)
    {
        VxEditHtmlExport& html = Open(language, text);
        const std::string page = html.ExportPage();
        const std::string start = std::string(VxEditHtmlExport::kPageStart) + "<PRE>";
        const std::string end = "</PRE>" + std::string(VxEditHtmlExport::kPageEnd);
        ASSERT_EQ(0u, page.find(start));
        ASSERT_EQ(page.size() - end.size(), page.rfind(end));
        const auto shown = ReadBack(page.substr(start.size(), page.size() - start.size() - end.size()),
                                    model->GetLangConfig()->GetTabSize());
        std::string back;
        for (const auto& [c, tag] : shown)
            back += c;
        ASSERT_EQ(WithCrLf(text), back);
        ASSERT_EQ(Expected(*model, html), shown);
    }
};

TEST_F(ExportRoundTripTest, RealLookingJavaAndHtml)
{
    Check("Java",
          "package demo;\r\n\r\n/**\r\n * A <b>demo</b> & more.\r\n */\r\npublic class Demo {\r\n"
          "\tprivate String s = \"a\\\"b <c> & d\";\r\n\tchar c = '\\t';\r\n\tint x = 2 < 3 ? 1 : 0; // x > 1\r\n"
          "\t@Override\r\n\tpublic String toString() { return s + \"/*\"; }\r\n}\r\n");
    Check("HTML",
          "<HTML>\n<HEAD><TITLE>A &amp; B</TITLE></HEAD>\n<BODY BGCOLOR=\"#ffffff\">\n<!- a comment\n"
          "over lines -> text < 1 &lt; 2\n<P ALIGN=center>\tTab\tstops\n<COMMENT>old</COMMENT>\n</BODY>\n</HTML>");
}

TEST_F(ExportRoundTripTest, GeneratedJavaAndHtml)
{
    const std::vector<std::string> java = {"int", " x", "\t", " = ", "1", "\"s<&>\"", "'\\''", "/*", "*/", "//",
                                           "\n", "\r\n", "<", ">", "&", "&nbsp;", "\xC3\xA9", "class", ";", "@A"};
    const std::vector<std::string> htmlPieces = {"<", ">", "<BODY>", "</P>", "<!-", "->", "\"", "HREF=", "text",
                                                 " ",  "\t", "\n",     "&",    "&lt;", "BODY", "x=\"y\"", "\xE4\xB8\xAD"};
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        ASSERT_NO_FATAL_FAILURE(Check("Java", Generated(random, java, 200)));
        ASSERT_NO_FATAL_FAILURE(Check("HTML", Generated(random, htmlPieces, 200)));
    }
}

}  // namespace
}  // namespace quillet::test
