#include "tests/support/Process.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <sys/stat.h>

using quillet::test::ProcessResult;
using quillet::test::RunProcess;
using quillet::test::TempDir;

namespace {

const std::string kOutput = QUILLET_PROGRAM_DIR "Output";
const std::string kArgvEcho = QUILLET_TEST_DIR "argv_echo";

ProcessResult RunOutput(std::vector<std::string> args, const std::string& input = {})
{
    args.insert(args.begin(), kOutput);
    return RunProcess(args, {}, input);
}

}  // namespace

TEST(OutputRedirector, PassesArgumentsInOrderAndExitsOneAfterTheChild)
{
    ProcessResult r = RunOutput({kArgvEcho, "-g", "Foo.java"});
    ASSERT_TRUE(r.started);
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.out, "cwd=" + std::filesystem::current_path().string() + "\n[-g]\n[Foo.java]\n");
    EXPECT_EQ(r.err, "");
}

TEST(OutputRedirector, ChildStatusIsNotPassedOn)
{
    EXPECT_EQ(RunOutput({"sh", "-c", "exit 3"}).exitStatus, 1);
    EXPECT_EQ(RunOutput({"sh", "-c", "exit 0"}).exitStatus, 1);
    EXPECT_EQ(RunOutput({"sh", "-c", "kill -9 $$"}).exitStatus, 1);
}

TEST(OutputRedirector, ChildWritesBothStreamsIntoTheCallersPipes)
{
    ProcessResult r = RunOutput({"sh", "-c", "echo to-out; echo to-err >&2; echo again"});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.out, "to-out\nagain\n");
    EXPECT_EQ(r.err, "to-err\n");
}

TEST(OutputRedirector, ChildInheritsStandardInput)
{
    ProcessResult r = RunOutput({kArgvEcho, "--cat"}, "typed line\n");
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_NE(r.out.find("typed line\n"), std::string::npos);
}

TEST(OutputRedirector, NothingToRunOrUnstartableExitsZeroSilently)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"no-such-program-quillet"}, {"/nonexistent/javac", "-g"},
          {""}}) {
        ProcessResult r = RunOutput(args);
        EXPECT_EQ(r.exitStatus, 0) << (args.empty() ? "(none)" : args[0]);
        EXPECT_EQ(r.out, "");
        EXPECT_EQ(r.err, "");
    }
}

TEST(OutputRedirector, FileWithoutExecutePermissionIsNotStarted)
{
    TempDir dir;
    const std::string script = dir.File("script.sh");
    quillet::test::WriteFileBytes(script, "#!/bin/sh\necho ran\n");
    chmod(script.c_str(), 0600);
    ProcessResult r = RunOutput({script});
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_EQ(r.out, "");
}

TEST(OutputRedirector, DirArgumentSetsWorkingDirectoryAndIsNotPassedOn)
{
    TempDir dir;
    const std::filesystem::path withBlanks = dir.Path() / "my sources dir";
    std::filesystem::create_directory(withBlanks);
    ProcessResult r = RunOutput({kArgvEcho, "A.java", "*DIR*" + withBlanks.string(), "B.java"});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.out, "cwd=" + withBlanks.string() + "\n[A.java]\n[B.java]\n");
}

TEST(OutputRedirector, DirTextIsTakenAfterTheFirstFiveCharacters)
{
    TempDir dir;
    // The marker may stand anywhere; the directory is what follows the first five characters.
    const std::string arg = "ab*DIR*";
    std::filesystem::create_directory(dir.Path() / "R*");
    ProcessResult r = RunProcess({kOutput, kArgvEcho, arg}, dir.Path().string());
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.out, "cwd=" + (dir.Path() / "R*").string() + "\n");
}

TEST(OutputRedirector, MissingWorkingDirectoryMeansNotStarted)
{
    ProcessResult r = RunOutput({kArgvEcho, "*DIR*/nonexistent/quillet/dir"});
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_EQ(r.out, "");
}

TEST(OutputRedirector, ArgumentWithBlanksReachesTheChildWhole)
{
    ProcessResult r = RunOutput({kArgvEcho, "My File.java", "-d", "out dir"});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_NE(r.out.find("\n[My File.java]\n[-d]\n[out dir]\n"), std::string::npos) << r.out;
}

TEST(OutputRedirector, VeryLongArgumentsAndDirectoriesArePassedWhole)
{
    TempDir dir;
    std::filesystem::path deep = dir.Path();
    for (int i = 0; i < 12; ++i)
        deep /= std::string(40, static_cast<char>('a' + i));
    std::filesystem::create_directories(deep);
    const std::string longArg(100000, 'x');
    ProcessResult r = RunOutput({kArgvEcho, longArg, "*DIR*" + deep.string()});
    EXPECT_EQ(r.exitStatus, 1);
    EXPECT_EQ(r.out, "cwd=" + deep.string() + "\n[" + longArg + "]\n");
}

TEST(OutputRedirector, RealCompilerRunsThroughIt)
{
    TempDir dir;
    quillet::test::WriteFileBytes(dir.File("Hello.java"),
                                  "public class Hello { int x = \"no\"; }\n");
    ProcessResult r = RunOutput({"javac", "-d", dir.Path().string(), dir.File("Hello.java")});
    ASSERT_EQ(r.exitStatus, 1);
    EXPECT_NE(r.err.find("Hello.java:1: error"), std::string::npos) << r.err;
}
