#include "app/CBuildHost.h"

#include "app/CCompileJob.h"
#include "app/CMainFrame.h"
#include "app/CScrivoApp.h"
#include "app/CScrivoDoc.h"
#include "javatools/build/JavaSourceFiles.h"
#include "javatools/output/OutputControlBar.h"
#include "javatools/tooldialogs/CCompileDialog.h"
#include "javatools/tooldialogs/CDebuggerDialog.h"
#include "javatools/tooldialogs/CJViewDialog.h"
#include "resources/CommandIds.h"

#include <QProcess>

CBuildHost::CBuildHost(CScrivoApp& app, CScrivoDoc& document) : app_(app), document_(document) {}

bool CBuildHost::IsDocumentModified() const
{
    return document_.IsModified();
}

bool CBuildHost::SaveDocument()
{
    return document_.DoFileSave();
}

std::string CBuildHost::DocumentPath() const
{
    return document_.PathName();
}

std::string CBuildHost::DocumentTitle() const
{
    return document_.Title();
}

bool CBuildHost::SaveModifiedDocumentsIn(const std::string& directory)
{
    bool all = true;
    for (const auto& document : app_.Documents()) {
        if (document->IsModified() && !document->PathName().empty() &&
            DirectoryOf(document->PathName()) == directory)
            all = document->DoFileSave() && all;
    }
    return all;
}

bool CBuildHost::SaveModifiedDocumentsUnder(const std::string& folder)
{
    std::string prefix = folder;
    if (!prefix.empty() && prefix.back() != '/')
        prefix += '/';
    bool all = true;
    for (const auto& document : app_.Documents()) {
        if (document->IsModified() && !document->PathName().empty() &&
            document->PathName().starts_with(prefix))
            all = document->DoFileSave() && all;
    }
    return all;
}

quillet::platform::Profile& CBuildHost::Settings()
{
    return app_.Profile();
}

std::string& CBuildHost::CompilerArgs()
{
    return app_.Settings().compilerArgs;
}

bool CBuildHost::CompileAutoSave() const
{
    return app_.Settings().compileAutoSave != 0;
}

std::string CBuildHost::RedirectorPath() const
{
    return app_.Settings().outputToolPath;
}

void CBuildHost::ConfigureTools()
{
    app_.MainFrame()->RouteCommand(cmd::kToolsSettings);
}

void CBuildHost::ShowOutput(const std::string& text, const std::string& baseDirectory)
{
    app_.MainFrame()->OutputBar()->ShowOutput(text, baseDirectory);
}

void CBuildHost::StartCompile(CompileRequest request)
{
    app_.MainFrame()->CompileJob().Start(std::move(request));
}

bool CBuildHost::IsCompiling() const
{
    return app_.MainFrame()->CompileJob().IsRunning();
}

IConsoleHost* CBuildHost::Console()
{
    return &app_.MainFrame()->ConsoleHost();
}

bool CBuildHost::StartDetached(const std::vector<std::string>& argv,
                               const std::string& workingDirectory, std::string* error)
{
    QProcess process;
    process.setProgram(QString::fromStdString(argv.front()));
    QStringList arguments;
    for (std::size_t i = 1; i < argv.size(); ++i)
        arguments << QString::fromStdString(argv[i]);
    process.setArguments(arguments);
    process.setWorkingDirectory(QString::fromStdString(workingDirectory));
    if (process.startDetached())
        return true;
    if (error)
        *error = process.errorString().toStdString();
    return false;
}

std::shared_ptr<DebuggerRunFlag> CBuildHost::DebuggerFlag()
{
    return app_.DebuggerFlag();
}

bool CBuildHost::RunCompileDialog(CompileDialogData& data)
{
    CCompileDialog dialog(data, app_.MainFrame());
    return dialog.exec() == QDialog::Accepted;
}

bool CBuildHost::RunViewerDialog(ViewerDialogData& data)
{
    CJViewDialog dialog(data, app_.MainFrame());
    return dialog.exec() == QDialog::Accepted;
}

DebuggerDialogResult CBuildHost::RunDebuggerDialog(DebuggerDialogData& data)
{
    CDebuggerDialog dialog(data, app_.MainFrame());
    dialog.exec();
    return dialog.Outcome();
}
