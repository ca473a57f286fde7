#include "app/CChildFrame.h"
#include "app/CCompileJob.h"
#include "app/CMainFrame.h"
#include "app/CScrivoApp.h"
#include "app/CScrivoDoc.h"
#include "app/SettingsKeys.h"
#include "engine/VxScrivo.h"
#include "javatools/build/ProgramLookup.h"
#include "javatools/output/OutputControlBar.h"
#include "javatools/output/OutputVxEditCtrl.h"
#include "javatools/tooldialogs/CCompileDialog.h"
#include "language/VxEditLangConfigRegistry.h"
#include "platform/core/MemoryProfile.h"
#include "platform/core/MessageSeam.h"
#include "resources/CommandIds.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"
#include "view/CScrivoView.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using quillet::platform::RecordingMessageSink;
using quillet::test::TempDir;
using quillet::test::WriteFileBytes;

namespace {

const char* const kBroken =
    "public class Broken {\n"
    "    public static void main(String[] args) {\n"
    "        System.out.println(\"x\")\n"
    "    }\n"
    "}\n";

// The processes of the group that are not yet ended (zombies left to a
// parent that does not reap them count as ended).
int LivingMembers(pid_t group)
{
    int living = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        std::ifstream in(entry.path() / "stat");
        std::string stat;
        if (!std::getline(in, stat) || stat.rfind(')') == std::string::npos)
            continue;
        std::istringstream fields(stat.substr(stat.rfind(')') + 1));
        char state = 0;
        long parent = 0;
        long processGroup = 0;
        fields >> state >> parent >> processGroup;
        if (processGroup == group && state != 'Z')
            ++living;
    }
    return living;
}

// A field of /proc/self/status in kB ("VmRSS", "VmHWM").
long StatusKb(const std::string& field)
{
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);) {
        if (line.starts_with(field + ":"))
            return std::stol(line.substr(field.size() + 1));
    }
    return -1;
}

class CompileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        VxEditLangConfigRegistry::Instance().Reset();
        javac_ = FindProgram("javac", std::getenv("PATH") ? std::getenv("PATH") : "");
        ASSERT_FALSE(javac_.empty()) << "the JDK's javac is needed";
        profile_.WriteInt(settings::kJavaFiles, settings::kAssociate, settings::kAssociateNo);
        profile_.WriteString(settings::kTools, settings::kJavaCompiler, javac_);
        CScrivoApp::Options options;
        options.programDirectory = QUILLET_PROGRAM_DIR;
        options.userSettingsDirectory = QString::fromStdString(settingsDir_.Path().string() + "/");
        app_ = std::make_unique<CScrivoApp>(profile_, options);
        ASSERT_EQ(app_->Start({}), CScrivoApp::StartResult::Running);
    }
    void TearDown() override
    {
        app_.reset();
        VxEditLangConfigRegistry::Instance().Reset();
    }

    // Starts compiling the active document, answering the Compile dialog.
    void StartCompile(bool compileAll = false)
    {
        QTimer::singleShot(0, [compileAll] {
            auto* dialog = qobject_cast<CCompileDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            dialog->compileAll->setChecked(compileAll);
            dialog->accept();
        });
        app_->MainFrame()->RouteCommand(cmd::kBuildCompile);
    }

    // Compiles the active document and lets the event loop run until the
    // compile has ended.
    void Compile(bool compileAll = false)
    {
        StartCompile(compileAll);
        ASSERT_TRUE(QTest::qWaitFor([this] { return !Job().IsRunning(); }, 120000));
    }

    CCompileJob& Job() { return app_->MainFrame()->CompileJob(); }

    // Writes an executable shell script that stands in for the compiler.
    std::string Script(const std::string& name, const std::string& body)
    {
        const std::string path = dir_.File(name);
        WriteFileBytes(path, "#!/bin/sh\n" + body);
        std::filesystem::permissions(path, std::filesystem::perms::owner_all);
        profile_.WriteString(settings::kTools, settings::kJavaCompiler, path);
        return path;
    }

    OutputVxEditCtrl& Output() { return *app_->MainFrame()->OutputBar()->Control(); }

    // Double-clicks the output window's line whose text starts with prefix.
    void DoubleClickLineStarting(const std::string& prefix)
    {
        OutputVxEditCtrl& output = Output();
        VxEdit& model = output.Model();
        std::int32_t target = -1;
        for (std::int32_t line = 0; line <= model.LastLine() && target < 0; ++line) {
            const char* text = nullptr;
            std::int32_t length = 0;
            model.LineText(line, text, length);
            if (std::string(text, static_cast<std::size_t>(length)).starts_with(prefix))
                target = line;
        }
        ASSERT_GE(target, 0) << prefix;
        output.resize(600, 400);
        output.verticalScrollBar()->setValue(0);
        const int y = target * output.LineHeight() - output.ScrollY() + output.LineHeight() / 2;
        QTest::mouseDClick(output.viewport(), Qt::LeftButton, {}, QPoint(60, y));
    }

    std::string javac_;
    TempDir settingsDir_;
    TempDir dir_;
    quillet::platform::MemoryProfile profile_;
    RecordingMessageSink messages_;
    std::unique_ptr<CScrivoApp> app_;
};

}  // namespace

// The whole text of the output window after a compile with a syntax error
// is the log: the header, javac's own report and the closing line; a double
// click on the message marks the line and puts the caret under javac's caret.
TEST_F(CompileTest, SyntaxErrorIsLoggedAndDoubleClickMarksTheLine)
{
    const std::string path = dir_.File("Broken.java");
    WriteFileBytes(path, kBroken);
    CScrivoDoc* document = app_->OpenDocument(QString::fromStdString(path));
    ASSERT_NE(document, nullptr);

    Compile();

    const quillet::test::ProcessResult javac = quillet::test::RunProcess({javac_, path});
    ASSERT_TRUE(javac.started);
    ASSERT_NE(javac.err.find("Broken.java:3: error"), std::string::npos) << javac.err;
    EXPECT_EQ(Output().Text(), "-Called Compiler " + javac_ + "-\r\n-Target File: " + path +
                                   "-\r\n" + javac.out + javac.err + "\r\n-Finished-");
    EXPECT_TRUE(app_->MainFrame()->OutputBar()->isVisibleTo(app_->MainFrame()));
    EXPECT_TRUE(messages_.Texts().empty());
    // Screen readers read the same text, under the dock's name.
    EXPECT_EQ(app_->MainFrame()->OutputBar()->accessibleName(), "Output Window");
    QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(&Output());
    ASSERT_NE(shown, nullptr);
    ASSERT_NE(shown->textInterface(), nullptr);
    EXPECT_EQ(shown->textInterface()->text(0, shown->textInterface()->characterCount()),
              QString::fromStdString(Output().Text()));

    DoubleClickLineStarting(path + ":3:");
    VxScrivo& model = *document->Model();
    EXPECT_EQ(model.TestMark(2, VxEdit::kMarkErrorLine), 1);
    EXPECT_EQ(model.CountMarkedLines(VxEdit::kMarkErrorLine), 1);
    auto* view = qobject_cast<CScrivoView*>(app_->MainFrame()->ActiveChild()->EditView());
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Controller().Caret().line, 2);
    // javac puts its caret just after the call that lacks the semicolon.
    EXPECT_EQ(view->Controller().Caret().column, 31);
    EXPECT_FALSE(view->Controller().HasSelection());
    QAccessibleInterface* edit = QAccessible::queryAccessibleInterface(view);
    ASSERT_NE(edit, nullptr);
    const std::string firstLines(kBroken, std::string(kBroken).find("System"));
    EXPECT_EQ(edit->textInterface()->cursorPosition(), static_cast<int>(firstLines.size()) + 23);

    // The next compile clears the old marks first (the dialog's default).
    Compile();
    EXPECT_EQ(model.CountMarkedLines(VxEdit::kMarkErrorLine), 0);
}

// With every file of the directory compiled, a message about a file that is
// not open opens it and marks the line there, not in the active window.
TEST_F(CompileTest, CompileAllMarksTheLineInTheFileTheMessageNames)
{
    const std::string good = dir_.File("Good.java");
    const std::string broken = dir_.File("Broken.java");
    WriteFileBytes(good, "public class Good {\n}\n");
    WriteFileBytes(broken, kBroken);
    CScrivoDoc* active = app_->OpenDocument(QString::fromStdString(good));
    ASSERT_NE(active, nullptr);
    // An unsaved change in the active file is saved before the compile.
    active->Model()->InsertAtLineCol(1, 0, "    int x;\n", 11);

    Compile(true);
    EXPECT_FALSE(active->IsModified());
    EXPECT_NE(Output().Text().find("-Target File: " + dir_.Path().string() + "/*.java-"),
              std::string::npos);

    DoubleClickLineStarting(broken + ":3:");
    CScrivoDoc* opened = app_->ActiveDocument();
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(opened->PathName(), broken);
    EXPECT_EQ(opened->Model()->TestMark(2, VxEdit::kMarkErrorLine), 1);
    EXPECT_EQ(active->Model()->CountMarkedLines(VxEdit::kMarkErrorLine), 0);
}

TEST_F(CompileTest, MissingCompilerGivesOneLineWithTheReason)
{
    const std::string path = dir_.File("Broken.java");
    WriteFileBytes(path, kBroken);
    ASSERT_NE(app_->OpenDocument(QString::fromStdString(path)), nullptr);
    const std::string missing = dir_.File("no-such-javac");
    profile_.WriteString(settings::kTools, settings::kJavaCompiler, missing);

    Compile();

    EXPECT_EQ(Output().Text(), "-Called Compiler " + missing + "-\r\n-Target File: " + path +
                                   "-\r\nCould not start " + missing +
                                   ": No such file or directory\r\n-Finished-");
}

// A compiler that never ends: F7 returns at once, the status bar says what
// compiles, keys typed meanwhile go into the text and the commands that
// need the compile's result are greyed. Stop Build ends the script and the
// sleep it started although both ignore SIGTERM (after the grace), and the
// output window and status bar say the build was stopped. Closing the main
// window ends a compile that still runs.
TEST_F(CompileTest, StopBuildEndsASleepingCompilerWhileTheEditorTakesKeys)
{
    const std::string compiler = Script("slow-javac", "echo compiling\ntrap '' TERM\nsleep 1000\n");
    const std::string path = dir_.File("Slow.java");
    WriteFileBytes(path, "public class Slow {\n}\n");
    CScrivoDoc* document = app_->OpenDocument(QString::fromStdString(path));
    ASSERT_NE(document, nullptr);
    CMainFrame& frame = *app_->MainFrame();
    EXPECT_FALSE(frame.RouteUpdate(cmd::kBuildStop).enabled);

    StartCompile();
    ASSERT_TRUE(Job().IsRunning());
    const pid_t group = static_cast<pid_t>(Job().ProcessGroup());
    ASSERT_GT(group, 0);
    // The redirector, the script and its sleep.
    ASSERT_TRUE(QTest::qWaitFor([group] { return LivingMembers(group) == 3; }, 10000));
    EXPECT_EQ(Output().Text(), "-Compiling " + path + "-\r\n");
    EXPECT_EQ(frame.statusBar()->currentMessage(), "Compiling Slow.java\u2026");
    EXPECT_FALSE(frame.RouteUpdate(cmd::kBuildCompile).enabled);
    EXPECT_FALSE(frame.RouteUpdate(cmd::kBuildExecute).enabled);
    EXPECT_FALSE(frame.RouteUpdate(cmd::kBuildDebug).enabled);
    EXPECT_TRUE(frame.RouteUpdate(cmd::kBuildStop).enabled);

    auto* view = qobject_cast<CScrivoView*>(frame.ActiveChild()->EditView());
    ASSERT_NE(view, nullptr);
    view->Controller().SetCaret(1, 0);
    QTest::keyClicks(view, "int typed;");
    std::string line;
    document->Model()->CopyText(line, 1, 0, 1, document->Model()->LineLength(1));
    EXPECT_EQ(line, "int typed;}");

    EXPECT_EQ(frame.Action(cmd::kBuildStop)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Pause));
    frame.Action(cmd::kBuildStop)->trigger();
    EXPECT_TRUE(Job().IsRunning()) << "the group ignores SIGTERM; it must be given its grace";
    ASSERT_TRUE(QTest::qWaitFor([this] { return !Job().IsRunning(); }, 20000));
    EXPECT_EQ(LivingMembers(group), 0);
    EXPECT_EQ(Output().Text(), "-Called Compiler " + compiler + "-\r\n-Target File: " + path +
                                   "-\r\ncompiling\n\r\nBuild stopped.");
    EXPECT_EQ(frame.statusBar()->currentMessage(), "Build stopped.");
    EXPECT_TRUE(frame.RouteUpdate(cmd::kBuildCompile).enabled);
    EXPECT_FALSE(frame.RouteUpdate(cmd::kBuildStop).enabled);

    // The next compile saves the typed text first; closing the window ends it.
    StartCompile();
    const pid_t second = static_cast<pid_t>(Job().ProcessGroup());
    ASSERT_GT(second, 0);
    EXPECT_FALSE(document->IsModified());
    EXPECT_TRUE(frame.close());
    EXPECT_FALSE(Job().IsRunning());
    EXPECT_EQ(LivingMembers(second), 0);
    EXPECT_TRUE(messages_.Texts().empty());
}

// A compiler that writes 100 MB: the output window keeps the last 10,000
// lines after a line that counts the others, memory stays bounded, and a
// double-click on a kept message still leads to its line.
TEST_F(CompileTest, HugeOutputKeepsABoundedTail)
{
    std::string message = "Big.java:1: error: ";
    message.resize(49, 'x');
    const std::size_t lines = 2000000;  // of 50 bytes: 100 MB
    Script("chatty-javac", "yes '" + message + "' | head -c " + std::to_string(lines * 50) + "\n");
    const std::string path = dir_.File("Big.java");
    WriteFileBytes(path, "public class Big {\n}\n");
    CScrivoDoc* document = app_->OpenDocument(QString::fromStdString(path));
    ASSERT_NE(document, nullptr);

    // The peak resident size starts again from the present one.
    std::ofstream("/proc/self/clear_refs") << "5";
    const long before = StatusKb("VmRSS");
    Compile();
    const long peak = StatusKb("VmHWM");
    ASSERT_GT(before, 0);
    EXPECT_LT(peak - before, 200 * 1024) << "the compile's output took " << (peak - before) / 1024 << " MB";

    std::string expected = "-Called Compiler " + dir_.File("chatty-javac") + "-\r\n-Target File: " + path +
                           "-\r\n\xE2\x80\xA6 1,990,000 earlier lines not shown.\r\n";
    for (int i = 0; i < 10000; ++i)
        expected += message + "\n";
    expected += "\r\n-Finished-";
    EXPECT_EQ(Output().Text(), expected);
    EXPECT_EQ(Output().Model().LastLine(), 10004);

    DoubleClickLineStarting("Big.java:1:");
    EXPECT_EQ(document->Model()->TestMark(0, VxEdit::kMarkErrorLine), 1);
}
