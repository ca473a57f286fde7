#include "app/SettingsKeys.h"
#include "engine/VxEdit.h"
#include "javatools/build/CScrivoBuild.h"
#include "javatools/build/DebuggerRunFlag.h"
#include "javatools/build/IBuildHost.h"
#include "javatools/console/IConsoleHost.h"
#include "language/VxEditLangConfig.h"
#include "mvc/ICommandTarget.h"
#include "platform/core/MemoryProfile.h"
#include "platform/core/MessageSeam.h"
#include "resources/CommandIds.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

using quillet::platform::MessageAnswer;
using quillet::platform::RecordingMessageSink;
using quillet::test::TempDir;
using quillet::test::WriteFileBytes;
using Args = std::vector<std::string>;

namespace {

class FakeConsole : public IConsoleHost {
public:
    int StartRun(const RunRequest& request, std::string* error) override
    {
        requests.push_back(request);
        return static_cast<int>(requests.size());
    }
    void WriteInput(int run, const std::string& bytes) override { input[run] += bytes; }
    bool IsRunning(int run) const override { return true; }

    std::vector<RunRequest> requests;
    std::map<int, std::string> input;
};

// The editor around the build commands, as plain data.
class FakeHost : public IBuildHost {
public:
    bool IsDocumentModified() const override { return false; }
    bool SaveDocument() override { return true; }
    std::string DocumentPath() const override { return path; }
    std::string DocumentTitle() const override { return title; }
    bool SaveModifiedDocumentsIn(const std::string&) override { return true; }
    bool SaveModifiedDocumentsUnder(const std::string&) override { return true; }
    quillet::platform::Profile& Settings() override { return profile; }
    std::string& CompilerArgs() override { return compilerArgs; }
    bool CompileAutoSave() const override { return true; }
    std::string RedirectorPath() const override { return {}; }
    void ConfigureTools() override { ++toolSettingsShown; }
    void ShowOutput(const std::string& text, const std::string&) override { output = text; }
    void StartCompile(CompileRequest request) override { compiles.push_back(std::move(request)); }
    bool IsCompiling() const override { return false; }
    IConsoleHost* Console() override { return &console; }
    bool StartDetached(const std::vector<std::string>& argv, const std::string& directory,
                       std::string*) override
    {
        detached.push_back(argv);
        return true;
    }
    std::shared_ptr<DebuggerRunFlag> DebuggerFlag() override { return flag; }
    bool RunCompileDialog(CompileDialogData&) override { return false; }
    bool RunViewerDialog(ViewerDialogData& data) override
    {
        shownViewer = data;
        if (answerViewer)
            answerViewer(data);
        return true;
    }
    DebuggerDialogResult RunDebuggerDialog(DebuggerDialogData& data) override
    {
        shownDebugger = data;
        data.launchImmediately = true;
        return debuggerAnswer;
    }

    std::string path;
    std::string title;
    std::string compilerArgs;
    std::string output;
    quillet::platform::MemoryProfile profile;
    FakeConsole console;
    std::vector<Args> detached;
    std::vector<CompileRequest> compiles;
    std::shared_ptr<DebuggerRunFlag> flag = std::make_shared<DebuggerRunFlag>();
    std::function<void(ViewerDialogData&)> answerViewer;
    ViewerDialogData shownViewer;
    DebuggerDialogData shownDebugger;
    DebuggerDialogResult debuggerAnswer = DebuggerDialogResult::DebugApplication;
    int toolSettingsShown = 0;
};

class BuildCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(dir_.File("src/a/b"));
        host_ = new FakeHost;
        host_->path = dir_.File("src/a/b/Hello.java");
        host_->title = "Hello.java";
        model_ = new VxEdit;
        model_->NewText();
        const std::string text =
            "package a.b;\n\npublic class Hello {\n    public static void main(String[] a) {\n"
            "        System.out.println(1);\n    }\n}";
        model_->InsertAtLineCol(0, 0, text.data(), static_cast<std::int64_t>(text.size()));
        model_->SetLangConfig(java_.Get());
        build_ = std::make_unique<CScrivoBuild>(*model_, std::unique_ptr<IBuildHost>(host_));
    }
    void TearDown() override
    {
        build_.reset();
        model_->Release();
    }

    bool Enabled(int id)
    {
        tarrow::foundation::CommandState state;
        EXPECT_TRUE(build_->OnUpdateCommand(id, state));
        return state.enabled;
    }

    TempDir dir_;
    RecordingMessageSink messages_;
    tarrow::foundation::RefPtr<VxEditLangConfig> java_ =
        tarrow::foundation::RefPtr<VxEditLangConfig>::Adopt(new VxEditLangConfig("Java"));
    FakeHost* host_ = nullptr;
    VxEdit* model_ = nullptr;
    std::unique_ptr<CScrivoBuild> build_;
};

}  // namespace

// Breakpoints on the first and last lines become "stop at" lines of the
// package's class, then "run"; Debug stays disabled until the debugger ends.
TEST_F(BuildCommandTest, DebugStopsAtEveryBreakpointOfThePackagedClass)
{
    host_->profile.WriteString(settings::kTools, settings::kJavaDebugger, "/usr/bin/jdb");
    model_->ToggleMark(0, VxEdit::kMarkBreakpoint);
    model_->ToggleMark(model_->LastLine(), VxEdit::kMarkBreakpoint);
    ASSERT_TRUE(Enabled(cmd::kBuildDebug));
    // The same text in an HTML window leaves the Java tools greyed.
    const auto html = tarrow::foundation::RefPtr<VxEditLangConfig>::Adopt(new VxEditLangConfig("HTML"));
    model_->SetLangConfig(html.Get());
    EXPECT_FALSE(Enabled(cmd::kBuildCompile));
    EXPECT_FALSE(Enabled(cmd::kBuildAll));
    EXPECT_FALSE(Enabled(cmd::kBuildExecute));
    EXPECT_FALSE(Enabled(cmd::kBuildDebug));
    model_->SetLangConfig(java_.Get());
    EXPECT_TRUE(Enabled(cmd::kBuildCompile));

    ASSERT_TRUE(build_->OnCommand(cmd::kBuildDebug));

    EXPECT_EQ(host_->shownDebugger.className, "a.b.Hello");
    EXPECT_EQ(host_->shownDebugger.classpath, dir_.File("src/"));
    ASSERT_EQ(host_->console.requests.size(), 1u);
    const IConsoleHost::RunRequest& run = host_->console.requests[0];
    EXPECT_EQ(run.title, "Quillet - Debugging");
    EXPECT_EQ(run.argv, (Args{"/usr/bin/jdb", "-classpath", dir_.File("src/"), "a.b.Hello"}));
    EXPECT_EQ(run.workingDirectory, dir_.File("src/"));
    EXPECT_EQ(host_->console.input[1], "stop at a.b.Hello:1\rstop at a.b.Hello:7\rrun\r");
    EXPECT_FALSE(Enabled(cmd::kBuildDebug));
    ASSERT_TRUE(run.finished);
    run.finished(0);
    EXPECT_TRUE(Enabled(cmd::kBuildDebug));
}

// "Run as Applet with Debug" goes on to Execute with the applet's debug
// option first; without a viewer the question about configuring one comes.
TEST_F(BuildCommandTest, RunAsAppletWithDebugAsksForTheUnsetViewer)
{
    host_->debuggerAnswer = DebuggerDialogResult::RunAsApplet;
    messages_.QueueAnswer(MessageAnswer::Yes);
    build_->Debug();
    EXPECT_TRUE(host_->shownViewer.runAsApplet);
    EXPECT_TRUE(host_->shownViewer.debugApplet);
    EXPECT_EQ(host_->shownViewer.viewerArguments, "-debug ");
    EXPECT_EQ(messages_.Texts(), (Args{CScrivoBuild::kNoAppletViewerQuestion}));
    EXPECT_EQ(host_->toolSettingsShown, 1);
    EXPECT_TRUE(host_->console.requests.empty());
    EXPECT_TRUE(host_->detached.empty());
}

// Execute proposes the package's root and class, splits the argument texts
// and runs the application in the console.
TEST_F(BuildCommandTest, ExecuteRunsTheClassFromThePackageRoot)
{
    host_->profile.WriteString(settings::kTools, settings::kAppViewer, "/usr/bin/java");
    host_->answerViewer = [](ViewerDialogData& data) {
        data.specifyClasspath = true;
        data.classpath = "-cp '/my libs'";
        data.programArguments = "\"two words\" 3";
    };
    build_->Execute();
    EXPECT_EQ(host_->shownViewer.file, "a.b.Hello");
    EXPECT_EQ(host_->shownViewer.baseName, "Hello");
    ASSERT_EQ(host_->console.requests.size(), 1u);
    EXPECT_EQ(host_->console.requests[0].argv,
              (Args{"/usr/bin/java", "-cp", "/my libs", "a.b.Hello", "two words", "3"}));
    EXPECT_EQ(host_->console.requests[0].workingDirectory, dir_.File("src/"));

    // The values are remembered for the next run; an unclosed quote is
    // reported and runs nothing.
    host_->answerViewer = [](ViewerDialogData& data) { data.programArguments = "'open"; };
    build_->Execute();
    EXPECT_EQ(host_->shownViewer.classpath, "-cp '/my libs'");
    EXPECT_EQ(host_->console.requests.size(), 1u);
    EXPECT_EQ(messages_.Texts(), (Args{"A quote is not closed in the arguments:\n'open"}));
}

// Build All asks nothing: every file under the package root goes to the
// compiler in an "@file", with Compile's paths and the typed arguments.
TEST_F(BuildCommandTest, BuildAllCompilesTheWholeSourceTreeThroughAnArgumentFile)
{
    host_->profile.WriteString(settings::kTools, settings::kJavaCompiler, "/usr/bin/javac");
    host_->compilerArgs = "-g";
    WriteFileBytes(host_->path, "package a.b; class Hello {}\n");
    std::filesystem::create_directories(dir_.File("src/c"));
    WriteFileBytes(dir_.File("src/c/D.java"), "package c; class D {}\n");
    ASSERT_TRUE(Enabled(cmd::kBuildAll));
    ASSERT_TRUE(build_->OnCommand(cmd::kBuildAll));

    ASSERT_EQ(host_->compiles.size(), 1u);
    const CompileRequest& request = host_->compiles[0];
    const std::string src = dir_.File("src");
    ASSERT_TRUE(request.argumentFile);
    EXPECT_EQ(request.argv, (Args{"", "/usr/bin/javac", "-sourcepath", src, "-classpath", src, "-g",
                                  "@" + request.argumentFile->Path()}));
    EXPECT_EQ(quillet::test::ReadFileBytes(request.argumentFile->Path()),
              "\"" + src + "/a/b/Hello.java\"\n\"" + src + "/c/D.java\"\n");
    EXPECT_EQ(request.workingDirectory, src + "/");
    EXPECT_EQ(host_->output, "-Compiling " + src + "/**/*.java-\r\n");
}

TEST_F(BuildCommandTest, UnsavedFileIsNotCompiledOrDebugged)
{
    host_->path.clear();
    build_->Compile();
    build_->Debug();
    EXPECT_EQ(messages_.Texts(),
              (Args{CScrivoBuild::kNotSavedCompile, CScrivoBuild::kNotSavedRun}));
    EXPECT_TRUE(host_->console.requests.empty());
}
