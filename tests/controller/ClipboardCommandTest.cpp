// Copy, cut and paste through the controller's clipboard interface, for
// stream, line and column selections.
#include "ControllerSupport.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace quillet::test {
namespace {

class ClipboardCommandTest : public ::testing::Test, public ControllerFixture {
protected:
    std::string Clipboard(bool* column = nullptr)
    {
        std::string text;
        bool isColumn = false;
        if (!clipboard.GetText(text, isColumn))
            return "<empty>";
        if (column)
            *column = isColumn;
        return text;
    }
};

TEST_F(ClipboardCommandTest, AOneMegabyteLineIsWalkedCopiedAndPastedWhole)
{
    const int length = 1 << 20;
    const std::string line = std::string(length - 3, 'x') + "end";
    TempDir dir;
    WriteFileBytes(dir.File("long.txt"), line + "\n");
    ASSERT_EQ(1, model->LoadFile(dir.File("long.txt")));
    Press(cmd::kLineEnd);
    EXPECT_EQ(At(0, length), Caret());
    EXPECT_GT(view.scrollX, (length - 41) * FakeView::kCharWidth);  // the caret is in view
    Press(cmd::kSelectToLineStart);
    Press(cmd::kEditCopy);
    EXPECT_TRUE(line == Clipboard());
    Press(cmd::kLineEnd);  // drops the selection
    Press(cmd::kEditPaste);
    EXPECT_TRUE(line + line + "\n" == Text()) << model->LineCount() << " lines";
    EXPECT_EQ(At(0, 2 * length), Caret());
    Press(cmd::kEditUndo);
    EXPECT_TRUE(line + "\n" == Text());
}

TEST_F(ClipboardCommandTest, ColumnCopyGivesEmptyRowsForShortLines)
{
    SetText("abcdef\nab\nabcdef");
    controller.SetSelection(At(0, 3), At(2, 5), VxEditSelection::kColumn);
    Press(cmd::kEditCopy);
    bool column = false;
    EXPECT_EQ("de\n\nde\n", Clipboard(&column));
    EXPECT_TRUE(column);
}

TEST_F(ClipboardCommandTest, ColumnPasteOnTheSecondToLastLineAddsOneLine)
{
    SetText("a\nb\nc");
    clipboard.SetText("XX\r\nYY\r\nZZ\r\n", true);
    controller.SetCaret(1, 0);
    Press(cmd::kEditPaste);
    // The added line ends as the text's lines do.
    EXPECT_EQ("a\nXXb\nYYc\nZZ", Text());
    Press(cmd::kEditUndo);
    EXPECT_EQ("a\nb\nc", Text());
    SetText("a\r\nb\r\nc");
    controller.SetCaret(1, 0);
    Press(cmd::kEditPaste);
    EXPECT_EQ("a\r\nXXb\r\nYYc\r\nZZ", Text());
}

TEST_F(ClipboardCommandTest, ColumnPasteLinesRowsUpPastShortLines)
{
    SetText("abcd\na\nabcd");
    clipboard.SetText("1\r\n2\r\n3\r\n", true);
    controller.SetCaret(0, 3);
    Press(cmd::kEditPaste);
    EXPECT_EQ("abc1d\na  2\nabc3d", Text());
}

TEST_F(ClipboardCommandTest, AnUnterminatedLastRowOfAColumnBlockIsDropped)
{
    SetText("ab\ncd\nef");
    clipboard.SetText("X\r\nY", true);
    controller.SetCaret(0, 1);
    Press(cmd::kEditPaste);
    EXPECT_EQ("aXb\ncd\nef", Text());
}

TEST_F(ClipboardCommandTest, CopyWithoutASelectionTakesTheLineAndPastesItAboveAnother)
{
    SetText("one\r\ntwo");
    controller.SetCaret(0, 1);
    Press(cmd::kEditCopy);
    bool column = true;
    EXPECT_EQ("one\r\n", Clipboard(&column));
    EXPECT_FALSE(column);
    controller.SetCaret(1, 0);
    Press(cmd::kEditPaste);
    EXPECT_EQ("one\r\none\r\ntwo", Text());
    // The last line is copied up to its end.
    Press(cmd::kTextEnd);
    Press(cmd::kEditCopy);
    EXPECT_EQ("two", Clipboard());
}

TEST_F(ClipboardCommandTest, TwoPastesAreUndoneOneAtATime)
{
    SetText("x");
    clipboard.SetText("ab\ncd", false);
    Press(cmd::kEditPaste);
    Press(cmd::kEditPaste);
    EXPECT_EQ("ab\ncdab\ncdx", Text());
    Press(cmd::kEditUndo);
    EXPECT_EQ("ab\ncdx", Text());
    Press(cmd::kEditUndo);
    EXPECT_EQ("x", Text());
}

TEST_F(ClipboardCommandTest, PasteReplacesTheSelectionInOneStep)
{
    SetText("hello world");
    clipboard.SetText("there", false);
    controller.SetSelection(At(0, 6), At(0, 11), VxEditSelection::kStream);
    Press(cmd::kEditPaste);
    EXPECT_EQ("hello there", Text());
    EXPECT_EQ(At(0, 11), Caret());
    Press(cmd::kEditUndo);
    EXPECT_EQ("hello world", Text());
}

TEST_F(ClipboardCommandTest, CutDeletesTheSelectionButNeverTheLineWithoutOne)
{
    SetText("abc\ndef");
    controller.SetCaret(1, 1);
    Press(cmd::kEditCut);
    EXPECT_EQ("def", Clipboard());
    EXPECT_EQ("abc\ndef", Text());
    controller.SetSelection(At(0, 1), At(1, 1), VxEditSelection::kStream);
    Press(cmd::kEditCut);
    EXPECT_EQ("bc\nd", Clipboard());
    EXPECT_EQ("aef", Text());
}

TEST_F(ClipboardCommandTest, ColumnCutLeavesTheCaretAtTheBlocksCorner)
{
    SetText("abcdef\nab\nabcdef");
    controller.SetSelection(At(2, 5), At(0, 3), VxEditSelection::kColumn);
    Press(cmd::kEditCut);
    EXPECT_EQ("abcf\nab\nabcf", Text());
    EXPECT_EQ(At(0, 3), Caret());
    // Pasting it back restores the block.
    Press(cmd::kEditPaste);
    EXPECT_EQ("abcdef\nab\nabcdef", Text());
}

TEST_F(ClipboardCommandTest, NothingToCopyEmptiesTheClipboardAndPasteOfNothingKeepsTheSelection)
{
    SetText("");
    clipboard.SetText("old", false);
    Press(cmd::kEditCopy);
    EXPECT_EQ("<empty>", Clipboard());
    SetText("keep");
    controller.SetSelection(At(0, 0), At(0, 4), VxEditSelection::kStream);
    Press(cmd::kEditPaste);
    EXPECT_EQ("keep", Text());
    EXPECT_TRUE(controller.HasSelection());
    tarrow::foundation::CommandState state;
    controller.OnUpdateCommand(cmd::kEditPaste, state);
    EXPECT_FALSE(state.enabled);
}

TEST_F(ClipboardCommandTest, CopyAsHtmlPutsTheSelectionsHtmlOnTheClipboardAsText)
{
    SetText("a<b\tc\nsecond\nthird");
    controller.SetSelection(At(0, 0), At(1, 3), VxEditSelection::kStream);
    Press(cmd::kEditCopyAsHtml);
    bool column = true;
    const std::string stream = Clipboard(&column);
    EXPECT_FALSE(column);
    EXPECT_EQ("<PRE>", stream.substr(0, 5));
    EXPECT_EQ("</PRE>", stream.substr(stream.size() - 6));
    EXPECT_NE(std::string::npos, stream.find("a&lt;b&nbsp;&nbsp;&nbsp;&nbsp;c"));
    EXPECT_NE(std::string::npos, stream.find("\r\n"));
    EXPECT_NE(std::string::npos, stream.find("sec"));
    EXPECT_EQ(std::string::npos, stream.find("second"));

    // A column block: one piece per line joined by <BR>, no line ends.
    controller.SetSelection(At(0, 0), At(2, 2), VxEditSelection::kColumn);
    Press(cmd::kEditCopyAsHtml);
    const std::string block = Clipboard();
    EXPECT_EQ(std::string::npos, block.find("\r\n"));
    EXPECT_NE(std::string::npos, block.find("<BR>"));
    EXPECT_NE(block.find("<BR>"), block.rfind("<BR>"));

    // Nothing selected: an empty text.
    Press(cmd::kCancelSelection);
    Press(cmd::kEditCopyAsHtml);
    EXPECT_EQ("", Clipboard());
}

TEST_F(ClipboardCommandTest, AStreamSelectionEndingInVirtualSpaceCopiesAndCutsUpToTheLineEnd)
{
    config->SetAutoIndent(1);
    SetText("    foo");
    Press(cmd::kLineEnd);
    Press(cmd::kReturn);
    ASSERT_EQ(At(1, 4), Caret());
    Press(cmd::kSelectLineUp);
    ASSERT_EQ(VxEditLineColPair(0, 4, 1, 4), SelectionRange());
    Press(cmd::kEditCopy);
    EXPECT_EQ("foo\n", Clipboard());
    clipboard.Clear();
    Press(cmd::kEditCut);
    EXPECT_EQ("foo\n", Clipboard());
    EXPECT_EQ("    ", Text());
    Press(cmd::kEditUndo);
    EXPECT_EQ("    foo\n", Text());
}

TEST_F(ClipboardCommandTest, ASelectionStartingInVirtualSpaceIsCutAndTypedOverAsCopied)
{
    config->SetAutoIndent(1);
    SetText("    foo\r\nbar");
    Press(cmd::kLineEnd);
    Press(cmd::kReturn);
    ASSERT_EQ(At(1, 4), Caret());
    Press(cmd::kSelectLineDown);
    Press(cmd::kEditCut);
    EXPECT_EQ("\r\nbar", Clipboard());
    EXPECT_EQ("    foo\r\n", Text());
    Press(cmd::kEditUndo);
    EXPECT_EQ("    foo\r\n\r\nbar", Text());

    // Typing over the same selection replaces exactly that text.
    SetText("    foo\r\nbar");
    Press(cmd::kLineEnd);
    Press(cmd::kReturn);
    Press(cmd::kSelectLineDown);
    Type("x");
    EXPECT_EQ("    foo\r\n\tx", Text());
}

TEST_F(ClipboardCommandTest, AStartPastACrLfLineEndNeverSplitsTheLineBreak)
{
    config->SetVirtualWhitespace(1);
    SetText("abc\r\ndef");
    controller.SetCaret(0, 4);
    Press(cmd::kSelectLineDown);
    Press(cmd::kEditCut);
    EXPECT_EQ(std::string::npos, Text().find("\r" "ef"));
    EXPECT_EQ(Clipboard().size() + Text().size(), std::string("abc\r\ndef").size());
}

TEST_F(ClipboardCommandTest, AVirtualEndOnACrLfLineCopiesNoCarriageReturn)
{
    config->SetVirtualWhitespace(1);
    SetText("abc\r\ndef");
    controller.SetCaret(0, 1);
    Press(cmd::kSelectCharRight, 3);
    ASSERT_EQ(VxEditLineColPair(0, 1, 0, 4), SelectionRange());
    Press(cmd::kEditCopy);
    EXPECT_EQ("bc", Clipboard());
    // Past the line's text by more than the line end.
    Press(cmd::kSelectCharRight, 3);
    Press(cmd::kEditCopy);
    EXPECT_EQ("bc", Clipboard());
}

}  // namespace
}  // namespace quillet::test
