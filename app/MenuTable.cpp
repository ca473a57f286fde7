#include "app/MenuTable.h"

#include "resources/CommandIds.h"

#include <QCoreApplication>

namespace menus {

QList<Menu> MenuBarLayout(bool documentOpen)
{
    using namespace cmd;
    const auto tr = [](const char* text) { return QCoreApplication::translate("Menus", text); };
    const QList<int> windowMenu = {kWindowNew, kWindowCascade, kWindowTile, kSeparator, kWindowNext,
                                   kWindowPrevious, kWindowList};
    const QList<int> helpMenu = {kHelpContents, kHelpCustom, kSeparator, kAppAbout};
    if (!documentOpen) {
        return {
            {tr("&File"), {kFileNew, kFileOpen, kSeparator, kFilePrintSetup, kSeparator, kRecentFiles,
                           kAppExit}},
            {tr("&View"), {kToolbarsSubmenu, kViewStatusBar, kViewOutputWindow, kViewConsole, kSeparator,
                           kViewWorkbookMode, kViewLargeButtons, kViewFullScreen}},
            {tr("&Tools"), {kToolsSettings, kViewCustomizeToolbars}},
            {tr("&Window"), windowMenu},
            {tr("&Help"), helpMenu},
        };
    }
    return {
        {tr("&File"), {kFileNew, kFileOpen, kFileClose, kSeparator, kFileSave, kFileSaveAs,
                       kFileExportHtml, kFileSaveAll, kSeparator, kFilePrint, kFilePrintPreview,
                       kFilePrintSetup, kSeparator, kRecentFiles, kAppExit}},
        {tr("&Edit"), {kEditUndo, kEditRedo, kSeparator, kEditCut, kEditCopy, kEditPaste,
                       kEditCopyAsHtml, kSeparator, kEditSelectAll, kSeparator, kEditFind,
                       kEditReplace, kEditFindInFiles, kEditNextResult, kEditPrevResult, kEditGotoLine,
                       kEditMatchBrace, kEditCompleteWord}},
        {tr("&Build"), {kBuildCompile, kBuildAll, kBuildStop, kBuildExecute, kBuildDebug, kSeparator,
                        kToggleBreakpoint, kClearBreakpoints, kSeparator, kNextError, kPrevError,
                        kClearErrors}},
        {tr("&View"), {kToolbarsSubmenu, kViewStatusBar, kViewOutputWindow, kViewConsole, kSeparator,
                       kViewWorkbookMode, kViewLargeButtons, kViewFullScreen, kSeparator,
                       kViewLineNumbers, kViewRefreshClasses, kViewFindResults, kSeparator,
                       kViewReopenLastFiles}},
        {tr("&Tools"), {kToolsSyntaxSettings, kToolsSettings, kViewCustomizeToolbars, kSeparator,
                        kToolsAppletHtml}},
        {tr("&Window"), windowMenu},
        {tr("&Help"), helpMenu},
    };
}

QList<int> ToolbarsSubmenu()
{
    using namespace cmd;
    return {kViewToolbarFile, kViewToolbarEdit, kViewToolbarTools, kSeparator,
            kViewCustomizeToolbars};
}

}  // namespace menus
