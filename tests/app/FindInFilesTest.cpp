// Find in Files in the running editor: the results stream into the "Find
// Results" tab beside the output window, an unsaved edit is found, and a
// chosen result opens its file with the match selected.
#include "app/CChildFrame.h"
#include "tests/app/AppOptions.h"
#include "app/CFindInFiles.h"
#include "app/CFindResultsBar.h"
#include "app/CMainFrame.h"
#include "app/CScrivoApp.h"
#include "app/CScrivoDoc.h"
#include "engine/VxScrivo.h"
#include "javatools/output/OutputControlBar.h"
#include "language/VxEditLangConfigRegistry.h"
#include "platform/core/MemoryProfile.h"
#include "platform/core/MessageSeam.h"
#include "resources/CommandIds.h"
#include "tests/support/TempDir.h"
#include "view/CScrivoView.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QListWidget>

#include <gtest/gtest.h>

using quillet::test::TempDir;
using quillet::test::WriteFileBytes;

namespace {

class FindInFilesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        VxEditLangConfigRegistry::Instance().Reset();
        profile_.WriteInt("Java Files", "Associate", 0);
        WriteFileBytes(dir_.File("A.java"), "class A {\n\tint total;\n}\n");
        WriteFileBytes(dir_.File("B.java"), "class B {\n\tint subtotal = total();\n}\n");
        WriteFileBytes(dir_.File("notes.txt"), "total\n");
    }
    void TearDown() override { VxEditLangConfigRegistry::Instance().Reset(); }

    CScrivoApp::Options Options() const { return AppOptionsIn(dir_); }

    static std::vector<std::string> Lines(const CFindResultsBar& bar)
    {
        std::vector<std::string> lines;
        for (int i = 0; i < bar.List()->count(); ++i)
            lines.push_back(bar.List()->item(i)->text().toStdString());
        return lines;
    }

    static bool WaitUntilDone(const CFindInFiles& find)
    {
        QElapsedTimer timer;
        timer.start();
        while (find.IsSearching() && timer.elapsed() < 10000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        return !find.IsSearching();
    }

    TempDir dir_;
    quillet::platform::MemoryProfile profile_;
    quillet::platform::RecordingMessageSink messages_;
};

TEST_F(FindInFilesTest, ResultsListEveryMatchingLineAndAChosenOneIsSelectedInItsFile)
{
    CScrivoApp app(profile_, Options());
    ASSERT_EQ(app.Start({QString::fromStdString(dir_.File("A.java"))}), CScrivoApp::StartResult::Running);
    // Typed but not saved: found all the same.
    CScrivoDoc* a = app.Documents().front().get();
    a->Model()->InsertAtLineCol(2, 0, "\t// total again\n", 16);

    CFindInFilesDlg::Values values;
    values.text = QStringLiteral("total");
    values.wholeWord = true;
    values.folder = QString::fromStdString(dir_.Path().string());
    app.FindInFiles()->Start(values);
    ASSERT_TRUE(WaitUntilDone(*app.FindInFiles()));

    const CFindResultsBar& bar = *app.FindInFiles()->ResultsBar();
    EXPECT_FALSE(bar.isHidden());
    EXPECT_EQ(Lines(bar), (std::vector<std::string>{
                              dir_.File("A.java") + ":2: \tint total;",
                              dir_.File("A.java") + ":3: \t// total again",
                              dir_.File("B.java") + ":2: \tint subtotal = total();",
                              "3 matches in 2 files; 2 files searched",
                          }));

    // Enter on the last match opens B.java with "total" selected.
    bar.List()->setCurrentRow(2);
    emit bar.List()->itemActivated(bar.List()->item(2));
    ASSERT_EQ(app.Documents().size(), 2u);
    EXPECT_EQ(app.ActiveDocument()->PathName(), dir_.File("B.java"));
    auto* view = qobject_cast<CScrivoView*>(app.MainFrame()->ActiveChild()->EditView());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Controller().SelectionText(), "total");
    EXPECT_EQ(view->Controller().Caret(), VxEditLineCol(1, 21));
}

TEST_F(FindInFilesTest, TheCommandIsInTheEditMenuWithItsKeysAndABadPatternIsReported)
{
    CScrivoApp app(profile_, Options());
    ASSERT_EQ(app.Start({QString::fromStdString(dir_.File("A.java"))}), CScrivoApp::StartResult::Running);
    EXPECT_TRUE(app.MainFrame()->RouteUpdate(cmd::kEditFindInFiles).enabled);
    EXPECT_EQ(app.MainFrame()->Action(cmd::kEditFindInFiles)->shortcut(), QKeySequence(QStringLiteral("Ctrl+Shift+F")));

    CFindInFilesDlg::Values values;
    values.text = QStringLiteral("(total");
    values.pattern = true;
    values.folder = QString::fromStdString(dir_.Path().string());
    app.FindInFiles()->Start(values);
    ASSERT_TRUE(WaitUntilDone(*app.FindInFiles()));
    const std::vector<std::string> lines = Lines(*app.FindInFiles()->ResultsBar());
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("The pattern cannot be used:", 0), 0u) << lines[0];
}

// (a+)+b on a long run of a's takes PCRE2 past its limits: the matches
// around that line are listed and the summary names it.
TEST_F(FindInFilesTest, TheSummaryNamesALineThePatternWasTooComplexFor)
{
    CScrivoApp app(profile_, Options());
    ASSERT_EQ(app.Start({QString::fromStdString(dir_.File("A.java"))}), CScrivoApp::StartResult::Running);
    WriteFileBytes(dir_.File("runs.txt"), "ab\n" + std::string(40, 'a') + "c\naab\nxab\n");
    CFindInFilesDlg::Values values;
    values.text = QStringLiteral("(a+)+b");
    values.pattern = true;
    values.folder = QString::fromStdString(dir_.Path().string());
    values.fileTypes = QStringLiteral("*.txt");
    app.FindInFiles()->Start(values);
    ASSERT_TRUE(WaitUntilDone(*app.FindInFiles()));
    EXPECT_EQ(Lines(*app.FindInFiles()->ResultsBar()),
              (std::vector<std::string>{
                  dir_.File("runs.txt") + ":1: ab",
                  dir_.File("runs.txt") + ":3: aab",
                  dir_.File("runs.txt") + ":4: xab",
                  "3 matches in 1 files; 2 files searched. The pattern is too complex for line 2 of " +
                      dir_.File("runs.txt") + "; some matches may be missing.",
              }));
}

TEST_F(FindInFilesTest, F4StepsThroughTheListFilledLastAndTheResultsTakeTheFocus)
{
    CScrivoApp app(profile_, Options());
    ASSERT_EQ(app.Start({QString::fromStdString(dir_.File("A.java"))}), CScrivoApp::StartResult::Running);
    CMainFrame& frame = *app.MainFrame();
    EXPECT_EQ(frame.Action(cmd::kEditNextResult)->shortcut(), QKeySequence(Qt::Key_F4));
    EXPECT_EQ(frame.Action(cmd::kEditPrevResult)->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F4));
    EXPECT_FALSE(frame.RouteUpdate(cmd::kEditNextResult).enabled);

    CFindInFilesDlg::Values values;
    values.text = QStringLiteral("total");
    values.wholeWord = true;
    values.folder = QString::fromStdString(dir_.Path().string());
    app.FindInFiles()->Start(values);
    ASSERT_TRUE(WaitUntilDone(*app.FindInFiles()));
    ASSERT_EQ(Lines(*app.FindInFiles()->ResultsBar()).size(), 3u);  // two matches and the counts

    const auto caret = [&app] {
        auto* view = qobject_cast<CScrivoView*>(app.MainFrame()->ActiveChild()->EditView());
        return std::make_pair(app.ActiveDocument()->PathName(), view->Controller().Caret());
    };
    frame.RouteCommand(cmd::kEditNextResult);
    EXPECT_EQ(caret(), std::make_pair(dir_.File("A.java"), VxEditLineCol(1, 10)));
    frame.RouteCommand(cmd::kEditNextResult);
    EXPECT_EQ(caret(), std::make_pair(dir_.File("B.java"), VxEditLineCol(1, 21)));
    frame.RouteCommand(cmd::kEditNextResult);  // round to the first
    EXPECT_EQ(caret(), std::make_pair(dir_.File("A.java"), VxEditLineCol(1, 10)));
    frame.RouteCommand(cmd::kEditPrevResult);
    EXPECT_EQ(caret(), std::make_pair(dir_.File("B.java"), VxEditLineCol(1, 21)));

    // Find Results puts the focus in the list, on the match shown last.
    frame.activateWindow();
    frame.RouteCommand(cmd::kViewFindResults);
    QListWidget* list = app.FindInFiles()->ResultsBar()->List();
    EXPECT_EQ(list->currentRow(), 1);
    QElapsedTimer timer;
    timer.start();
    while (!list->hasFocus() && timer.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_TRUE(list->hasFocus());

    // A compile's messages, filled later, are what F4 goes through then.
    frame.OutputBar()->ShowOutput("-Compiling A.java-\nA.java:3: error: ';' expected\n}\n ^\n-Finished-\n",
                                  dir_.Path().string() + "/");
    frame.RouteCommand(cmd::kEditNextResult);
    EXPECT_EQ(caret(), std::make_pair(dir_.File("A.java"), VxEditLineCol(2, 1)));
    EXPECT_TRUE(app.ActiveDocument()->Model()->TestMark(2, VxEdit::kMarkErrorLine));
    // The list, left for the editor, has no item that claims the focus.
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(list);
    ASSERT_NE(accessible, nullptr);
    for (int i = 0; i < accessible->childCount(); ++i)
        EXPECT_FALSE(accessible->child(i)->state().focused) << i;
}

TEST_F(FindInFilesTest, TheDialogsLabelsNameTheirFieldsAndTabFollowsTheLayout)
{
    CFindInFilesDlg dialog(CFindInFilesDlg::Values{});
    // Every label of a field is its buddy: Alt and its letter reach the field.
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        EXPECT_NE(label->buddy(), nullptr) << label->text().toStdString();
        EXPECT_TRUE(label->text().contains(QLatin1Char('&'))) << label->text().toStdString();
    }
    std::vector<std::string> order;
    auto* start = dialog.findChild<QComboBox*>();
    ASSERT_NE(start, nullptr);
    QWidget* widget = start;
    do {
        if ((widget->focusPolicy() & Qt::TabFocus) && !widget->focusProxy() &&
            !qobject_cast<QComboBox*>(widget->parentWidget())) {
            QString name = widget->accessibleName();
            if (auto* button = qobject_cast<QAbstractButton*>(widget); button && name.isEmpty())
                name = button->text().remove(QLatin1Char('&'));
            order.push_back(name.toStdString());
        }
        widget = widget->nextInFocusChain();
    } while (widget != start && order.size() < 20);
    ASSERT_GE(order.size(), 8u);
    EXPECT_EQ(std::vector<std::string>(order.begin(), order.begin() + 8),
              (std::vector<std::string>{"Find what", "In folder", "Choose the folder", "File types", "Match case",
                                        "Match whole word only", "Regular expression", "Include subfolders"}));
}

}  // namespace
