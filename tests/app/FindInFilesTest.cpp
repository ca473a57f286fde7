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
#include "language/VxEditLangConfigRegistry.h"
#include "platform/core/MemoryProfile.h"
#include "platform/core/MessageSeam.h"
#include "resources/CommandIds.h"
#include "tests/support/TempDir.h"
#include "view/CScrivoView.h"

#include <QApplication>
#include <QElapsedTimer>
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

}  // namespace
