#pragma once

#include <string>

// The fields of the Compile, Debug and Invoke App/Applet Viewer dialogs.
// The build commands fill them before a dialog opens and read them back
// after OK; the windows only show and edit them.

struct CompileDialogData {
    std::string compilerPath;
    std::string targetFile;
    bool compileAll = false;
    // Where the compiler finds the other sources and classes of the
    // program (-sourcepath, -classpath); empty leaves the option out.
    std::string sourcePath;
    std::string classPath;
    std::string arguments;
    bool clearErrors = true;
};

struct DebuggerDialogData {
    std::string debuggerPath;
    std::string className;
    std::string classpath;
    bool autoBreakpoints = true;
    bool launchImmediately = false;
};

// How the Debug dialog closed: "&Debug Application", "Run as &Applet with
// Debug" (result 7) or "&Cancel".
enum class DebuggerDialogResult { Cancel = 0, DebugApplication = 1, RunAsApplet = 7 };

struct ViewerDialogData {
    std::string baseName;  // the offers of the file list are made from it
    std::string file;      // "Class or HTML file to view"
    bool runAsApplet = false;
    bool debugApplet = false;
    std::string workingDirectory;
    bool specifyClasspath = false;
    std::string classpath;
    std::string viewerArguments;
    std::string programArguments;
};
