// The user's own folders: with no usable home folder the editor makes
// nothing where HOME points (or at the root), keeps its settings in memory,
// leaves recovery and the file association off and says so once; a settings
// folder that cannot be written is said once at start too.
#include "app/CScrivoApp.h"
#include "language/VxEditLangConfigRegistry.h"
#include "platform/core/MemoryProfile.h"
#include "platform/core/MessageSeam.h"
#include "tests/app/AppOptions.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"
#include "tests/support/Unprivileged.h"

#include <QApplication>
#include <QElapsedTimer>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>

namespace fs = std::filesystem;
using quillet::platform::RecordingMessageSink;
using quillet::test::ProcessResult;
using quillet::test::ReadFileBytes;
using quillet::test::RunProcess;
using quillet::test::TempDir;
using quillet::test::WriteFileBytes;

namespace {

constexpr const char* kFolderVariables[] = {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME",
                                            "XDG_CACHE_HOME"};

// Sets the home and XDG variables for one test and puts them back after.
class FolderEnvironment {
public:
    explicit FolderEnvironment(const std::map<std::string, std::string>& values)
    {
        for (const char* name : kFolderVariables) {
            const char* value = std::getenv(name);
            saved_[name] = value ? std::optional<std::string>(value) : std::nullopt;
            if (values.count(name) != 0)
                setenv(name, values.at(name).c_str(), 1);
            else
                unsetenv(name);
        }
    }
    ~FolderEnvironment()
    {
        for (const auto& [name, value] : saved_) {
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        }
    }

private:
    std::map<std::string, std::optional<std::string>> saved_;
};

// Only what every start needs of its own: the program and the channel.
CScrivoApp::Options BareOptions(const TempDir& dir)
{
    CScrivoApp::Options options;
    options.programDirectory = QStringLiteral(QUILLET_PROGRAM_DIR);
    options.instanceName = AppOptionsIn(dir).instanceName;
    return options;
}

void Settle()
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 200)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
}

// The real program: a job that writes a page and ends, and a start of the
// editor that runs until it is ended after some seconds.
struct Runs {
    ProcessResult job;
    ProcessResult editor;
};

Runs RunProgram(const TempDir& dir, const std::vector<std::string>& environment)
{
    std::vector<std::string> base = {"env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY"};
    for (const char* name : kFolderVariables)
        base.insert(base.end(), {"-u", name});
    base.push_back("QT_QPA_PLATFORM=offscreen");
    base.insert(base.end(), environment.begin(), environment.end());
    const std::string program = std::string(QUILLET_PROGRAM_DIR) + "quillet";
    Runs runs;
    std::vector<std::string> job = base;
    job.insert(job.end(), {program, "--export-html", "Hello.java", "Hello.html"});
    runs.job = RunProcess(job, dir.Path().string());
    std::vector<std::string> editor = base;
    editor.insert(editor.begin(), {"timeout", "6"});
    editor.insert(editor.end(), {program, "Hello.java"});
    runs.editor = RunProcess(editor, dir.Path().string());
    return runs;
}

}  // namespace

TEST(NoHomeFolder, TheProgramMakesNothingWhereAMissingOrUnsetHomePoints)
{
    TempDir dir;
    WriteFileBytes(dir.File("Hello.java"), "class Hello {}\n");

    Runs runs = RunProgram(dir, {"HOME=" + dir.File("nonexistent/home")});
    EXPECT_EQ(runs.job.exitStatus, 0) << runs.job.err;
    EXPECT_NE(ReadFileBytes(dir.File("Hello.html")).find("Hello"), std::string::npos);
    // Still running when ended: it neither failed nor crashed.
    EXPECT_EQ(runs.editor.exitStatus, 124) << runs.editor.err;
    EXPECT_FALSE(fs::exists(dir.File("nonexistent")));

    // Without HOME the root folder is not a home folder either.
    std::map<std::string, bool> before;
    for (const char* name : {"/.config", "/.local", "/.cache"})
        before[name] = fs::exists(name);
    fs::remove(dir.File("Hello.html"));
    runs = RunProgram(dir, {});
    EXPECT_EQ(runs.job.exitStatus, 0) << runs.job.err;
    EXPECT_NE(ReadFileBytes(dir.File("Hello.html")).find("Hello"), std::string::npos);
    EXPECT_EQ(runs.editor.exitStatus, 124) << runs.editor.err;
    for (const auto& [name, existed] : before)
        EXPECT_EQ(fs::exists(name), existed) << name;
}

TEST(NoHomeFolder, TheEditorSaysOnceWhatItCannotKeepAndAsksNothing)
{
    VxEditLangConfigRegistry::Instance().Reset();
    TempDir dir;
    RecordingMessageSink messages;
    quillet::platform::MemoryProfile profile;
    const std::string lost =
        ".\nIn this run the settings and the files open at the end are not kept after Quillet ends, "
        "unsaved text is not kept for recovery after a crash, and .java files are not associated with "
        "Quillet.";
    {
        const FolderEnvironment environment({});
        CScrivoApp app(profile, BareOptions(dir));
        ASSERT_EQ(app.Start({}), CScrivoApp::StartResult::Running);
        Settle();
        EXPECT_EQ(messages.Texts(),
                  std::vector<std::string>{"Quillet has no home folder to keep its files in: HOME is not set" +
                                           lost});
    }
    messages.Clear();
    {
        const std::string home = dir.File("nonexistent/home");
        const FolderEnvironment environment({{"HOME", home}});
        CScrivoApp app(profile, BareOptions(dir));
        ASSERT_EQ(app.Start({}), CScrivoApp::StartResult::Running);
        Settle();
        EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Quillet has no home folder to keep its files in: "
                                                             "the home folder '" +
                                                             home + "' does not exist" + lost});
        EXPECT_FALSE(fs::exists(dir.File("nonexistent")));
    }
    VxEditLangConfigRegistry::Instance().Reset();
}

// Folders named by XDG variables need no home folder: with them nothing
// is off, and the association is asked as on any first start.
TEST(NoHomeFolder, UsableXdgFoldersStillCount)
{
    VxEditLangConfigRegistry::Instance().Reset();
    TempDir dir;
    for (const char* folder : {"config", "data", "state"})
        fs::create_directory(dir.File(folder));
    RecordingMessageSink messages;
    quillet::platform::MemoryProfile profile;
    {
        const FolderEnvironment environment({{"XDG_CONFIG_HOME", dir.File("config")},
                                             {"XDG_DATA_HOME", dir.File("data")},
                                             {"XDG_STATE_HOME", dir.File("state")}});
        CScrivoApp app(profile, BareOptions(dir));
        ASSERT_EQ(app.Start({}), CScrivoApp::StartResult::Running);
        Settle();
        ASSERT_EQ(messages.Messages().size(), 1u);
        EXPECT_EQ(messages.Messages()[0].title, CScrivoApp::kAssociationTitle);
        EXPECT_TRUE(fs::is_directory(dir.File("state/Quillet/recovery")));
        EXPECT_TRUE(fs::is_directory(dir.File("config/Tarrow Samples")));
    }
    VxEditLangConfigRegistry::Instance().Reset();
}

TEST(SettingsFolder, OneThatCannotBeWrittenIsSaidOnceAtStart)
{
    QUILLET_RUN_UNPRIVILEGED();
    VxEditLangConfigRegistry::Instance().Reset();
    TempDir dir;
    const std::string settings = dir.File("settings");
    fs::create_directory(settings);
    fs::permissions(settings, fs::perms::owner_read | fs::perms::owner_exec);
    RecordingMessageSink messages;
    quillet::platform::MemoryProfile profile;
    profile.WriteInt("Java Files", "Associate", 0);
    {
        CScrivoApp app(profile, AppOptionsIn(dir));
        ASSERT_EQ(app.Start({}), CScrivoApp::StartResult::Running);
        Settle();
    }
    fs::permissions(settings, fs::perms::owner_all);
    VxEditLangConfigRegistry::Instance().Reset();
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"The settings cannot be saved: you may not write in the "
                                                         "folder '" +
                                                         settings +
                                                         "'.\nChanges to the settings and the files open at the "
                                                         "end are lost when Quillet ends."});
}
