#pragma once

// Every command of the editor, named once. Menus, toolbars, accelerator
// tables and handlers refer to these names.
namespace cmd {

// File
inline constexpr int kFileNew = 57600;
inline constexpr int kFileOpen = 57601;
inline constexpr int kFileClose = 57602;
inline constexpr int kFileSave = 57603;
inline constexpr int kFileSaveAs = 57604;
inline constexpr int kFilePrintSetup = 57606;
inline constexpr int kFilePrint = 57607;
inline constexpr int kFilePrintPreview = 57609;
inline constexpr int kFileMruFirst = 57616;  // the recent files follow in order
inline constexpr int kFileMruLast = kFileMruFirst + 11;
inline constexpr int kFileSaveAll = 32804;
inline constexpr int kFileExportHtml = 32818;
inline constexpr int kAppExit = 57665;

// Status bar indicators, updated like commands
inline constexpr int kIndicatorOvr = 59140;

// Edit
inline constexpr int kEditCopy = 57634;
inline constexpr int kEditCut = 57635;
inline constexpr int kEditFind = 57636;
inline constexpr int kEditPaste = 57637;
inline constexpr int kEditReplace = 57641;
inline constexpr int kEditSelectAll = 57642;
inline constexpr int kEditUndo = 57643;
inline constexpr int kEditRedo = 57644;
inline constexpr int kEditCopyAsHtml = 32817;
inline constexpr int kEditGotoLine = 32816;
inline constexpr int kEditFindInFiles = 32870;
inline constexpr int kEditMatchBrace = 32872;
inline constexpr int kEditCompleteWord = 32873;
// Steps through the list filled last: the output window's compiler
// messages or the Find Results.
inline constexpr int kEditNextResult = 32890;
inline constexpr int kEditPrevResult = 32891;

// View
inline constexpr int kViewStatusBar = 59393;
inline constexpr int kViewOutputWindow = 32792;
inline constexpr int kViewWorkbookMode = 32812;
inline constexpr int kViewLargeButtons = 32796;
inline constexpr int kViewFullScreen = 32811;
inline constexpr int kViewLineNumbers = 32780;
inline constexpr int kViewRefreshClasses = 32775;
inline constexpr int kViewToolbarFile = 32808;
inline constexpr int kViewToolbarEdit = 32809;
inline constexpr int kViewToolbarTools = 32810;
inline constexpr int kViewCustomizeToolbars = 32814;
// The in-editor console's bar (Linux only).
inline constexpr int kViewConsole = 32840;
// Whether a plain start opens the files of the last session.
inline constexpr int kViewReopenLastFiles = 32871;
// Puts the focus in the Find Results list.
inline constexpr int kViewFindResults = 32892;

// Output window
inline constexpr int kOutputClear = 32813;

// Window
inline constexpr int kWindowNew = 57648;
inline constexpr int kWindowCascade = 57650;
inline constexpr int kWindowTile = 57651;
inline constexpr int kNextPane = 57680;
inline constexpr int kPrevPane = 57681;
// The document windows in tab order (Ctrl+F6 and Ctrl+PageDown, Ctrl+Shift+F6
// and Ctrl+PageUp).
inline constexpr int kWindowNext = 57654;
inline constexpr int kWindowPrevious = 57655;
// The Window menu's numbered list of the first nine windows, then "More
// Windows..." for all of them.
inline constexpr int kWindowFirstChild = 65280;
inline constexpr int kWindowLastChild = kWindowFirstChild + 8;
inline constexpr int kWindowMore = 65289;

// Build and tools
inline constexpr int kBuildCompile = 32772;
inline constexpr int kBuildExecute = 32773;
inline constexpr int kBuildDebug = 32815;
// Ends the compile that runs through the output window.
inline constexpr int kBuildStop = 32850;
// Compiles every Java file under the current file's source root.
inline constexpr int kBuildAll = 32851;
inline constexpr int kToolsSettings = 32774;
inline constexpr int kToolsSyntaxSettings = 45022;
inline constexpr int kToolsAppletHtml = 32807;
inline constexpr int kInsertTryCatch = 32776;
inline constexpr int kInsertMemberVariable = 32777;
inline constexpr int kInsertMethod = 32778;
inline constexpr int kInsertClass = 32779;
inline constexpr int kInsertInterface = 32781;

// Markers: four ranges of 33 ids, one id per mark bit 0..31 (the 33rd of
// each range names no bit): toggle, next, previous and clear all.
inline constexpr int kMarkerToggleFirst = 45250;
inline constexpr int kMarkerNextFirst = 45283;
inline constexpr int kMarkerPreviousFirst = 45316;
inline constexpr int kMarkerClearFirst = 45349;
inline constexpr int kMarkerRangeSize = 33;
inline constexpr int kMarkerLast = kMarkerClearFirst + kMarkerRangeSize - 1;
inline constexpr int kToggleBreakpoint = 45266;
inline constexpr int kClearBreakpoints = 45365;
inline constexpr int kNextError = 45284;
inline constexpr int kPrevError = 45317;
inline constexpr int kClearErrors = 45350;
inline constexpr int kToggleBookmark = 45267;
inline constexpr int kNextBookmark = 45300;
inline constexpr int kPrevBookmark = 45333;
inline constexpr int kClearBookmarks = 45366;

// Edit view keys (the edit controller's accelerator table)
inline constexpr int kSelectWord = 45003;
inline constexpr int kSelectToBrace = 45064;  // Ctrl+Shift+]
inline constexpr int kDeleteWordLeft = 45004;
inline constexpr int kSelectWordLeft = 45006;
inline constexpr int kWordLeft = 45007;
inline constexpr int kWordRight = 45008;
inline constexpr int kTab = 45009;
inline constexpr int kBackspace = 45010;
inline constexpr int kReturn = 45011;
inline constexpr int kDeleteWordRight = 45012;
inline constexpr int kDelete = 45013;
inline constexpr int kSelectWordRight = 45014;
inline constexpr int kSelectToTextEnd = 45015;
inline constexpr int kSelectToTextStart = 45016;
inline constexpr int kTextEnd = 45017;
inline constexpr int kTextStart = 45018;
inline constexpr int kToggleOverwrite = 45023;
inline constexpr int kLineUp = 45024;
inline constexpr int kLineDown = 45025;
inline constexpr int kCharLeft = 45026;
inline constexpr int kCharRight = 45027;
inline constexpr int kSelectLineUp = 45028;
inline constexpr int kSelectLineDown = 45029;
inline constexpr int kSelectCharLeft = 45030;
inline constexpr int kSelectCharRight = 45031;
inline constexpr int kPageUp = 45032;
inline constexpr int kPageDown = 45033;
inline constexpr int kSelectPageUp = 45034;
inline constexpr int kSelectPageDown = 45035;
inline constexpr int kLineStart = 45036;
inline constexpr int kLineEnd = 45037;
inline constexpr int kSelectToLineStart = 45038;
inline constexpr int kToggleWhitespace = 45039;
inline constexpr int kSelectToLineEnd = 45040;
inline constexpr int kFindNext = 45041;
inline constexpr int kFindNextWord = 45042;
inline constexpr int kFindPrevious = 45043;
inline constexpr int kFindPreviousWord = 45044;
inline constexpr int kCutLines = 45045;
inline constexpr int kDeleteLines = 45046;
inline constexpr int kLowerCase = 45047;
inline constexpr int kUpperCase = 45048;
inline constexpr int kBackTab = 45049;
inline constexpr int kLineLeft = 45050;  // posted when the caret leaves a line
inline constexpr int kCancelSelection = 45051;
inline constexpr int kScrollLineDown = 45052;
inline constexpr int kScrollLineUp = 45053;
// Column selection from the keyboard (Alt+Shift with the arrow keys)
inline constexpr int kSelectColumnLeft = 45060;
inline constexpr int kSelectColumnRight = 45061;
inline constexpr int kSelectColumnUp = 45062;
inline constexpr int kSelectColumnDown = 45063;

// Help
inline constexpr int kAppAbout = 57664;
inline constexpr int kHelpContents = 57670;
inline constexpr int kHelpCustom = 32790;

}  // namespace cmd
