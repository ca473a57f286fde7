// What a screen reader can name: every field, list and check box of every
// window that a command of the fixed menus, toolbars and popups opens, and
// the main window's message pane, whose name is the message it shows.
#include "app/CChildFrame.h"
#include "app/CHelpCommands.h"
#include "app/CMainFrame.h"
#include "app/CMessagePane.h"
#include "app/CScrivoApp.h"
#include "app/CToolbarManager.h"
#include "app/MenuTable.h"
#include "javatools/classview/CClassView.h"
#include "language/VxEditLangConfigRegistry.h"
#include "platform/core/MemoryProfile.h"
#include "platform/core/MessageSeam.h"
#include "resources/CommandIds.h"
#include "tests/app/AppOptions.h"
#include "tests/support/TempDir.h"
#include "view/CScrivoView.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPageSetupDialog>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>

#include <gtest/gtest.h>

#include <set>

using quillet::test::TempDir;

namespace {

bool IsField(const QWidget* widget)
{
    return qobject_cast<const QLineEdit*>(widget) || qobject_cast<const QComboBox*>(widget) ||
           qobject_cast<const QAbstractSpinBox*>(widget) || qobject_cast<const QAbstractItemView*>(widget) ||
           qobject_cast<const QCheckBox*>(widget) || qobject_cast<const QTextEdit*>(widget) ||
           qobject_cast<const QPlainTextEdit*>(widget) || qobject_cast<const CScrivoView*>(widget);
}

// The parts of a drop-down list or a spin box belong to it.
bool IsPartOfAnother(const QWidget* widget, const QWidget* window)
{
    for (const QWidget* up = widget->parentWidget(); up && up != window; up = up->parentWidget()) {
        if (qobject_cast<const QComboBox*>(up) || qobject_cast<const QAbstractSpinBox*>(up))
            return true;
    }
    return false;
}

QString NameOf(QWidget* widget)
{
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
    return accessible ? accessible->text(QAccessible::Name).trimmed() : QString();
}

// A drop-down list's name is its value here: a reader names it by the label
// whose buddy it is, and one that can be typed in by the name of its edit
// field, which holds the focus.
bool Named(QWidget* widget)
{
    if (auto* combo = qobject_cast<QComboBox*>(widget)) {
        if (combo->isEditable())
            return !NameOf(combo->lineEdit()).isEmpty();
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(combo);
        for (const auto& relation : accessible->relations(QAccessible::Label)) {
            if (!relation.first->text(QAccessible::Name).trimmed().isEmpty())
                return true;
        }
        return false;
    }
    return !NameOf(widget).isEmpty();
}

class AccessibleNamesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        VxEditLangConfigRegistry::Instance().Reset();
        profile_.WriteInt("Java Files", "Associate", 0);
        source_ = dir_.File("Shapes.java");
        quillet::test::WriteFileBytes(source_, "public class Shapes {\n\tint count;\n\n\tvoid grow() {\n"
                                               "\t\tcount++;\n\t}\n}\n");
        app_ = std::make_unique<CScrivoApp>(profile_, AppOptionsIn(dir_));
        ASSERT_EQ(app_->Start({QString::fromStdString(source_)}), CScrivoApp::StartResult::Running);
        app_->Help().openUrl = [](const QUrl&) { return true; };
        QApplication::processEvents();
    }
    void TearDown() override
    {
        if (app_) {
            app_->MainFrame()->close();
            app_->Exit();
            app_.reset();
        }
        VxEditLangConfigRegistry::Instance().Reset();
    }

    // Every command that the menus, the toolbars and the popups offer.
    std::vector<int> Commands() const
    {
        std::set<int> ids;
        for (const menus::Menu& menu : menus::MenuBarLayout(true))
            ids.insert(menu.entries.begin(), menu.entries.end());
        for (int id : menus::ToolbarsSubmenu())
            ids.insert(id);
        for (const CToolbarManager::Bar& bar : app_->MainFrame()->Toolbars().Bars())
            ids.insert(bar.buttons.begin(), bar.buttons.end());
        for (int id : {cmd::kInsertMethod, cmd::kInsertMemberVariable, cmd::kInsertClass, cmd::kInsertInterface,
                       cmd::kViewRefreshClasses, cmd::kInsertTryCatch})
            ids.insert(id);
        // Those that end the session or change the windows open no dialog.
        for (int id : {cmd::kAppExit, cmd::kFileClose, cmd::kFileNew, cmd::kWindowNew, cmd::kViewFullScreen,
                       cmd::kViewWorkbookMode})
            ids.erase(id);
        return {ids.upper_bound(0), ids.end()};
    }

    // Looks at each window the command opens, then closes it.
    void Sweep(int id)
    {
        std::set<QWidget*> before;
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (window->isVisible())
                before.insert(window);
        }
        const auto visit = [this, &before] {
            for (QWidget* window : QApplication::topLevelWidgets()) {
                if (!window->isVisible() || before.count(window) || qobject_cast<QMenu*>(window))
                    continue;
                // The print and page set-up dialogs are Qt's own.
                if (!qobject_cast<QPrintDialog*>(window) && !qobject_cast<QPageSetupDialog*>(window))
                    Look(window);
                if (auto* dialog = qobject_cast<QDialog*>(window))
                    dialog->reject();
                else
                    window->close();
            }
        };
        QTimer watcher;
        QObject::connect(&watcher, &QTimer::timeout, visit);
        watcher.start(20);
        app_->MainFrame()->RouteCommand(id);
        QApplication::processEvents();
        visit();
    }

    void Look(QWidget* window)
    {
        const std::string title = window->windowTitle().toStdString() + " (" +
                                  window->metaObject()->className() + ")";
        seen_.insert(window->metaObject()->className());
        for (QWidget* widget : window->findChildren<QWidget*>()) {
            if (!IsField(widget) || widget->focusPolicy() == Qt::NoFocus || IsPartOfAnother(widget, window))
                continue;
            if (!Named(widget))
                unnamed_.push_back(title + ": a " + widget->metaObject()->className() + " '" +
                                   widget->objectName().toStdString() + "'");
        }
    }

    TempDir dir_;
    quillet::platform::MemoryProfile profile_;
    quillet::platform::RecordingMessageSink messages_;
    std::string source_;
    std::unique_ptr<CScrivoApp> app_;
    std::set<std::string> seen_;
    std::vector<std::string> unnamed_;
};

TEST_F(AccessibleNamesTest, EveryFieldListAndCheckBoxOfEveryDialogHasAName)
{
    CClassView& tree = *app_->MainFrame()->ActiveChild()->ClassView();
    for (int id : Commands()) {
        // Members go into the class selected in the tree; a refresh of the
        // tree leaves none selected.
        ASSERT_GT(tree.topLevelItemCount(), 0);
        tree.setCurrentItem(tree.topLevelItem(0));
        Sweep(id);
    }

    std::string list;
    for (const std::string& entry : unnamed_)
        list += "\n  " + entry;
    EXPECT_TRUE(unnamed_.empty()) << "without a name:" << list;
    std::string swept;
    for (const std::string& name : seen_)
        swept += " " + name;
    for (const char* dialog : {"CGotoLineDialog", "CFindInFilesDlg", "VxEditFindReplaceDialog", "CClassDialog",
                               "CInterfaceDialog", "CMethodDialog", "CVariableDialog", "CCatchBlockDlg",
                               "CCompileDialog", "CJViewDialog", "CDebuggerDialog", "CToolsDialog",
                               "VxEditFontColorDialog", "CCustomizeToolbarsDlg", "CAboutDlg", "CHTMLTextDlg",
                               "VxEditPrintPreview", "CHelpWindow"})
        EXPECT_EQ(seen_.count(dialog), 1u) << dialog << " was not reached; swept:" << swept;
}

TEST_F(AccessibleNamesTest, TheMessagePaneIsNamedAfterTheMessageItShows)
{
    QStatusBar* bar = app_->MainFrame()->statusBar();
    auto* pane = bar->findChild<CMessagePane*>();
    ASSERT_NE(pane, nullptr);
    EXPECT_EQ(NameOf(pane), "Ready");
    const QString finding = QStringLiteral("Shapes.java:5: error: ';' expected");
    bar->showMessage(finding);
    EXPECT_EQ(NameOf(pane), finding);
    EXPECT_EQ(pane->text(), finding);
    // The bar's description says it too, as before.
    EXPECT_EQ(bar->accessibleDescription(), finding);
    bar->clearMessage();
    EXPECT_EQ(NameOf(pane), "Ready");
}

}  // namespace
