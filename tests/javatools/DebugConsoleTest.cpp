#include "app/CMainFrame.h"
#include "app/CScrivoApp.h"
#include "app/CScrivoDoc.h"
#include "app/SettingsKeys.h"
#include "engine/VxScrivo.h"
#include "javatools/build/ProgramLookup.h"
#include "javatools/console/CConsoleBar.h"
#include "javatools/console/ConsoleView.h"
#include "javatools/tooldialogs/CDebuggerDialog.h"
#include "language/VxEditLangConfigRegistry.h"
#include "platform/core/MemoryProfile.h"
#include "platform/core/MessageSeam.h"
#include "resources/CommandIds.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>

using quillet::test::TempDir;
using quillet::test::WriteFileBytes;

namespace {

bool WaitFor(const std::function<bool()>& condition)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition() && timer.elapsed() < 60000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    return condition();
}

std::string Tool(const char* name)
{
    return FindProgram(name, std::getenv("PATH") ? std::getenv("PATH") : "");
}

}  // namespace

// Breakpoints on the first and the last statement, launched at once: the
// console shows jdb stopping at the first one, and Debug stays disabled
// until jdb has ended.
TEST(DebugConsoleTest, JdbStopsAtTheFirstBreakpointAndDebugWaitsForItsEnd)
{
    VxEditLangConfigRegistry::Instance().Reset();
    const std::string javac = Tool("javac");
    const std::string jdb = Tool("jdb");
    ASSERT_FALSE(javac.empty() || jdb.empty()) << "the JDK's javac and jdb are needed";
    TempDir dir;
    TempDir settingsDir;
    const std::string path = dir.File("Count.java");
    WriteFileBytes(path,
                   "public class Count {\n"
                   "    public static void main(String[] args) {\n"
                   "        int a = 1;\n"
                   "        int b = a + 1;\n"
                   "        System.out.println(a + b);\n"
                   "    }\n"
                   "}\n");
    ASSERT_EQ(quillet::test::RunProcess({javac, "-g", path}).exitStatus, 0);

    quillet::platform::MemoryProfile profile;
    quillet::platform::RecordingMessageSink messages;
    profile.WriteInt(settings::kJavaFiles, settings::kAssociate, settings::kAssociateNo);
    profile.WriteString(settings::kTools, settings::kJavaDebugger, jdb);
    CScrivoApp::Options options;
    options.programDirectory = QUILLET_PROGRAM_DIR;
    options.userSettingsDirectory = QString::fromStdString(settingsDir.Path().string() + "/");
    {
        CScrivoApp app(profile, options);
        ASSERT_EQ(app.Start({}), CScrivoApp::StartResult::Running);
        CScrivoDoc* document = app.OpenDocument(QString::fromStdString(path));
        ASSERT_NE(document, nullptr);
        document->Model()->ToggleMark(2, VxEdit::kMarkBreakpoint);
        document->Model()->ToggleMark(4, VxEdit::kMarkBreakpoint);

        CMainFrame& frame = *app.MainFrame();
        const auto debug = [&frame] {
            QTimer::singleShot(0, [] {
                auto* dialog = qobject_cast<CDebuggerDialog*>(QApplication::activeModalWidget());
                ASSERT_NE(dialog, nullptr);
                dialog->launchImmediately->setChecked(true);
                dialog->accept();
            });
            frame.RouteCommand(cmd::kBuildDebug);
        };
        ASSERT_TRUE(frame.RouteUpdate(cmd::kBuildDebug).enabled);
        debug();
        EXPECT_TRUE(messages.Texts().empty());

        QTabWidget* tabs = frame.ConsoleBar()->Tabs();
        ASSERT_EQ(tabs->count(), 1);
        EXPECT_EQ(tabs->tabText(0), "Quillet - Debugging");
        auto* console = qobject_cast<ConsoleView*>(tabs->widget(0));
        ASSERT_NE(console, nullptr);
        const auto shows = [console](const char* text) { return console->Text().contains(text); };
        ASSERT_TRUE(WaitFor([&] { return shows("Breakpoint hit:") && shows("line=3"); }))
            << console->Text().toStdString();
        EXPECT_FALSE(frame.RouteUpdate(cmd::kBuildDebug).enabled);

        // On to the last breakpoint and past it: the program ends and jdb with it.
        frame.ConsoleBar()->WriteInput(1, "cont\r");
        ASSERT_TRUE(WaitFor([&] { return shows("line=5"); })) << console->Text().toStdString();
        EXPECT_FALSE(frame.RouteUpdate(cmd::kBuildDebug).enabled);
        frame.ConsoleBar()->WriteInput(1, "cont\r");
        ASSERT_TRUE(WaitFor([&] { return frame.RouteUpdate(cmd::kBuildDebug).enabled; }))
            << console->Text().toStdString();
        EXPECT_TRUE(shows("3"));

        // Debugging again takes the finished run's tab instead of adding one.
        debug();
        ASSERT_EQ(tabs->count(), 1);
        EXPECT_EQ(tabs->tabText(0), "Quillet - Debugging");
        auto* again = qobject_cast<ConsoleView*>(tabs->widget(0));
        ASSERT_NE(again, nullptr);
        EXPECT_NE(again, console);
        ASSERT_TRUE(WaitFor([&] { return again->Text().contains("Breakpoint hit:"); }))
            << again->Text().toStdString();
    }
    VxEditLangConfigRegistry::Instance().Reset();
}
