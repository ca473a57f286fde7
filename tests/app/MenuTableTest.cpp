// The fixed menus as the menu bar shows them, with and without a document:
// within each menu no two entries share a mnemonic and every entry has one,
// and an entry whose command has a key shows one of its keys, the frame's or
// the edit view's.
#include "app/CMainFrame.h"
#include "app/CommandTable.h"
#include "app/MenuTable.h"
#include "app/RecentFileList.h"
#include "platform/core/MemoryProfile.h"
#include "view/VxEditKeyTable.h"

#include <QAction>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

#include <map>

namespace {

// The letter after the single '&' of a text ("&&" is a plain ampersand),
// or 0 when there is none.
QChar Mnemonic(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] != QLatin1Char('&'))
            return text[i + 1].toLower();
        ++i;
    }
    return QChar();
}

// The key a menu entry shows: the text after its tab, else its shortcut.
QKeySequence ShownKey(const QAction& action)
{
    const qsizetype tab = action.text().indexOf(QLatin1Char('\t'));
    if (tab >= 0)
        return QKeySequence::fromString(action.text().mid(tab + 1).trimmed(), QKeySequence::PortableText);
    return action.shortcut();
}

class MenuChecker {
public:
    MenuChecker(CMainFrame& frame, bool documentOpen)
    {
        for (const menus::Menu& menu : menus::MenuBarLayout(documentOpen)) {
            for (int id : menu.entries) {
                if (id > 0)
                    ids_[frame.Action(id)] = id;
            }
        }
        for (int id : menus::ToolbarsSubmenu()) {
            if (id > 0)
                ids_[frame.Action(id)] = id;
        }
        where_ = documentOpen ? "with a document: " : "without a document: ";
    }

    void Check(const QString& title, const QList<QAction*>& actions)
    {
        std::map<QChar, QString> taken;
        for (const QAction* action : actions) {
            if (action->isSeparator())
                continue;
            const QString text = action->menu() ? action->menu()->title() : action->text();
            const QChar mnemonic = Mnemonic(text);
            EXPECT_FALSE(mnemonic.isNull()) << where_ << title.toStdString() << " › " << text.toStdString()
                                            << " has no mnemonic";
            if (!mnemonic.isNull()) {
                const auto [it, added] = taken.emplace(mnemonic, text);
                EXPECT_TRUE(added) << where_ << title.toStdString() << ": " << text.toStdString() << " and "
                                   << it->second.toStdString() << " share the mnemonic "
                                   << QString(mnemonic).toStdString();
            }
            if (action->menu())
                Check(title + QStringLiteral(" › ") + action->menu()->title(), action->menu()->actions());
            else
                CheckKey(title, *action);
        }
    }

private:
    void CheckKey(const QString& title, const QAction& action)
    {
        const auto it = ids_.find(&action);
        if (it == ids_.end())
            return;  // a recent file or a window of the Window menu
        QList<QKeySequence> bound = CommandInfoFor(it->second).keys;
        for (QKeyCombination key : VxEditKeyTable::KeysFor(it->second))
            bound << QKeySequence(key);
        const QKeySequence shown = ShownKey(action);
        const std::string entry = where_ + title.toStdString() + " › " + action.text().toStdString();
        if (!bound.isEmpty())
            EXPECT_FALSE(shown.isEmpty()) << entry << " does not show its key "
                                          << bound.first().toString().toStdString();
        if (!shown.isEmpty())
            EXPECT_TRUE(bound.contains(shown)) << entry << " shows " << shown.toString().toStdString()
                                               << ", which is not bound to it";
    }

    std::map<const QAction*, int> ids_;
    std::string where_;
};

TEST(MenuTableTest, EveryMenuHasUniqueMnemonicsAndShowsTheKeyOfEachEntry)
{
    quillet::platform::MemoryProfile profile;
    RecentFileList recentFiles;
    CMainFrame frame(profile, recentFiles);
    for (bool documentOpen : {false, true}) {
        if (documentOpen) {
            frame.MdiArea()->addSubWindow(new QWidget);
            frame.RebuildMenus();
        }
        MenuChecker checker(frame, documentOpen);
        checker.Check(QStringLiteral("the menu bar"), frame.menuBar()->actions());
        EXPECT_EQ(frame.menuBar()->actions().size(), menus::MenuBarLayout(documentOpen).size());
    }
}

}  // namespace
