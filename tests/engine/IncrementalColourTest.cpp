// Colouring a text as it is edited, through the cached runs and the recorded
// spans, lines asked for in any order as views paint them, must give what a
// model that colours the same text from scratch gives.
#include "ScanSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <sstream>

namespace quillet::test {
namespace {

const std::vector<std::string> kJavaPieces = {
    "int",    "x",      " ",       "\t",         "=",          "1",      "2nd",      "\"str\"",   "\"a\\\"b\"",
    "\"/*\"", "\"*/\"", "\"\\\\\"", "'c'",        "'\\''",      "/*",     "*/",       "// c",      "//x/*",
    "/* in */", "\"",   "\\",      "'",          "\n",         "\r\n",   "\n",       "\xC3\xA9",  "@Ann",
    "class",  ";",      "(",       ")",          "{",          "}",      "*",        "/",         "\"x\"/*",
    // A lone CR is a character of its line: tags go on past it.
    "\r",     "x\r*/",  "\r/*",
    // Text blocks open and close as quotes come and go.
    "\"\"\"",  "\"\"\"\n", "\\\"\"\"", "\"\"", "// \"\"\"",
};

const std::vector<std::string> kHtmlPieces = {
    "<",     ">",         "<BODY>",  "</P>",   "<!-",      "->",   "<COMMENT>", "</COMMENT>", "\"",   "HREF=",
    "text",  " ",         "\n",      "\r\n",   "BODY",     "x=\"y\"", "<a href=\"x\">", "<!- c ->", "\n", "ALIGN",
    "/",     "comment>",  "\xE4\xB8\xAD",
};

// Prose with few brackets: whether a word is markup is decided many lines
// away from it.
const std::vector<std::string> kHtmlProsePieces = {
    "text", " ", "BODY", "\n", "\n", "\r\n", "ALIGN", "words", "\n", " ", "HREF", "x", "\n", "<", ">", "<P>",
    // Brackets behind a lone CR are on its line.
    "\r", "a\r>", "\r<x",
};

// Templates nest and cross lines, regular expressions come and go with
// what stands before them.
const std::vector<std::string> kScriptPieces = {
    "`",  "${",     "}",      "{",   "/",     "/re/g", "x / y", "return ", "/*",   "*/",   "/**", "// c",
    "\"", "'",     "\\",   "\n", "\n",   " ",     "a",     "typeof ", "1.5e3", "`a${b}c`", "(", ")",
    "if (x) /a/", "\r\n", "`\n${\n", "\n}`",
};

// Script and style elements open and close as their tags come and go.
const std::vector<std::string> kPageScriptPieces = {
    "<script>", "</script>", "<style>", "</style>", "`",  "${", "}",  "\"", "/*", "*/", "\n", "\n", "x",
    "<",        ">",         "<script type=\"text/x\">", "if ", "color: ", "#fff", "<P>", "<!-", "->", " ",
};

class ColourChecker {
public:
    ColourChecker(const char* language, const std::vector<std::string>& pieces, unsigned seed)
        : language_(language), pieces_(pieces), random_(seed)
    {
    }

    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    std::string Text(int pieces)
    {
        std::string text;
        for (int i = 0; i < pieces; ++i)
            text += pieces_[static_cast<std::size_t>(Uniform(0, static_cast<int>(pieces_.size()) - 1))];
        return text;
    }

    // A column of the line at a character boundary.
    int Column(VxEdit& model, int line)
    {
        const std::string content = LineOf(model, line);
        std::size_t column = static_cast<std::size_t>(Uniform(0, static_cast<int>(content.size())));
        while (column > 0 && column < content.size() && VxEditUtf8::IsContinuation(static_cast<unsigned char>(content[column])))
            --column;
        return static_cast<int>(column);
    }

    void Edit(VxEdit& model)
    {
        const int kind = Uniform(0, 9);
        if (kind <= 4) {
            const int line = Uniform(0, model.LastLine());
            const std::string text = Text(Uniform(1, 4));
            ASSERT_EQ(1, model.InsertAtLineCol(line, Column(model, line), text.data(),
                                               static_cast<std::int64_t>(text.size())));
        } else if (kind <= 7) {
            const int line = Uniform(0, model.LastLine());
            const int endLine = std::min(model.LastLine(), line + Uniform(0, 2));
            int column = Column(model, line);
            int endColumn = Column(model, endLine);
            if (endLine == line && endColumn < column)
                std::swap(column, endColumn);
            ASSERT_EQ(1, model.DeleteRange(line, column, endLine, endColumn));
        } else if (kind == 8 && Uniform(0, 1) == 0) {
            // Marked lines are drawn whole in one colour; Compare clears
            // the marks, and the lines' own runs must come back.
            model.ToggleMark(Uniform(0, model.LastLine()), Uniform(0, 1) ? VxEdit::kMarkHighlight : VxEdit::kMarkErrorLine);
        } else if (kind == 8 && model.UndoCount() > 0) {
            model.Undo();
        } else if (model.RedoCount() > 0) {
            model.Redo();
        }
    }

    // Asks for the lines of a screen around a random line, in random order.
    void Paint(VxEdit& model)
    {
        const int top = Uniform(0, model.LastLine());
        const int bottom = std::min(model.LastLine(), top + Uniform(0, 25));
        std::vector<int> lines(static_cast<std::size_t>(bottom - top + 1));
        std::iota(lines.begin(), lines.end(), top);
        std::shuffle(lines.begin(), lines.end(), random_);
        for (int line : lines)
            ASSERT_NE(nullptr, model.GetColourRuns(line));
    }

    // Every line of the model against a fresh model asked from the top and
    // another asked from the bottom.
    void Compare(VxEdit& model, const std::string& context)
    {
        model.ClearMarkEverywhere(VxEdit::kMarkHighlight);
        model.ClearMarkEverywhere(VxEdit::kMarkErrorLine);
        const std::string text = AllText(model);
        auto fresh = ColouredModel(language_, text);
        auto backwards = ColouredModel(language_, text);
        ASSERT_EQ(model.LineCount(), fresh->LineCount());
        const int count = model.LineCount();
        std::vector<std::vector<ColorRun>> expected(static_cast<std::size_t>(count));
        for (int line = 0; line < count; ++line)
            expected[static_cast<std::size_t>(line)] = *fresh->GetColourRuns(line);
        std::vector<int> order(static_cast<std::size_t>(count));
        std::iota(order.begin(), order.end(), 0);
        std::shuffle(order.begin(), order.end(), random_);
        for (int line : order) {
            ASSERT_EQ(expected[static_cast<std::size_t>(line)], *model.GetColourRuns(line))
                << context << " line " << line << ": " << LineOf(model, line) << "\ntext:\n" << text;
        }
        for (int line = count - 1; line >= 0; --line) {
            ASSERT_EQ(expected[static_cast<std::size_t>(line)], *backwards->GetColourRuns(line))
                << context << " backwards, line " << line << "\ntext:\n" << text;
        }
        ASSERT_EQ(fresh->Spans().size(), model.Spans().size()) << context;
        for (std::size_t i = 0; i < model.Spans().size(); ++i) {
            EXPECT_EQ(fresh->Spans()[i].start, model.Spans()[i].start) << context;
            EXPECT_EQ(fresh->Spans()[i].end, model.Spans()[i].end) << context;
            EXPECT_EQ(fresh->Spans()[i].kind, model.Spans()[i].kind) << context;
        }
    }

    void Run(int rounds, int editsPerRound)
    {
        auto model = ColouredModel(language_, Text(300));
        for (int round = 0; round < rounds; ++round) {
            for (int edit = 0; edit < editsPerRound; ++edit) {
                ASSERT_NO_FATAL_FAILURE(Edit(*model));
                ASSERT_NO_FATAL_FAILURE(Paint(*model));
            }
            std::ostringstream context;
            context << language_ << " round " << round;
            ASSERT_NO_FATAL_FAILURE(Compare(*model, context.str()));
        }
    }

private:
    const char* language_;
    const std::vector<std::string>& pieces_;
    std::mt19937 random_;
};

class IncrementalColourTest : public ::testing::TestWithParam<unsigned> {
protected:
    void SetUp() override
    {
        RegisterRealConfigs();
        VxEditLangConfigRegistry& registry = VxEditLangConfigRegistry::Instance();
        registry.Register("JavaScript", tarrow::foundation::MakeRef<VxEditIniConfigReader>(QUILLET_JAVASCRIPT_INI).Get());
        registry.Register("CSS", tarrow::foundation::MakeRef<VxEditIniConfigReader>(QUILLET_CSS_INI).Get());
    }
    void TearDown() override { VxEditLangConfigRegistry::Instance().Reset(); }
};

TEST_P(IncrementalColourTest, JavaEditsColourAsAFreshModel)
{
    ColourChecker checker("Java", kJavaPieces, GetParam());
    checker.Run(25, 6);
}

TEST_P(IncrementalColourTest, HtmlEditsColourAsAFreshModel)
{
    ColourChecker checker("HTML", kHtmlPieces, GetParam() + 1000);
    checker.Run(25, 6);
}

TEST_P(IncrementalColourTest, HtmlProseWithFewBracketsColoursAsAFreshModel)
{
    ColourChecker checker("HTML", kHtmlProsePieces, GetParam() + 2000);
    checker.Run(25, 6);
}

TEST_P(IncrementalColourTest, JavaScriptEditsColourAsAFreshModel)
{
    ColourChecker checker("JavaScript", kScriptPieces, GetParam() + 3000);
    checker.Run(25, 6);
}

TEST_P(IncrementalColourTest, PageScriptEditsColourAsAFreshModel)
{
    ColourChecker checker("HTML", kPageScriptPieces, GetParam() + 4000);
    checker.Run(25, 6);
}

INSTANTIATE_TEST_SUITE_P(Seeds, IncrementalColourTest, ::testing::Values(1u, 2u, 3u, 4u));

}  // namespace
}  // namespace quillet::test
