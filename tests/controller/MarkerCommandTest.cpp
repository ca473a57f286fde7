// The marker commands: toggle, next and previous with their wrap-around
// order, clear all, their enable rules, and go to line.
#include "ControllerSupport.h"

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

TEST_F(MarkerCommandTest, GotoLineClampsAndCentresTheTarget)
{
    controller.GotoLine(0);
    EXPECT_EQ(At(0, 0), Caret());
    EXPECT_EQ(0, view.scrollY);
    controller.GotoLine(1000);
    EXPECT_EQ(At(model->LastLine(), 0), Caret());
    controller.GotoLine(26);
    EXPECT_EQ(At(25, 0), Caret());
    // 20 visible lines: the target stands ten lines below the top.
    EXPECT_EQ((25 - 10) * FakeView::kLineHeight, view.scrollY);
}

}  // namespace
}  // namespace quillet::test
