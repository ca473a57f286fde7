#include "engine/VxEditRecoveryJournal.h"
#include "platform/qt/LockKeys.h"
#include "platform/qt/QtProfile.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <QGuiApplication>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <set>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

using quillet::platform::LockKeyState;
using quillet::platform::ReadLockKeys;
using quillet::test::ReadFileBytes;
using quillet::test::RunProcess;
using quillet::test::TempDir;
using quillet::test::WriteFileBytes;

namespace {

// A child process started with extra environment values, ended with the test.
class Child {
public:
    // keepFd, when not -1, stays open in the child (for -displayfd);
    // errorLog, when given, receives the child's standard error.
    Child(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
          int keepFd = -1, const std::string& errorLog = {})
    {
        std::vector<std::string> env = environment;
        for (char** e = environ; *e; ++e) {
            const std::string entry = *e;
            const std::string name = entry.substr(0, entry.find('='));
            bool replaced = false;
            for (const std::string& mine : environment)
                replaced = replaced || mine.rfind(name + "=", 0) == 0;
            if (!replaced)
                env.push_back(entry);
        }
        std::vector<char*> args, envp;
        for (const std::string& a : argv)
            args.push_back(const_cast<char*>(a.c_str()));
        args.push_back(nullptr);
        for (const std::string& e : env)
            envp.push_back(const_cast<char*>(e.c_str()));
        envp.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        if (keepFd != -1)
            posix_spawn_file_actions_adddup2(&actions, keepFd, keepFd);  // clears close-on-exec
        if (!errorLog.empty())
            posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errorLog.c_str(),
                                             O_WRONLY | O_CREAT | O_TRUNC, 0644);
        started_ = posix_spawnp(&pid_, args[0], &actions, nullptr, args.data(), envp.data()) == 0;
        posix_spawn_file_actions_destroy(&actions);
    }
    // Asked to end politely first, so that a display server removes its lock
    // and socket files; a stale socket file would make a later server's
    // display look ready before it is.
    ~Child()
    {
        if (started_ && !ended_) {
            kill(pid_, SIGTERM);
            if (WaitForExit(std::chrono::seconds(5)) == -1 && !ended_) {
                kill(pid_, SIGKILL);
                waitpid(pid_, nullptr, 0);
            }
        }
    }
    bool Started() const { return started_; }
    // Ends the process at once, as a crash or an out-of-memory kill would.
    void Kill()
    {
        if (!started_ || ended_)
            return;
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        ended_ = true;
    }
    // The exit status, or -1 when it did not end in time or died of a signal.
    int WaitForExit(std::chrono::seconds limit)
    {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < deadline) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                ended_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return -1;
    }

private:
    pid_t pid_ = 0;
    bool started_ = false;
    bool ended_ = false;
};

bool HaveTool(const char* name)
{
    return RunProcess({"sh", "-c", std::string("command -v ") + name}).exitStatus == 0;
}

// The first line written to fd, without its newline; empty when nothing
// arrives within the limit or the writer closes its end first.
std::string ReadLineWithin(int fd, std::chrono::seconds limit)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::string line;
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 100) <= 0)
            continue;
        char c = 0;
        if (read(fd, &c, 1) != 1)
            return {};
        if (c == '\n')
            return line;
        line += c;
    }
    return {};
}

// A virtual X display for one test. The server picks a free display and
// writes its number once it accepts connections, so neither a busy display
// nor a slow start can mislead the test.
class XServer {
public:
    XServer()
    {
        int ready[2];
        if (pipe2(ready, O_CLOEXEC) != 0)
            return;
        server_ = std::make_unique<Child>(
            std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(ready[1]), "-screen", "0",
                                     "1280x1024x24", "-nolisten", "tcp"},
            std::vector<std::string>{}, ready[1], log_.File("Xvfb.log"));
        close(ready[1]);
        const std::string number = server_->Started() ? ReadLineWithin(ready[0], std::chrono::seconds(60)) : "";
        close(ready[0]);
        if (!number.empty())
            display_ = ":" + number;
    }
    // ":N", or empty when the server did not come up.
    const std::string& Display() const { return display_; }
    std::string Log() const { return ReadFileBytes(log_.File("Xvfb.log")); }

private:
    TempDir log_;
    std::unique_ptr<Child> server_;
    std::string display_;
};

std::string XdoTool(const std::string& display, std::vector<std::string> args)
{
    args.insert(args.begin(), {"env", "DISPLAY=" + display, "xdotool"});
    return RunProcess(args).out;
}

}  // namespace

// The real editor program on its own virtual display, with settings of its
// own in which the association question has been answered before, as on
// any later start.
class EditorSession : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveTool("Xvfb") || !HaveTool("xdotool"))
            GTEST_SKIP() << "Xvfb and xdotool are needed to send real key events";
        server_ = std::make_unique<XServer>();
        ASSERT_FALSE(server_->Display().empty())
            << "the X server reported no display; its log:\n" << server_->Log();
        const std::string configHome = dir_.File("config");
        std::filesystem::create_directories(configHome + "/Tarrow Samples");
        quillet::platform::QtProfile profile(
            QString::fromStdString(configHome + "/Tarrow Samples/Quillet.conf"));
        profile.WriteInt("Java Files", "Associate", 0);
    }

    // Starts the editor and gives its main window the focus; the window id,
    // or empty when no window appeared.
    std::string StartEditor(std::vector<std::string> arguments)
    {
        arguments.insert(arguments.begin(), QUILLET_PROGRAM_DIR "quillet");
        editor_ = std::make_unique<Child>(
            arguments,
            std::vector<std::string>{"DISPLAY=" + server_->Display(), "QT_QPA_PLATFORM=xcb",
                                     "XDG_CONFIG_HOME=" + dir_.File("config"),
                                     "XDG_DATA_HOME=" + dir_.File("data"), "HOME=" + dir_.Path().string(),
                                     "XDG_STATE_HOME=" + dir_.File("state")},
            -1, dir_.File("quillet.log"));
        if (!editor_->Started())
            return {};
        const std::string window = WaitForWindow("Quillet", true);
        if (window.empty())
            return window;
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        // No window manager runs on the display: give the window the focus
        // and click into the text.
        Xdo({"windowfocus", "--sync", window});
        Xdo({"mousemove", "--window", window, "400", "300", "click", "1"});
        return window;
    }

    // The first visible window whose title matches name once it appears
    // (shown true) or empty once none is left (shown false); waits up to 20 s.
    std::string WaitForWindow(const std::string& name, bool shown)
    {
        for (int i = 0; i < 200; ++i) {
            std::string window = Xdo({"search", "--onlyvisible", "--name", name});
            if (!window.empty() == shown)
                return window.substr(0, window.find('\n'));
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        return shown ? std::string() : std::string("still shown");
    }
    // Whether no visible window's title matches name any more, within timeout.
    bool WaitForWindowGone(const std::string& name, std::chrono::milliseconds timeout)
    {
        const auto end = std::chrono::steady_clock::now() + timeout;
        do {
            if (Xdo({"search", "--onlyvisible", "--name", name}).empty())
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        } while (std::chrono::steady_clock::now() < end);
        return false;
    }
    // The file's bytes once they equal expected, or what it holds after 10 s.
    static std::string WaitForFile(const std::string& path, const std::string& expected)
    {
        std::string bytes;
        for (int i = 0; i < 100 && (bytes = ReadFileBytes(path)) != expected; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        return bytes;
    }
    std::string Xdo(const std::vector<std::string>& args) { return XdoTool(server_->Display(), args); }
    void Keys(const std::vector<std::string>& keys)
    {
        std::vector<std::string> args{"key", "--delay", "100"};
        args.insert(args.end(), keys.begin(), keys.end());
        Xdo(args);
    }
    void Type(const std::string& text) { Xdo({"type", "--delay", "30", text}); }
    static void Pause(int milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }
    std::string EditorLog() const { return ReadFileBytes(dir_.File("quillet.log")); }
    // The texts of the recovery records other than those named in old (the
    // file path, then the text) once they are the expected ones, or what
    // they are after 20 s; the records' names go to names.
    std::multiset<std::string> WaitForRecords(const std::multiset<std::string>& expected,
                                              std::set<std::string>& names,
                                              const std::set<std::string>& old = {})
    {
        std::multiset<std::string> texts;
        const std::string folder = dir_.File("state/Quillet/recovery");
        for (int i = 0; i < 200; ++i) {
            texts.clear();
            names.clear();
            std::error_code error;
            for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
                VxEditRecoveryJournal::Contents contents;
                std::string reason;
                if (entry.path().extension() != ".journal" || old.count(entry.path().string()) != 0 ||
                    !VxEditRecoveryJournal::Read(entry.path().string(), contents, reason))
                    continue;
                texts.insert(contents.documentPath + ":" + contents.text);
                names.insert(entry.path().string());
            }
            if (texts == expected)
                break;
            Pause(100);
        }
        return texts;
    }

    TempDir dir_;
    std::unique_ptr<XServer> server_;
    std::unique_ptr<Child> editor_;
};

TEST_F(EditorSession, TypingAndSavingThroughRealKeysWritesTheFileByteForByte)
{
    const std::string file = dir_.File("Hello.java");
    WriteFileBytes(file, "class Hello {\r\n}\r\n");
    ASSERT_FALSE(StartEditor({file}).empty()) << "the editor's window did not appear; its log:\n" << EditorLog();

    // Ctrl+End, a new line, a comment; then Ctrl+S and File, Exit.
    Keys({"ctrl+End"});
    Type("// typed");
    Keys({"Return", "ctrl+Home"});
    Type("import java.util.List;");
    Keys({"Return", "ctrl+s"});
    Pause(300);
    Keys({"alt+f", "x"});

    EXPECT_EQ(editor_->WaitForExit(std::chrono::seconds(30)), 0) << EditorLog();
    EXPECT_EQ(ReadFileBytes(file), "import java.util.List;\r\nclass Hello {\r\n}\r\n// typed\r\n");
}

TEST_F(EditorSession, ShortcutsKeepWorkingAfterTheSaveAsDialog)
{
    ASSERT_FALSE(StartEditor({}).empty()) << "the editor's window did not appear; its log:\n" << EditorLog();

    // A new document saved under a name typed into the dialog, then changed
    // and saved again with Ctrl+S, then File, Exit: every step after the
    // dialog needs the main window active again.
    const std::string file = dir_.File("Fresh.java");
    Keys({"ctrl+n"});
    Pause(300);
    Type("class Fresh {}");
    Keys({"ctrl+s"});
    const std::string dialog = WaitForWindow("Save As", true);
    ASSERT_FALSE(dialog.empty()) << "no Save As dialog; the editor's log:\n" << EditorLog();
    // No window manager gives the new dialog the focus; on a busy machine the
    // file name box may also still show its completion list when Return
    // comes, which then takes the Return. A second Return accepts the dialog.
    Xdo({"windowfocus", "--sync", dialog});
    Pause(300);
    Type(file);
    Pause(300);
    bool closed = false;
    for (int attempt = 0; attempt < 3 && !closed; ++attempt) {
        Keys({"Return"});
        closed = WaitForWindowGone("Save As", std::chrono::seconds(5));
    }
    ASSERT_TRUE(closed) << "the Save As dialog stayed open";
    EXPECT_EQ(WaitForFile(file, "class Fresh {}"), "class Fresh {}");
    Keys({"Return"});
    Type("// more");
    Keys({"ctrl+s"});
    Pause(300);
    Keys({"alt+f", "x"});

    EXPECT_EQ(editor_->WaitForExit(std::chrono::seconds(30)), 0) << EditorLog();
    // A new document's line ends are LF.
    EXPECT_EQ(ReadFileBytes(file), "class Fresh {}\n// more");
}

TEST_F(EditorSession, TheTextsOfAKilledEditorAreRecoveredAtTheNextStart)
{
    const std::string file = dir_.File("Kept.java");
    WriteFileBytes(file, "class Kept {\n}\n");
    ASSERT_FALSE(StartEditor({file}).empty()) << "the editor's window did not appear; its log:\n" << EditorLog();
    Keys({"ctrl+End"});
    Type("// typed");
    Keys({"ctrl+n"});
    Pause(300);
    Type("class Fresh {}");
    // Killed once the records hold what was typed (within two seconds).
    const std::multiset<std::string> typed{file + ":class Kept {\n}\n// typed", ":class Fresh {}"};
    std::set<std::string> killedRecords;
    ASSERT_EQ(WaitForRecords(typed, killedRecords), typed) << EditorLog();
    editor_->Kill();

    ASSERT_FALSE(StartEditor({}).empty()) << "the editor's window did not appear; its log:\n" << EditorLog();
    const std::string question = WaitForWindow("Recover Unsaved Text", true);
    ASSERT_FALSE(question.empty()) << "no recovery question; the editor's log:\n" << EditorLog();
    Xdo({"windowfocus", "--sync", question});
    Keys({"Return"});  // Recover
    // The recovered documents are unsaved changes of the new run, kept in
    // records of its own.
    std::set<std::string> newRecords;
    EXPECT_EQ(WaitForRecords(typed, newRecords, killedRecords), typed) << EditorLog();
    for (const std::string& record : killedRecords)
        EXPECT_FALSE(std::filesystem::exists(record)) << record;
    EXPECT_EQ(ReadFileBytes(file), "class Kept {\n}\n");
}

TEST(DisplayLockKeys, AreReadFromTheXServer)
{
    if (!HaveTool("Xvfb") || !HaveTool("xdotool"))
        GTEST_SKIP() << "Xvfb and xdotool are needed to press the lock keys";
    const XServer server;
    ASSERT_FALSE(server.Display().empty()) << "the X server reported no display; its log:\n" << server.Log();
    setenv("DISPLAY", server.Display().c_str(), 1);
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    int argc = 1;
    char name[] = "e2e_tests";
    char* argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);

    std::optional<LockKeyState> keys = ReadLockKeys();
    ASSERT_TRUE(keys.has_value());
    EXPECT_FALSE(keys->capsLock);
    const bool numLockAtStart = keys->numLock;

    XdoTool(server.Display(), {"key", "Caps_Lock", "Num_Lock"});
    keys = ReadLockKeys();
    ASSERT_TRUE(keys.has_value());
    EXPECT_TRUE(keys->capsLock);
    EXPECT_NE(keys->numLock, numLockAtStart);

    XdoTool(server.Display(), {"key", "Caps_Lock", "Num_Lock"});
    keys = ReadLockKeys();
    ASSERT_TRUE(keys.has_value());
    EXPECT_FALSE(keys->capsLock);
    EXPECT_EQ(keys->numLock, numLockAtStart);
}
