#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CScrivoApp.h"
#include "app/CRecoveryStore.h"
#include "app/CScrivoDoc.h"
#include "engine/VxEditBackupCopy.h"
#include "engine/VxEditFileStamp.h"
#include "engine/VxEditRecoveryJournal.h"
#include "engine/VxEditSaveIntent.h"
#include "engine/VxEditTextBuffer.h"
#include "engine/VxScrivo.h"
#include "javatools/console/CConsoleBar.h"
#include "language/VxEditLangConfig.h"
#include "language/VxEditLangConfigRegistry.h"
#include "platform/core/MemoryProfile.h"
#include "platform/core/MessageSeam.h"
#include "tests/app/AppOptions.h"
#include "tests/support/TempDir.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include "resources/CommandIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <unistd.h>

using quillet::platform::MessageAnswer;
using quillet::platform::RecordingMessageSink;
using quillet::test::ReadFileBytes;
using quillet::test::TempDir;
using quillet::test::WriteFileBytes;

namespace {

class StartupTest : public ::testing::Test {
protected:
    void SetUp() override { VxEditLangConfigRegistry::Instance().Reset(); }
    void TearDown() override { VxEditLangConfigRegistry::Instance().Reset(); }

    CScrivoApp::Options OptionsIn(const TempDir& dir, const std::string& programDir = {})
    {
        CScrivoApp::Options options = AppOptionsIn(dir);
        if (!programDir.empty())
            options.programDirectory = QString::fromStdString(programDir);
        return options;
    }

    static void Type(CScrivoDoc& document, const std::string& text)
    {
        document.Model()->InsertAtLineCol(0, 0, text.data(), static_cast<std::int64_t>(text.size()));
    }

    // A window's title as shown: "[*]" is "*" while the window is modified.
    static QString Shown(const QWidget* window)
    {
        return QString(window->windowTitle())
            .replace(QStringLiteral("[*]"), window->isWindowModified() ? QStringLiteral("*") : QString());
    }

    static bool WaitFor(const std::function<bool()>& condition)
    {
        QElapsedTimer timer;
        timer.start();
        while (!condition() && timer.elapsed() < 5000)
            QApplication::processEvents(QEventLoop::AllEvents, 20);
        return condition();
    }

    quillet::platform::MemoryProfile profile_;
    RecordingMessageSink messages_;
};

}  // namespace

TEST_F(StartupTest, AssociationIsAskedOnceAndTheAnswerStored)
{
    TempDir dir;
    {
        messages_.QueueAnswer(MessageAnswer::No);
        CScrivoApp app(profile_, OptionsIn(dir));
        ASSERT_EQ(app.Start({}), CScrivoApp::StartResult::Running);
        ASSERT_EQ(messages_.Messages().size(), 1u);
        EXPECT_EQ(messages_.Messages()[0].title, "Java File Type Program Association");
        EXPECT_EQ(messages_.Messages()[0].yesText, "Yes, use Quillet for .java files");
        EXPECT_EQ(messages_.Messages()[0].noText, "No, do not associate");
        EXPECT_EQ(profile_.GetInt("Java Files", "Associate", 3), 0);
        EXPECT_TRUE(app.Documents().empty());
    }
    {
        CScrivoApp app(profile_, OptionsIn(dir));
        ASSERT_EQ(app.Start({}), CScrivoApp::StartResult::Running);
        EXPECT_EQ(messages_.Messages().size(), 1u);  // not asked again
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("data/applications/quillet.desktop")));
}

TEST_F(StartupTest, AssociatingWritesTheDesktopEntryAndAStrangeValueIsLeftAlone)
{
    TempDir dir;
    messages_.QueueAnswer(MessageAnswer::Yes);
    {
        CScrivoApp app(profile_, OptionsIn(dir));
        ASSERT_EQ(app.Start({}), CScrivoApp::StartResult::Running);
    }
    EXPECT_EQ(profile_.GetInt("Java Files", "Associate", 3), 1);
    EXPECT_TRUE(std::filesystem::exists(dir.File("data/applications/quillet.desktop")));
    EXPECT_NE(ReadFileBytes(dir.File("config/mimeapps.list")).find("text/x-java=quillet.desktop"),
              std::string::npos);

    TempDir other;
    quillet::platform::MemoryProfile seven;
    seven.WriteInt("Java Files", "Associate", 7);
    CScrivoApp app(seven, OptionsIn(other));
    ASSERT_EQ(app.Start({}), CScrivoApp::StartResult::Running);
    EXPECT_EQ(messages_.Messages().size(), 1u);
    EXPECT_EQ(seven.GetInt("Java Files", "Associate", 3), 7);
    EXPECT_FALSE(std::filesystem::exists(other.File("data/applications/quillet.desktop")));
}

TEST_F(StartupTest, WordListsAndToolSettingsAreReadAfterTheCommandLine)
{
    TempDir dir;
    const std::string program = dir.File("bin") + "/";
    std::filesystem::create_directories(program);
    WriteFileBytes(program + "Extends.ini", "Object\n Thread\n\n");
    WriteFileBytes(dir.File("Hello.java"), "class Hello {}\n");
    profile_.WriteInt("Java Files", "Associate", 0);
    profile_.WriteString("Tools", "CompilerArgs", "-g");

    CScrivoApp app(profile_, OptionsIn(dir, program));
    ASSERT_EQ(app.Start({QString::fromStdString(dir.File("Hello.java"))}),
              CScrivoApp::StartResult::Running);
    ASSERT_EQ(app.Documents().size(), 1u);
    EXPECT_EQ(app.Documents()[0]->Model()->GetLangConfig()->GetName(), "Java");
    EXPECT_EQ(app.Settings().extendsList, (WordList{"Object", " Thread", ""}));
    EXPECT_EQ(app.Settings().compilerArgs, "-g");
    EXPECT_EQ(app.Settings().compileAutoSave, 1);
    EXPECT_EQ(app.Settings().outputToolPath, program + "Output");

    app.Settings().compilerArgs = "-Xlint";
    app.Exit();
    EXPECT_EQ(profile_.GetString("Tools", "CompilerArgs", ""), "-Xlint");
    EXPECT_EQ(profile_.GetString("Recent File List", "File1", ""), dir.File("Hello.java"));
}

TEST_F(StartupTest, AFileThatCannotBeOpenedFailsStartUpWithItsMessage)
{
    TempDir dir;
    profile_.WriteInt("Java Files", "Associate", 0);
    CScrivoApp app(profile_, OptionsIn(dir));
    EXPECT_EQ(app.Start({QString::fromStdString(dir.File("absent.java"))}),
              CScrivoApp::StartResult::Failed);
    ASSERT_EQ(messages_.Texts().size(), 1u);
    EXPECT_NE(messages_.Texts()[0].find("absent.java"), std::string::npos);
    EXPECT_TRUE(app.Documents().empty());
}

TEST_F(StartupTest, ASecondStartHandsItsFileToTheRunningInstance)
{
    TempDir dir;
    profile_.WriteInt("Java Files", "Associate", 1);
    WriteFileBytes(dir.File("Second.java"), "class Second {}\n");
    CScrivoApp first(profile_, OptionsIn(dir));
    ASSERT_EQ(first.Start({}), CScrivoApp::StartResult::Running);

    CScrivoApp second(profile_, OptionsIn(dir));
    EXPECT_EQ(second.Start({QString::fromStdString(dir.File("Second.java"))}),
              CScrivoApp::StartResult::HandedOver);
    EXPECT_EQ(second.MainFrame(), nullptr);
    ASSERT_TRUE(WaitFor([&] { return first.Documents().size() == 1; }));
    EXPECT_EQ(first.Documents()[0]->PathName(), dir.File("Second.java"));
}

TEST_F(StartupTest, SaveAllSavesFilesAndAsksOnceForAName)
{
    TempDir dir;
    profile_.WriteInt("Java Files", "Associate", 0);
    WriteFileBytes(dir.File("A.java"), "a\n");
    WriteFileBytes(dir.File("B.html"), "b\n");
    CScrivoApp app(profile_, OptionsIn(dir));
    ASSERT_EQ(app.Start({}), CScrivoApp::StartResult::Running);
    CScrivoDoc* a = app.OpenDocument(QString::fromStdString(dir.File("A.java")));
    CScrivoDoc* b = app.OpenDocument(QString::fromStdString(dir.File("B.html")));
    CScrivoDoc* untitled = app.NewDocument();
    ASSERT_TRUE(a && b && untitled);
    EXPECT_EQ(untitled->Title(), "Quillet1");
    Type(*a, "1");
    Type(*b, "2");
    Type(*untitled, "3");

    messages_.QueueFileAnswer(dir.File("C"));
    EXPECT_TRUE(app.SaveAll());
    EXPECT_EQ(messages_.FileRequests().size(), 1u);
    EXPECT_EQ(ReadFileBytes(dir.File("A.java")), "1a\n");
    EXPECT_EQ(ReadFileBytes(dir.File("B.html")), "2b\n");
    EXPECT_EQ(ReadFileBytes(dir.File("C.java")), "3");
    EXPECT_EQ(untitled->Title(), "C.java");
    EXPECT_EQ(app.MainFrame()->MdiArea()->subWindowList().size(), 3);
}

TEST_F(StartupTest, ClosingTheMainWindowAsksAboutModifiedDocuments)
{
    TempDir dir;
    profile_.WriteInt("Java Files", "Associate", 0);
    CScrivoApp app(profile_, OptionsIn(dir));
    ASSERT_EQ(app.Start({}), CScrivoApp::StartResult::Running);
    CScrivoDoc* document = app.NewDocument();
    Type(*document, "unsaved");
    messages_.QueueAnswer(MessageAnswer::Cancel);
    EXPECT_FALSE(app.MainFrame()->close());
    EXPECT_EQ(messages_.Texts().back(), "Save changes to Quillet1?");
    EXPECT_EQ(app.Documents().size(), 1u);
    messages_.QueueAnswer(MessageAnswer::No);
    EXPECT_TRUE(app.MainFrame()->close());
    EXPECT_TRUE(app.Documents().empty());
}

TEST_F(StartupTest, MenusFollowWhetherADocumentIsOpenAndCommandsReachTheView)
{
    TempDir dir;
    profile_.WriteInt("Java Files", "Associate", 0);
    profile_.WriteInt("Settings", "WorkbookMode", 0);
    CScrivoApp app(profile_, OptionsIn(dir));
    ASSERT_EQ(app.Start({}), CScrivoApp::StartResult::Running);
    CMainFrame* frame = app.MainFrame();
    EXPECT_FALSE(frame->WorkbookMode());
    auto menuTitles = [frame] {
        QStringList titles;
        for (QAction* action : frame->menuBar()->actions())
            titles << action->text();
        return titles.join(QLatin1Char(' ')).toStdString();
    };
    EXPECT_EQ(menuTitles(), "&File &View &Tools &Window &Help");
    EXPECT_FALSE(frame->RouteUpdate(cmd::kFileSave).enabled);

    CScrivoDoc* document = app.NewDocument();
    EXPECT_EQ(menuTitles().rfind("&File &Edit ", 0), 0u);
    EXPECT_NE(menuTitles().find("&View &Tools &Window &Help"), std::string::npos);
    EXPECT_TRUE(frame->RouteUpdate(cmd::kFileSave).enabled);
    EXPECT_FALSE(frame->RouteUpdate(cmd::kViewLineNumbers).checked);
    EXPECT_TRUE(frame->RouteCommand(cmd::kViewLineNumbers));
    EXPECT_TRUE(frame->RouteUpdate(cmd::kViewLineNumbers).checked);

    // Typing reaches the model through the routed edit commands too.
    Type(*document, "abc");
    EXPECT_TRUE(frame->RouteCommand(cmd::kEditUndo));
    EXPECT_EQ(document->Model()->LineLength(0), 0);

    // A second window on the same document shares its model.
    EXPECT_TRUE(frame->RouteCommand(cmd::kWindowNew));
    EXPECT_EQ(frame->MdiArea()->subWindowList().size(), 2);
    EXPECT_EQ(frame->MdiArea()->subWindowList()[1]->windowTitle(), "Quillet1:2[*]");
    // Line numbers are one choice, kept, for every window, new ones too.
    EXPECT_TRUE(frame->RouteUpdate(cmd::kViewLineNumbers).checked);
    EXPECT_EQ(profile_.GetInt("Settings", "LineNumbers", -1), 1);
    EXPECT_TRUE(frame->RouteCommand(cmd::kViewLineNumbers));
    frame->MdiArea()->setActiveSubWindow(frame->MdiArea()->subWindowList()[0]);
    EXPECT_FALSE(frame->RouteUpdate(cmd::kViewLineNumbers).checked);
    EXPECT_EQ(profile_.GetInt("Settings", "LineNumbers", -1), 0);
    EXPECT_TRUE(frame->RouteCommand(cmd::kViewLineNumbers));
    EXPECT_TRUE(frame->RouteCommand(cmd::kFileClose));
    EXPECT_TRUE(app.Documents().empty());
    QApplication::processEvents();
    EXPECT_EQ(menuTitles(), "&File &View &Tools &Window &Help");

    frame->RouteCommand(cmd::kViewWorkbookMode);
    EXPECT_TRUE(frame->WorkbookMode());
}

TEST_F(StartupTest, TheMainTitleNamesTheActiveDocumentAndF6StaysWithinIt)
{
    TempDir dir;
    profile_.WriteInt("Java Files", "Associate", 0);
    CScrivoApp app(profile_, OptionsIn(dir));
    ASSERT_EQ(app.Start({}), CScrivoApp::StartResult::Running);
    CMainFrame* frame = app.MainFrame();
    EXPECT_EQ(Shown(frame), "Quillet");

    CScrivoDoc* first = app.NewDocument();
    app.NewDocument();
    ASSERT_TRUE(WaitFor([&] { return Shown(frame) == "Quillet - Quillet2"; }))
        << frame->windowTitle().toStdString();
    QMdiSubWindow* active = frame->MdiArea()->activeSubWindow();
    EXPECT_TRUE(frame->RouteCommand(cmd::kNextPane));
    EXPECT_EQ(frame->MdiArea()->activeSubWindow(), active);

    frame->MdiArea()->setActiveSubWindow(frame->MdiArea()->subWindowList()[0]);
    EXPECT_EQ(Shown(frame), "Quillet - Quillet1");
    // Unsaved changes show as "*" after the name, in the window and the frame.
    Type(*first, "class Renamed {}");
    ASSERT_TRUE(WaitFor([&] { return Shown(frame) == "Quillet - Quillet1*"; })) << Shown(frame).toStdString();
    EXPECT_EQ(Shown(frame->MdiArea()->subWindowList()[0]), "Quillet1*");
    messages_.QueueFileAnswer(dir.File("Renamed"));
    ASSERT_TRUE(first->DoSave(""));
    ASSERT_TRUE(WaitFor([&] { return Shown(frame) == "Quillet - Renamed.java"; })) << Shown(frame).toStdString();

    EXPECT_TRUE(frame->RouteCommand(cmd::kFileClose));
    EXPECT_TRUE(frame->RouteCommand(cmd::kFileClose));
    ASSERT_TRUE(WaitFor([&] { return Shown(frame) == "Quillet"; })) << Shown(frame).toStdString();
}

TEST_F(StartupTest, ArrangingWindowsIsForFloatingWindowsAndLeavesTheTabSettingAlone)
{
    TempDir dir;
    profile_.WriteInt("Java Files", "Associate", 0);
    CScrivoApp app(profile_, OptionsIn(dir));
    ASSERT_EQ(app.Start({}), CScrivoApp::StartResult::Running);
    CMainFrame* frame = app.MainFrame();
    app.NewDocument();
    ASSERT_TRUE(frame->WorkbookMode());
    EXPECT_FALSE(frame->RouteUpdate(cmd::kWindowCascade).enabled);
    EXPECT_FALSE(frame->RouteCommand(cmd::kWindowTile));
    EXPECT_TRUE(frame->WorkbookMode());

    frame->RouteCommand(cmd::kViewWorkbookMode);
    EXPECT_TRUE(frame->RouteUpdate(cmd::kWindowCascade).enabled);
    EXPECT_TRUE(frame->RouteCommand(cmd::kWindowCascade));
    EXPECT_FALSE(frame->WorkbookMode());
}

TEST_F(StartupTest, TheOverwriteIndicatorFollowsTheActiveWindow)
{
    TempDir dir;
    profile_.WriteInt("Java Files", "Associate", 0);
    CScrivoApp app(profile_, OptionsIn(dir));
    ASSERT_EQ(app.Start({}), CScrivoApp::StartResult::Running);
    CMainFrame* frame = app.MainFrame();
    QLabel* indicator = nullptr;
    for (QLabel* label : frame->statusBar()->findChildren<QLabel*>()) {
        if (label->text() == "OVR")
            indicator = label;
    }
    ASSERT_NE(indicator, nullptr);
    app.NewDocument();
    app.NewDocument();
    EXPECT_FALSE(indicator->isEnabled());
    EXPECT_TRUE(frame->RouteCommand(cmd::kToggleOverwrite));
    EXPECT_TRUE(indicator->isEnabled());

    frame->MdiArea()->setActiveSubWindow(frame->MdiArea()->subWindowList()[0]);
    EXPECT_FALSE(indicator->isEnabled());
    frame->MdiArea()->setActiveSubWindow(frame->MdiArea()->subWindowList()[1]);
    EXPECT_TRUE(indicator->isEnabled());
    EXPECT_TRUE(frame->RouteCommand(cmd::kFileClose));
    EXPECT_TRUE(frame->RouteCommand(cmd::kFileClose));
    ASSERT_TRUE(WaitFor([&] { return !indicator->isEnabled(); }));
}

TEST_F(StartupTest, ASecondPlainStartLeavesTheFirstInstanceReachable)
{
    TempDir dir;
    profile_.WriteInt("Java Files", "Associate", 1);
    WriteFileBytes(dir.File("Third.java"), "class Third {}\n");
    CScrivoApp first(profile_, OptionsIn(dir));
    ASSERT_EQ(first.Start({}), CScrivoApp::StartResult::Running);
    CScrivoApp second(profile_, OptionsIn(dir));
    ASSERT_EQ(second.Start({}), CScrivoApp::StartResult::Running);

    CScrivoApp third(profile_, OptionsIn(dir));
    EXPECT_EQ(third.Start({QString::fromStdString(dir.File("Third.java"))}),
              CScrivoApp::StartResult::HandedOver);
    ASSERT_TRUE(WaitFor([&] { return first.Documents().size() == 1; }));
    EXPECT_TRUE(second.Documents().empty());
}

TEST_F(StartupTest, TheMessagePaneSaysReadyWhenNothingElseIsShown)
{
    TempDir dir;
    profile_.WriteInt("Java Files", "Associate", 0);
    CScrivoApp app(profile_, OptionsIn(dir));
    ASSERT_EQ(app.Start({}), CScrivoApp::StartResult::Running);
    QStatusBar* status = app.MainFrame()->statusBar();
    EXPECT_EQ(status->currentMessage(), "Ready");
    status->showMessage("Open an existing document");
    status->clearMessage();
    EXPECT_EQ(status->currentMessage(), "Ready");
}

TEST_F(StartupTest, TheConsoleAppearsAtTheBottomWithTheFirstRunAndTheViewMenuHidesIt)
{
    TempDir dir;
    profile_.WriteInt("Java Files", "Associate", 0);
    CScrivoApp app(profile_, OptionsIn(dir));
    ASSERT_EQ(app.Start({}), CScrivoApp::StartResult::Running);
    CMainFrame* frame = app.MainFrame();
    CConsoleBar* console = frame->ConsoleBar();
    EXPECT_TRUE(console->isHidden());
    EXPECT_EQ(frame->dockWidgetArea(console), Qt::BottomDockWidgetArea);
    EXPECT_FALSE(frame->RouteUpdate(cmd::kViewConsole).enabled);

    IConsoleHost::RunRequest request;
    request.title = "Quillet - Test";
    request.argv = {"true"};
    request.workingDirectory = dir.Path().string();
    std::optional<int> exitStatus;
    request.finished = [&](int status) { exitStatus = status; };
    std::string error;
    ASSERT_GT(frame->ConsoleHost().StartRun(request, &error), 0) << error;
    EXPECT_FALSE(console->isHidden());
    ASSERT_TRUE(WaitFor([&] { return exitStatus.has_value(); }));
    EXPECT_EQ(*exitStatus, 0);

    EXPECT_TRUE(frame->RouteUpdate(cmd::kViewConsole).checked);
    EXPECT_TRUE(frame->RouteCommand(cmd::kViewConsole));
    EXPECT_TRUE(console->isHidden());
    EXPECT_TRUE(frame->RouteUpdate(cmd::kViewConsole).enabled);
    EXPECT_TRUE(frame->RouteCommand(cmd::kViewConsole));
    EXPECT_FALSE(console->isHidden());
}

TEST_F(StartupTest, FilesChangedReplacedOrDeletedOnDiskAreAskedAboutPerDocument)
{
    TempDir dir;
    messages_.QueueAnswer(MessageAnswer::No);  // the association
    CScrivoApp app(profile_, OptionsIn(dir));
    ASSERT_EQ(app.Start({}), CScrivoApp::StartResult::Running);
    const std::string one = dir.File("One.java");
    const std::string two = dir.File("Two.java");
    const std::string three = dir.File("Three.java");
    WriteFileBytes(one, "class One {}\n");
    WriteFileBytes(two, "class Two {}\n");
    WriteFileBytes(three, "class Three {}\n");
    CScrivoDoc* first = app.OpenDocument(QString::fromStdString(one));
    CScrivoDoc* second = app.OpenDocument(QString::fromStdString(two));
    CScrivoDoc* third = app.OpenDocument(QString::fromStdString(three));
    ASSERT_TRUE(first && second && third);
    const std::size_t before = messages_.Messages().size();
    app.CheckFilesOnDisk();
    EXPECT_EQ(messages_.Messages().size(), before);  // nothing changed

    // Rewritten in place, replaced by a rename (as editors save), deleted.
    WriteFileBytes(one, "class One { int changed; }\n");
    WriteFileBytes(dir.File("Two.tmp"), "class Two { int replaced; }\r\n");
    std::filesystem::rename(dir.File("Two.tmp"), two);
    Type(*second, "// mine\n");
    std::filesystem::remove(three);
    messages_.QueueAnswer(MessageAnswer::Yes);  // reload One
    messages_.QueueAnswer(MessageAnswer::No);   // keep the changes to Two
    app.CheckFilesOnDisk();
    const std::vector<std::string> all = messages_.Texts();
    const std::vector<std::string> texts(all.begin() + static_cast<std::ptrdiff_t>(before), all.end());
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "The file " + one + " was changed outside Quillet. Reload it?",
                         "The file " + two + " was changed outside Quillet. Reload it? The changes made in "
                                             "Quillet will be lost.",
                         "The file " + three + " was deleted or moved outside Quillet. Its text stays open "
                                               "here, unsaved."}));
    auto text = [](CScrivoDoc& document) {
        std::string bytes;
        VxScrivo& model = *document.Model();
        model.CopyText(bytes, 0, 0, model.LastLine(), model.LineLength(model.LastLine()));
        return bytes;
    };
    EXPECT_EQ(text(*first), "class One { int changed; }\n");
    EXPECT_FALSE(first->IsModified());
    EXPECT_EQ(text(*second), "// mine\nclass Two {}\n");
    EXPECT_EQ(text(*third), "class Three {}\n");
    EXPECT_TRUE(third->IsModified());
    EXPECT_EQ(app.Documents().size(), 3u);  // the deleted file's document stays open

    // Asked once per change; saving over the changed file asks first.
    app.CheckFilesOnDisk();
    EXPECT_EQ(messages_.Messages().size(), before + 3);
    messages_.QueueAnswer(MessageAnswer::No);
    EXPECT_FALSE(second->DoFileSave());
    EXPECT_EQ(ReadFileBytes(two), "class Two { int replaced; }\r\n");
    EXPECT_EQ(messages_.Texts().back(),
              "The file " + two + " was changed outside Quillet since it was opened or saved. Overwrite it?");
    messages_.QueueAnswer(MessageAnswer::Yes);
    EXPECT_TRUE(second->DoFileSave());
    EXPECT_EQ(ReadFileBytes(two), "// mine\nclass Two {}\n");
    EXPECT_TRUE(third->DoFileSave());  // a deleted file is written again without asking
    EXPECT_EQ(ReadFileBytes(three), "class Three {}\n");
    EXPECT_EQ(messages_.Messages().size(), before + 5);
    app.CloseAllDocuments();
}

TEST_F(StartupTest, RecordsOfARunThatEndedAreOfferedAndThoseOfARunningOneAreNot)
{
    TempDir dir;
    const std::string folder = dir.File("recovery");
    std::filesystem::create_directories(folder);
    // What a killed run leaves: its owner file, no longer locked, and a
    // journal; and a record of an instance that still runs.
    WriteFileBytes(folder + "/1-2.owner", "");
    {
        auto model = tarrow::foundation::MakeRef<VxScrivo>();
        model->NewText();
        // Only closing the document removes a journal; this one is left
        // behind as by a killed run.
        VxEditRecoveryJournal journal(*model, folder + "/1-2-1.journal");
        journal.Restart({}, "Quillet4", {});
        model->InsertAtLineCol(0, 0, "class Lost {}", 13);
        ASSERT_TRUE(journal.Flush());
    }
    CRecoveryStore running(folder);
    const std::string runningRecord = running.NewJournalPath();
    WriteFileBytes(runningRecord, "a record being written");

    messages_.QueueAnswer(MessageAnswer::No);  // the association
    CScrivoApp::Options options = OptionsIn(dir);
    CScrivoApp app(profile_, options);
    ASSERT_EQ(app.Start({}), CScrivoApp::StartResult::Running);
    messages_.QueueAnswer(MessageAnswer::Yes);
    app.OfferRecovery();
    ASSERT_EQ(messages_.Messages().back().title, "Recover Unsaved Text");
    EXPECT_NE(messages_.Texts().back().find("Quillet4 (last changed "), std::string::npos) << messages_.Texts().back();
    ASSERT_EQ(app.Documents().size(), 1u);
    CScrivoDoc& recovered = *app.Documents().front();
    std::string text;
    recovered.Model()->CopyText(text, 0, 0, 0, recovered.Model()->LineLength(0));
    EXPECT_EQ(text, "class Lost {}");
    EXPECT_TRUE(recovered.IsModified());
    EXPECT_TRUE(recovered.PathName().empty());
    EXPECT_FALSE(std::filesystem::exists(folder + "/1-2-1.journal"));
    EXPECT_FALSE(std::filesystem::exists(folder + "/1-2.owner"));
    EXPECT_TRUE(std::filesystem::exists(runningRecord));

    // Nothing is left to offer; the recovered text gets a record of its own.
    const std::size_t asked = messages_.Messages().size();
    app.OfferRecovery();
    EXPECT_EQ(messages_.Messages().size(), asked);
    app.FlushRecoveryRecords();
    int records = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        records += entry.path().extension() == ".journal" && entry.path().string() != runningRecord ? 1 : 0;
    EXPECT_EQ(records, 1);
    messages_.QueueAnswer(MessageAnswer::No);  // do not save it
    app.CloseAllDocuments();
}

TEST_F(StartupTest, AFileAKilledRunWasSavingIntoGetsItsOldTextBackAndTheTypedTextIsOffered)
{
    TempDir dir;
    const std::string folder = dir.File("recovery");
    std::filesystem::create_directories(folder);
    const std::string file = dir.File("Big.java");
    std::string old;
    while (old.size() <= static_cast<std::size_t>(VxEditRecoveryJournal::kWholeTextLimit))
        old += "    int value = 42; // a line of Java\n";
    WriteFileBytes(file, old);
    std::filesystem::create_hard_link(file, dir.File("Alias.java"));
    const VxEditFileStamp before = VxEditFileStamp::Of(file);
    // What a run killed while it saved the file into itself leaves: its
    // owner file, a journal of the typed text made against the file, and a
    // save record whose copy of the old content is whole while the file
    // holds the first bytes of the new text.
    WriteFileBytes(folder + "/1-2.owner", "");
    std::string typed;
    {
        auto model = tarrow::foundation::MakeRef<VxScrivo>();
        model->NewText();
        ASSERT_EQ(model->LoadFile(file), 1);
        VxEditRecoveryJournal journal(*model, folder + "/1-2-1.journal");
        journal.Restart(file, "Big.java", before);
        model->InsertAtLineCol(0, 0, "// typed\n", 9);
        ASSERT_TRUE(journal.Flush());
        const VxEditTextBuffer& buffer = model->TextBuffer();
        typed.resize(static_cast<std::size_t>(buffer.Length()));
        buffer.CopyOut(typed.data(), 0, buffer.Length());
    }
    {
        VxEditSaveIntent intent;
        ASSERT_TRUE(intent.Begin(folder, file, before));
        const int target = open(file.c_str(), O_RDWR | O_CLOEXEC);
        ASSERT_TRUE(VxEditBackupCopy::Make(target, before.size, intent.BackupPath()));
        ASSERT_TRUE(intent.Mark(VxEditSaveIntent::Stage::BackedUp, before.size));
        ASSERT_EQ(pwrite(target, typed.data(), 100000, 0), 100000);
        close(target);
    }
    ASSERT_NE(VxEditFileStamp::Of(file), before);

    messages_.QueueAnswer(MessageAnswer::No);  // the association
    CScrivoApp app(profile_, OptionsIn(dir));
    ASSERT_EQ(app.Start({}), CScrivoApp::StartResult::Running);
    EXPECT_TRUE(ReadFileBytes(dir.File("Alias.java")) == old);
    EXPECT_EQ(VxEditFileStamp::Of(file), before);
    const std::vector<std::string> texts = messages_.Texts();
    EXPECT_NE(std::find(texts.begin(), texts.end(),
                        "Quillet ended while it was saving into these files:\n\n" + file +
                            ": the save had not finished, so the file's content from before the save was put "
                            "back.\n\nChanges that were not saved are offered for recovery next."),
              texts.end())
        << ::testing::PrintToString(texts);
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        left.push_back(entry.path().extension().string());
    std::sort(left.begin(), left.end());
    EXPECT_EQ(left, (std::vector<std::string>{".journal", ".owner", ".owner"}));

    messages_.QueueAnswer(MessageAnswer::Yes);
    app.OfferRecovery();
    ASSERT_EQ(app.Documents().size(), 1u);
    CScrivoDoc& recovered = *app.Documents().front();
    EXPECT_EQ(recovered.PathName(), file);
    EXPECT_TRUE(recovered.IsModified());
    const VxEditTextBuffer& buffer = recovered.Model()->TextBuffer();
    std::string text(static_cast<std::size_t>(buffer.Length()), '\0');
    buffer.CopyOut(text.data(), 0, buffer.Length());
    EXPECT_TRUE(text == typed) << text.size() << " bytes recovered, " << typed.size() << " typed";
    messages_.QueueAnswer(MessageAnswer::No);  // do not save it
    app.CloseAllDocuments();
}
