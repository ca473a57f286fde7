// Indentation that follows the braces in a Java text: random sessions of
// typed lines (statements, blocks opened and closed, "} else {", blank
// lines, Enter between "{" and "}") in files indented with 2 and 4 spaces
// and with tabs, checked byte for byte against a plain list of lines; each
// Enter and each "}" is one undo step, and undoing everything gives back
// the file as it was loaded.
#include "ControllerSupport.h"

#include "language/VxEditIniConfigReader.h"
#include "language/VxEditLangConfigRegistry.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <random>

namespace quillet::test {
namespace {

using tarrow::foundation::MakeRef;

const char* const kStatements[] = {"i++;", "call(\"{\");", "a[i] = b; // {", "/* { */ x();", "s = '}';",
                                   "t = \"}\" + u;"};
const char* const kHeaders[] = {"if (x) {", "while (a < b) { // loop", "void g() { /* body */", "try {"};
const char* const kBetween[] = {"for (;;) {}", "switch (k) {}"};

// The lines the session should leave, with the line the caret is on (empty
// in both texts: the caret waits in virtual space at its level).
struct ReferenceText {
    std::vector<std::string> lines;
    std::size_t current = 0;
    int depth = 0;
    std::string unit;

    std::string Indent(int levels) const
    {
        std::string indent;
        for (int i = 0; i < levels; ++i)
            indent += unit;
        return indent;
    }
    std::string Text() const
    {
        std::string text;
        for (std::size_t i = 0; i < lines.size(); ++i)
            text += (i ? "\n" : "") + lines[i];
        return text;
    }
    // The current line gets its text and the caret moves to a new line.
    void Finish(const std::string& line)
    {
        lines[current] = line;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(current) + 1, "");
        ++current;
    }
};

class IndentationTest : public ::testing::Test, public ControllerFixture {
protected:
    void SetUp() override
    {
        VxEditLangConfigRegistry& registry = VxEditLangConfigRegistry::Instance();
        registry.Reset();
        registry.Register("Java", MakeRef<VxEditIniConfigReader>(QUILLET_JAVA_INI).Get());
        ASSERT_EQ(1, model->SetLangConfigByName("Java"));
        model->GetLangConfig()->SetTabSize(4);
        model->GetLangConfig()->SetReplaceTabs(0);
        model->GetLangConfig()->SetAutoIndent(1);
        model->SetBraceIndented(true);
    }
    void TearDown() override { VxEditLangConfigRegistry::Instance().Reset(); }

    void Load(const std::string& text)
    {
        const std::string path = dir_.File("A.java");
        WriteFileBytes(path, text);
        ASSERT_EQ(1, model->LoadFile(path));
    }

    // The text with its line ends read as LF: typed line breaks are CR LF.
    std::string Lines() const
    {
        std::string text = Text();
        std::erase(text, '\r');
        return text;
    }

    // Enter as one undo step: undone it leaves the text as it was, and
    // pressed again it does what it did.
    void PressReturn()
    {
        const std::string before = Text();
        Press(cmd::kReturn);
        const std::string after = Text();
        const VxEditLineCol caret = Caret();
        Press(cmd::kEditUndo);
        ASSERT_EQ(before, Text());
        Press(cmd::kReturn);
        ASSERT_EQ(after, Text());
        ASSERT_EQ(caret, Caret());
    }
    void TypeClosingBrace()
    {
        const std::string before = Text();
        Type("}");
        const std::string after = Text();
        Press(cmd::kEditUndo);
        ASSERT_EQ(before, Text());
        Type("}");
        ASSERT_EQ(after, Text());
    }

    void RunSession(const std::string& unit, unsigned seed)
    {
        SCOPED_TRACE("unit \"" + unit + "\", seed " + std::to_string(seed));
        ReferenceText reference;
        reference.unit = unit;
        reference.lines = {"class A {", unit + "int a;", unit + "void f() {", unit + unit + "g();", unit + "}", "}", ""};
        const std::string original = reference.Text();
        Load(original);
        ASSERT_EQ(unit == "\t" ? VxEditIndentUnit::Kind::kTabs : VxEditIndentUnit::Kind::kSpaces,
                  model->DetectedIndent().kind);

        controller.SetCaret(4, static_cast<std::int32_t>(reference.lines[4].size()));
        PressReturn();
        reference.current = 5;
        reference.lines.insert(reference.lines.begin() + 5, "");
        reference.depth = 1;

        std::mt19937 random(seed);
        std::vector<bool> between;  // the open blocks, innermost last: opened by Enter between braces
        // The history keeps 256 steps: the session stays within them, so
        // that undo can take it all back.
        bool closing = false;
        for (int step = 0; !closing || !between.empty(); ++step) {
            closing = closing || model->UndoCount() > 200;
            const int action = closing ? 3 : static_cast<int>(random() % 7);
            if (action == 0 || (action >= 3 && between.empty()) || (action <= 2 && between.size() >= 6)) {
                const std::string statement = kStatements[random() % std::size(kStatements)];
                Type(statement);
                PressReturn();
                reference.Finish(reference.Indent(reference.depth) + statement);
            } else if (action == 1) {
                const std::string header = kHeaders[random() % std::size(kHeaders)];
                Type(header);
                PressReturn();
                reference.Finish(reference.Indent(reference.depth) + header);
                ++reference.depth;
                between.push_back(false);
            } else if (action == 2) {
                const std::string header = kBetween[random() % std::size(kBetween)];
                Type(header);
                Press(cmd::kCharLeft);
                PressReturn();
                reference.lines[reference.current] = reference.Indent(reference.depth) + header.substr(0, header.size() - 1);
                reference.lines.insert(reference.lines.begin() + static_cast<std::ptrdiff_t>(reference.current) + 1,
                                       {"", reference.Indent(reference.depth) + "}"});
                ++reference.current;
                ++reference.depth;
                between.push_back(true);
            } else if (action == 6) {
                // A blank line keeps no whitespace. (Undo would take the
                // caret out of virtual space, so it is not tried here.)
                Press(cmd::kReturn);
                reference.Finish("");
            } else if (between.back()) {
                // The "}" is there already: the caret goes past it.
                Press(cmd::kLineDown);
                Press(cmd::kLineEnd);
                PressReturn();
                --reference.depth;
                ++reference.current;
                reference.Finish(reference.lines[reference.current]);
                between.pop_back();
            } else if (action == 5) {
                TypeClosingBrace();
                Type(" else {");
                PressReturn();
                reference.Finish(reference.Indent(reference.depth - 1) + "} else {");
            } else {
                TypeClosingBrace();
                PressReturn();
                --reference.depth;
                reference.Finish(reference.Indent(reference.depth) + "}");
                between.pop_back();
            }
            ASSERT_EQ(reference.Text(), Lines()) << "after step " << step;
            ASSERT_EQ(static_cast<std::int32_t>(reference.current), Caret().line);
        }
        EXPECT_GT(reference.lines.size(), 40u);
        const std::string typed = Text();
        if (unit != "\t") {
            EXPECT_EQ(std::string::npos, typed.find('\t'));
        }
        while (model->UndoCount() > 0)
            Press(cmd::kEditUndo);
        EXPECT_EQ(original, Text());
        while (model->RedoCount() > 0)
            Press(cmd::kEditRedo);
        EXPECT_EQ(typed, Text());
    }

    TempDir dir_;
};

TEST_F(IndentationTest, TypedBlocksFollowTheBracesInTwoSpaceFiles)
{
    for (unsigned seed = 1; seed <= 8; ++seed)
        RunSession("  ", seed);
}

TEST_F(IndentationTest, TypedBlocksFollowTheBracesInFourSpaceFiles)
{
    for (unsigned seed = 11; seed <= 18; ++seed)
        RunSession("    ", seed);
}

TEST_F(IndentationTest, TypedBlocksFollowTheBracesInTabIndentedFiles)
{
    for (unsigned seed = 21; seed <= 28; ++seed)
        RunSession("\t", seed);
}

TEST_F(IndentationTest, TabAndBlockIndentWriteSpacesInASpaceIndentedFile)
{
    Load("class A {\n  int a;\n  int b;\n}\n");
    controller.SetCaret(1, 2);
    Press(cmd::kTab);
    EXPECT_EQ("class A {\n    int a;\n  int b;\n}\n", Lines());
    controller.SetSelection(At(1, 0), At(3, 0), VxEditSelection::kLines);
    Press(cmd::kTab);
    EXPECT_EQ("class A {\n      int a;\n    int b;\n}\n", Lines());
    Press(cmd::kBackTab);
    EXPECT_EQ("class A {\n    int a;\n  int b;\n}\n", Lines());
}

TEST_F(IndentationTest, TypingInVirtualSpaceFillsWithSpacesInASpaceIndentedFile)
{
    Load("class A {\n        int a;\n}\n");
    controller.SetCaret(1, 14);
    PressReturn();
    Type("b();");
    EXPECT_EQ("class A {\n        int a;\n        b();\n}\n", Lines());
}

TEST_F(IndentationTest, OnlyABraceInCodeOpensABlock)
{
    Load("class A {\n    void f() {\n    }\n}\n");
    controller.SetCaret(1, 14);
    Type(" // {");
    PressReturn();
    Type("x(); // {");
    PressReturn();
    Type("y = \"{\"");
    PressReturn();
    Type("+ z;");
    EXPECT_EQ("class A {\n    void f() { // {\n        x(); // {\n        y = \"{\"\n        + z;\n    }\n}\n", Lines());
}

TEST_F(IndentationTest, HtmlAndPlainTextKeepPlainAutoIndent)
{
    model->SetBraceIndented(false);
    Load("class A {\n  int a;\n}\n");
    controller.SetCaret(0, 9);
    Press(cmd::kReturn);
    Type("b;");
    EXPECT_EQ("class A {\nb;\n  int a;\n}\n", Lines());
    controller.SetCaret(2, 8);
    Press(cmd::kReturn);
    Type("}");
    EXPECT_EQ("class A {\nb;\n  int a;\n  }\n}\n", Lines());
}

TEST_F(IndentationTest, ANewTextIndentsAsTheConfigurationSays)
{
    const auto typed = [this] {
        SetText("");
        Type("class A {");
        Press(cmd::kReturn);
        Type("int a;");
        std::string text = Text();
        std::erase(text, '\r');
        return text;
    };
    model->GetLangConfig()->SetTabSize(3);
    model->GetLangConfig()->SetReplaceTabs(1);
    EXPECT_EQ("class A {\n   int a;", typed());
    model->GetLangConfig()->SetReplaceTabs(0);
    EXPECT_EQ("class A {\n\tint a;", typed());
}

}  // namespace
}  // namespace quillet::test
