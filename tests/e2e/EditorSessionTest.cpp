#include "platform/qt/QtProfile.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

extern char** environ;

using quillet::test::ReadFileBytes;
using quillet::test::RunProcess;
using quillet::test::TempDir;
using quillet::test::WriteFileBytes;

namespace {

// A child process started with extra environment values, ended with the test.
class Child {
public:
    Child(const std::vector<std::string>& argv, const std::vector<std::string>& environment)
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
        started_ = posix_spawnp(&pid_, args[0], nullptr, nullptr, args.data(), envp.data()) == 0;
    }
    ~Child()
    {
        if (started_ && !ended_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    bool Started() const { return started_; }
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

std::string XdoTool(const std::string& display, std::vector<std::string> args)
{
    args.insert(args.begin(), {"env", "DISPLAY=" + display, "xdotool"});
    return RunProcess(args).out;
}

}  // namespace

TEST(EditorSession, TypingAndSavingThroughRealKeysWritesTheFileByteForByte)
{
    if (!HaveTool("Xvfb") || !HaveTool("xdotool"))
        GTEST_SKIP() << "Xvfb and xdotool are needed to send real key events";

    TempDir dir;
    const std::string display = ":" + std::to_string(90 + getpid() % 100);
    Child server({"Xvfb", display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"}, {});
    ASSERT_TRUE(server.Started());
    for (int i = 0; i < 100 && !std::filesystem::exists("/tmp/.X11-unix/X" + display.substr(1)); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));

    // The association question has been answered before, as on any later start.
    const std::string configHome = dir.File("config");
    std::filesystem::create_directories(configHome + "/Tarrow Samples");
    {
        quillet::platform::QtProfile profile(
            QString::fromStdString(configHome + "/Tarrow Samples/Quillet.conf"));
        profile.WriteInt("Java Files", "Associate", 0);
    }
    const std::string file = dir.File("Hello.java");
    WriteFileBytes(file, "class Hello {\r\n}\r\n");

    Child editor({QUILLET_PROGRAM_DIR "quillet", file},
                 {"DISPLAY=" + display, "QT_QPA_PLATFORM=xcb", "XDG_CONFIG_HOME=" + configHome,
                  "XDG_DATA_HOME=" + dir.File("data"), "HOME=" + dir.Path().string()});
    ASSERT_TRUE(editor.Started());

    std::string window;
    for (int i = 0; i < 200 && window.empty(); ++i) {
        window = XdoTool(display, {"search", "--onlyvisible", "--name", "Quillet"});
        if (window.empty())
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    ASSERT_FALSE(window.empty()) << "the editor's window did not appear";
    window = window.substr(0, window.find('\n'));
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    // No window manager runs on the display: give the window the focus and
    // click into the text.
    XdoTool(display, {"windowfocus", "--sync", window});
    XdoTool(display, {"mousemove", "--window", window, "400", "300", "click", "1"});

    // Ctrl+End, a new line, a comment; then Ctrl+S and File, Exit.
    XdoTool(display, {"key", "--delay", "50", "ctrl+End"});
    XdoTool(display, {"type", "--delay", "30", "// typed"});
    XdoTool(display, {"key", "--delay", "50", "Return"});
    XdoTool(display, {"key", "--delay", "50", "ctrl+Home"});
    XdoTool(display, {"type", "--delay", "30", "import java.util.List;"});
    XdoTool(display, {"key", "--delay", "50", "Return", "ctrl+s"});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    XdoTool(display, {"key", "--delay", "150", "alt+f", "x"});

    EXPECT_EQ(editor.WaitForExit(std::chrono::seconds(30)), 0);
    EXPECT_EQ(ReadFileBytes(file), "import java.util.List;\r\nclass Hello {\r\n}\r\n// typed\r\n");
}
