// The check on save without windows: reading javac's messages, the command
// it runs, the marks and their notes as the text is edited, and whole
// checks with the real javac.
#include "engine/VxEdit.h"
#include "javatools/build/BuildCommandLines.h"
#include "javatools/build/SaveCheck.h"
#include "javatools/build/SaveCheckDiagnostics.h"
#include "javatools/build/SaveCheckMarks.h"
#include "mvc/IRefCount.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <poll.h>
#include <random>

using quillet::test::TempDir;
using quillet::test::WriteFileBytes;

namespace {

const char* const kJavac = "/usr/lib/jvm/java-17-openjdk-amd64/bin/javac";

tarrow::foundation::RefPtr<VxEdit> ModelOf(const std::string& text)
{
    auto model = tarrow::foundation::MakeRef<VxEdit>();
    model->InsertAtLineCol(0, 0, text.data(), static_cast<std::int64_t>(text.size()));
    return model;
}

std::vector<std::int32_t> CheckedLines(const VxEdit& model)
{
    std::vector<std::int32_t> lines;
    for (std::int32_t line = 0; line <= model.LastLine(); ++line) {
        if (model.TestMark(line, VxEdit::kMarkCheckedLine))
            lines.push_back(line);
    }
    return lines;
}

// Waits for the check's compiler as an event loop would, up to a minute.
bool RunToEnd(SaveCheck& check, std::string& problem)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(1);
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd ready{check.OutputFd(), POLLIN, 0};
        poll(&ready, 1, 100);
        if (check.OnOutputReady(&problem))
            return true;
    }
    return false;
}

bool ProcessExists(pid_t pid)
{
    return kill(pid, 0) == 0 || errno != ESRCH;
}

}  // namespace

TEST(SaveCheckDiagnostics, MessagesAboutTheFileWithTheirLinesAndTexts)
{
    const std::string output =
        "/src/a/Foo.java:3: error: ';' expected\n"
        "        System.out.println(\"x\")\n"
        "                                ^\n"
        "/src/a/Bar.java:7: error: cannot find symbol\n"
        "/src/a/Foo.java:12: warning: [removal] Integer(int) in Integer has been deprecated\n"
        "/src/a/Foo.java:3: error: not a statement\r\n"
        "Note: Some input files use unchecked or unsafe operations.\n"
        "3 errors\n"
        "1 warning\n";
    const std::vector<SaveCheckDiagnostic> found = DiagnosticsForFile(output, "/src/a/Foo.java");
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].line, 3);
    EXPECT_EQ(found[0].text, "error: ';' expected");
    EXPECT_EQ(found[1].line, 12);
    EXPECT_EQ(found[1].text, "warning: [removal] Integer(int) in Integer has been deprecated");
    EXPECT_EQ(found[2].line, 3);
    EXPECT_EQ(found[2].text, "error: not a statement");
    EXPECT_TRUE(DiagnosticsForFile(output, "/src/a/Baz.java").empty());
    EXPECT_TRUE(DiagnosticsForFile("", "/src/a/Foo.java").empty());
}

TEST(SaveCheckDiagnostics, ParenthesisedFormKeepsItsText)
{
    const std::vector<SaveCheckDiagnostic> found =
        DiagnosticsForFile("Foo.java(4,9): error J0049: Undefined name 'x'", "Foo.java");
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0].line, 4);
    EXPECT_EQ(found[0].text, "error J0049: Undefined name 'x'");
}

TEST(SaveCheckCommand, ClassesGoAsideAndOnlyTheFileIsCompiled)
{
    EXPECT_EQ(SaveCheckArgv("/jdk/bin/javac", "/run/check-1", "/src root", "/src root", "/src root/a/B.java"),
              (std::vector<std::string>{"/jdk/bin/javac", "-d", "/run/check-1", "-implicit:none", "-proc:none",
                                        "-sourcepath", "/src root", "-classpath", "/src root",
                                        "/src root/a/B.java"}));
}

// Lines are inserted and removed at random above, between and on marked
// lines; every note must stay with the text of its line.
TEST(SaveCheckMarks, NotesFollowTheirLinesThroughEdits)
{
    std::string text;
    for (int i = 0; i < 60; ++i)
        text += "line " + std::to_string(i) + "\n";
    auto model = ModelOf(text);
    model->SetMark(5, VxEdit::kMarkErrorLine, true);
    SaveCheckMarks marks;
    marks.Apply(*model, {{3, "error: a"}, {20, "warning: b"}, {3, "error: c"}, {62, "past the end"}, {0, "none"}});
    EXPECT_EQ(CheckedLines(*model), (std::vector<std::int32_t>{2, 19}));
    EXPECT_EQ(marks.NoteAt(*model, 2), "error: a\nerror: c");
    EXPECT_EQ(marks.NoteAt(*model, 19), "warning: b");
    EXPECT_EQ(marks.NoteAt(*model, 5), "");

    // The reference: the note of each original line's text.
    std::map<std::string, std::string> expected{{"line 2", "error: a\nerror: c"}, {"line 19", "warning: b"}};
    std::mt19937 random(7);
    for (int step = 0; step < 200; ++step) {
        const std::int32_t line = std::uniform_int_distribution<std::int32_t>(0, model->LastLine() - 1)(random);
        if (random() % 2 == 0 || model->LastLine() < 10) {
            model->InsertAtLineCol(line, 0, "new\n", 4);
        } else {
            std::string removed;
            model->CopyText(removed, line, 0, line, model->LineLength(line));
            if (removed == "line 2" || removed == "line 19" || removed == "line 5")
                continue;
            model->DeleteRange(line, 0, line + 1, 0);
        }
    }
    for (std::int32_t line = 0; line <= model->LastLine(); ++line) {
        std::string lineText;
        model->CopyText(lineText, line, 0, line, model->LineLength(line));
        const auto note = expected.find(lineText);
        EXPECT_EQ(marks.NoteAt(*model, line), note == expected.end() ? "" : note->second) << lineText;
        EXPECT_EQ(model->TestMark(line, VxEdit::kMarkErrorLine), lineText == "line 5" ? 1 : 0);
    }

    // A new check replaces the marks; Compile's error mark stays.
    marks.Apply(*model, {{1, "error: d"}});
    EXPECT_EQ(CheckedLines(*model), (std::vector<std::int32_t>{0}));
    EXPECT_EQ(marks.NoteAt(*model, 0), "error: d");
    marks.Clear(*model);
    EXPECT_TRUE(CheckedLines(*model).empty());
    EXPECT_EQ(model->CountMarkedLines(VxEdit::kMarkErrorLine), 1);
    EXPECT_EQ(marks.NoteCount(), 0u);
}

class SaveCheckWithJavac : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!std::filesystem::exists(kJavac))
            GTEST_SKIP() << "no OpenJDK 17 javac at " << kJavac;
    }
    TempDir dir_;
};

// A file in a package, checked with another class of its package beside
// it: the source path finds the other class, nothing is written beside the
// sources, and the fix clears the marks.
TEST_F(SaveCheckWithJavac, AnErrorIsMarkedWithItsTextAndTheFixClearsIt)
{
    std::filesystem::create_directories(dir_.Path() / "shop");
    WriteFileBytes(dir_.File("shop/Price.java"), "package shop;\npublic class Price {\n    int cents;\n}\n");
    const std::string path = dir_.File("shop/Till.java");
    const std::string broken =
        "package shop;\n"
        "public class Till {\n"
        "    Price total() {\n"
        "        return new Price()\n"
        "    }\n"
        "}\n";
    WriteFileBytes(path, broken);
    auto model = ModelOf(broken);
    SaveCheck check(*model);
    std::string problem;
    ASSERT_TRUE(check.Start(kJavac, path, &problem)) << problem;
    ASSERT_TRUE(RunToEnd(check, problem));
    EXPECT_EQ(problem, "");
    EXPECT_EQ(CheckedLines(*model), (std::vector<std::int32_t>{3}));
    EXPECT_EQ(check.NoteAt(3), "error: ';' expected");

    const std::string fixed =
        "package shop;\npublic class Till {\n    Price total() {\n        return new Price();\n    }\n}\n";
    WriteFileBytes(path, fixed);
    model->InsertAtLineCol(3, model->LineLength(3), ";", 1);
    ASSERT_TRUE(check.Start(kJavac, path, &problem)) << problem;
    ASSERT_TRUE(RunToEnd(check, problem));
    EXPECT_EQ(problem, "");
    EXPECT_TRUE(CheckedLines(*model).empty());
    EXPECT_FALSE(std::filesystem::exists(dir_.File("shop/Till.class")));
    EXPECT_FALSE(std::filesystem::exists(dir_.File("shop/Price.class")));
}

TEST_F(SaveCheckWithJavac, ANewStartEndsTheRunningCompiler)
{
    const std::string slow = dir_.File("slow-javac");
    WriteFileBytes(slow, std::string("#!/bin/sh\nsleep 30\nexec ") + kJavac + " \"$@\"\n");
    std::filesystem::permissions(slow, std::filesystem::perms::owner_all);
    const std::string path = dir_.File("A.java");
    WriteFileBytes(path, "class A { int x }\n");
    auto model = ModelOf("class A { int x }\n");
    SaveCheck check(*model);
    std::string problem;
    ASSERT_TRUE(check.Start(slow, path, &problem)) << problem;
    const pid_t first = check.ProcessId();
    ASSERT_GT(first, 0);
    ASSERT_TRUE(check.Start(kJavac, path, &problem)) << problem;
    EXPECT_FALSE(ProcessExists(first));
    ASSERT_TRUE(RunToEnd(check, problem));
    EXPECT_EQ(CheckedLines(*model), (std::vector<std::int32_t>{0}));
}

TEST_F(SaveCheckWithJavac, AMissingOrFailingCompilerIsAProblemAndLeavesTheMarks)
{
    const std::string path = dir_.File("A.java");
    WriteFileBytes(path, "class A { int x }\n");
    auto model = ModelOf("class A { int x }\n");
    SaveCheck check(*model);
    std::string problem;
    ASSERT_TRUE(check.Start(kJavac, path, &problem));
    ASSERT_TRUE(RunToEnd(check, problem));
    ASSERT_EQ(CheckedLines(*model).size(), 1u);

    EXPECT_FALSE(check.Start(dir_.File("no-javac"), path, &problem));
    EXPECT_EQ(problem, "Check on save: could not start " + dir_.File("no-javac") + ": No such file or directory");

    const std::string failing = dir_.File("failing-javac");
    WriteFileBytes(failing, "#!/bin/sh\necho 'broken installation' >&2\nexit 3\n");
    std::filesystem::permissions(failing, std::filesystem::perms::owner_all);
    ASSERT_TRUE(check.Start(failing, path, &problem));
    ASSERT_TRUE(RunToEnd(check, problem));
    EXPECT_EQ(problem, "Check on save: " + failing + " ended with exit code 3: broken installation");
    EXPECT_EQ(CheckedLines(*model).size(), 1u);
}
