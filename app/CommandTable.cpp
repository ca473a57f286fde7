#include "app/CommandTable.h"

#include "resources/CommandIds.h"

#include <QHash>

namespace {

QHash<int, CommandInfo> BuildTable()
{
    using K = QKeySequence;
    const QList<CommandInfo> entries = {
        {cmd::kFileNew, "&New\tCtrl+N", "Create a new document\nNew", {K(Qt::CTRL | Qt::Key_N)}},
        {cmd::kFileOpen, "&Open...\tCtrl+O", "Open an existing document\nOpen", {K(Qt::CTRL | Qt::Key_O)}},
        {cmd::kFileClose, "&Close", "Close the active document\nClose", {}},
        {cmd::kFileSave, "&Save\tCtrl+S", "Save the active document\nSave", {K(Qt::CTRL | Qt::Key_S)}},
        {cmd::kFileSaveAs, "Save &As...", "Save the active document with a new name\nSave As", {}},
        {cmd::kFileExportHtml, "Export as &HTML", "Save the current document as an HTML page\nExport as HTML", {}},
        {cmd::kFileSaveAll, "Save A&ll", "Save all open documents\nSave All", {}},
        {cmd::kFilePrint, "&Print...\tCtrl+P", "Print the active document\nPrint", {K(Qt::CTRL | Qt::Key_P)}},
        {cmd::kFilePrintPreview, "Print Pre&view", "Display full pages\nPrint Preview", {}},
        {cmd::kFilePrintSetup, "P&rint Setup...", "Change the printer and printing options\nPrint Setup", {}},
        {cmd::kAppExit, "E&xit", "Quit the application; prompts to save documents\nExit", {}},
        {cmd::kEditUndo, "&Undo\tCtrl+Z", "Undo the last action\nUndo",
         {K(Qt::CTRL | Qt::Key_Z), K(Qt::ALT | Qt::Key_Backspace)}},
        {cmd::kEditRedo, "&Redo\tCtrl+Y", "Redo the previously undone action\nRedo",
         {K(Qt::CTRL | Qt::Key_Y), K(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
          K(Qt::ALT | Qt::SHIFT | Qt::Key_Backspace)}},
        {cmd::kEditCut, "Cu&t\tCtrl+X", "Cut the selection and put it on the Clipboard\nCut",
         {K(Qt::CTRL | Qt::Key_X), K(Qt::SHIFT | Qt::Key_Delete)}},
        {cmd::kEditCopy, "&Copy\tCtrl+C", "Copy the selection and put it on the Clipboard\nCopy",
         {K(Qt::CTRL | Qt::Key_C), K(Qt::CTRL | Qt::Key_Insert)}},
        {cmd::kEditPaste, "&Paste\tCtrl+V", "Insert Clipboard contents\nPaste",
         {K(Qt::CTRL | Qt::Key_V), K(Qt::SHIFT | Qt::Key_Insert)}},
        {cmd::kEditCopyAsHtml, "Copy as &HTML\tF12", "Copy the current selection as HTML tags\nCopy as HTML",
         {K(Qt::Key_F12)}},
        {cmd::kEditSelectAll, "Select &All\tCtrl+A", "Select the entire document\nSelect All",
         {K(Qt::CTRL | Qt::Key_A)}},
        {cmd::kEditFind, "&Find\t Ctrl+F", "Find the specified text\nFind", {K(Qt::CTRL | Qt::Key_F)}},
        {cmd::kEditReplace, "R&eplace\tCtrl+H", "Replace specific text with different text\nReplace",
         {K(Qt::CTRL | Qt::Key_H)}},
        {cmd::kEditFindInFiles, "Find in F&iles...\tCtrl+Shift+F",
         "Search for text in the files of a folder and its subfolders\nFind in Files",
         {K(Qt::CTRL | Qt::SHIFT | Qt::Key_F)}},
        {cmd::kEditNextResult, "Ne&xt Result\tF4",
         "Go to the next compiler message or Find in Files match, of whichever list was filled last\nNext Result",
         {K(Qt::Key_F4)}},
        {cmd::kEditPrevResult, "Pre&vious Result\tShift+F4",
         "Go to the previous compiler message or Find in Files match, of whichever list was filled last\nPrevious Result",
         {K(Qt::SHIFT | Qt::Key_F4)}},
        {cmd::kEditGotoLine, "&Goto Line...\tCtrl+G", "Navigate to a specific line in this file\nGo to Line",
         {K(Qt::CTRL | Qt::Key_G)}},
        {cmd::kEditMatchBrace, "Go to &Matching Brace\tCtrl+]",
         "Move the caret to the bracket that matches the one beside it\nGo to Matching Brace",
         {K(Qt::CTRL | Qt::Key_BracketRight)}},
        {cmd::kEditCompleteWord, "Complete &Word\tCtrl+Space",
         "List the words, keywords and classes that start with the word before the caret\nComplete Word",
         {K(Qt::CTRL | Qt::Key_Space)}},
        {cmd::kBuildCompile, "&Compile\tF7", "Compile (F7)\nCompile", {K(Qt::Key_F7)}},
        {cmd::kBuildAll, "&Build All\tCtrl+Shift+F7",
         "Compile every Java file of the program: all files under the source folder, with its subfolders (Ctrl+Shift+F7)\nBuild All",
         {K(Qt::CTRL | Qt::SHIFT | Qt::Key_F7)}},
        {cmd::kBuildExecute, "&Execute\tShift+F5", "Execute (Shift+F5)\nExecute", {K(Qt::SHIFT | Qt::Key_F5)}},
        {cmd::kBuildDebug, "&Debug\tF5", "Debug the applet or application (F5)\nDebug", {K(Qt::Key_F5)}},
        // Ctrl+Break arrives as Ctrl+Pause.
        {cmd::kBuildStop, "&Stop Build\tCtrl+Break", "Stop the running compile (Ctrl+Break)\nStop Build",
         {K(Qt::CTRL | Qt::Key_Pause)}},
        {cmd::kViewStatusBar, "&Status Bar", "Show or hide the status bar\nToggle Status Bar", {}},
        {cmd::kViewOutputWindow, "&Compiler Output Window", "Show or hide the compiler output window\nCompiler Output Window", {}},
        {cmd::kViewConsole, "Co&nsole", "Show or hide the console of programs run from the editor\nConsole", {}},
        {cmd::kViewWorkbookMode, "&Workbook Mode", "View windows with tabbed workbook style\nWorkbook Mode", {}},
        {cmd::kViewReopenLastFiles, "R&eopen Last Files at Start",
         "Open the files of the last session when Quillet starts without files\nReopen Last Files", {}},
        {cmd::kViewLineNumbers, "&Line Numbers", "Toggles line number display\nLine Numbers", {}},
        {cmd::kWindowNew, "&New Window", "Open another window for the active document\nNew Window", {}},
        {cmd::kWindowCascade, "&Cascade", "Arrange windows so they overlap\nCascade", {}},
        {cmd::kWindowTile, "&Tile", "Arrange windows as non-overlapping tiles\nTile", {}},
        {cmd::kWindowNext, "Ne&xt Window\tCtrl+F6", "Activate the next window in tab order\nNext Window",
         {K(Qt::CTRL | Qt::Key_F6), K(Qt::CTRL | Qt::Key_PageDown)}},
        {cmd::kWindowPrevious, "Pre&vious Window\tCtrl+Shift+F6",
         "Activate the previous window in tab order\nPrevious Window",
         {K(Qt::CTRL | Qt::SHIFT | Qt::Key_F6), K(Qt::CTRL | Qt::Key_PageUp)}},
        {cmd::kWindowMore, "&More Windows...", "Choose a window from the list of all open windows\nMore Windows", {}},
        {cmd::kViewLargeButtons, "Lar&ge Toolbar Buttons", "Show toolbars with double-sized buttons\nLarge Toolbar Buttons", {}},
        {cmd::kViewFullScreen, "&Full Screen", "Expand application window to Fullscreen mode\nFull Screen", {}},
        {cmd::kViewToolbarFile, "&File", "Show/Hide the File toolbar\nFile Toolbar", {}},
        {cmd::kViewToolbarEdit, "&Edit", "Show/Hide the Edit toolbar\nEdit Toolbar", {}},
        {cmd::kViewToolbarTools, "&Tools", "Show/Hide the Tools toolbar\nTools Toolbar", {}},
        {cmd::kViewCustomizeToolbars, "&Customize Toolbars", "Customize toolbars via a dialog\nCustomize", {}},
        {cmd::kViewRefreshClasses, "&Refresh Class Display", "Refresh the current class view window\nRefresh Class Display", {}},
        {cmd::kViewFindResults, "Find Res&ults\tCtrl+Shift+R", "Move the keyboard focus to the Find Results list\nFind Results",
         {K(Qt::CTRL | Qt::SHIFT | Qt::Key_R)}},
        {cmd::kToolsSyntaxSettings, "&Syntax Settings", "Invoke Language Configuration Dialog\nSyntax Settings", {}},
        {cmd::kToolsSettings, "&Tools Settings", "Set paths to compiler and Java binaries\nTools Settings", {}},
        {cmd::kToolsAppletHtml, "Create &HTML file for Applet", "Generate a simple HTML file for launching applet\nApplet HTML File", {}},
        {cmd::kInsertClass, "New &Class...", "Insert new class declaration\nNew Class", {}},
        {cmd::kInsertInterface, "New &Interface...", "Add a new interface definition\nNew Interface", {}},
        {cmd::kInsertMethod, "Add &Method...", "Adds a method to the selected class\nAdd Method", {}},
        {cmd::kInsertMemberVariable, "Add Member &Variable...", "Add a member variable to selected class\nAdd Member Variable", {}},
        {cmd::kInsertTryCatch, "Try/Catch Block", "", {}},
        // F9 is the edit view's key too; here it also reaches a window
        // whose focus is in the class tree.
        {cmd::kToggleBreakpoint, "&Toggle Breakpoint\tF9", "Toggle Breakpoint (F9)\nToggle Breakpoint",
         {K(Qt::Key_F9)}},
        {cmd::kClearBreakpoints, "Clear &All Breakpoints", "Remove all marked breakpoints\nClear All Breakpoints", {}},
        {cmd::kNextError, "&Next Error", "Goto the next marked error line\nNext Error", {}},
        {cmd::kPrevError, "&Previous Error", "Go to the previous marked error line\nPrevious Error", {}},
        {cmd::kClearErrors, "Clear All E&rrors", "Clears all marked compiler error lines\nClear All Errors", {}},
        {cmd::kAppAbout, "&About Quillet...", "Display program information, version number and copyright\nAbout", {}},
        {cmd::kHelpContents, "&Contents", "Help Contents\nHelp Contents", {}},
        {cmd::kHelpCustom, "Custom &Online Help", "Custom Help File\nCustom Online Help", {}},
        {cmd::kNextPane, "", "Switch to the next window pane\nNext Pane", {K(Qt::Key_F6)}},
        {cmd::kPrevPane, "", "Switch back to the previous window pane\nPrevious Pane", {K(Qt::SHIFT | Qt::Key_F6)}},
    };
    QHash<int, CommandInfo> table;
    for (const CommandInfo& entry : entries)
        table.insert(entry.id, entry);
    return table;
}

}  // namespace

const CommandInfo& CommandInfoFor(int id)
{
    static const QHash<int, CommandInfo> table = BuildTable();
    static const CommandInfo unknown;
    auto it = table.constFind(id);
    if (it != table.constEnd())
        return *it;
    if (id >= cmd::kFileMruFirst && id <= cmd::kFileMruLast) {
        static const CommandInfo recent{cmd::kFileMruFirst, "Recent File", "Open this document", {}};
        return recent;
    }
    if (id >= cmd::kWindowFirstChild && id <= cmd::kWindowLastChild) {
        static const CommandInfo window{cmd::kWindowFirstChild, "Window", "Activate this window", {}};
        return window;
    }
    return unknown;
}
