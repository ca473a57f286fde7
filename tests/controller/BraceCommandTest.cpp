// Go to Matching Brace and the pair the painter marks: Ctrl+] moves to the
// partner and back, Ctrl+Shift+] selects both brackets and what lies
// between, and a bracket without a partner moves nothing.
#include "ControllerSupport.h"

#include <gtest/gtest.h>

namespace quillet::test {
namespace {

class BraceCommandTest : public ::testing::Test, public ControllerFixture {};

TEST_F(BraceCommandTest, CtrlBracketMovesToThePartnerAndBack)
{
    SetText("void f() {\n    g(a[1]);\n}\n");
    controller.SetCaret(0, 9);
    VxEditLineCol bracket;
    VxEditLineCol partner;
    ASSERT_TRUE(controller.HighlightedBraces(bracket, partner));
    EXPECT_EQ(At(0, 9), bracket);
    EXPECT_EQ(At(2, 0), partner);
    Press(cmd::kEditMatchBrace);
    EXPECT_EQ(At(2, 0), Caret());
    Press(cmd::kEditMatchBrace);
    EXPECT_EQ(At(0, 9), Caret());
}

TEST_F(BraceCommandTest, ShiftSelectsBothBracketsAndWhatLiesBetween)
{
    SetText("x = g(a[1]) + 2;");
    controller.SetCaret(0, 11);  // just after ")"
    Press(cmd::kSelectToBrace);
    EXPECT_EQ(At(0, 5), SelectionRange().start);
    EXPECT_EQ(At(0, 11), SelectionRange().end);
    EXPECT_EQ(At(0, 5), Caret());
}

TEST_F(BraceCommandTest, ABracketWithoutPartnerMovesNothingAndMarksNothing)
{
    SetText("if (a[1) {");
    controller.SetCaret(0, 5);
    VxEditLineCol bracket;
    VxEditLineCol partner;
    EXPECT_FALSE(controller.HighlightedBraces(bracket, partner));
    Press(cmd::kEditMatchBrace);
    EXPECT_EQ(At(0, 5), Caret());
}

}  // namespace
}  // namespace quillet::test
