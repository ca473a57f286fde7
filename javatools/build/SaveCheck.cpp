#include "javatools/build/SaveCheck.h"

#include "app/SettingsKeys.h"
#include "javatools/build/BuildCommandLines.h"
#include "javatools/build/DocumentClass.h"
#include "javatools/build/SaveCheckDiagnostics.h"
#include "platform/core/PrivateFolder.h"
#include "platform/core/Profile.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

// javac's exit status when it ran and found errors.
constexpr int kCompileErrors = 1;

std::string FirstLine(const std::string& text)
{
    const std::size_t end = text.find_first_of("\r\n");
    return text.substr(0, end);
}

}  // namespace

SaveCheck::SaveCheck(VxEdit& model) : model_(model) {}

SaveCheck::~SaveCheck()
{
    Cancel();
}

std::string SaveCheck::ConfiguredCompiler(quillet::platform::Profile& settings)
{
    const std::string compiler =
        settings.GetString(settings::kTools, settings::kJavaCompiler, settings::kNoToolPath);
    if (compiler.empty() || compiler == settings::kNoToolPath ||
        settings.GetInt(settings::kTools, settings::kCheckOnSave, 1) == 0)
        return {};
    return compiler;
}

bool SaveCheck::Start(const std::string& compiler, const std::string& path, std::string* problem)
{
    Cancel();
    compiler_ = compiler;
    file_ = path;
    const std::string runtime = quillet::platform::PrivateRuntimeFolder();
    std::string pattern = runtime + "/check-XXXXXX";
    if (runtime.empty() || !mkdtemp(pattern.data())) {
        if (problem)
            *problem = "Check on save: no private temporary folder for the compiler's classes";
        return false;
    }
    classFolder_ = pattern;
    const CompilePathProposal paths = ProposeCompilePaths(model_, path);
    const std::vector<std::string> argv =
        SaveCheckArgv(compiler, classFolder_, paths.sourcePath, paths.classPath, path);
    std::string reason;
    if (!process_.Start(argv, paths.sourceRoot, &reason)) {
        RemoveClassFolder();
        if (problem)
            *problem = "Check on save: could not start " + compiler + ": " + reason;
        return false;
    }
    return true;
}

bool SaveCheck::OnOutputReady(std::string* problem)
{
    if (!process_.ReadAvailable())
        return false;
    RemoveClassFolder();
    const std::string failure = Finish();
    if (problem)
        *problem = failure;
    return true;
}

std::string SaveCheck::Finish()
{
    const SaveCheckProcess::Ending& ending = process_.Ended();
    const std::string& output = process_.Output();
    if (!ending.exited)
        return "Check on save: " + compiler_ + " was ended by signal " + std::to_string(ending.signal);
    // Errors in other files of the program leave this file's check clean;
    // any other failure is the compiler's own.
    const bool ran = ending.exitCode == 0 ||
                     (ending.exitCode == kCompileErrors && output.find(".java:") != std::string::npos);
    if (!ran) {
        std::string problem = "Check on save: " + compiler_ + " ended with exit code " +
                              std::to_string(ending.exitCode);
        if (const std::string first = FirstLine(output); !first.empty())
            problem += ": " + first;
        return problem;
    }
    marks_.Apply(model_, DiagnosticsForFile(output, file_));
    return {};
}

void SaveCheck::Cancel()
{
    process_.Cancel();
    RemoveClassFolder();
}

void SaveCheck::ClearMarks()
{
    marks_.Clear(model_);
}

void SaveCheck::RemoveClassFolder()
{
    if (classFolder_.empty())
        return;
    std::error_code error;
    std::filesystem::remove_all(classFolder_, error);
    classFolder_.clear();
}
