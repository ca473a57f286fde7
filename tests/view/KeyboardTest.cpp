// A view on a Java file driven only by key presses: moving, selecting by
// stream, line and column, typing, indenting, undo, redo and the clipboard.
#include "ViewSupport.h"

#include "resources/CommandIds.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

namespace quillet::test {
namespace {

class KeyboardTest : public ::testing::Test, public ViewFixture {
protected:
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            QTest::keyClick(view.get(), key, modifiers);
        QCoreApplication::processEvents();
    }
    void Type(const QString& text)
    {
        QTest::keyClicks(view.get(), text);
        QCoreApplication::processEvents();
    }
    VxEditLineCol Caret() { return view->Controller().Caret(); }
};

const char* const kJava =
    "class Hello {\r\n"
    "    void run() {\r\n"
    "        int x = 1;\r\n"
    "    }\r\n"
    "}\r\n";

TEST_F(KeyboardTest, AJavaFileIsEditedFromTheKeyboardAlone)
{
    config->SetAutoIndent(1);
    SetText(kJava);

    // Move to the end of "int x = 1;" and open a new, indented line.
    Key(Qt::Key_Down, Qt::NoModifier, 2);
    Key(Qt::Key_End);
    Key(Qt::Key_Return);
    Type("x++;");
    EXPECT_EQ("class Hello {\r\n    void run() {\r\n        int x = 1;\r\n\t\tx++;\r\n    }\r\n}\r\n", Text());

    // Undo the typing (the first character filled the indentation) and the
    // new line, then redo all three steps.
    Key(Qt::Key_Z, Qt::ControlModifier, 3);
    EXPECT_EQ(kJava, Text());
    Key(Qt::Key_Y, Qt::ControlModifier, 3);
    EXPECT_EQ("class Hello {\r\n    void run() {\r\n        int x = 1;\r\n\t\tx++;\r\n    }\r\n}\r\n", Text());

    // A stream selection by Shift+Ctrl+Left, replaced by typing.
    Key(Qt::Key_Left);
    Key(Qt::Key_Left, Qt::ShiftModifier | Qt::ControlModifier);
    EXPECT_EQ(VxEditLineColPair(3, 2, 3, 5), view->Controller().Selection().Normalized());
    Type("y--");
    EXPECT_EQ("class Hello {\r\n    void run() {\r\n        int x = 1;\r\n\t\ty--;\r\n    }\r\n}\r\n", Text());

    // Whole lines: Ctrl+L cuts the line, Ctrl+V puts it back above the caret line.
    Key(Qt::Key_L, Qt::ControlModifier);
    EXPECT_EQ(kJava, Text());
    Key(Qt::Key_Up);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ("class Hello {\r\n    void run() {\r\n\t\ty--;\r\n        int x = 1;\r\n    }\r\n}\r\n", Text());

    // Indent two lines with Tab over a selection, and outdent them again.
    Key(Qt::Key_Home, Qt::ControlModifier);
    Key(Qt::Key_Down, Qt::ShiftModifier, 2);
    Key(Qt::Key_Tab);
    EXPECT_EQ("\tclass Hello {\r\n\t    void run() {\r\n\t\ty--;\r\n        int x = 1;\r\n    }\r\n}\r\n", Text());
    Key(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ("class Hello {\r\n    void run() {\r\n\t\ty--;\r\n        int x = 1;\r\n    }\r\n}\r\n", Text());

    // A column block over the indentation of two lines, deleted.
    Key(Qt::Key_Escape);
    Key(Qt::Key_Down);
    Key(Qt::Key_Home);
    Key(Qt::Key_Home);
    EXPECT_EQ(VxEditLineCol(3, 0), Caret());
    Key(Qt::Key_Right, Qt::AltModifier | Qt::ShiftModifier, 4);
    Key(Qt::Key_Down, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(VxEditSelection::kColumn, view->Controller().Selection().mode);
    Key(Qt::Key_Delete);
    EXPECT_EQ("class Hello {\r\n    void run() {\r\n\t\ty--;\r\n    int x = 1;\r\n}\r\n}\r\n", Text());

    // Copy a word, paste it at the end of the text, and select all.
    Key(Qt::Key_Home, Qt::ControlModifier);
    Key(Qt::Key_Right, Qt::ShiftModifier | Qt::ControlModifier);
    Key(Qt::Key_C, Qt::ControlModifier);
    Key(Qt::Key_End, Qt::ControlModifier);
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ("class Hello {\r\n    void run() {\r\n\t\ty--;\r\n    int x = 1;\r\n}\r\n}\r\nclass ", Text());
    Key(Qt::Key_A, Qt::ControlModifier);
    Key(Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ("", Text());
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ("class Hello {\r\n    void run() {\r\n\t\ty--;\r\n    int x = 1;\r\n}\r\n}\r\nclass ", Text());
}

TEST_F(KeyboardTest, StatusSignalsFollowTheCaretAndTheInsertKey)
{
    SetText("abc\r\ndef");
    QSignalSpy position(view.get(), &CScrivoView::CaretPositionChanged);
    QSignalSpy status(view.get(), &CScrivoView::CaretStatusChanged);
    QSignalSpy overwrite(view.get(), &CScrivoView::OverwriteChanged);
    Key(Qt::Key_Down);
    Key(Qt::Key_Right);
    ASSERT_FALSE(position.isEmpty());
    EXPECT_EQ(QString("Line:2"), position.last().at(0).toString());
    EXPECT_EQ(QString("Col:2"), position.last().at(1).toString());
    EXPECT_EQ(QString("Ln 2, Col 2"), status.last().at(0).toString());
    Key(Qt::Key_Insert);
    ASSERT_EQ(1, overwrite.count());
    EXPECT_TRUE(overwrite.last().at(0).toBool());
    Type("XY");
    EXPECT_EQ("abc\r\ndXY", Text());
}

TEST_F(KeyboardTest, TheInsertKeyTogglesOverwriteForEveryWindowOnTheDocument)
{
    SetText("abc\r\ndef");
    CScrivoView other(*model);
    QSignalSpy otherOverwrite(&other, &CScrivoView::OverwriteChanged);
    Key(Qt::Key_Insert);
    ASSERT_EQ(1, otherOverwrite.count());
    EXPECT_TRUE(otherOverwrite.last().at(0).toBool());
    tarrow::foundation::CommandState state;
    EXPECT_TRUE(other.OnUpdateCommand(cmd::kIndicatorOvr, state));
    EXPECT_TRUE(state.enabled);
    QTest::keyClick(&other, Qt::Key_Insert);
    EXPECT_EQ(2, otherOverwrite.count());
    EXPECT_FALSE(view->IsOverwrite());
}

TEST_F(KeyboardTest, FocusInRemembersTheCaretLineThatTheNextMoveLeaves)
{
    SetText("a\r\nb\r\nc\r\nd\r\n");
    CScrivoView other(*model);
    other.Controller().SetCaret(1, 0);
    QCoreApplication::processEvents();
    // An edit in this window moves the other window's caret down a line.
    view->OnCommand(cmd::kReturn);
    QCoreApplication::processEvents();
    ASSERT_EQ(VxEditLineCol(2, 0), other.Controller().Caret());
    for (const int line : {1, 2}) {
        if (!model->TestMark(line, VxEdit::kMarkChangedLine))
            model->ToggleMark(line, VxEdit::kMarkChangedLine);
    }
    // The other window gets the focus, and its caret leaves line 2.
    QFocusEvent focusIn(QEvent::FocusIn, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(&other, &focusIn);
    QTest::keyClick(&other, Qt::Key_Down);
    QCoreApplication::processEvents();
    ASSERT_EQ(VxEditLineCol(3, 0), other.Controller().Caret());
    EXPECT_EQ(0, model->TestMark(2, VxEdit::kMarkChangedLine));
    EXPECT_EQ(1, model->TestMark(1, VxEdit::kMarkChangedLine));
}

TEST_F(KeyboardTest, InputMethodCommitsAreTypedAndTheCaretRectangleIsReported)
{
    SetText("ab");
    Key(Qt::Key_End);
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf8("\xC3\xA9t\xC3\xA9"));
    QCoreApplication::sendEvent(view.get(), &commit);
    EXPECT_EQ("ab\xC3\xA9t\xC3\xA9", Text());
    const QRect caret = view->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    EXPECT_EQ(view->LineHeight(), caret.height());
    EXPECT_EQ(view->Viewport().MarginWidth() + view->TextExtent("ab\xC3\xA9t\xC3\xA9", 7) +
                  view->viewport()->pos().x(),
              caret.left());
    EXPECT_EQ(view->Viewport().GetMetrics().Font(), view->inputMethodQuery(Qt::ImFont).value<QFont>());
}

TEST_F(KeyboardTest, KeysOutsideTheTableThatTypeNothingAreLeftToTheWindow)
{
    SetText("ab");
    Key(Qt::Key_F5);
    Key(Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ("ab", Text());
}

}  // namespace
}  // namespace quillet::test
