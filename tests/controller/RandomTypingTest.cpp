// Random keystrokes checked against a plain list of lines with a caret,
// then undone to the empty text and redone to the same result.
#include "ControllerSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace quillet::test {
namespace {

// The plain reading of the same keys: lines without their line ends, which
// in a text begun empty are LF.
struct ReferenceEditor {
    std::vector<std::string> lines{""};
    int line = 0;
    int column = 0;

    std::string Text() const
    {
        std::string text;
        for (std::size_t i = 0; i < lines.size(); ++i)
            text += (i ? "\n" : "") + lines[i];
        return text;
    }
    void Type(char c)
    {
        lines[line].insert(static_cast<std::size_t>(column), 1, c);
        ++column;
    }
    void Return()
    {
        std::string rest = lines[line].substr(static_cast<std::size_t>(column));
        lines[line].resize(static_cast<std::size_t>(column));
        lines.insert(lines.begin() + line + 1, rest);
        ++line;
        column = 0;
    }
    void Backspace()
    {
        if (column > 0) {
            lines[line].erase(static_cast<std::size_t>(--column), 1);
        } else if (line > 0) {
            column = static_cast<int>(lines[line - 1].size());
            lines[line - 1] += lines[line];
            lines.erase(lines.begin() + line);
            --line;
        }
    }
    void Delete()
    {
        if (column < static_cast<int>(lines[line].size())) {
            lines[line].erase(static_cast<std::size_t>(column), 1);
        } else if (line + 1 < static_cast<int>(lines.size())) {
            lines[line] += lines[line + 1];
            lines.erase(lines.begin() + line + 1);
        }
    }
    void Left()
    {
        if (column > 0)
            --column;
        else if (line > 0)
            column = static_cast<int>(lines[--line].size());
    }
    void Right()
    {
        if (column < static_cast<int>(lines[line].size()))
            ++column;
        else if (line + 1 < static_cast<int>(lines.size()))
            column = 0, ++line;
    }
    void Home()
    {
        int first = 0;
        const std::string& text = lines[line];
        while (first < static_cast<int>(text.size()) && text[first] == ' ')
            ++first;
        column = (column == first || first == static_cast<int>(text.size())) ? 0 : first;
    }
};

class RandomTypingTest : public ::testing::TestWithParam<unsigned>, public ControllerFixture {};

TEST_P(RandomTypingTest, KeysMatchThePlainEditorAndUndoAndRedoReplayThem)
{
    std::mt19937 random(GetParam());
    ReferenceEditor reference;
    SetText("");
    const std::string typed = "ab x.";
    for (int step = 0; step < 150; ++step) {
        const int choice = std::uniform_int_distribution<int>(0, 11)(random);
        if (choice <= 4) {
            const char c = typed[static_cast<std::size_t>(choice)];
            Type(std::string(1, c));
            reference.Type(c);
        } else if (choice == 5) {
            Press(cmd::kReturn);
            reference.Return();
        } else if (choice == 6) {
            Press(cmd::kBackspace);
            reference.Backspace();
        } else if (choice == 7) {
            Press(cmd::kDelete);
            reference.Delete();
        } else if (choice == 8) {
            Press(cmd::kCharLeft);
            reference.Left();
        } else if (choice == 9) {
            Press(cmd::kCharRight);
            reference.Right();
        } else if (choice == 10) {
            Press(cmd::kLineStart);
            reference.Home();
        } else {
            Press(cmd::kLineEnd);
            reference.column = static_cast<int>(reference.lines[reference.line].size());
        }
        ASSERT_EQ(reference.Text(), Text()) << "step " << step;
        ASSERT_EQ(At(reference.line, reference.column), Caret()) << "step " << step;
    }

    const std::string final = Text();
    int steps = 0;
    while (model->UndoCount() > 0) {
        Press(cmd::kEditUndo);
        ++steps;
    }
    EXPECT_EQ("", Text());
    for (int i = 0; i < steps; ++i)
        Press(cmd::kEditRedo);
    EXPECT_EQ(final, Text());
    EXPECT_EQ(0u, model->RedoCount());
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomTypingTest, ::testing::Range(1u, 13u));

}  // namespace
}  // namespace quillet::test
