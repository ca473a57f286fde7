#pragma once

#include <QList>
#include <QString>

// The entries of the menu bar: one layout while no document is open, another
// while one is. Entries are command ids; the constants below stand for a
// separator, the recent files, the View menu's Toolbars submenu and the
// numbered list of open windows.
namespace menus {

inline constexpr int kSeparator = 0;
inline constexpr int kRecentFiles = -1;
inline constexpr int kToolbarsSubmenu = -2;
// The open windows, numbered, at the end of the Window menu.
inline constexpr int kWindowList = -3;

struct Menu {
    QString title;
    QList<int> entries;
};

QList<Menu> MenuBarLayout(bool documentOpen);
// The entries of the View menu's "Toolbars" submenu.
QList<int> ToolbarsSubmenu();

}  // namespace menus
