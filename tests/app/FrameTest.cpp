#include "app/CCustomizeToolbarsDlg.h"
#include "app/CMainFrame.h"
#include "app/CScrivoApp.h"
#include "app/CToolbarManager.h"
#include "app/CommandIcons.h"
#include "language/VxEditLangConfigRegistry.h"
#include "platform/core/MemoryProfile.h"
#include "platform/core/MessageSeam.h"
#include "resources/CommandIds.h"
#include "tests/app/ModalDialog.h"
#include "tests/support/TempDir.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QMimeData>
#include <QTimer>
#include <QToolBar>

#include <gtest/gtest.h>

#include <memory>

using quillet::platform::MessageAnswer;
using quillet::platform::RecordingMessageSink;
using quillet::test::TempDir;

namespace {

constexpr int kFileBar = 59392;
constexpr int kEditBar = 59397;
constexpr int kToolsBar = 59398;

// Compared as vectors: an empty QList compares through a null pointer.
std::vector<int> Ids(const QList<int>& ids)
{
    return {ids.begin(), ids.end()};
}

class FrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        VxEditLangConfigRegistry::Instance().Reset();
        messages_.QueueAnswer(MessageAnswer::No);  // the association question of the first start
    }
    void TearDown() override { VxEditLangConfigRegistry::Instance().Reset(); }

    std::unique_ptr<CScrivoApp> Start()
    {
        CScrivoApp::Options options;
        options.programDirectory = QString::fromStdString(std::string(QUILLET_PROGRAM_DIR));
        options.userSettingsDirectory = QString::fromStdString(dir_.File("settings") + "/");
        options.dataHome = QString::fromStdString(dir_.File("data"));
        options.configHome = QString::fromStdString(dir_.File("config"));
        options.instanceName = QString::fromStdString("quillet-test-" + dir_.Path().filename().string());
        auto app = std::make_unique<CScrivoApp>(profile_, options);
        EXPECT_EQ(app->Start({}), CScrivoApp::StartResult::Running);
        QApplication::processEvents();
        return app;
    }

    // Exits as the user does: the frame closes, then the program ends.
    static void Exit(std::unique_ptr<CScrivoApp>& app)
    {
        app->MainFrame()->close();
        app->Exit();
        app.reset();
    }

    static void Customize(CMainFrame& frame, const std::function<void(CCustomizeToolbarsDlg&)>& act)
    {
        quillet::test::WithModalDialog<CCustomizeToolbarsDlg>(
            [&frame] { frame.RouteCommand(cmd::kViewCustomizeToolbars); }, act);
    }

    // Adds Save All at the end of the Tools toolbar the way a drop does.
    static void DropSaveAllOnTools(CMainFrame& frame, CCustomizeToolbarsDlg& dialog)
    {
        dialog.SelectGroup(QStringLiteral("File"));
        bool listed = false;
        for (int row = 0; row < dialog.CommandList()->count(); ++row)
            listed = listed || dialog.CommandList()->item(row)->data(Qt::UserRole).toInt() == cmd::kFileSaveAll;
        EXPECT_TRUE(listed);
        QToolBar* tools = frame.Toolbars().Toolbar(kToolsBar);
        std::unique_ptr<QMimeData> data(CCustomizeToolbarsDlg::CommandData(cmd::kFileSaveAll));
        EXPECT_TRUE(dialog.DropCommand(tools, *data, QPoint(tools->width() - 1, tools->height() / 2)));
    }

    TempDir dir_;
    quillet::platform::MemoryProfile profile_;
    RecordingMessageSink messages_;
};

}  // namespace

TEST_F(FrameTest, FirstStartLayoutSurvivesARestart)
{
    auto app = Start();
    CMainFrame& frame = *app->MainFrame();
    CToolbarManager& toolbars = frame.Toolbars();
    EXPECT_TRUE(frame.WorkbookMode());
    EXPECT_FALSE(frame.LargeButtons());
    EXPECT_FALSE(frame.RouteUpdate(cmd::kViewOutputWindow).checked);

    // Three toolbars side by side at the top, File, Edit, Tools.
    QToolBar* file = toolbars.Toolbar(kFileBar);
    QToolBar* edit = toolbars.Toolbar(kEditBar);
    QToolBar* tools = toolbars.Toolbar(kToolsBar);
    for (QToolBar* bar : {file, edit, tools}) {
        EXPECT_EQ(frame.toolBarArea(bar), Qt::TopToolBarArea);
        EXPECT_TRUE(bar->isVisible());
        EXPECT_EQ(bar->iconSize(), QSize(16, 16));
    }
    EXPECT_EQ(file->windowTitle(), "File");
    EXPECT_EQ(edit->windowTitle(), "Edit");
    EXPECT_EQ(tools->windowTitle(), "Tools");
    EXPECT_LT(file->x(), edit->x());
    EXPECT_LT(edit->x(), tools->x());
    EXPECT_EQ(file->y(), tools->y());

    // Each toolbar shows every button of its table, in order, with an image,
    // a tooltip and an accessible name, whether or not it applies now.
    using namespace cmd;
    const std::vector<std::vector<int>> table = {
        {kFileNew, kFileOpen, kFileSave, 0, kFilePrintPreview, kFilePrint},
        {kEditCut, kEditCopy, kEditPaste, 0, kEditUndo, kEditRedo, 0, kEditFind, kEditReplace},
        {kBuildCompile, kBuildExecute, kBuildDebug, 0, kInsertClass, kInsertInterface, kInsertMethod,
         kInsertMemberVariable, 0, kHelpContents, kHelpCustom, kAppAbout}};
    ASSERT_EQ(toolbars.Bars().size(), 3);
    for (int i = 0; i < 3; ++i) {
        const CToolbarManager::Bar& bar = toolbars.Bars()[i];
        const QList<QAction*> buttons = bar.toolbar->actions();
        ASSERT_EQ(buttons.size(), table[i].size()) << bar.title.toStdString();
        for (std::size_t j = 0; j < table[i].size(); ++j) {
            if (table[i][j] == 0)
                EXPECT_TRUE(buttons[j]->isSeparator()) << bar.title.toStdString() << " " << j;
            else
                EXPECT_EQ(buttons[j], frame.Action(table[i][j])) << bar.title.toStdString() << " " << j;
        }
        for (QAction* action : bar.toolbar->actions()) {
            if (action->isSeparator())
                continue;
            EXPECT_FALSE(action->icon().isNull()) << action->text().toStdString();
            EXPECT_FALSE(action->toolTip().isEmpty());
            EXPECT_EQ(bar.toolbar->widgetForAction(action)->accessibleName(), action->toolTip());
        }
    }
    // Help Contents, Custom Online Help and About look different.
    const auto look = [](int id) { return CommandIcon(id).pixmap(16, 16).toImage(); };
    EXPECT_NE(look(cmd::kHelpContents), look(cmd::kHelpCustom));
    EXPECT_NE(look(cmd::kHelpContents), look(cmd::kAppAbout));
    EXPECT_NE(look(cmd::kHelpCustom), look(cmd::kAppAbout));
    EXPECT_EQ(frame.Action(cmd::kFileNew)->toolTip(), "New");
    EXPECT_EQ(frame.Action(cmd::kFileNew)->statusTip(), "Create a new document");

    frame.RouteCommand(cmd::kViewToolbarEdit);
    EXPECT_FALSE(frame.RouteUpdate(cmd::kViewToolbarEdit).checked);
    if (frame.RouteUpdate(cmd::kViewOutputWindow).checked)
        frame.RouteCommand(cmd::kViewOutputWindow);
    frame.RouteCommand(cmd::kViewLargeButtons);
    EXPECT_EQ(tools->iconSize(), QSize(24, 24));

    // Full screen keeps the toolbars and adds its own; Escape leaves it.
    frame.RouteCommand(cmd::kViewFullScreen);
    EXPECT_TRUE(frame.IsFullScreen());
    EXPECT_TRUE(frame.RouteUpdate(cmd::kViewFullScreen).checked);
    const auto closeBar = [&frame] {
        for (QToolBar* bar : frame.findChildren<QToolBar*>()) {
            if (bar->windowTitle() == "Close Full Screen")
                return bar;
        }
        return static_cast<QToolBar*>(nullptr);
    };
    ASSERT_NE(closeBar(), nullptr);
    EXPECT_TRUE(file->isVisible());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(frame.centralWidget(), &escape);
    EXPECT_FALSE(frame.IsFullScreen());
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(closeBar(), nullptr);
    Exit(app);

    EXPECT_EQ(profile_.GetInt("Settings", "InitialShowOutput", -1), 0);
    EXPECT_EQ(profile_.GetInt("Settings", "LargeButtons", -1), 1);
    EXPECT_EQ(profile_.GetInt("Settings", "WorkbookMode", -1), 1);

    app = Start();
    CMainFrame& again = *app->MainFrame();
    EXPECT_TRUE(again.LargeButtons());
    EXPECT_TRUE(again.RouteUpdate(cmd::kViewToolbarFile).checked);
    EXPECT_FALSE(again.RouteUpdate(cmd::kViewToolbarEdit).checked);
    EXPECT_TRUE(again.Toolbars().Toolbar(kEditBar)->isHidden());
    EXPECT_TRUE(again.RouteUpdate(cmd::kViewToolbarTools).checked);
    EXPECT_FALSE(again.RouteUpdate(cmd::kViewOutputWindow).checked);
    EXPECT_EQ(again.Toolbars().Toolbar(kToolsBar)->iconSize(), QSize(24, 24));
}

TEST_F(FrameTest, CustomizingIsUndoneByCancelAndKeptAfterOkAndARestart)
{
    auto app = Start();
    CMainFrame& frame = *app->MainFrame();
    const QList<int> before = frame.Toolbars().Buttons(kToolsBar);

    Customize(frame, [&](CCustomizeToolbarsDlg& dialog) {
        DropSaveAllOnTools(frame, dialog);
        EXPECT_EQ(frame.Toolbars().Buttons(kToolsBar).constLast(), cmd::kFileSaveAll);
        dialog.reject();
    });
    EXPECT_EQ(Ids(frame.Toolbars().Buttons(kToolsBar)), Ids(before));

    Customize(frame, [&](CCustomizeToolbarsDlg& dialog) {
        DropSaveAllOnTools(frame, dialog);
        dialog.accept();
    });
    EXPECT_EQ(frame.Toolbars().Buttons(kToolsBar).constLast(), cmd::kFileSaveAll);
    Exit(app);

    app = Start();
    const QList<int> after = app->MainFrame()->Toolbars().Buttons(kToolsBar);
    ASSERT_FALSE(after.isEmpty());
    EXPECT_EQ(after.constLast(), cmd::kFileSaveAll);
    EXPECT_EQ(Ids(after.mid(0, before.size())), Ids(before));
}
