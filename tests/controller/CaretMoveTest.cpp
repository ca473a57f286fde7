// Caret movement, selection by keys, scrolling the caret into view, the hit
// test, the status texts and the line-leave notification.
#include "ControllerSupport.h"

#include <gtest/gtest.h>

namespace quillet::test {
namespace {

class CaretMoveTest : public ::testing::Test, public ControllerFixture {};

TEST_F(CaretMoveTest, SmartHomeTogglesBetweenIndentAndColumnZero)
{
    SetText("    int x;\n\t \n");
    controller.SetCaret(0, 8);
    Press(cmd::kLineStart);
    EXPECT_EQ(At(0, 4), Caret());
    Press(cmd::kLineStart);
    EXPECT_EQ(At(0, 0), Caret());
    Press(cmd::kLineStart);
    EXPECT_EQ(At(0, 4), Caret());
    // A blank line has no first character: Home goes to column 0.
    controller.SetCaret(1, 2);
    Press(cmd::kLineStart);
    EXPECT_EQ(At(1, 0), Caret());
}

TEST_F(CaretMoveTest, DownAcrossShortLinesReturnsToTheScreenColumn)
{
    SetText("a long line of text\nab\n\tlong line again\nshort");
    Press(cmd::kLineEnd);
    EXPECT_EQ(At(0, 19), Caret());
    Press(cmd::kLineDown);
    EXPECT_EQ(At(1, 2), Caret());
    Press(cmd::kLineDown);
    // Screen column 19 on a line that starts with a tab (4 cells) is byte 16.
    EXPECT_EQ(At(2, 16), Caret());
    Press(cmd::kLineUp, 2);
    EXPECT_EQ(At(0, 19), Caret());
    // Down on the last line stays.
    Press(cmd::kTextEnd);
    Press(cmd::kLineDown);
    EXPECT_EQ(At(3, 5), Caret());
}

TEST_F(CaretMoveTest, CharacterMovesWrapAtLineEndsAndKeepCharactersWhole)
{
    SetText("ab\n\xC3\xA9x");
    controller.SetCaret(0, 2);
    Press(cmd::kCharRight);
    EXPECT_EQ(At(1, 0), Caret());
    Press(cmd::kCharRight);
    EXPECT_EQ(At(1, 2), Caret());
    Press(cmd::kCharLeft);
    EXPECT_EQ(At(1, 0), Caret());
    Press(cmd::kCharLeft);
    EXPECT_EQ(At(0, 2), Caret());
    Press(cmd::kTextStart);
    Press(cmd::kCharLeft);
    EXPECT_EQ(At(0, 0), Caret());
    Press(cmd::kTextEnd);
    Press(cmd::kCharRight);
    EXPECT_EQ(At(1, 3), Caret());
}

TEST_F(CaretMoveTest, WordMovesSkipBlankRunsAndLineBreaks)
{
    SetText("foo  bar.baz\n  qux");
    Press(cmd::kWordRight);
    EXPECT_EQ(At(0, 5), Caret());
    Press(cmd::kWordRight);
    EXPECT_EQ(At(0, 8), Caret());
    Press(cmd::kWordRight);
    EXPECT_EQ(At(0, 9), Caret());
    Press(cmd::kWordRight);
    EXPECT_EQ(At(0, 12), Caret());
    Press(cmd::kWordRight);
    EXPECT_EQ(At(1, 2), Caret());
    Press(cmd::kWordLeft);
    EXPECT_EQ(At(1, 0), Caret());
    // A line break alone is no word: on to the start of the word before it.
    Press(cmd::kWordLeft);
    EXPECT_EQ(At(0, 9), Caret());
    controller.SetCaret(0, 5);
    Press(cmd::kWordLeft);
    EXPECT_EQ(At(0, 0), Caret());
}

TEST_F(CaretMoveTest, ShiftMovesExtendAStreamSelectionFromTheCaret)
{
    SetText("hello world\nsecond");
    controller.SetCaret(0, 6);
    Press(cmd::kSelectWordRight);
    Press(cmd::kSelectLineDown);
    EXPECT_EQ(VxEditSelection::kStream, controller.Selection().mode);
    EXPECT_EQ(VxEditLineColPair(0, 6, 1, 6), SelectionRange());
    Press(cmd::kCharLeft);
    EXPECT_FALSE(controller.HasSelection());
    Press(cmd::kSelectToTextStart);
    EXPECT_EQ(VxEditLineColPair(0, 0, 1, 5), SelectionRange());
    EXPECT_EQ(At(0, 0), Caret());
}

TEST_F(CaretMoveTest, SelectAllPutsTheAnchorAtTheEndAndTheCaretAtTheStart)
{
    SetText("one\ntwo\nthree");
    controller.SetCaret(1, 1);
    Press(cmd::kEditSelectAll);
    EXPECT_EQ(At(2, 5), controller.Selection().anchor);
    EXPECT_EQ(At(0, 0), controller.Selection().active);
    EXPECT_EQ(At(0, 0), Caret());
}

TEST_F(CaretMoveTest, SelectWordTakesTheWordAroundTheCaret)
{
    SetText("int counter = 1;");
    controller.SetCaret(0, 6);
    Press(cmd::kSelectWord);
    EXPECT_EQ(VxEditLineColPair(0, 4, 0, 11), SelectionRange());
    EXPECT_EQ(At(0, 11), Caret());
    // Next to a space and a delimiter, only the delimiter.
    controller.SetCaret(0, 12);
    Press(cmd::kSelectWord);
    EXPECT_EQ(VxEditLineColPair(0, 12, 0, 13), SelectionRange());
}

TEST_F(CaretMoveTest, PageDownOnTheLastPageStopsAtTheLastLine)
{
    std::string text;
    for (int line = 0; line < 30; ++line)
        text += "line " + std::to_string(line) + "\n";
    SetText(text);
    Press(cmd::kPageDown);
    EXPECT_EQ(At(19, 0), Caret());
    EXPECT_EQ(19 * FakeView::kLineHeight, view.scrollY);
    Press(cmd::kPageDown);
    EXPECT_EQ(At(30, 0), Caret());
    Press(cmd::kPageDown);
    EXPECT_EQ(At(30, 0), Caret());
    Press(cmd::kPageUp);
    EXPECT_EQ(At(11, 0), Caret());
    Press(cmd::kSelectPageUp);
    EXPECT_EQ(VxEditLineColPair(0, 0, 11, 0), SelectionRange());
}

TEST_F(CaretMoveTest, EnsureVisibleScrollsByWholeLinesAndEightColumnsPastTheEdge)
{
    std::string text;
    for (int line = 0; line < 100; ++line)
        text += std::string(100, 'x') + "\n";
    SetText(text);
    controller.SetCaret(50, 0);
    controller.EnsureCaretVisible();
    // Below the window: one line more than needed, so the caret line stands whole.
    EXPECT_EQ((50 - 18) * FakeView::kLineHeight, view.scrollY);
    controller.SetCaret(50, 45);
    controller.EnsureCaretVisible();
    EXPECT_EQ((5 + 8) * FakeView::kCharWidth, view.scrollX);
    controller.SetCaret(10, 0);
    controller.EnsureCaretVisible();
    EXPECT_EQ(10 * FakeView::kLineHeight, view.scrollY);
    EXPECT_EQ(0, view.scrollX);
}

TEST_F(CaretMoveTest, ScrollLineKeysKeepTheCaretOnAVisibleLine)
{
    std::string text;
    for (int line = 0; line < 50; ++line)
        text += "abc\n";
    SetText(text);
    Press(cmd::kScrollLineDown);
    EXPECT_EQ(FakeView::kLineHeight, view.scrollY);
    EXPECT_EQ(At(1, 0), Caret());
    Press(cmd::kScrollLineUp);
    EXPECT_EQ(0, view.scrollY);
    EXPECT_EQ(At(1, 0), Caret());
}

TEST_F(CaretMoveTest, PointToPositionRoundsToTheNearerBoundaryAndAllowsVirtualSpace)
{
    SetText("ab\tc");
    int x = 11;
    int y = 3;
    EXPECT_EQ(At(0, 1), controller.PointToPosition(x, y, false));
    EXPECT_EQ(8, x);
    EXPECT_EQ(0, y);
    x = 13;
    EXPECT_EQ(At(0, 2), controller.PointToPosition(x, y, false));
    // Anywhere inside the tab takes the position after it.
    x = 17;
    EXPECT_EQ(At(0, 3), controller.PointToPosition(x, y, false));
    x = 80;
    EXPECT_EQ(At(0, 4), controller.PointToPosition(x, y, false));
    EXPECT_EQ(40, x);
    x = 80;
    EXPECT_EQ(At(0, 9), controller.PointToPosition(x, y, true));
    y = 500;
    x = 0;
    EXPECT_EQ(At(0, 0), controller.PointToPosition(x, y, false));
}

TEST_F(CaretMoveTest, StatusTextsFollowTheCaret)
{
    std::vector<std::string> shown;
    controller.SetCaretStatusHandler(
        [&](const std::string& both, const std::string& line, const std::string& column) {
            shown = {both, line, column};
        });
    bool overwrite = false;
    controller.SetOverwriteHandler([&](bool on) { overwrite = on; });
    SetText("abc\ndef");
    controller.SetCaret(1, 2);
    EXPECT_EQ((std::vector<std::string>{"Ln 2, Col 3", "Line:2", "Col:3"}), shown);
    Press(cmd::kToggleOverwrite);
    EXPECT_TRUE(overwrite);
    Press(cmd::kToggleOverwrite);
    EXPECT_FALSE(overwrite);
}

TEST_F(CaretMoveTest, StatusTextsFollowACaretMovedByAnotherWindowsEdit)
{
    SetText("abc\ndef");
    FakeView otherView(*model);
    VxEditMemoryClipboard otherClipboard;
    CScrivoCtlr other(*model, otherView, otherClipboard);
    std::vector<std::string> shown;
    other.SetCaretStatusHandler(
        [&](const std::string& both, const std::string& line, const std::string& column) {
            shown = {both, line, column};
        });
    other.SetCaret(1, 2);
    ASSERT_EQ((std::vector<std::string>{"Ln 2, Col 3", "Line:2", "Col:3"}), shown);
    Type("x");
    Press(cmd::kReturn);
    EXPECT_EQ(VxEditLineCol(2, 2), other.Caret());
    EXPECT_EQ((std::vector<std::string>{"Ln 3, Col 3", "Line:3", "Col:3"}), shown);
    controller.SetCaret(2, 0);
    Type("yy");
    EXPECT_EQ(VxEditLineCol(2, 4), other.Caret());
    EXPECT_EQ((std::vector<std::string>{"Ln 3, Col 5", "Line:3", "Col:5"}), shown);
}

TEST_F(CaretMoveTest, LeavingAnEditedLineClearsItsChangedMark)
{
    SetText("abc\ndef\n");
    Type("x");
    EXPECT_EQ(1, model->TestMark(0, VxEdit::kMarkChangedLine));
    Press(cmd::kLineDown);
    EXPECT_EQ(0, model->TestMark(0, VxEdit::kMarkChangedLine));
    // With a selection the notification waits.
    Type("y");
    Press(cmd::kSelectLineDown);
    EXPECT_EQ(1, model->TestMark(1, VxEdit::kMarkChangedLine));
    Press(cmd::kCancelSelection);
    Press(cmd::kLineEnd);
    EXPECT_EQ(0, model->TestMark(1, VxEdit::kMarkChangedLine));
}

TEST_F(CaretMoveTest, EditsMadeInAnotherViewMoveTheCaretWithItsText)
{
    SetText("abc\ndef\nghi");
    controller.SetCaret(2, 1);
    FakeView otherView(*model);
    CScrivoCtlr other(*model, otherView, clipboard);
    other.SetCaret(0, 0);
    other.TypeText("xy");
    other.OnCommand(cmd::kReturn);
    EXPECT_EQ(At(3, 1), Caret());
    other.OnCommand(cmd::kEditSelectAll);
    other.OnCommand(cmd::kDelete);
    EXPECT_EQ("", Text());
    EXPECT_EQ(At(0, 0), Caret());
    // Typing here is not merged into the other view's step.
    Type("q");
    Press(cmd::kEditUndo);
    EXPECT_EQ("", Text());
}

}  // namespace
}  // namespace quillet::test
