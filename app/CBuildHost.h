#pragma once

#include "javatools/build/IBuildHost.h"

class CScrivoApp;
class CScrivoDoc;

// The build commands' view of the editor for one edit window: its document,
// the application's settings, the main frame's output window and console,
// and the tool dialogs on the main frame.
class CBuildHost : public IBuildHost {
public:
    CBuildHost(CScrivoApp& app, CScrivoDoc& document);

    bool IsDocumentModified() const override;
    bool SaveDocument() override;
    std::string DocumentPath() const override;
    std::string DocumentTitle() const override;
    bool SaveModifiedDocumentsIn(const std::string& directory) override;
    bool SaveModifiedDocumentsUnder(const std::string& folder) override;

    quillet::platform::Profile& Settings() override;
    std::string& CompilerArgs() override;
    bool CompileAutoSave() const override;
    std::string RedirectorPath() const override;

    void ConfigureTools() override;
    void ShowOutput(const std::string& text, const std::string& baseDirectory) override;
    void StartCompile(CompileRequest request) override;
    bool IsCompiling() const override;
    IConsoleHost* Console() override;
    bool StartDetached(const std::vector<std::string>& argv, const std::string& workingDirectory,
                       std::string* error) override;
    std::shared_ptr<DebuggerRunFlag> DebuggerFlag() override;

    bool RunCompileDialog(CompileDialogData& data) override;
    bool RunViewerDialog(ViewerDialogData& data) override;
    DebuggerDialogResult RunDebuggerDialog(DebuggerDialogData& data) override;

private:
    CScrivoApp& app_;
    CScrivoDoc& document_;
};
