#include "app/CommandTable.h"

#include "resources/CommandIds.h"

#include <QHash>

namespace {

QHash<int, CommandInfo> BuildTable()
{
    using K = QKeySequence;
    const QList<CommandInfo> entries = {
        {cmd::kFileNew, "&New\tCtrl+N", "Create a new document", {K(Qt::CTRL | Qt::Key_N)}},
        {cmd::kFileOpen, "&Open...\tCtrl+O", "Open an existing document", {K(Qt::CTRL | Qt::Key_O)}},
        {cmd::kFileClose, "&Close", "Close the active document", {}},
        {cmd::kFileSave, "&Save\tCtrl+S", "Save the active document", {K(Qt::CTRL | Qt::Key_S)}},
        {cmd::kFileSaveAs, "Save &As...", "Save the active document with a new name", {}},
        {cmd::kFileExportHtml, "Export as &HTML", "Save the current document as an HTML page", {}},
        {cmd::kFileSaveAll, "Save All", "Save all open documents", {}},
        {cmd::kFilePrint, "&Print...\tCtrl+P", "Print the active document", {K(Qt::CTRL | Qt::Key_P)}},
        {cmd::kFilePrintPreview, "Print Pre&view", "Display full pages", {}},
        {cmd::kFilePrintSetup, "P&rint Setup...", "Change the printer and printing options", {}},
        {cmd::kAppExit, "E&xit", "Quit the application; prompts to save documents", {}},
        {cmd::kEditUndo, "&Undo\tCtrl+Z", "Undo the last action",
         {K(Qt::CTRL | Qt::Key_Z), K(Qt::ALT | Qt::Key_Backspace)}},
        {cmd::kEditRedo, "&Redo\tCtrl+Y", "Redo the previously undone action",
         {K(Qt::CTRL | Qt::Key_Y), K(Qt::CTRL | Qt::SHIFT | Qt::Key_Z),
          K(Qt::ALT | Qt::SHIFT | Qt::Key_Backspace)}},
        {cmd::kEditCut, "Cu&t\tCtrl+X", "Cut the selection and put it on the Clipboard",
         {K(Qt::CTRL | Qt::Key_X), K(Qt::SHIFT | Qt::Key_Delete)}},
        {cmd::kEditCopy, "&Copy\tCtrl+C", "Copy the selection and put it on the Clipboard",
         {K(Qt::CTRL | Qt::Key_C), K(Qt::CTRL | Qt::Key_Insert)}},
        {cmd::kEditPaste, "&Paste\tCtrl+V", "Insert Clipboard contents",
         {K(Qt::CTRL | Qt::Key_V), K(Qt::SHIFT | Qt::Key_Insert)}},
        {cmd::kEditCopyAsHtml, "Copy as &HTML\tF12", "Copy the current selection as HTML tags",
         {K(Qt::Key_F12)}},
        {cmd::kEditSelectAll, "Select &All\tCtrl+A", "Select the entire document",
         {K(Qt::CTRL | Qt::Key_A)}},
        {cmd::kEditFind, "&Find\t Ctrl+F", "Find the specified text", {K(Qt::CTRL | Qt::Key_F)}},
        {cmd::kEditReplace, "Replace\tCtrl+H", "Replace specific text with different text",
         {K(Qt::CTRL | Qt::Key_H)}},
        {cmd::kEditGotoLine, "&Goto Line...\tCtrl+G", "Navigate to a specific line in this file",
         {K(Qt::CTRL | Qt::Key_G)}},
        {cmd::kBuildCompile, "&Compile\tF7", "Compile (F7)", {K(Qt::Key_F7)}},
        {cmd::kBuildExecute, "&Execute\tShift+F5", "Execute (Shift+F5)", {K(Qt::SHIFT | Qt::Key_F5)}},
        {cmd::kBuildDebug, "&Debug\tF5", "Debug the applet or application (F5)", {K(Qt::Key_F5)}},
        {cmd::kViewStatusBar, "&Status Bar", "Show or hide the status bar", {}},
        {cmd::kViewOutputWindow, "&Compiler Output Window", "Show or hide the compiler output window", {}},
        {cmd::kViewConsole, "C&onsole", "Show or hide the console of programs run from the editor", {}},
        {cmd::kViewWorkbookMode, "&Workbook Mode", "View windows with tabbed workbook style", {}},
        {cmd::kViewLineNumbers, "&Line Numbers", "Toggles line number display", {}},
        {cmd::kViewRefreshClasses, "&Refresh Class Display", "Refresh the current class view window", {}},
        {cmd::kToolsAppletHtml, "Create &HTML file for Applet", "Generate a simple HTML file for launching applet", {}},
        {cmd::kInsertClass, "New &Class", "Insert new class declaration", {}},
        {cmd::kInsertInterface, "New &Interface", "Add a new interface definition", {}},
        {cmd::kInsertMethod, "Add &Method", "Adds a method to the selected class", {}},
        {cmd::kInsertMemberVariable, "Add &Variable", "Add a member variable to selected class", {}},
        {cmd::kInsertTryCatch, "Try/Catch Block", "", {}},
        {cmd::kWindowNew, "&New Window", "Open another window for the active document", {}},
        {cmd::kWindowCascade, "&Cascade", "Arrange windows so they overlap", {}},
        {cmd::kWindowTile, "&Tile", "Arrange windows as non-overlapping tiles", {}},
        {cmd::kNextPane, "", "Switch to the next window pane", {K(Qt::Key_F6)}},
        {cmd::kPrevPane, "", "Switch back to the previous window pane", {K(Qt::SHIFT | Qt::Key_F6)}},
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
    return unknown;
}
