// The editing keys and typing: merged undo steps, Return with auto-indent,
// Tab and Shift+Tab in their forms, overwrite, virtual space, deleting,
// Ctrl+L and case changes.
#include "ControllerSupport.h"

#include <gtest/gtest.h>

namespace quillet::test {
namespace {

class EditingTest : public ::testing::Test, public ControllerFixture {};

TEST_F(EditingTest, TypingTwoWordsMakesThreeUndoSteps)
{
    SetText("");
    Type("abc def");
    EXPECT_EQ("abc def", Text());
    Press(cmd::kEditUndo);
    EXPECT_EQ("abc ", Text());
    EXPECT_EQ(At(0, 4), Caret());
    Press(cmd::kEditUndo);
    EXPECT_EQ("abc", Text());
    Press(cmd::kEditUndo);
    EXPECT_EQ("", Text());
    EXPECT_EQ(At(0, 0), Caret());
    Press(cmd::kEditRedo);
    EXPECT_EQ("abc", Text());
    EXPECT_EQ(At(0, 3), Caret());
    Press(cmd::kEditRedo, 2);
    EXPECT_EQ("abc def", Text());
    EXPECT_EQ(0u, model->RedoCount());
}

TEST_F(EditingTest, TypingAfterACaretMoveStartsANewStep)
{
    SetText("xy");
    controller.SetCaret(0, 2);
    Type("ab");
    Press(cmd::kCharLeft);
    Type("cd");
    EXPECT_EQ("xyacdb", Text());
    Press(cmd::kEditUndo);
    EXPECT_EQ("xyab", Text());
    Press(cmd::kEditUndo);
    EXPECT_EQ("xy", Text());
}

TEST_F(EditingTest, TypingAfterASaveStartsANewStepAndMarksTheTextModified)
{
    SetText("");
    Type("ab");
    model->SetModified(0);
    Type("cd");
    EXPECT_EQ(1, model->IsModified());
    Press(cmd::kEditUndo);
    EXPECT_EQ("ab", Text());
    EXPECT_EQ(0, model->IsModified());
}

TEST_F(EditingTest, ControlCharactersAreNotTyped)
{
    SetText("");
    Type(std::string("a\tb\x01\x7F" "c"));
    EXPECT_EQ("abc", Text());
}

TEST_F(EditingTest, ReturnIndentsLikeTheLineItEnded)
{
    config->SetAutoIndent(1);
    SetText("    ab");
    controller.SetCaret(0, 5);
    Press(cmd::kReturn);
    // A full tab width of indentation is written as a tab.
    EXPECT_EQ("    a\n\tb", Text());
    EXPECT_EQ(At(1, 1), Caret());
    Press(cmd::kEditUndo);
    EXPECT_EQ("    ab", Text());
}

TEST_F(EditingTest, ReturnEndsLinesAsTheTextDoes)
{
    // A file with LF line ends keeps them, one with CR LF keeps those; a text
    // of one line, as a new one, gets the platform's LF.
    for (const auto& [text, typed] : {std::pair<std::string, std::string>{"a\nb", "a\nx\n\nb"},
                                      {"a\r\nb", "a\r\nx\r\n\r\nb"},
                                      {"ab", "a\nx\nb"}}) {
        SetText(text);
        controller.SetCaret(0, 1);
        Press(cmd::kReturn);
        Type("x");
        Press(cmd::kReturn);
        SCOPED_TRACE(text);
        EXPECT_EQ(typed, Text());
    }
}

TEST_F(EditingTest, ReturnAtALineEndLeavesTheCaretInVirtualSpaceUntilTyping)
{
    config->SetAutoIndent(1);
    SetText("\tfoo");
    Press(cmd::kLineEnd);
    Press(cmd::kReturn);
    EXPECT_EQ("\tfoo\n", Text());
    EXPECT_EQ(At(1, 4), Caret());
    Type("x");
    EXPECT_EQ("\tfoo\n\tx", Text());
    EXPECT_EQ(At(1, 2), Caret());
    // Return on the blank indented line keeps the caret's indentation.
    Press(cmd::kLineEnd);
    Press(cmd::kReturn);
    Press(cmd::kReturn);
    EXPECT_EQ(At(3, 4), Caret());
    Type("y");
    EXPECT_EQ("\tfoo\n\tx\n\n\ty", Text());
}

TEST_F(EditingTest, TypingOnANewIndentedLineIsOneUndoStepWithItsIndentation)
{
    config->SetAutoIndent(1);
    SetText("    foo");
    Press(cmd::kLineEnd);
    Press(cmd::kReturn);
    Type("return x");
    EXPECT_EQ("    foo\n\treturn x", Text());
    Press(cmd::kEditUndo);
    EXPECT_EQ("    foo\n\treturn ", Text());
    Press(cmd::kEditUndo);
    EXPECT_EQ("    foo\n\treturn", Text());
    Press(cmd::kEditUndo);
    EXPECT_EQ("    foo\n", Text());
    Press(cmd::kEditUndo);
    EXPECT_EQ("    foo", Text());
    Press(cmd::kEditRedo, 2);
    EXPECT_EQ("    foo\n\treturn", Text());
    EXPECT_EQ(At(1, 7), Caret());

    // The same in virtual space reached with the caret keys.
    config->SetVirtualWhitespace(1);
    SetText("ab");
    Press(cmd::kLineEnd);
    Press(cmd::kCharRight, 3);
    Type("cd");
    EXPECT_EQ("ab\t cd", Text());
    Press(cmd::kEditUndo);
    EXPECT_EQ("ab", Text());
}

TEST_F(EditingTest, TabOverASelectionEndingAtColumnZeroIndentsItsLinesOnly)
{
    SetText("a\nb\n\nc\nd");
    controller.SetSelection(At(0, 0), At(4, 0), VxEditSelection::kStream);
    controller.SetCaret(4, 0);
    Press(cmd::kTab);
    EXPECT_EQ("\ta\n\tb\n\n\tc\nd", Text());
    EXPECT_EQ(VxEditSelection::kLines, controller.Selection().mode);
    EXPECT_EQ(VxEditLineColPair(0, 0, 4, 0), SelectionRange());
    EXPECT_EQ(At(4, 0), Caret());
    Press(cmd::kEditUndo);
    EXPECT_EQ("a\nb\n\nc\nd", Text());
}

TEST_F(EditingTest, ShiftTabOutdentsEachLineByOneTabOrUpToATabOfSpaces)
{
    SetText("  ab\n\t  cd\n      ef\ngh");
    controller.SetSelection(At(0, 1), At(2, 1), VxEditSelection::kStream);
    controller.SetCaret(2, 1);
    Press(cmd::kBackTab);
    EXPECT_EQ("ab\n  cd\n  ef\ngh", Text());
    EXPECT_EQ(VxEditSelection::kLines, controller.Selection().mode);
    EXPECT_EQ(VxEditLineColPair(0, 0, 3, 0), SelectionRange());
    Press(cmd::kEditUndo);
    EXPECT_EQ("  ab\n\t  cd\n      ef\ngh", Text());
}

TEST_F(EditingTest, ShiftTabWithoutASelectionMovesBackATabStop)
{
    SetText("        x");
    controller.SetCaret(0, 6);
    Press(cmd::kBackTab);
    EXPECT_EQ(At(0, 4), Caret());
    Press(cmd::kBackTab);
    EXPECT_EQ(At(0, 0), Caret());
    EXPECT_EQ("        x", Text());
}

TEST_F(EditingTest, TabReplacesAStreamSelectionOnOneLine)
{
    SetText("abcdef");
    controller.SetSelection(At(0, 1), At(0, 3), VxEditSelection::kStream);
    controller.SetCaret(0, 3);
    Press(cmd::kTab);
    EXPECT_EQ("a\tdef", Text());
    config->SetReplaceTabs(1);
    Press(cmd::kTab);
    EXPECT_EQ("a\t    def", Text());
}

TEST_F(EditingTest, TabOnAColumnBlockInsertsATabOnEveryLineThatReachesIt)
{
    SetText("abcd\nx\nefgh");
    controller.SetSelection(At(0, 2), At(2, 3), VxEditSelection::kColumn);
    Press(cmd::kTab);
    EXPECT_EQ("ab\tcd\nx\nef\tgh", Text());
    EXPECT_EQ(VxEditSelection::kColumn, controller.Selection().mode);
    EXPECT_EQ(VxEditLineColPair(0, 2, 2, 4), SelectionRange());
}

TEST_F(EditingTest, OverwriteTabMovesToTheNextTabStopWithoutTyping)
{
    SetText("abcdefgh");
    controller.SetCaret(0, 1);
    Press(cmd::kToggleOverwrite);
    Press(cmd::kTab);
    EXPECT_EQ(At(0, 4), Caret());
    EXPECT_EQ("abcdefgh", Text());
}

TEST_F(EditingTest, OverwriteReplacesCharactersAndAppendsAtTheLineEnd)
{
    SetText("abc\ndef");
    Press(cmd::kToggleOverwrite);
    Type("xy");
    EXPECT_EQ("xyc\ndef", Text());
    Type("zw");
    EXPECT_EQ("xyzw\ndef", Text());
    // Return in overwrite mode only moves to the next line's start.
    Press(cmd::kReturn);
    EXPECT_EQ(At(1, 0), Caret());
    EXPECT_EQ("xyzw\ndef", Text());
}

TEST_F(EditingTest, OverwriteIsOneFlagForEveryWindowOnTheText)
{
    SetText("abc\ndef");
    FakeView otherView(*model);
    VxEditMemoryClipboard otherClipboard;
    CScrivoCtlr other(*model, otherView, otherClipboard);
    std::vector<bool> shown;
    other.SetOverwriteHandler([&](bool on) { shown.push_back(on); });
    Press(cmd::kToggleOverwrite);
    EXPECT_TRUE(model->IsOverwrite());
    EXPECT_TRUE(other.IsOverwrite());
    EXPECT_EQ(std::vector<bool>{true}, shown);
    tarrow::foundation::CommandState state;
    other.OnUpdateCommand(cmd::kIndicatorOvr, state);
    EXPECT_TRUE(state.enabled);
    // The other window types over the text too, and toggles it back for both.
    other.SetCaret(1, 0);
    other.TypeText("X");
    EXPECT_EQ("abc\nXef", Text());
    other.OnCommand(cmd::kToggleOverwrite);
    EXPECT_FALSE(controller.IsOverwrite());
    EXPECT_EQ((std::vector<bool>{true, false}), shown);
    Type("Y");
    EXPECT_EQ("Yabc\nXef", Text());
}

TEST_F(EditingTest, VirtualSpaceIsPaddedBeforeTyping)
{
    config->SetVirtualWhitespace(1);
    SetText("ab\ncd");
    Press(cmd::kLineEnd);
    Press(cmd::kCharRight, 4);
    EXPECT_EQ(At(0, 6), Caret());
    Type("x");
    EXPECT_EQ("ab\t  x\ncd", Text());
    EXPECT_EQ(At(0, 6), Caret());
    Press(cmd::kEditUndo);
    EXPECT_EQ("ab\ncd", Text());
    // Delete in virtual space pads the line and joins the next one.
    controller.SetCaret(0, 3);
    Press(cmd::kDelete);
    EXPECT_EQ("ab cd", Text());
}

TEST_F(EditingTest, BackspaceAndDeleteJoinLines)
{
    SetText("ab\r\ncd");
    controller.SetCaret(1, 0);
    Press(cmd::kBackspace);
    EXPECT_EQ("abcd", Text());
    EXPECT_EQ(At(0, 2), Caret());
    Press(cmd::kReturn);
    EXPECT_EQ("ab\ncd", Text());
    controller.SetCaret(0, 2);
    Press(cmd::kDelete);
    EXPECT_EQ("abcd", Text());
    Press(cmd::kTextEnd);
    Press(cmd::kDelete);
    EXPECT_EQ("abcd", Text());
    Press(cmd::kTextStart);
    Press(cmd::kBackspace);
    EXPECT_EQ("abcd", Text());
}

TEST_F(EditingTest, WordDeletesRemoveOneRun)
{
    SetText("foo bar.baz");
    Press(cmd::kTextEnd);
    Press(cmd::kDeleteWordLeft);
    EXPECT_EQ("foo bar.", Text());
    Press(cmd::kTextStart);
    Press(cmd::kDeleteWordRight);
    EXPECT_EQ(" bar.", Text());
}

TEST_F(EditingTest, CtrlLCutsTheCaretLineAndCtrlShiftLDeletesSelectedLines)
{
    SetText("one\ntwo\nthree\nfour");
    controller.SetCaret(1, 1);
    Press(cmd::kCutLines);
    EXPECT_EQ("one\nthree\nfour", Text());
    std::string copied;
    bool column = true;
    ASSERT_TRUE(clipboard.GetText(copied, column));
    EXPECT_EQ("two\n", copied);
    EXPECT_FALSE(column);
    EXPECT_EQ(At(1, 0), Caret());
    // A selection ending at column 0 still takes its last line.
    controller.SetSelection(At(0, 2), At(1, 0), VxEditSelection::kStream);
    Press(cmd::kDeleteLines);
    EXPECT_EQ("four", Text());
    Press(cmd::kDeleteLines);
    EXPECT_EQ("", Text());
    Press(cmd::kEditUndo);
    EXPECT_EQ("four", Text());
}

TEST_F(EditingTest, CaseChangeOfAColumnBlockKeepsTheSelection)
{
    SetText("abcd\nefgh\nij\n\xC3\xA9t\xC3\xA9");
    controller.SetSelection(At(0, 1), At(3, 5), VxEditSelection::kColumn);
    Press(cmd::kUpperCase);
    EXPECT_EQ("aBCd\neFGh\niJ\n\xC3\xA9T\xC3\x89", Text());
    EXPECT_EQ(VxEditSelection::kColumn, controller.Selection().mode);
    EXPECT_EQ(VxEditLineColPair(0, 1, 3, 5), SelectionRange());
    Press(cmd::kLowerCase);
    EXPECT_EQ("abcd\nefgh\nij\n\xC3\xA9t\xC3\xA9", Text());
    Press(cmd::kEditUndo);
    EXPECT_EQ("aBCd\neFGh\niJ\n\xC3\xA9T\xC3\x89", Text());
    // Without a selection nothing changes.
    Press(cmd::kCancelSelection);
    Press(cmd::kLowerCase);
    EXPECT_EQ("aBCd\neFGh\niJ\n\xC3\xA9T\xC3\x89", Text());
}

TEST_F(EditingTest, TypingReplacesTheSelection)
{
    SetText("hello world");
    controller.SetSelection(At(0, 0), At(0, 6), VxEditSelection::kStream);
    Type("big ");
    EXPECT_EQ("big world", Text());
    EXPECT_FALSE(controller.HasSelection());
    Press(cmd::kEditUndo, 2);
    EXPECT_EQ("bworld", Text());
    Press(cmd::kEditUndo);
    EXPECT_EQ("hello world", Text());
}

TEST_F(EditingTest, AReadOnlyTextIgnoresEveryEdit)
{
    SetText("fixed");
    controller.SetReadOnly(true);
    Type("x");
    Press(cmd::kReturn);
    Press(cmd::kDelete);
    Press(cmd::kEditSelectAll);
    Press(cmd::kEditCut);
    EXPECT_EQ("fixed", Text());
    tarrow::foundation::CommandState state;
    EXPECT_TRUE(controller.OnUpdateCommand(cmd::kEditCut, state));
    EXPECT_FALSE(state.enabled);
}

TEST_F(EditingTest, CaseChangeOfAStreamEndingInVirtualSpaceStopsAtTheLineEnd)
{
    config->SetAutoIndent(1);
    SetText("    foo");
    Press(cmd::kLineEnd);
    Press(cmd::kReturn);
    Press(cmd::kSelectLineUp);
    Press(cmd::kUpperCase);
    EXPECT_EQ("    FOO\n", Text());
    EXPECT_EQ(VxEditLineColPair(0, 4, 1, 4), SelectionRange());

    // On a CRLF line the line end is not written back into the line.
    config->SetVirtualWhitespace(1);
    SetText("abc\r\ndef");
    controller.SetCaret(0, 1);
    Press(cmd::kSelectCharRight, 3);
    Press(cmd::kUpperCase);
    EXPECT_EQ("aBC\r\ndef", Text());
    EXPECT_EQ(2, model->LineCount());
}

}  // namespace
}  // namespace quillet::test
