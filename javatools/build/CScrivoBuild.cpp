#include "javatools/build/CScrivoBuild.h"

#include "app/SettingsKeys.h"
#include "engine/VxEdit.h"
#include "javatools/build/BuildAllRequest.h"
#include "javatools/build/BuildCommandLines.h"
#include "javatools/build/CommandArguments.h"
#include "javatools/build/CompileLog.h"
#include "javatools/build/DebuggerRunFlag.h"
#include "javatools/build/DocumentClass.h"
#include "javatools/build/IBuildHost.h"
#include "javatools/build/JavaSourceFiles.h"
#include "javatools/build/ToolDialogRules.h"
#include "javatools/console/IConsoleHost.h"
#include "language/VxEditLangConfig.h"
#include "platform/core/MessageSeam.h"
#include "platform/core/Profile.h"
#include "resources/CommandIds.h"

#include <algorithm>
#include <filesystem>

using quillet::platform::MessageAnswer;
using quillet::platform::MessageButtons;
using quillet::platform::MessageIcon;
using quillet::platform::ShowMessage;

CScrivoBuild::CScrivoBuild(VxEdit& model, std::unique_ptr<IBuildHost> host)
    : model_(model), host_(std::move(host))
{
}

CScrivoBuild::~CScrivoBuild() = default;

bool CScrivoBuild::OnCommand(int id)
{
    switch (id) {
    case cmd::kBuildCompile:
        Compile();
        return true;
    case cmd::kBuildAll:
        if (JavaText())
            BuildAll();
        return true;
    case cmd::kBuildExecute:
        if (host_->Console())
            Execute();
        return true;
    case cmd::kBuildDebug:
        if (host_->Console() && !host_->DebuggerFlag()->IsRunning())
            Debug();
        return true;
    default:
        return false;
    }
}

bool CScrivoBuild::OnUpdateCommand(int id, tarrow::foundation::CommandState& state)
{
    // The Java tools act on Java texts; in an HTML or plain-text window the
    // commands stay in the menus, greyed.
    const bool javaText = JavaText();
    // While a compile runs, the commands that need its result wait greyed:
    // a second compile, and running or debugging classes not yet written.
    const bool ready = javaText && !host_->IsCompiling();
    switch (id) {
    case cmd::kBuildCompile:
    case cmd::kBuildAll:
        state.enabled = ready;
        return true;
    case cmd::kBuildExecute:
        state.enabled = ready && host_->Console() != nullptr;
        return true;
    case cmd::kBuildDebug:
        state.enabled = ready && host_->Console() != nullptr && !host_->DebuggerFlag()->IsRunning();
        return true;
    default:
        return false;
    }
}

bool CScrivoBuild::JavaText() const
{
    const VxEditLangConfig* config = model_.GetLangConfig();
    return config && config->GetName() == "Java";
}

bool CScrivoBuild::OfferToolSettings(const char* question)
{
    if (ShowMessage(question, MessageButtons::YesNo, MessageIcon::Question) != MessageAnswer::Yes)
        return false;
    host_->ConfigureTools();
    return true;
}

bool CScrivoBuild::Split(const std::string& text, std::vector<std::string>& args)
{
    if (SplitArguments(text, args))
        return true;
    ShowMessage("A quote is not closed in the arguments:\n" + text);
    return false;
}

CScrivoBuild::ClassOfDocument CScrivoBuild::DocumentClass(const std::string& simpleName) const
{
    const JavaClassProposal proposal = ProposeClassOfText(model_, host_->DocumentPath(), simpleName);
    return {proposal.sourceRoot, proposal.className};
}

// Compile

void CScrivoBuild::Compile()
{
    if (host_->IsCompiling())
        return;
    quillet::platform::Profile& store = host_->Settings();
    if (host_->IsDocumentModified() && host_->CompileAutoSave())
        host_->SaveDocument();

    std::string fileName = host_->DocumentTitle();
    if (fileName.find(".java") == std::string::npos)
        fileName += ".java";
    const std::string path = host_->DocumentPath();
    if (path.empty()) {
        ShowMessage(kNotSavedCompile, MessageButtons::Ok);
        return;
    }

    std::string compiler = store.GetString(settings::kTools, settings::kJavaCompiler, settings::kNoToolPath);
    if (compiler == settings::kNoToolPath) {
        if (!OfferToolSettings(kNoCompilerQuestion))
            return;
        compiler = store.GetString(settings::kTools, settings::kJavaCompiler, settings::kNoToolPath);
    }

    RememberProposedPaths(path);
    const std::string sourceRoot = remembered_.proposedRoot;
    CompileDialogData data;
    data.compilerPath = compiler;
    data.targetFile = path;
    data.sourcePath = remembered_.sourcePath;
    data.classPath = remembered_.classPath;
    data.arguments = host_->CompilerArgs();
    data.clearErrors = remembered_.clearErrors;
    data.compileAll = false;
    if (!host_->RunCompileDialog(data))
        return;

    remembered_.clearErrors = data.clearErrors;
    remembered_.sourcePath = data.sourcePath;
    remembered_.classPath = data.classPath;
    if (data.clearErrors)
        model_.ClearMarkEverywhere(VxEdit::kMarkErrorLine);
    host_->CompilerArgs() = data.arguments;
    compiler = data.compilerPath;

    const std::string directory = DirectoryOf(path);
    const std::string shownTarget = directory + (data.compileAll ? "*.java" : fileName);
    if (compiler == settings::kNoToolPath) {
        ShowMessage(kNoCompiler, MessageButtons::Ok);
        return;
    }
    std::vector<std::string> arguments = CompilePathArguments(data.sourcePath, data.classPath);
    std::vector<std::string> typed;
    if (!Split(data.arguments, typed))
        return;
    arguments.insert(arguments.end(), typed.begin(), typed.end());
    std::vector<std::string> targets{shownTarget};
    if (data.compileAll) {
        // Every file of the directory is compiled, so every one the user
        // changed must be on disk first, not only this window's.
        if (host_->CompileAutoSave())
            host_->SaveModifiedDocumentsIn(directory);
        std::vector<std::string> files = JavaFilesIn(directory);
        if (!files.empty())
            targets = std::move(files);
    }
    const std::vector<std::string> argv = CompileArgv(compiler, arguments, targets);

    // Relative paths the user gives are read from the source root, where
    // the compiler runs.
    if (store.GetInt(settings::kTools, settings::kCompilerUseOutputWnd, 1) == 1)
        CompileThroughOutputWindow(compiler, argv, shownTarget, directory, sourceRoot);
    else
        RunInConsole(fileName, argv, sourceRoot);
}

void CScrivoBuild::RememberProposedPaths(const std::string& path)
{
    // The other files of the program are found from the source root: the
    // file's folder, or the folder above its package's folders. A path the
    // user changed in this window is kept while the proposal stays the same.
    const CompilePathProposal proposal = ProposeCompilePaths(model_, path);
    if (remembered_.proposedRoot != proposal.sourceRoot) {
        remembered_.proposedRoot = proposal.sourceRoot;
        remembered_.sourcePath = proposal.sourcePath;
        remembered_.classPath = proposal.classPath;
    }
}

// Build All

void CScrivoBuild::BuildAll()
{
    if (host_->IsCompiling())
        return;
    quillet::platform::Profile& store = host_->Settings();
    const std::string path = host_->DocumentPath();
    if (path.empty()) {
        ShowMessage(kNotSavedCompile, MessageButtons::Ok);
        return;
    }
    std::string compiler = store.GetString(settings::kTools, settings::kJavaCompiler, settings::kNoToolPath);
    if (compiler == settings::kNoToolPath) {
        if (!OfferToolSettings(kNoCompilerQuestion))
            return;
        compiler = store.GetString(settings::kTools, settings::kJavaCompiler, settings::kNoToolPath);
        if (compiler == settings::kNoToolPath) {
            ShowMessage(kNoCompiler, MessageButtons::Ok);
            return;
        }
    }
    RememberProposedPaths(path);
    const std::string sourceRoot = remembered_.proposedRoot;
    // Every file of the tree is compiled, so every one the user changed
    // must be on disk first.
    if (host_->CompileAutoSave()) {
        if (host_->IsDocumentModified())
            host_->SaveDocument();
        host_->SaveModifiedDocumentsUnder(sourceRoot);
    }
    std::vector<std::string> arguments = CompilePathArguments(remembered_.sourcePath, remembered_.classPath);
    std::vector<std::string> typed;
    if (!Split(host_->CompilerArgs(), typed))
        return;
    arguments.insert(arguments.end(), typed.begin(), typed.end());

    CompileRequest request;
    std::string failure;
    if (!MakeBuildAllRequest(compiler, arguments, sourceRoot, host_->RedirectorPath(), request, &failure)) {
        ShowMessage(failure);
        return;
    }
    if (remembered_.clearErrors)
        model_.ClearMarkEverywhere(VxEdit::kMarkErrorLine);
    host_->ShowOutput(CompileLog::CompilingLine(request.shownTarget), sourceRoot);
    host_->StartCompile(std::move(request));
}

void CScrivoBuild::CompileThroughOutputWindow(const std::string& compiler,
                                              const std::vector<std::string>& argv,
                                              const std::string& shownTarget,
                                              const std::string& directory,
                                              const std::string& workingDirectory)
{
    host_->ShowOutput(CompileLog::CompilingLine(shownTarget), directory);
    host_->StartCompile({compiler, RedirectedArgv(host_->RedirectorPath(), argv), shownTarget,
                         directory, workingDirectory, {}});
}

int CScrivoBuild::RunInConsole(const std::string& title, const std::vector<std::string>& argv,
                               const std::string& workingDirectory,
                               std::function<void(int)> finished)
{
    IConsoleHost::RunRequest request;
    request.title = title;
    request.argv = argv;
    request.workingDirectory = workingDirectory;
    request.finished = std::move(finished);
    std::string error;
    IConsoleHost* console = host_->Console();
    const int run = console ? console->StartRun(request, &error) : 0;
    if (!console)
        error = "there is no console to run it in";
    if (run <= 0)
        ShowMessage("Could not start " + CommandLineForDisplay(argv) + ":\n" + error);
    return run;
}

// Execute

void CScrivoBuild::Execute()
{
    quillet::platform::Profile& store = host_->Settings();
    const bool keepConsole = store.GetInt(settings::kTools, settings::kAppletKeepDos, 0) != 0;
    const std::string baseName = WithoutEvery(host_->DocumentTitle(), ".java");
    const ClassOfDocument proposal = DocumentClass(baseName);

    ViewerDialogData data = remembered_.viewer;
    data.baseName = baseName;
    if (data.file.empty())
        data.file = proposal.className;
    data.workingDirectory = proposal.sourceRoot;
    if (!host_->RunViewerDialog(data))
        return;
    remembered_.viewer = data;

    std::vector<std::string> viewerArguments;
    std::vector<std::string> programArguments;
    if (!Split(ViewerArgumentText(data.viewerArguments, data.specifyClasspath, data.classpath),
               viewerArguments) ||
        !Split(data.programArguments, programArguments))
        return;

    if (data.runAsApplet) {
        const std::string viewer = store.GetString(settings::kTools, settings::kAppletViewer, settings::kNoToolPath);
        if (viewer == settings::kNoToolPath) {
            OfferToolSettings(kNoAppletViewerQuestion);
            return;
        }
        const std::vector<std::string> argv =
            ViewerArgv(viewer, viewerArguments, data.file, programArguments);
        if (keepConsole) {
            RunInConsole(data.file, argv, data.workingDirectory);
        } else {
            std::string error;
            if (!host_->StartDetached(argv, data.workingDirectory, &error))
                ShowMessage("Could not start " + CommandLineForDisplay(argv) + ":\n" + error);
        }
        return;
    }

    const std::string launcher = store.GetString(settings::kTools, settings::kAppViewer, settings::kNoToolPath);
    if (launcher == settings::kNoToolPath) {
        OfferToolSettings(kNoAppViewerQuestion);
        return;
    }
    RunInConsole(data.file, ViewerArgv(launcher, viewerArguments, data.file, programArguments),
                 data.workingDirectory);
}

// Debug

void CScrivoBuild::Debug()
{
    DebuggerDialogData data;
    data.debuggerPath = host_->Settings().GetString(settings::kTools, settings::kJavaDebugger, settings::kNoToolPath);
    std::string simpleName = host_->DocumentTitle();
    if (const std::size_t dot = simpleName.rfind('.'); dot != std::string::npos)
        simpleName.erase(dot);
    const std::string path = host_->DocumentPath();
    if (path.empty()) {
        ShowMessage(kNotSavedRun, MessageButtons::Ok);
        return;
    }
    const ClassOfDocument proposal = DocumentClass(simpleName);
    data.className = proposal.className;
    data.classpath = proposal.sourceRoot;
    data.autoBreakpoints = remembered_.autoBreakpoints;
    data.launchImmediately = remembered_.launchImmediately;

    switch (host_->RunDebuggerDialog(data)) {
    case DebuggerDialogResult::DebugApplication:
        remembered_.autoBreakpoints = data.autoBreakpoints;
        remembered_.launchImmediately = data.launchImmediately;
        StartDebugger(data);
        return;
    case DebuggerDialogResult::RunAsApplet:
        remembered_.viewer.runAsApplet = true;
        remembered_.viewer.debugApplet = true;
        remembered_.viewer.viewerArguments = DebugFirst(remembered_.viewer.viewerArguments);
        Execute();
        return;
    case DebuggerDialogResult::Cancel:
        return;
    }
}

std::vector<int> CScrivoBuild::BreakpointLines() const
{
    std::vector<int> lines;
    for (std::int32_t line = 0; line <= model_.LastLine(); ++line) {
        if (model_.TestMark(line, VxEdit::kMarkBreakpoint))
            lines.push_back(line + 1);
    }
    return lines;
}

void CScrivoBuild::StartDebugger(const DebuggerDialogData& data)
{
    const std::vector<int> lines = data.autoBreakpoints ? BreakpointLines() : std::vector<int>();
    std::shared_ptr<DebuggerRunFlag> flag = host_->DebuggerFlag();
    // The debugger starts in the class path when that is one directory.
    std::error_code error;
    const std::string directory =
        std::filesystem::is_directory(data.classpath, error) ? data.classpath : std::string();
    flag->SetRunning(true);
    const int run = RunInConsole(kDebuggerTitle,
                                 DebuggerArgv(data.debuggerPath, data.classpath, data.className),
                                 directory, [flag](int) { flag->SetRunning(false); });
    if (run <= 0) {
        flag->SetRunning(false);
        return;
    }
    IConsoleHost& console = *host_->Console();
    for (const std::string& stop : StopAtLines(data.className, lines))
        console.WriteInput(run, stop);
    if (data.launchImmediately)
        console.WriteInput(run, RunLine());
}
