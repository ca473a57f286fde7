// The colouring scanner line by line with java.ini and the built-in HTML
// form: tokens, keywords, numbers, tags with escapes, multi-line comments
// and their spans, the HTML markup rule, marked lines and UTF-8 text.
#include "ScanSupport.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

namespace quillet::test {
namespace {

class ScannerTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterRealConfigs(); }
    void TearDown() override
    {
        model.Reset();
        VxEditLangConfigRegistry::Instance().Reset();
    }

    tarrow::foundation::RefPtr<VxScrivo> model;
};

TEST_F(ScannerTest, EmptyLineIsOneTextRunToItsEnd)
{
    model = ColouredModel("Java", "int a;\n\nx");
    EXPECT_EQ((NamedRuns{{0, "Text"}}), Named(*model, 1));
    const std::vector<ColorRun>* runs = model->GetColourRuns(1);
    ASSERT_NE(nullptr, runs);
    EXPECT_EQ(1u, runs->size());
}

TEST_F(ScannerTest, LinesThatDoNotExistOrColouringOffGiveNoRuns)
{
    model = ColouredModel("Java", "int a;\n");
    EXPECT_EQ(nullptr, model->GetColourRuns(2));
    EXPECT_EQ(nullptr, model->GetColourRuns(-1));
    model->SetColouringEnabled(0);
    EXPECT_EQ(nullptr, model->GetColourRuns(0));
}

TEST_F(ScannerTest, KeywordsOperatorsAndPlainTextMerge)
{
    model = ColouredModel("Java", "public int count = a+b;");
    EXPECT_EQ((NamedRuns{{6, "Keyword"},
                         {1, "Text"},
                         {3, "Keyword"},
                         {7, "Text"},
                         {1, "Operator"},
                         {2, "Text"},
                         {1, "Operator"},
                         {2, "Text"}}),
              Named(*model, 0));
}

TEST_F(ScannerTest, OpeningParenthesisAsOnlyOperatorSplitsACall)
{
    model = ColouredModel("Java", "f(x)");
    // Both parentheses are delimiters in java.ini; the opening one becomes
    // an operator too.
    model->GetLangConfig()->SetCharSet("(", IVxEditLangConfig::kOperators, 0);
    EXPECT_EQ((NamedRuns{{1, "Text"}, {1, "Operator"}, {2, "Text"}}), Named(*model, 0));
}

TEST_F(ScannerTest, WordStartingWithDigitIsOneNumber)
{
    model = ColouredModel("Java", "2nd 42");
    EXPECT_EQ((NamedRuns{{3, "Number"}, {1, "Text"}, {2, "Number"}}), Named(*model, 0));
}

TEST_F(ScannerTest, AnnotationStartsWithKeywordStartCharacter)
{
    model = ColouredModel("Java", "@Override void");
    EXPECT_EQ("Annotation", Named(*model, 0).at(0).second);
    EXPECT_EQ(9, Named(*model, 0).at(0).first);
}

TEST_F(ScannerTest, EscapedQuoteDoesNotEndStringButEscapedEscapeDoes)
{
    // s = "a\"b" + c
    model = ColouredModel("Java", "s = \"a\\\"b\" + c\ns = \"a\\\\\"b\" + c");
    EXPECT_EQ((NamedRuns{{2, "Text"}, {1, "Operator"}, {1, "Text"}, {6, "String"}, {1, "Text"},
                         {1, "Operator"}, {2, "Text"}}),
              Named(*model, 0));
    // s = "a\\"b" + c: the string ends at the quote after two backslashes,
    // and the last quote opens a string that runs to the end of the line.
    EXPECT_EQ((NamedRuns{{2, "Text"}, {1, "Operator"}, {1, "Text"}, {5, "String"}, {1, "Text"},
                         {5, "String"}}),
              Named(*model, 1));
}

TEST_F(ScannerTest, LineCommentAndUnclosedStringRunToEndOfLine)
{
    model = ColouredModel("Java", "x; // note \"q\"\n'c\n");
    EXPECT_EQ((NamedRuns{{3, "Text"}, {11, "Comment"}}), Named(*model, 0));
    EXPECT_EQ((NamedRuns{{2, "String"}}), Named(*model, 1));
}

// What a Java reader takes for strings (S), comments (C) and the rest (.),
// byte by byte: line and block comments, string and character literals that
// end at their line's end, and text blocks, with a backslash escaping the
// character after it.
std::string ReferenceClasses(const std::string& text)
{
    std::string classes(text.size(), '.');
    std::size_t at = 0;
    const auto starts = [&](std::size_t i, const char* what) { return text.compare(i, std::strlen(what), what) == 0; };
    while (at < text.size()) {
        const std::size_t from = at;
        char kind = '.';
        if (starts(at, "//")) {
            kind = 'C';
            at = std::min(text.find('\n', at), text.size());
        } else if (starts(at, "/*")) {
            kind = 'C';
            const std::size_t end = text.find("*/", at + 2);
            at = end == std::string::npos ? text.size() : end + 2;
        } else if (starts(at, "\"\"\"")) {
            kind = 'S';
            for (at += 3; at < text.size() && !starts(at, "\"\"\""); ++at)
                at += text[at] == '\\' ? 1 : 0;
            at = std::min(at + 3, text.size());
        } else if (text[at] == '"' || text[at] == '\'') {
            kind = 'S';
            const char quote = text[at];
            for (++at; at < text.size() && text[at] != quote && text[at] != '\n'; ++at) {
                if (text[at] == '\\' && at + 1 < text.size() && text[at + 1] != '\n')
                    ++at;
            }
            if (at < text.size() && text[at] == quote)
                ++at;
        } else {
            ++at;
        }
        std::fill(classes.begin() + static_cast<std::ptrdiff_t>(from), classes.begin() + static_cast<std::ptrdiff_t>(at), kind);
    }
    // Line ends belong to no line's text.
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n')
            classes[i] = '\n';
    }
    return classes;
}

TEST_F(ScannerTest, TextBlocksAreOneStringAcrossTheirLines)
{
    const std::string text =
        "class T {\n"
        "    String a = \"\"\"\n"
        "        He said \"hi\", and \\\"\"\" is no end; /* nor a comment\n"
        "        \\\\\"\"\" + 'c' + \"x\"; // after a closed block\n"
        "    // a \"\"\" in a line comment opens nothing\n"
        "    /* nor \"\"\" in a block comment */ int b;\n"
        "    String c = \"\"\"\n"
        "        tail \\\"\"\"\" + \"plain\";\n"
        "    String d = \"\"\"\n"
        "        never closed\n"
        "    }\n";
    model = ColouredModel("Java", text);
    std::string classes;
    for (int line = 0; line < model->LineCount(); ++line) {
        for (int group : ByteGroups(*model, line)) {
            const std::string name = model->GetLangConfig()->GetColorGroupName(group);
            classes += name == "String" ? 'S' : name == "Comment" ? 'C' : '.';
        }
        if (line < model->LastLine())
            classes += '\n';
    }
    EXPECT_EQ(ReferenceClasses(text), classes);
}

TEST_F(ScannerTest, AWordLongerThanOneRunIsColouredToItsEnd)
{
    TempDir dir;
    const int word = VxEdit::kColouredBytes - 10;
    WriteFileBytes(dir.File("Long.java"), std::string(static_cast<std::size_t>(word), 'a') + " // c");
    model = NewModel<VxScrivo>();
    model->SetLangConfigByName("Java");
    ASSERT_EQ(1, model->LoadFile(dir.File("Long.java")));
    const std::vector<int> groups = ByteGroups(*model, 0);
    ASSERT_EQ(static_cast<std::size_t>(word + 5), groups.size());
    EXPECT_EQ("Text", model->GetLangConfig()->GetColorGroupName(groups[word - 1]));
    EXPECT_EQ("Comment", model->GetLangConfig()->GetColorGroupName(groups[word + 1]));
}

// A line of megabytes is coloured only as far as kColouredBytes: what lies
// beyond is plain text, and opens no comment for the lines below.
TEST_F(ScannerTest, OnlyTheStartOfAVeryLongLineIsColoured)
{
    TempDir dir;
    WriteFileBytes(dir.File("Long.java"), "int a; // c" + std::string(70000, 'a') + " /* open\nint b;\n");
    model = NewModel<VxScrivo>();
    model->SetLangConfigByName("Java");
    ASSERT_EQ(1, model->LoadFile(dir.File("Long.java")));
    const std::vector<int> groups = ByteGroups(*model, 0);
    ASSERT_EQ(static_cast<std::size_t>(VxEdit::kColouredBytes), groups.size());
    EXPECT_EQ("Comment", model->GetLangConfig()->GetColorGroupName(groups.back()));
    EXPECT_NE("Comment", model->GetLangConfig()->GetColorGroupName(ByteGroups(*model, 1).front()));
}

class MultiLineCommentTest : public ScannerTest {
protected:
    void SetUp() override
    {
        ScannerTest::SetUp();
        model = ColouredModel("Java", "int a;\nint b;\nint c;\nx = 1; /* one\ntwo\nthree\nfour\n*/y = 2;\nint d;");
    }
};

TEST_F(MultiLineCommentTest, SpanColoursLinesInBetweenAndContinuesAfterItsEnd)
{
    EXPECT_EQ((NamedRuns{{2, "Text"}, {1, "Operator"}, {1, "Text"}, {1, "Number"}, {2, "Text"}, {6, "Comment"}}),
              Named(*model, 3));
    for (int line = 4; line <= 6; ++line)
        EXPECT_EQ((NamedRuns{{0, "Comment"}}), Named(*model, line)) << line;
    EXPECT_EQ((NamedRuns{{2, "Comment"}, {2, "Text"}, {1, "Operator"}, {1, "Text"}, {1, "Number"}, {1, "Text"}}),
              Named(*model, 7));
    ASSERT_EQ(1u, model->Spans().size());
    EXPECT_EQ(VxEditLineCol(3, 7), model->Spans()[0].start);
    EXPECT_EQ(VxEditLineCol(7, 2), model->Spans()[0].end);
    EXPECT_EQ((NamedRuns{{3, "Keyword"}, {3, "Text"}}), Named(*model, 8));
}

TEST_F(MultiLineCommentTest, LineBelowCommentAskedFirstIsFoundByScanningAhead)
{
    EXPECT_EQ((NamedRuns{{0, "Comment"}}), Named(*model, 5));
    ASSERT_EQ(1u, model->Spans().size());
    EXPECT_EQ(VxEditLineCol(7, 2), model->Spans()[0].end);
    EXPECT_EQ("Comment", Named(*model, 7).at(0).second);
    EXPECT_EQ("Keyword", Named(*model, 8).at(0).second);
}

TEST_F(MultiLineCommentTest, RecordingASpanRepaintsItsLines)
{
    RecordingObserver observer;
    model->Attach(&observer);
    Named(*model, 5);
    EXPECT_EQ((std::vector<std::pair<int, int>>{{3, 7}}), observer.paints);
    observer.paints.clear();
    Named(*model, 6);
    Named(*model, 8);
    EXPECT_TRUE(observer.paints.empty());
    model->Detach(&observer);
}

TEST_F(MultiLineCommentTest, EditAfterTheSpanOnItsEndLineKeepsTheComment)
{
    for (int line = 0; line <= 8; ++line)
        Named(*model, line);
    model->InsertAtLineCol(7, 8, " z();", -1);
    EXPECT_EQ("Comment", Named(*model, 7).at(0).second);
    EXPECT_EQ((NamedRuns{{0, "Comment"}}), Named(*model, 6));
    ASSERT_EQ(1u, model->Spans().size());
    EXPECT_EQ(VxEditLineCol(7, 2), model->Spans()[0].end);
}

TEST_F(MultiLineCommentTest, DeletingBeginTagMakesLinesPlainAgainAndRepaintsThem)
{
    for (int line = 0; line <= 8; ++line)
        Named(*model, line);
    RecordingObserver observer;
    model->Attach(&observer);
    ASSERT_EQ(1, model->DeleteRange(3, 7, 3, 9));
    bool repainted = false;
    for (const auto& [first, last] : observer.paints)
        repainted = repainted || (first <= 4 && last >= 7);
    EXPECT_TRUE(repainted);
    EXPECT_EQ((NamedRuns{{3, "Text"}}), Named(*model, 4));
    EXPECT_EQ((NamedRuns{{4, "Text"}}), Named(*model, 6));
    EXPECT_EQ((NamedRuns{{1, "Operator"}, {1, "Operator"}, {2, "Text"}, {1, "Operator"}, {1, "Text"}, {1, "Number"},
                         {1, "Text"}}),
              Named(*model, 7));
    EXPECT_TRUE(model->Spans().empty());
    model->Detach(&observer);
}

TEST_F(MultiLineCommentTest, DeletingEndTagExtendsTheCommentToTheNextEnd)
{
    model->InsertAtLineCol(8, 6, " /* tail */", -1);
    for (int line = 8; line >= 0; --line)
        Named(*model, line);
    ASSERT_EQ(1, model->DeleteRange(7, 0, 7, 2));
    // Asked from the bottom up, as a view scrolled to the end repaints.
    EXPECT_EQ("Comment", Named(*model, 8).at(0).second);
    EXPECT_EQ((NamedRuns{{0, "Comment"}}), Named(*model, 7));
    ASSERT_EQ(1u, model->Spans().size());
    EXPECT_EQ(VxEditLineCol(8, 17), model->Spans()[0].end);
}

TEST_F(ScannerTest, BeginTagInsideStringOpensNoSpan)
{
    model = ColouredModel("Java", "s = \"/*\";\nint a;\n");
    EXPECT_EQ((NamedRuns{{3, "Keyword"}, {3, "Text"}}), Named(*model, 1));
    EXPECT_EQ((NamedRuns{{2, "Text"}, {1, "Operator"}, {1, "Text"}, {4, "String"}, {1, "Text"}}), Named(*model, 0));
    EXPECT_TRUE(model->Spans().empty());
}

TEST_F(ScannerTest, BeginTagRightAfterAStringOpensASpan)
{
    model = ColouredModel("Java", "s = \"x\"/* a\nint b;\n*/");
    EXPECT_EQ((NamedRuns{{0, "Comment"}}), Named(*model, 1));
    ASSERT_EQ(1u, model->Spans().size());
    EXPECT_EQ(VxEditLineCol(0, 7), model->Spans()[0].start);
}

TEST_F(ScannerTest, BeginTagAfterAClosedCommentHoldingAQuoteOpensASpan)
{
    model = ColouredModel("Java", "/* \" */ x /* a\nint b;\n*/");
    EXPECT_EQ((NamedRuns{{0, "Comment"}}), Named(*model, 1));
    ASSERT_EQ(1u, model->Spans().size());
    EXPECT_EQ(VxEditLineCol(0, 10), model->Spans()[0].start);
}

TEST_F(ScannerTest, UnclosedCommentRunsToEndOfText)
{
    model = ColouredModel("Java", "a /* b\nc\nd");
    EXPECT_EQ((NamedRuns{{1, "Comment"}}), Named(*model, 2));
    EXPECT_EQ((NamedRuns{{0, "Comment"}}), Named(*model, 1));
    EXPECT_EQ((NamedRuns{{2, "Text"}, {4, "Comment"}}), Named(*model, 0));
}

TEST_F(ScannerTest, EndTagAcrossTheEdgeOfASearchWindowIsFound)
{
    // Tag ends are searched for 256 KiB at a time; this one starts on the
    // last byte of the first window.
    const std::size_t window = std::size_t{1} << 18;
    std::string text = "/*";
    while (text.size() + 100 < 2 + window - 1)
        text += std::string(99, 'x') + "\n";
    const std::size_t pad = 2 + window - 1 - text.size();
    text += std::string(pad, 'y') + "*/ int a;";
    model = ColouredModel("Java", text);
    EXPECT_EQ((NamedRuns{{static_cast<int>(pad) + 2, "Comment"}, {1, "Text"}, {3, "Keyword"}, {3, "Text"}}),
              Named(*model, model->LastLine()));
}

TEST_F(ScannerTest, LongChainOfCommentsIsColouredWithoutDeepCalls)
{
    std::string text = "/* start\n";
    for (int i = 0; i < 20000; ++i)
        text += "*/ x /* more\n";
    text += "*/ int end;";
    model = ColouredModel("Java", text);
    const int last = model->LastLine();
    EXPECT_EQ((NamedRuns{{2, "Comment"}, {1, "Text"}, {3, "Keyword"}, {5, "Text"}}), Named(*model, last));
    EXPECT_EQ((NamedRuns{{2, "Comment"}, {3, "Text"}, {7, "Comment"}}), Named(*model, last / 2));
    EXPECT_EQ(20001u, model->Spans().size());
}

TEST_F(ScannerTest, ConfigurationChangeDropsRunsAndSpans)
{
    model = ColouredModel("Java", "/* a\nb */ c=d;");
    EXPECT_EQ("Comment", Named(*model, 1).at(0).second);
    EXPECT_EQ(1u, model->Spans().size());
    model->SetLangConfigByName("HTML");
    EXPECT_TRUE(model->Spans().empty());
    EXPECT_EQ((NamedRuns{{9, "Text"}}), Named(*model, 1));
    model->SetLangConfigByName("Java");
    EXPECT_EQ((NamedRuns{{4, "Comment"}, {2, "Text"}, {1, "Operator"}, {2, "Text"}}), Named(*model, 1));
    // Without operators the equals sign joins the plain text.
    model->GetLangConfig()->SetCharSet("", IVxEditLangConfig::kOperators, 1);
    EXPECT_EQ((NamedRuns{{4, "Comment"}, {5, "Text"}}), Named(*model, 1));
}

class HtmlScannerTest : public ScannerTest {};

TEST_F(HtmlScannerTest, WordOutsideMarkupIsPlainInsideItIsAnElement)
{
    model = ColouredModel("HTML", "BODY <BODY> text");
    EXPECT_EQ((NamedRuns{{5, "Text"}, {1, "Operator"}, {4, "Element"}, {1, "Operator"}, {5, "Text"}}),
              Named(*model, 0));
    const VxEditLangConfig& config = *model->GetLangConfig();
    EXPECT_EQ("Tag Delimiter", config.GetColorGroup(config.FindColorGroup("Operator"))->DisplayName);
}

TEST_F(HtmlScannerTest, AttributesAndStringsInsideMarkupLessThanInText)
{
    model = ColouredModel("HTML", "<a href=\"x.htm\">1 < 2 \"q\"</a>");
    // The less-than sign in the text is plain, yet it is still the nearest
    // bracket left of the quoted word, which is therefore not markup either.
    EXPECT_EQ((NamedRuns{{1, "Operator"}, {1, "Element"}, {1, "Text"}, {4, "Attribute Name"}, {1, "Text"},
                         {7, "String"}, {1, "Operator"}, {9, "Text"}, {1, "Operator"}, {1, "Operator"},
                         {1, "Element"}, {1, "Operator"}}),
              Named(*model, 0));
}

TEST_F(HtmlScannerTest, MarkupAcrossLinesAndCommentsAcrossLines)
{
    model = ColouredModel("HTML", "<TABLE\nBORDER=1>\nBORDER\n<!- note\nBODY ->after");
    EXPECT_EQ("Attribute Name", Named(*model, 1).at(0).second);
    EXPECT_EQ((NamedRuns{{6, "Text"}}), Named(*model, 2));
    EXPECT_EQ((NamedRuns{{8, "Comment"}}), Named(*model, 3));
    EXPECT_EQ((NamedRuns{{7, "Comment"}, {5, "Text"}}), Named(*model, 4));
}

TEST_F(HtmlScannerTest, EditFarFromAWordChangesWhetherItIsMarkup)
{
    model = ColouredModel("HTML", "<P\nALIGN\n\n\nx>\nEND");
    EXPECT_EQ("Attribute Name", Named(*model, 1).at(0).second);
    ASSERT_EQ(1, model->DeleteRange(4, 1, 4, 2));
    EXPECT_EQ((NamedRuns{{5, "Text"}}), Named(*model, 1));
    model->InsertAtLineCol(3, 0, ">", 1);
    EXPECT_EQ("Attribute Name", Named(*model, 1).at(0).second);
}

TEST_F(ScannerTest, ErrorLineUsesErrorLineGroupAndComesBackWhenCleared)
{
    model = ColouredModel("Java", "/* a\nint b; */ c\n");
    EXPECT_EQ("Comment", Named(*model, 1).at(0).second);
    model->ToggleMark(1, VxEdit::kMarkErrorLine);
    EXPECT_EQ((NamedRuns{{11, "Error Line"}}), Named(*model, 1));
    model->ToggleMark(1, VxEdit::kMarkErrorLine);
    EXPECT_EQ((NamedRuns{{9, "Comment"}, {2, "Text"}}), Named(*model, 1));
}

TEST_F(ScannerTest, ErrorLineWithoutErrorLineGroupUsesGroupZero)
{
    model = ColouredModel("Java", "int a;");
    model->SetLangConfigByName("Default");
    model->ToggleMark(0, VxEdit::kMarkErrorLine);
    const std::vector<ColorRun>* runs = model->GetColourRuns(0);
    ASSERT_NE(nullptr, runs);
    EXPECT_EQ((std::vector<ColorRun>{MakeColorRun(6, 0)}), *runs);
}

TEST_F(ScannerTest, HighlightedLineIsOneRunUntilTheMarkIsCleared)
{
    model = ColouredModel("Java", "/* a\nint b; */ c\n");
    Named(*model, 1);
    model->ToggleMark(1, VxEdit::kMarkHighlight);
    EXPECT_EQ((NamedRuns{{11, "Highlight"}}), Named(*model, 1));
    model->ToggleMark(1, VxEdit::kMarkHighlight);
    EXPECT_EQ((NamedRuns{{9, "Comment"}, {2, "Text"}}), Named(*model, 1));
}

TEST_F(ScannerTest, MultiByteCharactersStayWholeAndAreClassedByCodePoint)
{
    model = ColouredModel("Java", "caf\xC3\xA9=x\xE2\x86\x92y \xF0\x9F\x98\x80z");
    // U+2192 (the arrow) is made an operator and a delimiter by code point.
    model->GetLangConfig()->SetCharSet("\xE2\x86\x92", IVxEditLangConfig::kOperators, 0);
    model->GetLangConfig()->SetCharSet("\xE2\x86\x92", IVxEditLangConfig::kDelimiters, 0);
    EXPECT_EQ((NamedRuns{{5, "Text"}, {1, "Operator"}, {1, "Text"}, {3, "Operator"}, {7, "Text"}}),
              Named(*model, 0));
}

TEST_F(ScannerTest, KeywordAndOperatorCharactersOfOtherCodePointsDoNotMatchBytes)
{
    // Code 0xC2 is an operator; the lead byte 0xC2 of U+00A9 is not.
    model = ColouredModel("Java", "a\xC2\xA9" "b");
    model->GetLangConfig()->SetCharSet("\xC2", IVxEditLangConfig::kOperators, 0);
    EXPECT_EQ((NamedRuns{{4, "Text"}}), Named(*model, 0));
}

}  // namespace
}  // namespace quillet::test
