#pragma once

// The sections and value names of the user's settings store, each written
// once and used by both the readers and the writers.
namespace settings {

inline constexpr const char* kJavaFiles = "Java Files";
inline constexpr const char* kAssociate = "Associate";
inline constexpr int kAssociateNeverAsked = 3;
inline constexpr int kAssociateYes = 1;
inline constexpr int kAssociateNo = 0;

inline constexpr const char* kTools = "Tools";
inline constexpr const char* kCompilerArgs = "CompilerArgs";
inline constexpr const char* kCompileAutoSave = "CompileAutoSave";
// Java files are checked with the compiler when saved (once one is set).
inline constexpr const char* kCheckOnSave = "CheckOnSave";
inline constexpr const char* kAppViewer = "App Viewer";
inline constexpr const char* kAppletViewer = "Applet Viewer";
inline constexpr const char* kJavaCompiler = "Java Compiler";
inline constexpr const char* kJavaDebugger = "Java Debugger";
// The JUnit console launcher (a standalone jar) that runs the tests.
inline constexpr const char* kJUnit = "JUnit";
inline constexpr const char* kCustomOnlineHelp = "CustomOnlineHelp";
inline constexpr const char* kCompilerUseOutputWnd = "CompilerUseOutputWnd";
inline constexpr const char* kAppletKeepDos = "AppletKeepDos";
// The stored marker for a tool path that was never configured.
inline constexpr const char* kNoToolPath = "<NONE>";

inline constexpr const char* kSettings = "Settings";
inline constexpr const char* kWorkbookMode = "WorkbookMode";
inline constexpr const char* kLargeButtons = "LargeButtons";
inline constexpr const char* kInitialShowOutput = "InitialShowOutput";
inline constexpr const char* kPreviewPages = "PreviewPages";
inline constexpr const char* kLineNumbers = "LineNumbers";
inline constexpr const char* kPrintInColour = "PrintInColour";

inline constexpr const char* kRecentFileList = "Recent File List";
inline constexpr const char* kRecentFileFormat = "File%d";

// The documents open at the last exit, reopened at the next plain start.
inline constexpr const char* kSession = "Session";
inline constexpr const char* kSessionReopen = "ReopenAtStart";
inline constexpr const char* kSessionCount = "Count";
inline constexpr const char* kSessionActive = "Active";
inline constexpr const char* kSessionFileFormat = "File%d";
inline constexpr const char* kSessionLineFormat = "Line%d";
inline constexpr const char* kSessionColumnFormat = "Column%d";
inline constexpr const char* kSessionTopLineFormat = "TopLine%d";
inline constexpr const char* kSessionBreakpointsFormat = "Breakpoints%d";

inline constexpr const char* kToolbars = "Toolbars";
inline constexpr const char* kHtmlOverrides = "HTML";

}  // namespace settings
