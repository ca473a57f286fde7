#pragma once

#include "javatools/build/BuildDialogData.h"
#include "javatools/build/CompileRun.h"

#include <memory>
#include <string>
#include <vector>

class DebuggerRunFlag;
class IConsoleHost;

namespace quillet::platform {
class Profile;
}

// What the build, run and debug commands of one edit window need from the
// program around them: the window's document, the settings, the main
// frame's output window and console, the dialogs and the process starter.
// The application implements it on its windows; tests implement it plainly.
class IBuildHost {
public:
    virtual ~IBuildHost() = default;

    // The window's document.
    virtual bool IsDocumentModified() const = 0;
    // Saves as File Save does; false when it was not saved.
    virtual bool SaveDocument() = 0;
    // The full path on disk; empty while the document was never saved.
    virtual std::string DocumentPath() const = 0;
    virtual std::string DocumentTitle() const = 0;
    // Saves every modified open document whose file lies in the directory.
    virtual bool SaveModifiedDocumentsIn(const std::string& directory) = 0;
    // The same for every file under the folder, at any depth.
    virtual bool SaveModifiedDocumentsUnder(const std::string& folder) = 0;

    // Settings: the store ("Tools" values are read each time) and the
    // application's compiler arguments and auto-save flag.
    virtual quillet::platform::Profile& Settings() = 0;
    virtual std::string& CompilerArgs() = 0;
    virtual bool CompileAutoSave() const = 0;
    // The redirector beside the editor's program.
    virtual std::string RedirectorPath() const = 0;

    // The main frame's Tools Settings command; returns when its dialog has closed.
    virtual void ConfigureTools() = 0;
    // Shows the output window with this text; relative file names in it
    // are read against baseDirectory.
    virtual void ShowOutput(const std::string& text, const std::string& baseDirectory) = 0;
    // The compile through the output window: it runs while the editor goes
    // on, one at a time, and its log replaces the output window's text
    // when it ends.
    virtual void StartCompile(CompileRequest request) = 0;
    virtual bool IsCompiling() const = 0;
    // The console for runs that need a terminal; null while there is none,
    // and then the commands that need it are disabled.
    virtual IConsoleHost* Console() = 0;
    // Starts a program that the editor does not follow; false with *error.
    virtual bool StartDetached(const std::vector<std::string>& argv,
                               const std::string& workingDirectory, std::string* error) = 0;
    // The application's one flag for a running debugger.
    virtual std::shared_ptr<DebuggerRunFlag> DebuggerFlag() = 0;

    // The dialogs; the data is filled before and read back after OK.
    virtual bool RunCompileDialog(CompileDialogData& data) = 0;
    virtual bool RunViewerDialog(ViewerDialogData& data) = 0;
    virtual DebuggerDialogResult RunDebuggerDialog(DebuggerDialogData& data) = 0;
};
