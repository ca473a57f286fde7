// The marker commands: toggle, next and previous with their wrap-around
// order, clear all, their enable rules, go to line, and where the window
// scrolls on a jump.
#include "ControllerSupport.h"

#include "controller/VxEditSearchState.h"

#include <gtest/gtest.h>

namespace quillet::test {
namespace {

class MarkerCommandTest : public ::testing::Test, public ControllerFixture {
protected:
    MarkerCommandTest()
    {
        std::string text;
        for (int line = 1; line <= 30; ++line)
            text += "line " + std::to_string(line) + "\n";
        SetText(text);
    }
    bool Enabled(int id)
    {
        tarrow::foundation::CommandState state;
        state.enabled = false;
        EXPECT_TRUE(controller.OnUpdateCommand(id, state)) << id;
        return state.enabled;
    }
};

TEST_F(MarkerCommandTest, BreakpointsWrapBothWays)
{
    controller.SetCaret(2, 3);
    Press(cmd::kToggleBreakpoint);
    controller.SetCaret(9, 0);
    Press(cmd::kToggleBreakpoint);
    Press(cmd::kMarkerNextFirst + VxEdit::kMarkBreakpoint);
    EXPECT_EQ(At(2, 0), Caret());
    Press(cmd::kMarkerPreviousFirst + VxEdit::kMarkBreakpoint);
    EXPECT_EQ(At(9, 0), Caret());
}

TEST_F(MarkerCommandTest, NextErrorOnTheOnlyErrorLineStaysThereAtColumnZero)
{
    model->SetMark(5, VxEdit::kMarkErrorLine, true);
    controller.SetCaret(5, 4);
    Press(cmd::kNextError);
    EXPECT_EQ(At(5, 0), Caret());
}

TEST_F(MarkerCommandTest, NextPreviousAndClearAreEnabledOnlyWhileALineCarriesTheBit)
{
    Press(cmd::kToggleBreakpoint);
    EXPECT_TRUE(Enabled(cmd::kToggleBreakpoint));
    EXPECT_TRUE(Enabled(cmd::kClearBreakpoints));
    EXPECT_FALSE(Enabled(cmd::kNextError));
    EXPECT_FALSE(Enabled(cmd::kPrevError));
    EXPECT_FALSE(Enabled(cmd::kClearErrors));
    EXPECT_TRUE(Enabled(cmd::kMarkerToggleFirst + 31));
    EXPECT_FALSE(Enabled(cmd::kMarkerClearFirst + 31));
    // The 33rd id of a range names no bit.
    tarrow::foundation::CommandState state;
    EXPECT_FALSE(controller.OnUpdateCommand(cmd::kMarkerNextFirst + 32, state));
}

TEST_F(MarkerCommandTest, ClearAllBreakpointsLeavesErrorsAndBookmarks)
{
    for (int line : {1, 4, 7}) {
        controller.SetCaret(line, 0);
        Press(cmd::kToggleBreakpoint);
        Press(cmd::kToggleBookmark);
    }
    model->SetMark(4, VxEdit::kMarkErrorLine, true);
    Press(cmd::kClearBreakpoints);
    EXPECT_EQ(0, model->CountMarkedLines(VxEdit::kMarkBreakpoint));
    EXPECT_EQ(3, model->CountMarkedLines(VxEdit::kMarkBookmark));
    EXPECT_EQ(1, model->TestMark(4, VxEdit::kMarkErrorLine));
    controller.SetCaret(5, 2);
    Press(cmd::kNextBookmark);
    EXPECT_EQ(At(7, 0), Caret());
    Press(cmd::kNextBookmark);
    EXPECT_EQ(At(1, 0), Caret());
    Press(cmd::kPrevBookmark);
    EXPECT_EQ(At(7, 0), Caret());
    Press(cmd::kClearBookmarks);
    EXPECT_EQ(0, model->CountMarkedLines(VxEdit::kMarkBookmark));
}

TEST_F(MarkerCommandTest, GotoLineClampsTheTarget)
{
    controller.GotoLine(0);
    EXPECT_EQ(At(0, 0), Caret());
    EXPECT_EQ(0, view.scrollY);
    controller.GotoLine(1000);
    EXPECT_EQ(At(model->LastLine(), 0), Caret());
    controller.GotoLine(26);
    EXPECT_EQ(At(25, 0), Caret());
}

// 20 lines show; a jump to a line out of sight puts it 20 / 3 = 6 lines
// below the top, one in sight moves nothing.
TEST_F(MarkerCommandTest, EveryJumpPutsAnUnseenLineAThirdDownAndLeavesASeenOneInPlace)
{
    std::string text = "{\n";
    for (int line = 1; line < 80; ++line)
        text += "line " + std::to_string(line) + "\n";
    text += "}\n";
    SetText(text);
    const auto top = [this] { return view.scrollY / FakeView::kLineHeight; };

    controller.GotoLine(41);
    EXPECT_EQ(At(40, 0), Caret());
    EXPECT_EQ(40 - 6, top());
    controller.GotoLine(50);  // in sight
    EXPECT_EQ(40 - 6, top());

    // Ctrl+] to the partner far below, and back.
    controller.SetCaret(0, 0);
    controller.EnsureCaretVisible();
    ASSERT_EQ(0, top());
    Press(cmd::kEditMatchBrace);
    EXPECT_EQ(At(80, 0), Caret());
    EXPECT_EQ(80 - 6, top());
    Press(cmd::kEditMatchBrace);
    EXPECT_EQ(At(0, 0), Caret());
    EXPECT_EQ(0, top());

    // Next bookmark down the text.
    model->SetMark(60, VxEdit::kMarkBookmark, true);
    Press(cmd::kNextBookmark);
    EXPECT_EQ(At(60, 0), Caret());
    EXPECT_EQ(60 - 6, top());

    // A find that wraps round to the top part of the text.
    VxEditSearchState& state = VxEditSearchState::ForThread();
    state.findText = "line 12";
    state.searchDown = true;
    state.fromFindDialog = true;
    ASSERT_EQ(1, controller.FindNext(state));
    EXPECT_EQ(At(12, 7), Caret());
    EXPECT_EQ(12 - 6, top());

    // The error line the output window marks.
    controller.MarkErrorLine(70);
    EXPECT_EQ(At(70, 0), Caret());
    EXPECT_EQ(70 - 6, top());
}

}  // namespace
}  // namespace quillet::test
