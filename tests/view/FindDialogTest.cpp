// The find, replace and go-to-line dialogs on an edit view: the keyboard
// path a newcomer takes, the button rules, the histories and the presets.
#include "ViewSupport.h"

#include "controller/VxEditSearchState.h"
#include "platform/core/MessageSeam.h"
#include "resources/CommandIds.h"
#include "view/CGotoLineDialog.h"
#include "view/VxEditFindReplaceDialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace quillet::test {
namespace {

class FindDialogTest : public ::testing::Test, public ViewFixture {
protected:
    FindDialogTest()
    {
        VxEditSearchState& state = VxEditSearchState::ForThread();
        state.findHistory.clear();
        state.replaceHistory.clear();
        state.findText.clear();
        state.replaceText.clear();
        state.inSelection = false;
        state.searchDown = true;
    }
    ~FindDialogTest() override
    {
        if (VxEditFindReplaceDialog* dialog = VxEditFindReplaceDialog::Current())
            dialog->close();
        Settle();
    }
    static void Settle()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::keyClick(view.get(), key, modifiers);
        Settle();
    }
    VxEditLineColPair Selection() const { return view->Controller().Selection().Normalized(); }
    std::string Combo(QComboBox* combo) const { return combo->currentText().toStdString(); }

    quillet::platform::RecordingMessageSink sink;
};

TEST_F(FindDialogTest, TheKeyboardFindsWalksReplacesUndoesMarksAndGoesToALine)
{
    const std::string original = "int alpha;\nalpha = 2;\nint beta = alpha;\n";
    SetText(original);
    Key(Qt::Key_F, Qt::ControlModifier);
    VxEditFindReplaceDialog* find = VxEditFindReplaceDialog::Current();
    ASSERT_NE(nullptr, find);
    EXPECT_FALSE(find->IsReplace());
    EXPECT_EQ("int", Combo(find->FindCombo()));  // the word at the caret, selected
    QTest::keyClicks(find->FindCombo()->lineEdit(), "alpha");
    QTest::keyClick(find->FindCombo()->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(VxEditLineColPair(0, 4, 0, 9), Selection());
    QTest::keyClick(find, Qt::Key_Escape);
    Settle();
    EXPECT_EQ(nullptr, VxEditFindReplaceDialog::Current());

    Key(Qt::Key_F3);
    EXPECT_EQ(VxEditLineColPair(1, 0, 1, 5), Selection());
    Key(Qt::Key_F3);
    EXPECT_EQ(VxEditLineColPair(2, 11, 2, 16), Selection());

    Key(Qt::Key_H, Qt::ControlModifier);
    VxEditFindReplaceDialog* replace = VxEditFindReplaceDialog::Current();
    ASSERT_NE(nullptr, replace);
    EXPECT_EQ("alpha", Combo(replace->FindCombo()));  // the selection
    QTest::keyClicks(replace->ReplaceCombo()->lineEdit(), "gamma");
    replace->ReplaceAllButton()->click();
    EXPECT_EQ("The document has been searched and 3 replacements were made.", sink.Texts().back());
    EXPECT_EQ("int gamma;\ngamma = 2;\nint beta = gamma;\n", Text());
    QTest::keyClick(replace, Qt::Key_Escape);
    Settle();
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(original, Text());

    Key(Qt::Key_F, Qt::ControlModifier);
    find = VxEditFindReplaceDialog::Current();
    ASSERT_NE(nullptr, find);
    find->FindCombo()->setEditText(QStringLiteral("int"));
    find->MarkAllButton()->click();
    Settle();
    EXPECT_EQ(nullptr, VxEditFindReplaceDialog::Current());  // marking closes it
    EXPECT_EQ(2, model->CountMarkedLines(VxEdit::kMarkBookmark));
    Key(Qt::Key_F2);
    EXPECT_EQ(VxEditLineCol(2, 0), view->Controller().Caret());
    Key(Qt::Key_F2);
    EXPECT_EQ(VxEditLineCol(0, 0), view->Controller().Caret());

    Key(Qt::Key_F9);
    Key(Qt::Key_Down);
    Key(Qt::Key_F9);
    EXPECT_EQ(2, model->CountMarkedLines(VxEdit::kMarkBreakpoint));

    QTimer::singleShot(0, [] {
        auto* dialog = qobject_cast<CGotoLineDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(nullptr, dialog);
        EXPECT_EQ("2", dialog->NumberEdit()->selectedText().toStdString());
        QTest::keyClicks(dialog->NumberEdit(), "3");
        QTest::keyClick(dialog->NumberEdit(), Qt::Key_Return);
    });
    view->OnCommand(cmd::kEditGotoLine);  // Ctrl+G, a key of the main frame
    EXPECT_EQ(VxEditLineCol(2, 0), view->Controller().Caret());
}

TEST_F(FindDialogTest, ButtonsFollowTheFindTextAndTheReplaceScope)
{
    SetText("  \nsome words here\n");
    VxEditFindReplaceDialog* find = VxEditFindReplaceDialog::Open(*view, false);
    EXPECT_EQ("", Combo(find->FindCombo()));
    EXPECT_FALSE(find->FindNextButton()->isEnabled());
    EXPECT_FALSE(find->MarkAllButton()->isEnabled());
    EXPECT_TRUE(find->CancelButton()->isEnabled());
    find->FindCombo()->setEditText(QStringLiteral("words"));
    EXPECT_TRUE(find->FindNextButton()->isEnabled());
    EXPECT_TRUE(find->MarkAllButton()->isEnabled());
    // Opening again only brings the open dialog forward.
    EXPECT_EQ(find, VxEditFindReplaceDialog::Open(*view, true));
    find->close();
    Settle();

    VxEditFindReplaceDialog* replace = VxEditFindReplaceDialog::Open(*view, true);
    replace->FindCombo()->setEditText(QStringLiteral("words"));
    EXPECT_FALSE(replace->SelectionButton()->isEnabled());
    EXPECT_TRUE(replace->WholeFileButton()->isChecked());
    EXPECT_TRUE(replace->ReplaceButton()->isEnabled());
    replace->close();
    Settle();

    view->Controller().SetSelection(VxEditLineCol(1, 0), VxEditLineCol(1, 10), VxEditSelection::kStream);
    VxEditSearchState::ForThread().inSelection = true;
    replace = VxEditFindReplaceDialog::Open(*view, true);
    EXPECT_TRUE(replace->SelectionButton()->isChecked());
    EXPECT_FALSE(replace->FindNextButton()->isEnabled());
    EXPECT_FALSE(replace->ReplaceButton()->isEnabled());
    EXPECT_TRUE(replace->ReplaceAllButton()->isEnabled());
    replace->WholeFileButton()->setChecked(true);
    EXPECT_TRUE(replace->FindNextButton()->isEnabled());
    EXPECT_TRUE(replace->ReplaceButton()->isEnabled());
}

TEST_F(FindDialogTest, HistoriesKeepTheSixteenNewestTextsNewestFirst)
{
    SetText("nothing to find\n");
    VxEditFindReplaceDialog* find = VxEditFindReplaceDialog::Open(*view, false);
    for (int i = 1; i <= 18; ++i) {
        find->FindCombo()->setEditText(QStringLiteral("w%1").arg(i));
        find->FindNextButton()->click();
    }
    find->FindCombo()->setEditText(QStringLiteral("w10"));
    find->FindNextButton()->click();
    const std::vector<std::string>& history = VxEditSearchState::ForThread().findHistory;
    ASSERT_EQ(16u, history.size());
    EXPECT_EQ("w10", history[0]);
    EXPECT_EQ("w18", history[1]);
    EXPECT_EQ("w17", history[2]);
    EXPECT_EQ("w3", history[15]);
    ASSERT_EQ(16, find->FindCombo()->count());
    EXPECT_EQ("w10", find->FindCombo()->itemText(0).toStdString());
    EXPECT_EQ("Cannot find the string 'w10'.", sink.Texts().back());
}

TEST_F(FindDialogTest, TheFindTextComesFromTheSelectionTheWordOrTheHistory)
{
    SetText("first line\nsecond line\n");
    view->Controller().SetSelection(VxEditLineCol(0, 2), VxEditLineCol(0, 8), VxEditSelection::kStream);
    VxEditFindReplaceDialog* find = VxEditFindReplaceDialog::Open(*view, false);
    EXPECT_EQ("rst li", Combo(find->FindCombo()));
    EXPECT_EQ("rst li", find->FindCombo()->lineEdit()->selectedText().toStdString());
    find->close();
    Settle();

    // A selection over two lines gives way to the word at the caret.
    view->Controller().SetCaret(1, 3);
    view->Controller().SetSelection(VxEditLineCol(0, 2), VxEditLineCol(1, 3), VxEditSelection::kStream);
    find = VxEditFindReplaceDialog::Open(*view, false);
    EXPECT_EQ("second", Combo(find->FindCombo()));
    find->close();
    Settle();

    VxEditSearchState::ForThread().findHistory = {"newest", "older"};
    SetText("\n");
    find = VxEditFindReplaceDialog::Open(*view, false);
    EXPECT_EQ("newest", Combo(find->FindCombo()));
}

TEST_F(FindDialogTest, GotoLineRefusesAnEmptyEntryAndTakesDigitsOnly)
{
    CGotoLineDialog dialog(7);
    EXPECT_EQ("Goto Line...", dialog.windowTitle().toStdString());
    EXPECT_EQ("7", dialog.NumberEdit()->selectedText().toStdString());
    dialog.NumberEdit()->clear();
    dialog.GoButton()->click();
    EXPECT_EQ("Please enter a line number.", sink.Texts().back());
    EXPECT_NE(QDialog::Accepted, dialog.result());
    QTest::keyClicks(dialog.NumberEdit(), "4x2");
    EXPECT_EQ("42", dialog.NumberEdit()->text().toStdString());
    dialog.GoButton()->click();
    EXPECT_EQ(QDialog::Accepted, dialog.result());
    EXPECT_EQ(42, dialog.LineNumber());
}

}  // namespace
}  // namespace quillet::test
