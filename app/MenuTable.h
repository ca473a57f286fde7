#pragma once

#include <QList>
#include <QString>

// The entries of the menu bar: one layout while no document is open, another
// while one is. Entries are command ids; the constants below stand for a
// separator, the recent files and the View menu's Toolbars submenu.
namespace menus {

inline constexpr int kSeparator = 0;
inline constexpr int kRecentFiles = -1;
inline constexpr int kToolbarsSubmenu = -2;

struct Menu {
    QString title;
    QList<int> entries;
};

QList<Menu> MenuBarLayout(bool documentOpen);
// The entries of the View menu's "Toolbars" submenu.
QList<int> ToolbarsSubmenu();

}  // namespace menus
