#pragma once

#include "javatools/build/BuildDialogData.h"
#include "controller/IBuildCommands.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class IBuildHost;
class VxEdit;

// The Build commands of one edit window: Compile (F7), Execute (Shift+F5)
// and Debug (F5) on the window's file, with the dialog values this window
// remembers from one run to the next. The edit window's controller hands
// these three commands to it.
class CScrivoBuild : public IBuildCommands {
public:
    static constexpr const char* kNotSavedCompile = "File has not yet been saved to disk.\r\nCannot compile.";
    static constexpr const char* kNotSavedRun = "File has not yet been saved to disk.\r\nCannot run.";
    static constexpr const char* kNoCompilerQuestion =
        "You have not defined a compiler path. Would you like to configure one now?";
    static constexpr const char* kNoCompiler = "No Java compiler defined.\nSelect Tools | Options to configure.";
    static constexpr const char* kNoAppletViewerQuestion =
        "You have not defined an Applet Viewer. Would you like to configure one now?";
    static constexpr const char* kNoAppViewerQuestion =
        "You have not defined an Application Viewer. Would you like to configure one now?";
    static constexpr const char* kDebuggerTitle = "Quillet - Debugging";

    CScrivoBuild(VxEdit& model, std::unique_ptr<IBuildHost> host);
    ~CScrivoBuild() override;

    bool OnCommand(int id) override;
    bool OnUpdateCommand(int id, tarrow::foundation::CommandState& state) override;

    void Compile();
    // Every Java file under the source root, without a dialog, with
    // Compile's arguments and paths.
    void BuildAll();
    void Execute();
    void Debug();

private:
    struct Remembered {
        bool clearErrors = true;
        std::string proposedRoot;
        std::string sourcePath;
        std::string classPath;
        ViewerDialogData viewer;
        bool autoBreakpoints = true;
        bool launchImmediately = false;
    };

    // The Java class of the document: its package's root and qualified name.
    struct ClassOfDocument {
        std::string sourceRoot;
        std::string className;
    };
    ClassOfDocument DocumentClass(const std::string& simpleName) const;

    void CompileThroughOutputWindow(const std::string& compiler, const std::vector<std::string>& argv,
                                    const std::string& shownTarget, const std::string& directory,
                                    const std::string& workingDirectory);
    void StartDebugger(const DebuggerDialogData& data);
    std::vector<int> BreakpointLines() const;
    // Runs the program in a console tab; a start that fails is reported.
    int RunInConsole(const std::string& title, const std::vector<std::string>& argv,
                     const std::string& workingDirectory, std::function<void(int)> finished = {});
    // Asks the question about an unconfigured tool; Yes opens Tools Settings.
    bool OfferToolSettings(const char* question);
    // Splits an argument text, reporting an unclosed quote.
    bool Split(const std::string& text, std::vector<std::string>& args);
    bool JavaText() const;
    // What Compile proposes for this file's paths, or what the user last
    // changed them to while the proposal stayed the same.
    void RememberProposedPaths(const std::string& path);

    VxEdit& model_;
    std::unique_ptr<IBuildHost> host_;
    Remembered remembered_;
};
