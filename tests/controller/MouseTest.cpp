// The mouse in the controller: clicks, drags and double-clicks in the text
// area and the margin, column drags, the auto-scroll timer, margin widths,
// the wheel and drops, on a view of fixed metrics.
#include "ControllerSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace quillet::test {
namespace {

class MouseTest : public ::testing::Test, public ControllerFixture {
protected:
    using Keys = VxEditController::MouseKeys;

    int Margin() const { return controller.MarginWidth(); }
    // The left half of a character cell, in window pixels.
    int X(int column) const { return Margin() + column * FakeView::kCharWidth + 2; }
    int Y(int line) const { return line * FakeView::kLineHeight + 4 - view.scrollY; }

    void Click(int line, int column, int keys = 0)
    {
        controller.OnLButtonDown(X(column), Y(line), keys);
        controller.OnLButtonUp(X(column), Y(line));
        RunPosted();
    }
    void Drag(int line, int column, int toLine, int toColumn, int keys = 0)
    {
        controller.OnLButtonDown(X(column), Y(line), keys);
        controller.OnMouseMove(X(toColumn), Y(toLine));
        controller.OnLButtonUp(X(toColumn), Y(toLine));
        RunPosted();
    }
    // Presses inside the selection and moves the held button far enough to
    // drag the selected text, then lets the button go.
    void DragText(int line, int column)
    {
        controller.OnLButtonDown(X(column), Y(line), 0);
        controller.OnMouseMove(X(column) + FakeView::kDragDistance, Y(line));
        controller.OnLButtonUp(X(column) + FakeView::kDragDistance, Y(line));
        RunPosted();
    }
    std::string Selected() { return controller.SelectionText(); }
};

TEST_F(MouseTest, ClicksPlaceTheCaretShiftExtendsCtrlSelectsAWord)
{
    SetText("alpha beta gamma\r\nsecond line\r\n");
    Click(0, 7);
    EXPECT_EQ(VxEditLineCol(0, 7), Caret());
    EXPECT_FALSE(controller.HasSelection());
    EXPECT_FALSE(controller.IsCaptured());
    EXPECT_TRUE(view.timers.empty());

    Click(1, 3, Keys::kKeyShift);
    EXPECT_EQ(VxEditLineCol(1, 3), Caret());
    EXPECT_EQ("eta gamma\r\nsec", Selected());
    Click(0, 2, Keys::kKeyShift);
    EXPECT_EQ("pha b", Selected());

    Click(0, 12, Keys::kKeyCtrl);
    EXPECT_EQ("gamma", Selected());
    EXPECT_EQ(VxEditLineCol(0, 16), Caret());

    // A click outside the selection cancels it.
    Click(1, 0);
    EXPECT_FALSE(controller.HasSelection());
    EXPECT_EQ(VxEditLineCol(1, 0), Caret());
}

TEST_F(MouseTest, ADragSelectsAStreamAndTheTimerRunsOnlyWhileTheButtonIsDown)
{
    SetText("one two three\r\nfour five six\r\n");
    controller.OnLButtonDown(X(4), Y(0), 0);
    EXPECT_TRUE(controller.IsCaptured());
    EXPECT_EQ(100, view.timers[VxEditController::kAutoScrollTimer]);
    // The move that repeats the button-down point is skipped.
    controller.OnMouseMove(X(4), Y(0));
    EXPECT_FALSE(controller.HasSelection());
    controller.OnMouseMove(X(4), Y(1));
    EXPECT_EQ("two three\r\nfour", Selected());
    controller.OnLButtonUp(X(9), Y(1));
    EXPECT_EQ("two three\r\nfour five", Selected());
    EXPECT_EQ(VxEditSelection::kStream, controller.Selection().mode);
    EXPECT_TRUE(view.timers.empty());
    EXPECT_FALSE(controller.IsCaptured());
}

TEST_F(MouseTest, NothingIsEditedWhileTheButtonIsHeldForADrag)
{
    SetText("one two\r\nthree\r\n");
    clipboard.SetText("pasted", false);
    controller.OnLButtonDown(X(4), Y(0), 0);
    controller.OnMouseMove(X(7), Y(0));
    ASSERT_EQ("two", Selected());
    Type("x");
    Press(cmd::kReturn);
    Press(cmd::kDelete);
    Press(cmd::kEditPaste);
    Press(cmd::kEditCut);
    Press(cmd::kUpperCase);
    EXPECT_EQ("one two\r\nthree\r\n", Text());
    EXPECT_EQ(0, model->UndoCount());
    tarrow::foundation::CommandState state;
    controller.OnUpdateCommand(cmd::kEditPaste, state);
    EXPECT_FALSE(state.enabled);
    // A line drag in the margin holds editing back too.
    controller.OnLButtonUp(X(7), Y(0));
    controller.OnLButtonDown(5, Y(1), 0);
    Type("y");
    EXPECT_EQ("one two\r\nthree\r\n", Text());
    controller.OnLButtonUp(5, Y(1));
    // With the button up the selection is typed over.
    Type("z");
    EXPECT_EQ("one two\r\nz", Text());
}

TEST_F(MouseTest, TheTimerKeepsSelectingBelowTheWindow)
{
    std::string text;
    for (int line = 0; line < 100; ++line)
        text += "line " + std::to_string(line) + "\r\n";
    SetText(text);
    controller.OnLButtonDown(X(0), Y(2), 0);
    const int below = view.height + 5;
    controller.OnMouseMove(X(0), below);
    const int firstLine = Caret().line;
    for (int tick = 0; tick < 5; ++tick)
        controller.OnTimer(VxEditController::kAutoScrollTimer);
    EXPECT_GT(Caret().line, firstLine + 4);
    EXPECT_GT(view.scrollY, 0);
    controller.OnCaptureLost();
    EXPECT_FALSE(controller.IsCaptured());
    EXPECT_TRUE(view.timers.empty());
    EXPECT_EQ(VxEditLineCol(2, 0), SelectionRange().start);
    EXPECT_EQ(Caret(), SelectionRange().end);
}

TEST_F(MouseTest, MarginClicksSelectLinesAndADragIntoTheTextSelectsAStream)
{
    SetText("first\r\nsecond\r\nthird\r\nlast");
    controller.OnLButtonDown(5, Y(1), 0);
    controller.OnLButtonUp(5, Y(1));
    EXPECT_EQ(VxEditSelection::kLines, controller.Selection().mode);
    EXPECT_EQ("second\r\n", Selected());
    EXPECT_EQ(VxEditLineCol(2, 0), Caret());

    controller.OnLButtonDown(5, Y(2), 0);
    controller.OnMouseMove(5, Y(3));
    EXPECT_EQ("third\r\nlast", Selected());
    controller.OnMouseMove(5, Y(0));
    EXPECT_EQ("first\r\nsecond\r\nthird\r\n", Selected());
    EXPECT_EQ(VxEditLineCol(0, 0), Caret());
    controller.OnMouseMove(X(2), Y(3));
    EXPECT_EQ(VxEditSelection::kStream, controller.Selection().mode);
    EXPECT_EQ("la", Selected());
    controller.OnMouseMove(X(4), Y(1));
    EXPECT_EQ("nd\r\nthird\r\n", Selected());
    controller.OnLButtonUp(X(4), Y(1));
    EXPECT_EQ(VxEditSelection::kStream, controller.Selection().mode);

    // Ctrl in the margin selects everything with the caret at the end.
    controller.OnLButtonDown(5, Y(0), Keys::kKeyCtrl);
    controller.OnLButtonUp(5, Y(0));
    EXPECT_EQ(Text(), Selected());
    EXPECT_EQ(VxEditLineCol(3, 4), Caret());
    // A double-click in the margin cancels unless Ctrl is held.
    controller.OnLButtonDblClk(5, Y(0), Keys::kKeyCtrl);
    EXPECT_TRUE(controller.HasSelection());
    controller.OnLButtonDblClk(5, Y(0), 0);
    EXPECT_FALSE(controller.HasSelection());
}

TEST_F(MouseTest, AltDragsAColumnBlockAndAZeroWidthOneCancels)
{
    SetText("abcdef\r\nghijkl\r\nmn\r\n");
    controller.OnLButtonDown(X(1), Y(0), Keys::kKeyAlt);
    controller.OnMouseMove(X(5), Y(2));
    EXPECT_EQ(VxEditSelection::kColumnDrag, controller.Selection().mode);
    controller.OnLButtonUp(X(5), Y(2));
    EXPECT_EQ(VxEditSelection::kColumn, controller.Selection().mode);
    EXPECT_EQ("bcde\nhijk\nn\n", Selected());
    EXPECT_EQ(VxEditLineCol(2, 5), Caret());

    Drag(0, 3, 2, 3, Keys::kKeyAlt);
    EXPECT_FALSE(controller.HasSelection());
    EXPECT_EQ(VxEditSelection::kNone, controller.Selection().mode);
}

TEST_F(MouseTest, ADoubleClickSelectsTheWord)
{
    SetText("int count = 42;\r\n");
    controller.OnLButtonDown(X(6), Y(0), 0);
    controller.OnLButtonUp(X(6), Y(0));
    controller.OnLButtonDblClk(X(6), Y(0), 0);
    EXPECT_EQ("count", Selected());
}

TEST_F(MouseTest, MarginStylesSetTheMarginWidth)
{
    SetText(std::string(150, '\n'));
    EXPECT_EQ(20, controller.MarginWidth());
    controller.SetMarginStyle(VxEditController::kMarginStyleNone);
    EXPECT_EQ(0, controller.MarginWidth());
    controller.SetMarginStyle(VxEditController::kMarginStyleNumbers);
    EXPECT_EQ(3 * FakeView::kCharWidth, controller.MarginWidth());
    controller.SetMarginStyle(45311);
    EXPECT_EQ(20 + 3 * FakeView::kCharWidth, controller.MarginWidth());
    controller.SetNumberMarginWidth(30);
    EXPECT_EQ(50, controller.MarginWidth());
    controller.OnCommand(cmd::kViewLineNumbers);
    EXPECT_EQ(5 * FakeView::kCharWidth, controller.MarginWidth());
    // A click in that margin selects the line.
    Click(2, -3);
    EXPECT_EQ(VxEditSelection::kLines, controller.Selection().mode);
    EXPECT_EQ(VxEditLineCol(2, 0), SelectionRange().start);
    EXPECT_EQ(VxEditLineCol(3, 0), SelectionRange().end);
}

TEST_F(MouseTest, TheWheelScrollsTwoLinesPerNotch)
{
    SetText(std::string(100, '\n'));
    controller.OnMouseWheel(-120);
    EXPECT_EQ(2 * FakeView::kLineHeight, view.scrollY);
    controller.OnMouseWheel(-360);
    EXPECT_EQ(8 * FakeView::kLineHeight, view.scrollY);
    controller.OnMouseWheel(60);
    EXPECT_EQ(8 * FakeView::kLineHeight, view.scrollY);
    controller.OnMouseWheel(60);
    EXPECT_EQ(6 * FakeView::kLineHeight, view.scrollY);
}

TEST_F(MouseTest, AClickInsideTheSelectionPlacesTheCaretWithoutADrag)
{
    SetText("move these words\r\n");
    model->SetModified(0);
    Drag(0, 5, 0, 10);
    ASSERT_EQ("these", Selected());
    Click(0, 7);
    EXPECT_TRUE(view.dragged.empty());
    EXPECT_FALSE(controller.HasSelection());
    EXPECT_EQ(VxEditLineCol(0, 7), Caret());
    EXPECT_EQ(0, model->UndoCount());
    EXPECT_EQ(0, model->IsModified());

    // A move shorter than the drag distance is still a click.
    Drag(0, 5, 0, 10);
    controller.OnLButtonDown(X(7), Y(0), 0);
    EXPECT_TRUE(controller.IsDragPending());
    controller.OnMouseMove(X(7) + FakeView::kDragDistance - 1, Y(0));
    EXPECT_TRUE(view.dragged.empty());
    EXPECT_EQ("these", Selected());
    controller.OnLButtonUp(X(7) + FakeView::kDragDistance - 1, Y(0));
    EXPECT_TRUE(view.dragged.empty());
    EXPECT_FALSE(controller.HasSelection());
    EXPECT_EQ(VxEditLineCol(0, 7), Caret());
    EXPECT_EQ("move these words\r\n", Text());
    EXPECT_EQ(0, model->IsModified());
}

TEST_F(MouseTest, LosingTheMouseBeforeADragStartsKeepsTheSelection)
{
    SetText("move these words\r\n");
    Drag(0, 5, 0, 10);
    controller.OnLButtonDown(X(7), Y(0), 0);
    ASSERT_TRUE(controller.IsDragPending());
    Type("x");
    EXPECT_EQ("move these words\r\n", Text());
    controller.OnCaptureLost();
    EXPECT_FALSE(controller.IsDragPending());
    EXPECT_EQ("these", Selected());
    controller.OnMouseMove(X(7), Y(0) + 2 * FakeView::kDragDistance);
    EXPECT_TRUE(view.dragged.empty());
    Type("x");
    EXPECT_EQ("move x words\r\n", Text());
}

TEST_F(MouseTest, MovingTheHeldButtonDragsTheSelectionAndWithoutADropTheCaretStays)
{
    SetText("move these words\r\n");
    Drag(0, 5, 0, 10);
    ASSERT_EQ("these", Selected());
    controller.OnLButtonDown(X(7), Y(0), 0);
    EXPECT_TRUE(view.dragged.empty());
    EXPECT_EQ("these", Selected());
    controller.OnMouseMove(X(7), Y(0) + FakeView::kDragDistance);
    ASSERT_EQ(1u, view.dragged.size());
    EXPECT_EQ("these", view.dragged[0]);
    EXPECT_FALSE(controller.IsDragPending());
    EXPECT_FALSE(controller.HasSelection());
    EXPECT_EQ(VxEditLineCol(0, 7), Caret());
    // The button-up that ends the drag changes nothing more.
    controller.OnLButtonUp(X(7), Y(0) + FakeView::kDragDistance);
    EXPECT_EQ(1u, view.dragged.size());
    EXPECT_EQ(VxEditLineCol(0, 7), Caret());
    EXPECT_EQ("move these words\r\n", Text());
}

TEST_F(MouseTest, ADropOnTheDraggedTextOrItsEdgesChangesNothing)
{
    SetText("move these words\r\n");
    model->SetModified(0);
    for (const int target : {5, 7, 10}) {
        Drag(0, 5, 0, 10);
        ASSERT_EQ("these", Selected());
        view.dragResult = [&](const std::string& text, bool column) {
            return controller.Drop(X(target), Y(0), text, column, false);
        };
        DragText(0, 7);
        EXPECT_EQ("move these words\r\n", Text()) << "dropped at " << target;
        EXPECT_EQ(0, model->UndoCount()) << "dropped at " << target;
        EXPECT_EQ(0, model->IsModified()) << "dropped at " << target;
        EXPECT_EQ(VxEditLineCol(0, target), Caret());
    }
    // A column block dropped on its own edge stays too.
    SetText("abcdef\r\nghijkl\r\n");
    model->SetModified(0);
    Drag(0, 1, 1, 3, Keys::kKeyAlt);
    ASSERT_EQ("bc\nhi\n", Selected());
    view.dragResult = [&](const std::string& text, bool column) {
        return controller.Drop(X(3), Y(0), text, column, false);
    };
    DragText(0, 2);
    EXPECT_EQ("abcdef\r\nghijkl\r\n", Text());
    EXPECT_EQ(0, model->IsModified());
}

TEST_F(MouseTest, ADropOnTheSameWindowMovesTheTextAsOneUndoStep)
{
    SetText("alpha beta gamma\r\n");
    Drag(0, 6, 0, 11);
    ASSERT_EQ("beta ", Selected());
    view.dragResult = [&](const std::string& text, bool column) {
        return controller.Drop(X(0), Y(0), text, column, false);
    };
    DragText(0, 7);
    EXPECT_EQ("beta alpha gamma\r\n", Text());
    EXPECT_EQ("beta ", Selected());
    EXPECT_EQ(1, model->UndoCount());
    Press(cmd::kEditUndo);
    EXPECT_EQ("alpha beta gamma\r\n", Text());

    // With Ctrl the text is copied, and the copy is selected.
    Drag(0, 0, 0, 5);
    view.dragResult = [&](const std::string& text, bool column) {
        return controller.Drop(X(16), Y(0), text, column, true);
    };
    DragText(0, 2);
    EXPECT_EQ("alpha beta gammaalpha\r\n", Text());
    EXPECT_EQ("alpha", Selected());
    EXPECT_EQ(VxEditLineCol(0, 21), Caret());
}

TEST_F(MouseTest, ADragThatPassesOverTheWindowLeavesItsCaretAndSelectionAsTheyWere)
{
    config->SetAutoIndent(1);
    SetText("    abc\r\nnext line\r\n");
    Press(cmd::kLineEnd);
    Press(cmd::kReturn);
    controller.SetSelection(At(2, 0), At(2, 4), VxEditSelection::kStream);
    ASSERT_EQ(At(1, 4), Caret());
    EXPECT_TRUE(controller.DragOver(X(2), Y(0)));
    EXPECT_TRUE(controller.IsDropTarget());
    EXPECT_EQ(At(0, 2), Caret());
    EXPECT_TRUE(controller.DragOver(X(3), Y(2)));
    EXPECT_EQ(At(2, 3), Caret());
    controller.DragLeave();
    EXPECT_FALSE(controller.IsDropTarget());
    EXPECT_EQ(At(1, 4), Caret());
    EXPECT_EQ(VxEditLineColPair(2, 0, 2, 4), SelectionRange());
    // Typing goes where the caret was.
    Press(cmd::kCancelSelection);
    Type("x");
    EXPECT_EQ("    abc\r\n\tx\r\nnext line\r\n", Text());

    // The window's own text dragged out over itself and dropped elsewhere.
    SetText("one two three\r\n");
    Drag(0, 4, 0, 8);
    ASSERT_EQ("two ", Selected());
    view.dragResult = [&](const std::string&, bool) {
        controller.DragOver(X(12), Y(0));
        controller.DragLeave();
        return IVxEditView::kDropMove;
    };
    DragText(0, 5);
    EXPECT_EQ("one three\r\n", Text());
    EXPECT_FALSE(controller.IsDropTarget());
}

TEST_F(MouseTest, AColumnBlockMovesAsABlock)
{
    SetText("abcdef\r\nghijkl\r\n");
    Drag(0, 1, 1, 3, Keys::kKeyAlt);
    ASSERT_EQ("bc\nhi\n", Selected());
    view.dragResult = [&](const std::string& text, bool column) {
        EXPECT_TRUE(column);
        return controller.Drop(X(6), Y(0), text, column, false);
    };
    DragText(0, 2);
    EXPECT_EQ("adefbc\r\ngjklhi\r\n", Text());
    EXPECT_EQ(VxEditSelection::kColumn, controller.Selection().mode);
    EXPECT_EQ("bc\nhi\n", Selected());
    EXPECT_EQ(1, model->UndoCount());
}

TEST_F(MouseTest, RandomStreamMovesMatchAStringModel)
{
    std::mt19937 random(8);
    for (int round = 0; round < 60; ++round) {
        std::string line;
        for (int i = 0; i < 20; ++i)
            line += static_cast<char>('a' + random() % 26);
        SetText(line);
        const int from = static_cast<int>(random() % 19);
        const int to = from + 1 + static_cast<int>(random() % (19 - from));
        const int target = static_cast<int>(random() % 21);
        Drag(0, from, 0, to);
        ASSERT_EQ(line.substr(from, to - from), Selected());
        std::string expected = line;
        if (target > from && target < to) {
            // Dropped into itself: nothing moves.
        } else {
            const std::string piece = line.substr(from, to - from);
            expected.erase(from, to - from);
            expected.insert(target >= to ? target - (to - from) : target, piece);
        }
        view.dragResult = [&](const std::string& text, bool column) {
            return controller.Drop(X(target), Y(0), text, column, false);
        };
        DragText(0, from);
        EXPECT_EQ(expected, Text()) << "from " << from << " to " << to << " target " << target;
    }
}

}  // namespace
}  // namespace quillet::test
