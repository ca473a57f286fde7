// The check on save in the running editor, with the real javac: the marks
// and their texts after a save, the message pane and the margin tooltip,
// typing while javac runs, a newer save ending the older check, and a
// compiler that cannot run.
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CSaveChecks.h"
#include "app/CScrivoApp.h"
#include "app/CScrivoDoc.h"
#include "app/SettingsKeys.h"
#include "engine/VxScrivo.h"
#include "language/VxEditLangConfigRegistry.h"
#include "platform/core/MemoryProfile.h"
#include "platform/core/MessageSeam.h"
#include "tests/support/TempDir.h"
#include "view/CScrivoView.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QHelpEvent>
#include <QStatusBar>
#include <QTest>
#include <QToolTip>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>

using quillet::platform::RecordingMessageSink;
using quillet::test::ReadFileBytes;
using quillet::test::TempDir;
using quillet::test::WriteFileBytes;

namespace {

const char* const kJavac = "/usr/lib/jvm/java-17-openjdk-amd64/bin/javac";

const char* const kBroken =
    "public class Greeter {\n"
    "    public static void main(String[] args) {\n"
    "        System.out.println(\"hello\")\n"
    "    }\n"
    "}\n";

class SaveCheckTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(kJavac))
            GTEST_SKIP() << "no OpenJDK 17 javac at " << kJavac;
        VxEditLangConfigRegistry::Instance().Reset();
        profile_.WriteInt(settings::kJavaFiles, settings::kAssociate, settings::kAssociateNo);
        profile_.WriteString(settings::kTools, settings::kJavaCompiler, kJavac);
        CScrivoApp::Options options;
        options.programDirectory = QUILLET_PROGRAM_DIR;
        options.userSettingsDirectory = QString::fromStdString(settingsDir_.Path().string() + "/");
        options.recoveryDirectory = QString::fromStdString(settingsDir_.File("recovery"));
        app_ = std::make_unique<CScrivoApp>(profile_, options);
        ASSERT_EQ(app_->Start({}), CScrivoApp::StartResult::Running);
        app_->MainFrame()->resize(900, 700);
    }
    void TearDown() override
    {
        app_.reset();
        VxEditLangConfigRegistry::Instance().Reset();
    }

    CScrivoDoc* Open(const std::string& name, const std::string& text)
    {
        path_ = dir_.File(name);
        WriteFileBytes(path_, text);
        return app_->OpenDocument(QString::fromStdString(path_));
    }

    CScrivoView& View()
    {
        return *qobject_cast<CScrivoView*>(app_->MainFrame()->ActiveChild()->EditView());
    }

    // Lets the event loop run until the document's check has ended.
    bool WaitForCheck(CScrivoDoc* document)
    {
        QElapsedTimer waited;
        waited.start();
        while (app_->SaveChecks()->IsRunning(document) && waited.elapsed() < 60000)
            QApplication::processEvents(QEventLoop::AllEvents, 50);
        QApplication::processEvents();
        return !app_->SaveChecks()->IsRunning(document);
    }

    QString MessagePane() { return app_->MainFrame()->statusBar()->currentMessage(); }

    void SetCaretLine(std::int32_t line)
    {
        View().Controller().SetCaret(line, 0);
        QApplication::processEvents();
    }

    // The tooltip over the margin of the line, as the mouse would ask for it.
    QString MarginTooltip(std::int32_t line)
    {
        CScrivoView& view = View();
        const QPoint point(2, line * view.LineHeight() - view.ScrollY() + view.LineHeight() / 2);
        QHelpEvent help(QEvent::ToolTip, point, view.viewport()->mapToGlobal(point));
        QApplication::sendEvent(view.viewport(), &help);
        const QString text = QToolTip::isVisible() ? QToolTip::text() : QString();
        QToolTip::hideText();
        // The tip fades out; the next question must not read it.
        (void)QTest::qWaitFor([] { return !QToolTip::isVisible(); }, 5000);
        return text;
    }

    TempDir settingsDir_;
    TempDir dir_;
    std::string path_;
    quillet::platform::MemoryProfile profile_;
    RecordingMessageSink messages_;
    std::unique_ptr<CScrivoApp> app_;
};

}  // namespace

// A user saves a file with a missing semicolon: the line is marked, its
// margin and (with the caret on it) the message pane say javac's message;
// a line marked by Compile keeps its mark; the saved fix clears the marks.
TEST_F(SaveCheckTest, AnErrorIsMarkedAfterSavingAndGoesWithTheFix)
{
    CScrivoDoc* document = Open("Greeter.java", kBroken);
    ASSERT_NE(document, nullptr);
    VxScrivo& model = *document->Model();
    model.SetMark(4, VxEdit::kMarkErrorLine, true);
    app_->MainFrame()->show();

    ASSERT_TRUE(document->DoFileSave());
    ASSERT_TRUE(WaitForCheck(document));
    EXPECT_EQ(model.TestMark(2, VxEdit::kMarkCheckedLine), 1);
    EXPECT_EQ(model.CountMarkedLines(VxEdit::kMarkCheckedLine), 1);
    EXPECT_EQ(app_->SaveChecks()->NoteAt(document, 2), "error: ';' expected");
    EXPECT_EQ(MarginTooltip(2), "error: ';' expected");
    EXPECT_EQ(MarginTooltip(1), "");

    SetCaretLine(2);
    EXPECT_EQ(MessagePane(), "error: ';' expected");
    SetCaretLine(0);
    EXPECT_EQ(MessagePane(), "Ready");

    // The fix, typed and saved.
    View().Controller().SetCaret(2, model.LineLength(2));
    QTest::keyClicks(&View(), ";");
    ASSERT_TRUE(document->DoFileSave());
    ASSERT_TRUE(WaitForCheck(document));
    EXPECT_EQ(model.CountMarkedLines(VxEdit::kMarkCheckedLine), 0);
    EXPECT_EQ(MessagePane(), "Ready");
    EXPECT_EQ(model.TestMark(4, VxEdit::kMarkErrorLine), 1);
    EXPECT_TRUE(messages_.Texts().empty());
}

// Save returns before javac has ended, and keys typed while it runs are
// taken at once: the text changes while the check still runs.
TEST_F(SaveCheckTest, TypingGoesOnWhileJavacRuns)
{
    CScrivoDoc* document = Open("Greeter.java", kBroken);
    ASSERT_NE(document, nullptr);
    ASSERT_TRUE(document->DoFileSave());
    ASSERT_TRUE(app_->SaveChecks()->IsRunning(document));

    View().Controller().SetCaret(0, 0);
    QTest::keyClicks(&View(), "// typed ");
    std::string first;
    document->Model()->CopyText(first, 0, 0, 0, document->Model()->LineLength(0));
    EXPECT_EQ(first, "// typed public class Greeter {");
    EXPECT_TRUE(app_->SaveChecks()->IsRunning(document))
        << "javac ended before the keys were typed; nothing shows that typing went on meanwhile";

    ASSERT_TRUE(WaitForCheck(document));
    EXPECT_EQ(document->Model()->TestMark(2, VxEdit::kMarkCheckedLine), 1);
}

// A second save while the first check runs ends the first compiler; the
// marks are those of the text saved last.
TEST_F(SaveCheckTest, ANewerSaveEndsTheRunningCheck)
{
    CScrivoDoc* document = Open("Greeter.java", kBroken);
    ASSERT_NE(document, nullptr);
    ASSERT_TRUE(document->DoFileSave());
    const long first = app_->SaveChecks()->ProcessId(document);
    ASSERT_GT(first, 0);

    document->Model()->InsertAtLineCol(2, document->Model()->LineLength(2), ";", 1);
    ASSERT_TRUE(document->DoFileSave());
    EXPECT_NE(app_->SaveChecks()->ProcessId(document), first);
    EXPECT_EQ(kill(static_cast<pid_t>(first), 0), -1);
    EXPECT_EQ(errno, ESRCH);
    ASSERT_TRUE(WaitForCheck(document));
    EXPECT_EQ(document->Model()->CountMarkedLines(VxEdit::kMarkCheckedLine), 0);
    EXPECT_EQ(ReadFileBytes(path_).find("\")\n"), std::string::npos);
}

// A compiler that cannot be started is said in the status bar once, never
// in a message box; with the box cleared in the Tools settings nothing runs.
TEST_F(SaveCheckTest, AMissingCompilerIsSaidOnceInTheStatusBar)
{
    const std::string missing = dir_.File("no-such-javac");
    profile_.WriteString(settings::kTools, settings::kJavaCompiler, missing);
    CScrivoDoc* document = Open("Greeter.java", kBroken);
    ASSERT_NE(document, nullptr);

    ASSERT_TRUE(document->DoFileSave());
    EXPECT_EQ(MessagePane().toStdString(),
              "Check on save: could not start " + missing + ": No such file or directory");
    app_->MainFrame()->statusBar()->clearMessage();
    ASSERT_TRUE(document->DoFileSave());
    EXPECT_EQ(MessagePane(), "Ready");
    EXPECT_TRUE(messages_.Texts().empty());

    profile_.WriteString(settings::kTools, settings::kJavaCompiler, kJavac);
    profile_.WriteInt(settings::kTools, settings::kCheckOnSave, 0);
    ASSERT_TRUE(document->DoFileSave());
    EXPECT_FALSE(app_->SaveChecks()->IsRunning(document));
}
