// Real mouse, wheel, drag-and-drop and context-menu events on a shown edit
// view: the selection, its mode and the caret that result.
#include "ViewSupport.h"

#include "resources/CommandIds.h"
#include "view/VxEditQtClipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QMenu>
#include <QMimeData>
#include <QSplitter>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace quillet::test {
namespace {

// An edit view whose drags are dropped at a set point by sending the drag
// and drop events a drop target gets, instead of waiting for a real mouse.
class DroppingView : public CScrivoView {
public:
    using CScrivoView::CScrivoView;

    QPoint dropAt;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    bool drop = true;
    int drags = 0;

protected:
    Qt::DropAction RunDrag(QMimeData* data) override
    {
        ++drags;
        const std::unique_ptr<QMimeData> owned(data);
        const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
        QDragEnterEvent enter(dropAt, actions, data, Qt::LeftButton, modifiers);
        QCoreApplication::sendEvent(viewport(), &enter);
        if (!drop || !enter.isAccepted()) {
            QDragLeaveEvent leave;
            QCoreApplication::sendEvent(viewport(), &leave);
            return Qt::IgnoreAction;
        }
        QDropEvent event(QPointF(dropAt), actions, data, Qt::LeftButton, modifiers);
        QCoreApplication::sendEvent(viewport(), &event);
        return event.isAccepted() ? event.dropAction() : Qt::IgnoreAction;
    }
};

class MouseViewTest : public ::testing::Test, public ViewFixture {
protected:
    void SetUp() override
    {
        auto dropping = std::make_unique<DroppingView>(*model);
        dropper = dropping.get();
        view = std::move(dropping);
        view->resize(400, 200);
        view->show();
        QCoreApplication::processEvents();
    }

    QWidget* Area() const { return view->viewport(); }
    // The left part of a cell, so that the hit lands on the cell's start.
    QPoint At(int line, int column) const
    {
        return QPoint(Margin() + column * Cell() + 1, line * LineHeight() - view->ScrollY() + LineHeight() / 2);
    }
    QPoint InMargin(int line) const { return QPoint(2, line * LineHeight() + LineHeight() / 2); }
    std::string Selected() { return view->Controller().SelectionText(); }
    VxEditLineCol Caret() { return view->Controller().Caret(); }
    int Mode() { return view->Controller().Selection().mode; }

    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers keys = Qt::NoModifier)
    {
        QTest::mousePress(Area(), Qt::LeftButton, keys, from);
        QTest::mouseMove(Area(), to);
        QTest::mouseRelease(Area(), Qt::LeftButton, keys, to);
    }
    // Presses inside the selection and moves the held button by the
    // platform's drag distance, which drags the selected text.
    void DragText(QPoint from)
    {
        const QPoint to = from + QPoint(0, QApplication::startDragDistance());
        QTest::mousePress(Area(), Qt::LeftButton, Qt::NoModifier, from);
        QTest::mouseMove(Area(), to);
        QTest::mouseRelease(Area(), Qt::LeftButton, Qt::NoModifier, to);
    }

    DroppingView* dropper = nullptr;
};

TEST_F(MouseViewTest, ClickShiftClickCtrlClickAndDoubleClick)
{
    SetText("public class Point {\r\n    int x = 1\r\n}\r\n");
    QTest::mouseClick(Area(), Qt::LeftButton, Qt::NoModifier, At(0, 7));
    EXPECT_EQ(VxEditLineCol(0, 7), Caret());
    EXPECT_FALSE(view->Controller().HasSelection());

    QTest::mouseClick(Area(), Qt::LeftButton, Qt::ShiftModifier, At(1, 5));
    EXPECT_EQ(VxEditLineCol(1, 5), Caret());
    EXPECT_EQ("class Point {\r\n    i", Selected());
    EXPECT_EQ(VxEditSelection::kStream, Mode());

    QTest::mouseClick(Area(), Qt::LeftButton, Qt::NoModifier, At(2, 1));
    QTest::mouseClick(Area(), Qt::LeftButton, Qt::ControlModifier, At(0, 15));
    EXPECT_EQ("Point", Selected());

    QTest::mouseClick(Area(), Qt::LeftButton, Qt::NoModifier, At(2, 0));
    QTest::mouseDClick(Area(), Qt::LeftButton, Qt::NoModifier, At(1, 8));
    EXPECT_EQ("x", Selected());
    EXPECT_FALSE(view->Controller().IsCaptured());
}

TEST_F(MouseViewTest, MarginClicksAndAMarginDragIntoTheText)
{
    SetText("first\r\nsecond\r\nthird\r\n");
    QTest::mouseClick(Area(), Qt::LeftButton, Qt::NoModifier, InMargin(1));
    EXPECT_EQ(VxEditSelection::kLines, Mode());
    EXPECT_EQ("second\r\n", Selected());
    EXPECT_EQ(VxEditLineCol(2, 0), Caret());
    // The margin has a cursor of its own.
    EXPECT_EQ(Qt::BitmapCursor, Area()->cursor().shape());

    QTest::mousePress(Area(), Qt::LeftButton, Qt::NoModifier, InMargin(0));
    QTest::mouseMove(Area(), InMargin(1));
    EXPECT_EQ("first\r\nsecond\r\n", Selected());
    QTest::mouseMove(Area(), At(2, 3));
    EXPECT_EQ(VxEditSelection::kStream, Mode());
    EXPECT_EQ(Qt::IBeamCursor, Area()->cursor().shape());
    QTest::mouseRelease(Area(), Qt::LeftButton, Qt::NoModifier, At(2, 3));
    EXPECT_EQ("first\r\nsecond\r\nthi", Selected());
    EXPECT_EQ(VxEditSelection::kStream, Mode());
}

TEST_F(MouseViewTest, ADragOutOfTheWindowKeepsSelectingThroughTheTimer)
{
    std::string text;
    for (int line = 0; line < 200; ++line)
        text += "line " + std::to_string(line) + "\r\n";
    SetText(text);
    QTest::mousePress(Area(), Qt::LeftButton, Qt::NoModifier, At(1, 0));
    const QPoint below(Margin() + 5, Area()->height() + 3 * LineHeight());
    QTest::mouseMove(Area(), below);
    const int afterMove = Caret().line;
    QTest::qWait(450);
    EXPECT_GT(Caret().line, afterMove + 1);
    EXPECT_GT(view->ScrollY(), 0);
    QTest::mouseRelease(Area(), Qt::LeftButton, Qt::NoModifier, below);
    const int released = Caret().line;
    QTest::qWait(250);
    EXPECT_EQ(released, Caret().line);
    EXPECT_EQ(VxEditLineCol(1, 0), view->Controller().Selection().Normalized().start);
    EXPECT_EQ(Caret(), view->Controller().Selection().Normalized().end);
}

TEST_F(MouseViewTest, AltDragMakesAColumnBlockCopiedInTheColumnFormat)
{
    SetText("abcdef\r\nghijkl\r\nmnopqr\r\n");
    QTest::mousePress(Area(), Qt::LeftButton, Qt::AltModifier, At(0, 1));
    QTest::mouseMove(Area(), At(2, 4));
    EXPECT_EQ(VxEditSelection::kColumnDrag, Mode());
    QTest::mouseRelease(Area(), Qt::LeftButton, Qt::AltModifier, At(2, 4));
    EXPECT_EQ(VxEditSelection::kColumn, Mode());
    view->OnCommand(cmd::kEditCopy);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(nullptr, data);
    EXPECT_TRUE(data->hasFormat(QString::fromLatin1(VxEditQtClipboard::kColumnFormat)));
    EXPECT_EQ(QStringLiteral("bcd\nhij\nnop\n"), data->text());

    Drag(At(0, 5), At(2, 5), Qt::AltModifier);
    EXPECT_FALSE(view->Controller().HasSelection());
    EXPECT_EQ(VxEditSelection::kNone, Mode());
}

TEST_F(MouseViewTest, AClickInsideTheSelectionPlacesTheCaretWithoutADrag)
{
    SetText("keep these words\r\n");
    model->SetModified(0);
    Drag(At(0, 5), At(0, 10));
    ASSERT_EQ("these", Selected());
    QTest::mouseClick(Area(), Qt::LeftButton, Qt::NoModifier, At(0, 7));
    EXPECT_EQ(0, dropper->drags);
    EXPECT_FALSE(view->Controller().HasSelection());
    EXPECT_EQ(VxEditLineCol(0, 7), Caret());
    EXPECT_EQ(0, model->UndoCount());
    EXPECT_EQ(0, model->IsModified());

    // A hand that shakes a pixel or two still clicks.
    Drag(At(0, 5), At(0, 10));
    ASSERT_EQ("these", Selected());
    const QPoint press = At(0, 8);
    QTest::mousePress(Area(), Qt::LeftButton, Qt::NoModifier, press);
    QTest::mouseMove(Area(), press + QPoint(1, 1));
    QTest::mouseRelease(Area(), Qt::LeftButton, Qt::NoModifier, press + QPoint(1, 1));
    EXPECT_EQ(0, dropper->drags);
    EXPECT_FALSE(view->Controller().HasSelection());
    EXPECT_EQ(VxEditLineCol(0, 8), Caret());
    EXPECT_EQ(0, model->IsModified());
}

TEST_F(MouseViewTest, MovingThePressedButtonInsideTheSelectionStartsADrag)
{
    SetText("keep these words\r\n");
    model->SetModified(0);
    Drag(At(0, 5), At(0, 10));
    ASSERT_EQ("these", Selected());
    dropper->drop = false;
    DragText(At(0, 7));
    EXPECT_EQ(1, dropper->drags);
    // Not dropped: the selection goes and the caret stays at the press.
    EXPECT_FALSE(view->Controller().HasSelection());
    EXPECT_EQ(VxEditLineCol(0, 7), Caret());
    EXPECT_EQ("keep these words\r\n", Text());

    // Dropped on its own edges or inside itself, the text stays put.
    dropper->drop = true;
    for (const int column : {5, 8, 10}) {
        Drag(At(0, 5), At(0, 10));
        dropper->dropAt = At(0, column);
        DragText(At(0, 7));
        EXPECT_EQ("keep these words\r\n", Text()) << "dropped at " << column;
        EXPECT_EQ(0, model->IsModified()) << "dropped at " << column;
        EXPECT_EQ(0, model->UndoCount()) << "dropped at " << column;
    }

    // A click outside a selection places the caret without a drag.
    const int drags = dropper->drags;
    Drag(At(0, 0), At(0, 4));
    QTest::mouseClick(Area(), Qt::LeftButton, Qt::NoModifier, At(0, 12));
    EXPECT_EQ(drags, dropper->drags);
    EXPECT_EQ(VxEditLineCol(0, 12), Caret());
}

TEST_F(MouseViewTest, ADropMovesTextAsOneUndoStepAndCtrlCopiesIt)
{
    SetText("one two three\r\nfour\r\n");
    Drag(At(0, 4), At(0, 8));
    ASSERT_EQ("two ", Selected());
    dropper->dropAt = At(1, 4);
    DragText(At(0, 5));
    EXPECT_EQ("one three\r\nfourtwo \r\n", Text());
    EXPECT_EQ("two ", Selected());
    EXPECT_EQ(1, model->UndoCount());
    view->OnCommand(cmd::kEditUndo);
    EXPECT_EQ("one two three\r\nfour\r\n", Text());

    Drag(At(0, 0), At(0, 3));
    dropper->dropAt = At(1, 0);
    dropper->modifiers = Qt::ControlModifier;
    DragText(At(0, 1));
    EXPECT_EQ("one two three\r\nonefour\r\n", Text());
    EXPECT_EQ("one", Selected());
    EXPECT_EQ(VxEditLineCol(1, 3), Caret());
}

TEST_F(MouseViewTest, ADroppedColumnBlockKeepsItsFormat)
{
    SetText("abcd\r\nefgh\r\nijkl\r\n");
    Drag(At(0, 0), At(1, 2), Qt::AltModifier);
    ASSERT_EQ("ab\nef\n", Selected());
    dropper->dropAt = At(1, 4);
    dropper->modifiers = Qt::ControlModifier;
    DragText(At(0, 1));
    EXPECT_EQ("abcd\r\nefghab\r\nijklef\r\n", Text());
    EXPECT_EQ(VxEditSelection::kColumn, Mode());
    EXPECT_EQ("ab\nef\n", Selected());
}

TEST_F(MouseViewTest, TextDraggedOverAWindowShowsItsDropCaretUntilItLeaves)
{
    SetText("alpha beta\r\n\r\ngamma\r\n");
    view->Controller().SetCaret(0, 5);
    view->Controller().SetSelection(VxEditLineCol(0, 0), VxEditLineCol(0, 5), VxEditSelection::kStream);
    // The drag comes from elsewhere: this window has no focus.
    view->clearFocus();
    QCoreApplication::processEvents();
    ASSERT_FALSE(view->hasFocus());
    const QColor caretColour = view->palette().color(QPalette::Text);
    // A point inside the first cell of the empty second line, where the
    // drop caret stands.
    const QPoint caretPixel(Margin() + 1, LineHeight() + LineHeight() / 2);
    ASSERT_NE(caretColour, Area()->grab().toImage().pixelColor(caretPixel));

    QMimeData data;
    data.setText(QStringLiteral("dropped"));
    const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
    QDragEnterEvent enter(At(2, 3), actions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Area(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDragMoveEvent move(At(1, 4), actions, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(Area(), &move);
    ASSERT_TRUE(move.isAccepted());
    EXPECT_EQ(VxEditLineCol(1, 0), Caret());
    EXPECT_EQ(caretColour, Area()->grab().toImage().pixelColor(caretPixel));

    // Passing over without a drop leaves caret and selection as they were.
    QDragLeaveEvent leave;
    QCoreApplication::sendEvent(Area(), &leave);
    EXPECT_EQ(VxEditLineCol(0, 5), Caret());
    EXPECT_EQ("alpha", Selected());
    EXPECT_NE(caretColour, Area()->grab().toImage().pixelColor(caretPixel));
    EXPECT_EQ("alpha beta\r\n\r\ngamma\r\n", Text());
}

TEST_F(MouseViewTest, TheWheelScrollsTwoLinesPerNotch)
{
    SetText(std::string(100, '\n'));
    const QPoint point = At(1, 1);
    QWheelEvent down(point, Area()->mapToGlobal(point), QPoint(), QPoint(0, -120), Qt::NoButton,
                     Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(Area(), &down);
    EXPECT_EQ(2 * LineHeight(), view->ScrollY());
    QWheelEvent threeDown(point, Area()->mapToGlobal(point), QPoint(), QPoint(0, -360), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(Area(), &threeDown);
    EXPECT_EQ(8 * LineHeight(), view->ScrollY());
    QWheelEvent up(point, Area()->mapToGlobal(point), QPoint(), QPoint(0, 120), Qt::NoButton,
                   Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(Area(), &up);
    EXPECT_EQ(6 * LineHeight(), view->ScrollY());
}

TEST_F(MouseViewTest, TheContextMenuKeyOpensTheMenuAtFiveFiveAndKeepsTheSelection)
{
    SetText("alpha beta\r\n");
    Drag(At(0, 0), At(0, 5));
    ASSERT_EQ("alpha", Selected());
    QPoint shownAt;
    QStringList items;
    QList<bool> enabled;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(nullptr, menu);
        shownAt = menu->pos();
        for (QAction* action : menu->actions()) {
            items << (action->isSeparator() ? QStringLiteral("-") : action->text());
            enabled << action->isEnabled();
        }
        menu->close();
    });
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(0, 0), QPoint(0, 0));
    QCoreApplication::sendEvent(view.get(), &key);
    EXPECT_EQ(Area()->mapToGlobal(QPoint(5, 5)), shownAt);
    EXPECT_EQ(QStringList({"&Undo", "&Redo", "-", "Cu&t", "&Copy", "&Paste", "-", "Select &All", "-",
                           "Next Error", "Previous Error", "Clear All Errors", "-",
                           "Toggle Breakpoint\tF9", "Clear all breakpoints"}),
              items);
    ASSERT_EQ(15, enabled.size());
    EXPECT_FALSE(enabled[0]);  // nothing to undo
    EXPECT_TRUE(enabled[3]);   // a selection to cut
    EXPECT_FALSE(enabled[9]);  // no error line to go to
    EXPECT_TRUE(enabled[13]);  // a breakpoint can always be set
    EXPECT_EQ("alpha", Selected());

    // A right click outside the selection cancels it and moves the caret.
    QTimer::singleShot(0, [] {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    });
    QContextMenuEvent mouse(QContextMenuEvent::Mouse, At(0, 8), Area()->mapToGlobal(At(0, 8)));
    QCoreApplication::sendEvent(Area(), &mouse);
    EXPECT_FALSE(view->Controller().HasSelection());
    EXPECT_EQ(VxEditLineCol(0, 8), Caret());
}

TEST_F(MouseViewTest, LineNumbersWidenTheMarginAndTheirClicksSelectLines)
{
    SetText("a\r\nb\r\nc\r\n");
    view->OnCommand(cmd::kViewLineNumbers);
    EXPECT_EQ(5 * Cell(), view->Viewport().MarginWidth());
    tarrow::foundation::CommandState state;
    view->OnUpdateCommand(cmd::kViewLineNumbers, state);
    EXPECT_TRUE(state.checked);
    QTest::mouseClick(Area(), Qt::LeftButton, Qt::NoModifier, QPoint(4 * Cell(), LineHeight() + 2));
    EXPECT_EQ(VxEditSelection::kLines, Mode());
    EXPECT_EQ("b\r\n", Selected());
    QTest::mouseClick(Area(), Qt::LeftButton, Qt::NoModifier, At(2, 1));
    EXPECT_EQ(VxEditLineCol(2, 1), Caret());
}

TEST_F(MouseViewTest, PanesSideBySideFollowTheActivePanesVerticalOrigin)
{
    std::string text;
    for (int line = 0; line < 100; ++line)
        text += std::string(100, 'x') + "\r\n";
    SetText(text);
    view->hide();
    QSplitter splitter(Qt::Horizontal);
    auto* left = new CScrivoView(*model);
    auto* right = new CScrivoView(*model);
    splitter.addWidget(left);
    splitter.addWidget(right);
    splitter.resize(600, 200);
    splitter.show();
    splitter.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&splitter));
    left->setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(left->hasFocus());
    right->ScrollTo(0, 0);
    left->ScrollTo(5 * Cell(), 10 * LineHeight());
    ASSERT_EQ(10 * LineHeight(), left->ScrollY());
    ASSERT_EQ(left, splitter.focusWidget());
    EXPECT_EQ(10 * LineHeight(), right->ScrollY());
    EXPECT_EQ(0, right->ScrollX());
    // The pane that is not active scrolls alone.
    right->ScrollTo(0, 30 * LineHeight());
    EXPECT_EQ(10 * LineHeight(), left->ScrollY());
}

}  // namespace
}  // namespace quillet::test
