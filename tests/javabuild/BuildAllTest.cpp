// Build All without the windows: the source tree it collects, the javac
// "@file" it writes, and real compiles with the JDK's javac through the
// real redirector, of a program whose classes are loaded by name.

#include "javatools/build/ArgumentFile.h"
#include "javatools/build/BuildAllRequest.h"
#include "javatools/build/CompileRun.h"
#include "javatools/build/JavaSourceTree.h"
#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <poll.h>
#include <sys/stat.h>

namespace fs = std::filesystem;
using quillet::test::ProcessResult;
using quillet::test::ReadFileBytes;
using quillet::test::RunProcess;
using quillet::test::TempDir;
using quillet::test::WriteFileBytes;

namespace {

void Write(const fs::path& file, const std::string& text)
{
    fs::create_directories(file.parent_path());
    WriteFileBytes(file.string(), text);
}

// Runs the request to its end as the editor's event loop would.
std::string RunToEnd(CompileRequest request)
{
    CompileRun run(std::move(request));
    if (run.Start()) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(5);
        while (!run.Ended() && std::chrono::steady_clock::now() < deadline) {
            pollfd fd{run.OutputFd(), POLLIN, 0};
            ::poll(&fd, 1, 200);
            if (run.OnOutputReady())
                break;
        }
        if (!run.Ended())
            run.StopWaiting(1000);
    }
    return run.LogText();
}

// $TMPDIR points into a folder of the test's own while it lives, so that
// the argument files Build All writes can be seen and counted.
class PrivateTemp {
public:
    PrivateTemp() : old_(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "")
    {
        ::setenv("TMPDIR", dir_.Path().c_str(), 1);
    }
    ~PrivateTemp()
    {
        if (old_.empty())
            ::unsetenv("TMPDIR");
        else
            ::setenv("TMPDIR", old_.c_str(), 1);
    }
    std::size_t Files() const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(dir_.Path()), fs::directory_iterator()));
    }

private:
    TempDir dir_;
    std::string old_;
};

}  // namespace

TEST(ArgumentFile, QuotesEachArgumentAsJavacReadsIt)
{
    EXPECT_EQ(ArgumentFileText({"/a b/C.java", "/q\"x\\y'#@/D.java", "line\nend"}),
              "\"/a b/C.java\"\n\"/q\\\"x\\\\y'#@/D.java\"\n\"line\\nend\"\n");
}

TEST(ArgumentFile, IsPrivateAndRemovedWithItsOwner)
{
    PrivateTemp temp;
    std::string path;
    {
        TemporaryArgumentFile file;
        std::string failure;
        ASSERT_TRUE(file.Write({"/x/A.java"}, &failure)) << failure;
        path = file.Path();
        struct stat info {};
        ASSERT_EQ(::stat(path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0600u);
        EXPECT_EQ(ReadFileBytes(path), "\"/x/A.java\"\n");
    }
    EXPECT_FALSE(fs::exists(path));
    EXPECT_EQ(temp.Files(), 0u);
}

// Three packages under a root whose name has blanks, quotes, a backslash,
// '#' and '@'; the main class loads the plugins by name only, so a compile
// of the main file alone would leave them out. A hidden folder holds a
// broken file that must not be compiled, and a link back to the root must
// not be walked twice.
TEST(BuildAll, CompilesEveryPackageAndTheProgramLoadsItsClassesByName)
{
    TempDir dir;
    PrivateTemp temp;
    const fs::path root = dir.Path() / "my \"odd\" src's #1 @x\\y";
    Write(root / "app/Main.java",
          "package app;\n\npublic class Main {\n"
          "    public static void main(String[] args) throws Exception {\n"
          "        for (String name : new String[] {\"plugins.one.Hello\", \"plugins.two.World\"}) {\n"
          "            Object plugin = Class.forName(name).getDeclaredConstructor().newInstance();\n"
          "            System.out.println(util.Text.framed(plugin.toString()));\n"
          "        }\n    }\n}\n");
    Write(root / "util/Text.java",
          "package util;\n\npublic class Text {\n"
          "    public static String framed(String s) { return \"[\" + s + \"]\"; }\n}\n");
    Write(root / "plugins/one/Hello.java",
          "package plugins.one;\n\npublic class Hello {\n"
          "    public String toString() { return \"hello plugin\"; }\n}\n");
    Write(root / "plugins/two/World.java",
          "package plugins.two;\n\npublic class World {\n"
          "    public String toString() { return \"world plugin\"; }\n}\n");
    Write(root / ".hidden/Broken.java", "this is not Java\n");
    fs::create_directory_symlink(root, root / "plugins/loop");

    const std::string rootText = root.string() + "/";
    EXPECT_EQ(JavaFilesUnder(rootText),
              (std::vector<std::string>{rootText + "app/Main.java", rootText + "plugins/one/Hello.java",
                                        rootText + "plugins/two/World.java", rootText + "util/Text.java"}));

    CompileRequest request;
    std::string failure;
    ASSERT_TRUE(MakeBuildAllRequest("javac", {"-encoding", "UTF-8"}, rootText, QUILLET_REDIRECTOR, request,
                                    &failure))
        << failure;
    EXPECT_EQ(request.workingDirectory, rootText);
    EXPECT_EQ(request.argv.back(), "@" + request.argumentFile->Path());
    EXPECT_EQ(temp.Files(), 1u);
    const std::string log = RunToEnd(std::move(request));
    EXPECT_EQ(temp.Files(), 0u) << "the argument file outlived the compile";
    EXPECT_NE(log.find("\r\n-Finished-"), std::string::npos) << log;
    EXPECT_EQ(log.find("error"), std::string::npos) << log;
    for (const char* cls : {"app/Main.class", "util/Text.class", "plugins/one/Hello.class",
                            "plugins/two/World.class"})
        EXPECT_TRUE(fs::exists(root / cls)) << cls;

    const ProcessResult program = RunProcess({"java", "app.Main"}, root.string());
    EXPECT_EQ(program.exitStatus, 0) << program.err;
    EXPECT_EQ(program.out, "[hello plugin]\n[world plugin]\n");
}

// The JDK's own Java 2D demo: its demos are loaded by name from the names
// in java2d.J2Ddemo. The demo needs a display, so a probe beside it loads
// every demo class by those names and exits.
TEST(BuildAll, BuildsTheJava2DDemoSoThatEveryDemoLoadsByName)
{
    const char* sources = "/usr/share/doc/openjdk-17-jre-headless/demo/jfc/J2Ddemo/src.zip";
    if (!fs::exists(sources))
        GTEST_SKIP() << "openjdk-17-demo is not installed";
    TempDir dir;
    PrivateTemp temp;
    const ProcessResult unpacked = RunProcess({"jar", "xf", sources}, dir.Path().string());
    ASSERT_EQ(unpacked.exitStatus, 0) << unpacked.err;
    Write(dir.Path() / "Probe.java",
          "public class Probe {\n    public static void main(String[] args) throws Exception {\n"
          "        int count = 0;\n"
          "        for (String[] group : java2d.J2Ddemo.demos)\n"
          "            for (int i = 1; i < group.length; ++i, ++count)\n"
          "                Class.forName(\"java2d.demos.\" + group[0] + \".\" + group[i], false,\n"
          "                              Probe.class.getClassLoader());\n"
          "        System.out.println(count + \" demos\");\n    }\n}\n");

    const std::string rootText = dir.Path().string() + "/";
    CompileRequest request;
    std::string failure;
    ASSERT_TRUE(MakeBuildAllRequest("javac", {}, rootText, QUILLET_REDIRECTOR, request, &failure)) << failure;
    const std::string log = RunToEnd(std::move(request));
    EXPECT_NE(log.find("\r\n-Finished-"), std::string::npos) << log;
    for (const std::string& source : JavaFilesUnder(rootText)) {
        const std::string cls = source.substr(0, source.size() - 5) + ".class";
        EXPECT_TRUE(fs::exists(cls)) << cls;
    }
    const ProcessResult probe = RunProcess({"java", "-Djava.awt.headless=true", "Probe"}, rootText);
    EXPECT_EQ(probe.exitStatus, 0) << probe.err;
    EXPECT_EQ(probe.err.find("ClassNotFoundException"), std::string::npos) << probe.err;
    EXPECT_EQ(probe.out, "40 demos\n");
}
