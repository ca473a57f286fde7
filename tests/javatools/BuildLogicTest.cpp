#include "javatools/build/BuildCommandLines.h"
#include "javatools/build/CommandArguments.h"
#include "javatools/build/CompileLog.h"
#include "javatools/build/CompileOutputTail.h"
#include "javatools/build/JavaPackage.h"
#include "javatools/build/JavaSourceFiles.h"
#include "javatools/build/JavaToolLocator.h"
#include "javatools/build/ToolDialogRules.h"
#include "javatools/output/CompilerMessage.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

using quillet::test::TempDir;
using quillet::test::WriteFileBytes;
using Args = std::vector<std::string>;

namespace {

Args Split(const std::string& text)
{
    Args args;
    EXPECT_TRUE(SplitArguments(text, args)) << text;
    return args;
}

void MakeExecutable(const std::string& path)
{
    WriteFileBytes(path, "#!/bin/sh\n");
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

}  // namespace

TEST(ArgumentSplitting, BlanksSeparateQuotesGroupBackslashEscapes)
{
    EXPECT_EQ(Split(""), Args{});
    EXPECT_EQ(Split("   \t "), Args{});
    EXPECT_EQ(Split("-g  -deprecation"), (Args{"-g", "-deprecation"}));
    EXPECT_EQ(Split("-cp '/my dir/lib' x"), (Args{"-cp", "/my dir/lib", "x"}));
    EXPECT_EQ(Split(R"("a \"b\" \\c \d")"), (Args{R"(a "b" \c \d)"}));
    EXPECT_EQ(Split(R"(a\ b c\'d)"), (Args{"a b", "c'd"}));
    EXPECT_EQ(Split(R"('' "" x)"), (Args{"", "", "x"}));
    EXPECT_EQ(Split("$HOME *.java ~"), (Args{"$HOME", "*.java", "~"}));
    EXPECT_EQ(Split("pre'mid dle'post"), (Args{"premid dlepost"}));
    EXPECT_EQ(Split("end\\"), (Args{"end\\"}));

    Args args{"left"};
    EXPECT_FALSE(SplitArguments("-cp 'open", args));
    EXPECT_TRUE(args.empty());
    EXPECT_FALSE(SplitArguments("\"open", args));
}

// Whatever the arguments, the command line shown to the user reads back as
// the same arguments.
TEST(ArgumentSplitting, DisplayedCommandLinesSplitBackToTheirArguments)
{
    std::mt19937 random(12);
    const std::string alphabet = "ab -\t'\"\\$*/.";
    for (int round = 0; round < 2000; ++round) {
        Args argv(random() % 5);
        for (std::string& argument : argv) {
            const std::size_t length = random() % 6;
            for (std::size_t i = 0; i < length; ++i)
                argument += alphabet[random() % alphabet.size()];
        }
        const std::string shown = CommandLineForDisplay(argv);
        Args back;
        ASSERT_TRUE(SplitArguments(shown, back)) << shown;
        ASSERT_EQ(back, argv) << shown;
    }
    EXPECT_EQ(CommandLineForDisplay({"/opt/my jdk/javac", "-g", "Foo.java"}),
              "\"/opt/my jdk/javac\" -g Foo.java");
}

TEST(ToolDialogRules, CompileRefusesPathsOfSixCharactersOrFewer)
{
    CompileDialogData data{"/a/jc1", "/src/Foo.java", false, "/src", "/src", "", true};
    EXPECT_EQ(CompileDialogRefusal(data), "Please enter compiler path");
    data.compilerPath = "<NONE>";
    EXPECT_EQ(CompileDialogRefusal(data), "Please enter compiler path");
    data.compilerPath = "/a/jcc1";
    EXPECT_EQ(CompileDialogRefusal(data), "");
    data.targetFile = "/F.jav";
    EXPECT_EQ(CompileDialogRefusal(data), "Please enter compile target file.");
}

TEST(ToolDialogRules, ViewerOffersClasspathAndDebugOption)
{
    EXPECT_EQ(ViewerFileChoices("Hello"),
              (Args{"Example1.html", "Hello", "Hello.class", "Hello.htm", "Hello.html"}));
    EXPECT_EQ(ClasspathProposal("/work/"), "-classpath /work/");
    EXPECT_EQ(WithDebugOption(""), "-debug");
    EXPECT_EQ(WithDebugOption("-J-Xmx64m"), "-debug -J-Xmx64m");
    EXPECT_EQ(WithDebugOption("-J-Xmx64m -debug"), "-J-Xmx64m -debug");
    EXPECT_EQ(WithoutDebugOption("-debug -J-Xmx64m"), " -J-Xmx64m");
    EXPECT_EQ(WithoutDebugOption("-debug x -debug"), " x ");
    EXPECT_EQ(DebugFirst("-debug -J-Xmx64m"), "-debug  -J-Xmx64m");
}

TEST(JavaPackage, DeclarationIsFoundPastCommentsAndGivesRootAndClass)
{
    EXPECT_EQ(DeclaredPackage("package a.b;\nclass Hello {}"), "a.b");
    EXPECT_EQ(DeclaredPackage("\xEF\xBB\xBF/* head */\n// line\n  package  com . x /*c*/ . y ;"),
              "com.x.y");
    EXPECT_EQ(DeclaredPackage("import a.b;\npackage c;"), "");
    EXPECT_EQ(DeclaredPackage("class Hello { String package; }"), "");
    EXPECT_EQ(DeclaredPackage("package a.;"), "");
    EXPECT_EQ(DeclaredPackage("package a.b"), "");

    const JavaClassProposal plain = ProposeClass("/src/Hello.java", "", "Hello");
    EXPECT_EQ(plain.sourceRoot, "/src/");
    EXPECT_EQ(plain.className, "Hello");
    const JavaClassProposal packaged = ProposeClass("/src/a/b/Hello.java", "a.b", "Hello");
    EXPECT_EQ(packaged.sourceRoot, "/src/");
    EXPECT_EQ(packaged.className, "a.b.Hello");
    // A file outside its package's folders keeps its own directory.
    const JavaClassProposal stray = ProposeClass("/src/xa/b/Hello.java", "a.b", "Hello");
    EXPECT_EQ(stray.sourceRoot, "/src/xa/b/");
    EXPECT_EQ(stray.className, "a.b.Hello");
}

TEST(CompileLog, HeaderOutputAndFinishWithCrLf)
{
    EXPECT_EQ(CompileLog::CompilingLine("/my src/Foo.java"), "-Compiling \"/my src/Foo.java\"-\r\n");
    CompileLog log("/usr/bin/javac", "/src/*.java");
    log.AppendOutput("Foo.java:1: error\n");
    log.Finish();
    EXPECT_EQ(log.Text(),
              "-Called Compiler /usr/bin/javac-\r\n-Target File: /src/*.java-\r\nFoo.java:1: error\n"
              "\r\n-Finished-");
    CompileLog failed("/no/javac", "/src/Foo.java");
    failed.AppendStartFailure("/no/javac", "No such file or directory");
    failed.Finish();
    EXPECT_EQ(failed.Text(),
              "-Called Compiler /no/javac-\r\n-Target File: /src/Foo.java-\r\n"
              "Could not start /no/javac: No such file or directory\r\n-Finished-");
    CompileLog stopped("javac", "/src/Foo.java");
    stopped.AppendOutput("compiling\n");
    stopped.FinishStopped();
    EXPECT_EQ(stopped.Text(),
              "-Called Compiler javac-\r\n-Target File: /src/Foo.java-\r\ncompiling\n\r\nBuild stopped.");
}

// Random output in random pieces keeps exactly the last lines that fit
// both bounds, with a note that counts the lines before them.
TEST(CompileOutputTail, KeepsTheLastLinesThatFitAndCountsTheRest)
{
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        const std::size_t keptLines = 1 + random() % 6;
        const std::size_t keptBytes = 1 + random() % 60;
        CompileOutputTail tail(keptLines, keptBytes);
        std::string all;
        const int lines = static_cast<int>(random() % 12);
        for (int line = 0; line < lines; ++line) {
            all += std::string(random() % 9, static_cast<char>('a' + line % 26));
            if (line + 1 < lines || random() % 2)
                all += '\n';
        }
        for (std::size_t at = 0; at < all.size();) {
            const std::size_t piece = std::min<std::size_t>(1 + random() % 7, all.size() - at);
            tail.Append(all.data() + at, piece);
            at += piece;
        }

        // The plain reference: drop the oldest finished line while too
        // many lines are kept, or too many bytes and a finished line is left.
        std::vector<std::string> reference;
        for (std::size_t start = 0; start < all.size();) {
            const std::size_t end = std::min(all.find('\n', start), all.size() - 1) + 1;
            reference.push_back(all.substr(start, end - start));
            start = end;
        }
        std::uint64_t dropped = 0;
        const auto bytes = [&reference] {
            std::size_t sum = 0;
            for (const std::string& line : reference)
                sum += line.size();
            return sum;
        };
        while (!reference.empty() && reference.front().ends_with('\n') &&
               (reference.size() > keptLines || bytes() > keptBytes)) {
            reference.erase(reference.begin());
            ++dropped;
        }
        std::string kept = dropped ? CompileOutputTail::DroppedNote(dropped) : std::string();
        for (const std::string& line : reference)
            kept += line;
        ASSERT_EQ(tail.Text(), kept) << "round " << round;
        ASSERT_EQ(tail.DroppedLines(), dropped);
        ASSERT_EQ(tail.KeptLines(), reference.size());
    }
    EXPECT_EQ(CompileOutputTail::DroppedNote(1), "\xE2\x80\xA6 1 earlier line not shown.\r\n");
    EXPECT_EQ(CompileOutputTail::DroppedNote(1234567), "\xE2\x80\xA6 1,234,567 earlier lines not shown.\r\n");
}

// Output without line ends is kept in pieces of the longest line, cut
// between characters, so that it stays bounded and reads back whole.
TEST(CompileOutputTail, AnEndlessLineIsCutBetweenCharacters)
{
    CompileOutputTail tail;
    std::string all;
    for (int i = 0; i < 100000; ++i)
        all += "\xC3\xA9";  // é, two bytes
    tail.Append(all.data(), all.size());
    const std::string text = tail.Text();
    std::string joined;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string piece = text.substr(start, end - start);
        EXPECT_LE(piece.size(), CompileOutputTail::kLongestLine);
        EXPECT_EQ(piece.size() % 2, 0u) << "a character was cut";
        joined += piece;
        start = end + 1;
    }
    EXPECT_EQ(joined, all);
    EXPECT_EQ(tail.KeptLines(), 4u);
    EXPECT_EQ(tail.DroppedLines(), 0u);
}

TEST(BuildCommandLines, VectorsAndDebuggerInput)
{
    EXPECT_EQ(CompileArgv("javac", {}, {"/s/Foo.java"}), (Args{"javac", "/s/Foo.java"}));
    EXPECT_EQ(RedirectedArgv("/bin/Output", {"javac", "-g", "/my src/F.java"}),
              (Args{"/bin/Output", "javac", "-g", "/my src/F.java"}));
    EXPECT_EQ(ViewerArgumentText("-debug", true, "-classpath /w"), "-classpath /w -debug");
    EXPECT_EQ(ViewerArgumentText("-debug", false, "-classpath /w"), "-debug");
    EXPECT_EQ(ViewerArgv("java", {"-cp", "/w"}, "Hello", {"1"}), (Args{"java", "-cp", "/w", "Hello", "1"}));
    EXPECT_EQ(DebuggerArgv("jdb", "/my src/", "a.Hello"), (Args{"jdb", "-classpath", "/my src/", "a.Hello"}));
    EXPECT_EQ(StopAtLines("a.Hello", {1, 12}), (Args{"stop at a.Hello:1\r", "stop at a.Hello:12\r"}));
    EXPECT_EQ(RunLine(), "run\r");
}

TEST(JavaSourceFiles, StarJavaIsTheSortedJavaFilesOfTheDirectory)
{
    TempDir dir;
    for (const char* name : {"b.java", "A.java", "c.java.txt", ".java", "Z.JAVA"})
        WriteFileBytes(dir.File(name), "");
    std::filesystem::create_directory(dir.File("sub.java"));
    const std::string directory = dir.Path().string() + "/";
    EXPECT_EQ(JavaFilesIn(directory), (Args{directory + "A.java", directory + "b.java"}));
    EXPECT_EQ(DirectoryOf("/a b/c.java"), "/a b/");
    EXPECT_EQ(FileNameOf("/a b/c.java"), "c.java");
}

TEST(JavaToolLocator, JavaHomeThenPathThenNewestJdk)
{
    TempDir dir;
    const std::string home = dir.File("home");
    const std::string path = dir.File("path");
    const std::string jvm = dir.File("jvm");
    for (const std::string& d : {home + "/bin", path, jvm + "/java-8-x/bin", jvm + "/java-17-x/bin",
                                 jvm + "/java-11-x/bin"})
        std::filesystem::create_directories(d);
    MakeExecutable(home + "/bin/javac");
    MakeExecutable(path + "/java");
    MakeExecutable(path + "/javac");
    for (const char* version : {"8", "11", "17"})
        MakeExecutable(jvm + "/java-" + version + "-x/bin/jdb");
    // Not executable: not a program.
    WriteFileBytes(home + "/bin/java", "");

    const JavaToolPaths found = DetectJavaTools(home, "/nonexistent:" + path, jvm);
    EXPECT_EQ(found.compiler, home + "/bin/javac");
    EXPECT_EQ(found.appViewer, path + "/java");
    EXPECT_EQ(found.debugger, jvm + "/java-17-x/bin/jdb");
    EXPECT_EQ(DetectJavaTools("", "", dir.File("none")).compiler, "");
}

TEST(CompilerMessage, ColonFormFirstThenParenthesisForm)
{
    CompilerMessage message;
    ASSERT_TRUE(ParseCompilerMessage("/src/Foo.java:12: error: ';' expected", message));
    EXPECT_EQ(message.file, "/src/Foo.java");
    EXPECT_EQ(message.line, 12);
    ASSERT_TRUE(ParseCompilerMessage("  Foo.java(7,5): warning", message));
    EXPECT_EQ(message.file, "Foo.java");
    EXPECT_EQ(message.line, 7);
    ASSERT_TRUE(ParseCompilerMessage("Foo.java: 3 :x", message));
    EXPECT_EQ(message.line, 3);
    EXPECT_FALSE(ParseCompilerMessage("-Compiling /src/Foo.java-", message));
    EXPECT_FALSE(ParseCompilerMessage("-Finished-", message));
    EXPECT_FALSE(ParseCompilerMessage("Foo.java:0: error", message));
    EXPECT_FALSE(ParseCompilerMessage("Foo.java:x: error", message));
    EXPECT_FALSE(ParseCompilerMessage("Foo.java:12", message));
    EXPECT_FALSE(ParseCompilerMessage(".java:12: at the start", message));
    EXPECT_FALSE(ParseCompilerMessage("Foo.java(12)", message));

    EXPECT_EQ(CaretLineColumn("        ^"), 8);
    EXPECT_EQ(CaretLineColumn("\t  ^\r"), 3);
    EXPECT_EQ(CaretLineColumn("  x ^"), -1);
    EXPECT_EQ(CaretLineColumn(""), -1);
}
