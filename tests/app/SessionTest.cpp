// Several files at once and the last session: a start, a second start and
// File > Open take several files; closing the editor keeps its files, carets
// and first lines, and the next plain start opens them as they were.
#include "app/CChildFrame.h"
#include "tests/app/AppOptions.h"
#include "app/CLastSession.h"
#include "app/CMainFrame.h"
#include "app/CScrivoApp.h"
#include "app/CScrivoDoc.h"
#include "engine/VxEdit.h"
#include "language/VxEditLangConfigRegistry.h"
#include "platform/core/MemoryProfile.h"
#include "platform/core/MessageSeam.h"
#include "resources/CommandIds.h"
#include "tests/support/TempDir.h"
#include "view/CScrivoView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStatusBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <sys/stat.h>

using quillet::platform::RecordingMessageSink;
using quillet::test::TempDir;
using quillet::test::WriteFileBytes;

namespace {

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        VxEditLangConfigRegistry::Instance().Reset();
        profile_.WriteInt("Java Files", "Associate", 0);
        std::string lines;
        for (int i = 1; i <= 300; ++i)
            lines += "line " + std::to_string(i) + "\n";
        WriteFileBytes(dir_.File("A.java"), "class A {\n" + lines + "}\n");
        WriteFileBytes(dir_.File("B.java"), "class B {\n" + lines + "}\n");
    }
    void TearDown() override { VxEditLangConfigRegistry::Instance().Reset(); }

    CScrivoApp::Options Options() const { return AppOptionsIn(dir_); }

    QString File(const char* name) const { return QString::fromStdString(dir_.File(name)); }

    static std::vector<std::string> OpenPaths(const CScrivoApp& app)
    {
        std::vector<std::string> paths;
        for (QMdiSubWindow* window : app.MainFrame()->MdiArea()->subWindowList(QMdiArea::CreationOrder))
            paths.push_back(qobject_cast<CChildFrame*>(window)->Document()->PathName());
        return paths;
    }

    static CScrivoView& ViewOf(const CScrivoApp& app, const std::string& path)
    {
        for (QMdiSubWindow* window : app.MainFrame()->MdiArea()->subWindowList()) {
            auto* child = qobject_cast<CChildFrame*>(window);
            if (child->Document()->PathName() == path)
                return *qobject_cast<CScrivoView*>(child->EditView());
        }
        throw std::runtime_error("no window on " + path);
    }

    static void Settle()
    {
        for (int i = 0; i < 5; ++i)
            QApplication::processEvents();
    }

    TempDir dir_;
    quillet::platform::MemoryProfile profile_;
    RecordingMessageSink messages_;
};

TEST_F(SessionTest, AStartWithTwoFilesOpensBoth)
{
    CScrivoApp app(profile_, Options());
    ASSERT_EQ(app.Start({File("A.java"), File("B.java")}), CScrivoApp::StartResult::Running);
    EXPECT_EQ(OpenPaths(app), (std::vector<std::string>{dir_.File("A.java"), dir_.File("B.java")}));
}

TEST_F(SessionTest, ASecondStartHandsOverAllItsFiles)
{
    profile_.WriteInt("Java Files", "Associate", 1);
    CScrivoApp first(profile_, Options());
    ASSERT_EQ(first.Start({}), CScrivoApp::StartResult::Running);
    CScrivoApp second(profile_, Options());
    EXPECT_EQ(second.Start({File("A.java"), File("B.java")}), CScrivoApp::StartResult::HandedOver);
    QElapsedTimer timer;
    timer.start();
    while (first.Documents().size() < 2 && timer.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(OpenPaths(first), (std::vector<std::string>{dir_.File("A.java"), dir_.File("B.java")}));
}

TEST_F(SessionTest, FileOpenTakesSeveralFiles)
{
    CScrivoApp app(profile_, Options());
    ASSERT_EQ(app.Start({}), CScrivoApp::StartResult::Running);
    messages_.QueueFileAnswer(dir_.File("B.java") + "\n" + dir_.File("A.java"));
    app.MainFrame()->RouteCommand(cmd::kFileOpen);
    EXPECT_EQ(OpenPaths(app), (std::vector<std::string>{dir_.File("B.java"), dir_.File("A.java")}));
}

// A pipe waits for a writer and /dev/zero never ends: whichever way they
// come in, the editor names them and goes on at once.
TEST_F(SessionTest, PipesAndDevicesAreRefusedOnEveryWayInWithoutWaiting)
{
    const std::string pipe = dir_.File("Pipe.java");
    ASSERT_EQ(0, mkfifo(pipe.c_str(), 0600));
    const std::string pipeMessage = "'" + pipe + "' is not a regular file (a pipe).";
    const std::string zeroMessage = "'/dev/zero' is not a regular file (a character device).";
    profile_.WriteInt("Java Files", "Associate", 1);
    profile_.WriteString("Recent File List", "File1", pipe);
    CScrivoApp app(profile_, Options());
    ASSERT_EQ(app.Start({QString::fromStdString(pipe), File("A.java")}), CScrivoApp::StartResult::Running);
    EXPECT_EQ(OpenPaths(app), std::vector<std::string>{dir_.File("A.java")});
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{pipeMessage});

    messages_.Clear();
    messages_.QueueFileAnswer(pipe + "\n/dev/zero");
    app.MainFrame()->RouteCommand(cmd::kFileOpen);
    EXPECT_EQ(messages_.Texts(), (std::vector<std::string>{pipeMessage, zeroMessage}));

    messages_.Clear();
    const auto& recent = app.RecentFiles().Paths();
    const auto entry = std::find(recent.begin(), recent.end(), pipe);
    ASSERT_NE(entry, recent.end());
    app.MainFrame()->RouteCommand(cmd::kFileMruFirst + static_cast<int>(entry - recent.begin()));
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{pipeMessage});

    messages_.Clear();
    CScrivoApp second(profile_, Options());
    EXPECT_EQ(second.Start({QString::fromStdString(pipe), QStringLiteral("/dev/zero")}),
              CScrivoApp::StartResult::HandedOver);
    QElapsedTimer timer;
    timer.start();
    while (messages_.Texts().size() < 2 && timer.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    EXPECT_EQ(messages_.Texts(), (std::vector<std::string>{pipeMessage, zeroMessage}));

    CLastSession session;
    session.files.push_back({pipe, 0, 0, 0});
    EXPECT_EQ(app.ReopenSession(session), QStringList{QString::fromStdString(pipe)});
    EXPECT_EQ(OpenPaths(app), std::vector<std::string>{dir_.File("A.java")});
}

TEST_F(SessionTest, TheNextPlainStartReopensTheFilesWithTheirCaretsAndFirstLines)
{
    {
        CScrivoApp app(profile_, Options());
        ASSERT_EQ(app.Start({File("A.java"), File("B.java")}), CScrivoApp::StartResult::Running);
        app.NewDocument();  // untitled: nothing to reopen
        Settle();
        CScrivoView& a = ViewOf(app, dir_.File("A.java"));
        a.ScrollTo(0, 120 * a.LineHeight());
        a.Controller().SetCaret(130, 4);
        a.Model().ToggleMark(140, VxEdit::kMarkBreakpoint);
        a.Model().ToggleMark(5, VxEdit::kMarkBreakpoint);
        ViewOf(app, dir_.File("B.java")).Controller().SetCaret(7, 2);
        app.OpenDocument(File("A.java"));  // brought to the front: the active one
        Settle();
        ASSERT_TRUE(app.MainFrame()->close());
        app.Exit();
    }
    const CLastSession kept = CLastSession::Read(profile_);
    ASSERT_EQ(kept.files.size(), 2u);
    EXPECT_EQ(kept.files[0], (CLastSession::File{dir_.File("A.java"), 130, 4, 120, {5, 140}}));
    EXPECT_EQ(kept.files[1], (CLastSession::File{dir_.File("B.java"), 7, 2, 0}));
    EXPECT_EQ(kept.active, 0);

    CScrivoApp again(profile_, Options());
    ASSERT_EQ(again.Start({}), CScrivoApp::StartResult::Running);
    Settle();
    EXPECT_EQ(OpenPaths(again), (std::vector<std::string>{dir_.File("A.java"), dir_.File("B.java")}));
    CScrivoView& a = ViewOf(again, dir_.File("A.java"));
    EXPECT_EQ(a.Controller().Caret(), VxEditLineCol(130, 4));
    EXPECT_EQ(a.ScrollY() / a.LineHeight(), 120);
    EXPECT_EQ(a.Model().CountMarkedLines(VxEdit::kMarkBreakpoint), 2);
    EXPECT_TRUE(a.Model().TestMark(5, VxEdit::kMarkBreakpoint) && a.Model().TestMark(140, VxEdit::kMarkBreakpoint));
    EXPECT_EQ(ViewOf(again, dir_.File("B.java")).Controller().Caret(), VxEditLineCol(7, 2));
    EXPECT_EQ(again.ActiveDocument()->PathName(), dir_.File("A.java"));
}

TEST_F(SessionTest, AHandEditedBreakpointListGivesItsLinesAndNothingElse)
{
    CLastSession session;
    session.files = {{dir_.File("A.java"), 0, 0, 0, {2, 7}}};
    ASSERT_TRUE(session.Write(profile_));
    EXPECT_EQ(profile_.GetString("Session", "Breakpoints1", ""), "2,7");
    profile_.WriteString("Session", "Breakpoints1", "7,x,-1,,2,7,99999");
    ASSERT_EQ(CLastSession::Read(profile_).files.size(), 1u);
    EXPECT_EQ(CLastSession::Read(profile_).files[0].breakpoints, (std::vector<int>{2, 7, 99999}));
    // A line past the end of the text is no breakpoint.
    CScrivoApp app(profile_, Options());
    ASSERT_EQ(app.Start({}), CScrivoApp::StartResult::Running);
    EXPECT_EQ(ViewOf(app, dir_.File("A.java")).Model().CountMarkedLines(VxEdit::kMarkBreakpoint), 2);
}

TEST_F(SessionTest, MissingFilesAreSkippedWithOneNoteAndFileArgumentsWin)
{
    CLastSession session;
    session.files = {{dir_.File("A.java"), 3, 0, 0}, {dir_.File("Gone.java"), 0, 0, 0},
                     {dir_.File("Lost.java"), 0, 0, 0}};
    session.active = 0;
    ASSERT_TRUE(session.Write(profile_));
    {
        CScrivoApp app(profile_, Options());
        ASSERT_EQ(app.Start({}), CScrivoApp::StartResult::Running);
        EXPECT_EQ(OpenPaths(app), std::vector<std::string>{dir_.File("A.java")});
        const QString note = app.MainFrame()->statusBar()->currentMessage();
        EXPECT_TRUE(note.contains(QStringLiteral("2 files")) && note.contains(QStringLiteral("Gone.java")) &&
                    note.contains(QStringLiteral("Lost.java")))
            << note.toStdString();
        EXPECT_TRUE(messages_.Texts().empty());
    }
    ASSERT_TRUE(session.Write(profile_));
    CScrivoApp withFile(profile_, Options());
    ASSERT_EQ(withFile.Start({File("B.java")}), CScrivoApp::StartResult::Running);
    EXPECT_EQ(OpenPaths(withFile), std::vector<std::string>{dir_.File("B.java")});
}

TEST_F(SessionTest, TheViewMenuEntryTurnsReopeningOffAndIsStored)
{
    CLastSession session;
    session.files = {{dir_.File("A.java"), 0, 0, 0}};
    ASSERT_TRUE(session.Write(profile_));
    {
        CScrivoApp app(profile_, Options());
        ASSERT_EQ(app.Start({}), CScrivoApp::StartResult::Running);
        ASSERT_EQ(app.Documents().size(), 1u);
        EXPECT_TRUE(app.MainFrame()->RouteUpdate(cmd::kViewReopenLastFiles).checked);
        app.MainFrame()->RouteCommand(cmd::kViewReopenLastFiles);
        EXPECT_FALSE(app.MainFrame()->RouteUpdate(cmd::kViewReopenLastFiles).checked);
        ASSERT_TRUE(app.MainFrame()->close());
    }
    EXPECT_EQ(profile_.GetInt("Session", "ReopenAtStart", 1), 0);
    CScrivoApp again(profile_, Options());
    ASSERT_EQ(again.Start({}), CScrivoApp::StartResult::Running);
    EXPECT_TRUE(again.Documents().empty());
}

}  // namespace
