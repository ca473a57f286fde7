// Reaching every document window: Ctrl+Tab's order of last use, and the
// Window menu's numbered list with "More Windows..." past nine.
#include "app/CChildFrame.h"
#include "app/CMainFrame.h"
#include "app/CScrivoApp.h"
#include "app/CSelectWindowDlg.h"
#include "app/CWindowMru.h"
#include "language/VxEditLangConfigRegistry.h"
#include "platform/core/MemoryProfile.h"
#include "platform/core/MessageSeam.h"
#include "resources/CommandIds.h"
#include "tests/app/ModalDialog.h"
#include "tests/support/TempDir.h"

#include <QAction>
#include <QApplication>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>

#include <gtest/gtest.h>

namespace {

// Windows are only told apart by their addresses.
const int kWindows[4] = {};
const CWindowMru::Window A = &kWindows[0];
const CWindowMru::Window B = &kWindows[1];
const CWindowMru::Window C = &kWindows[2];
const CWindowMru::Window D = &kWindows[3];

TEST(WindowMruTest, CtrlTabWalksInOrderOfLastUseAndOnlyTheEndOfTheWalkReorders)
{
    CWindowMru mru;
    EXPECT_EQ(mru.Step(1), nullptr);  // nothing to switch to
    for (CWindowMru::Window window : {A, B, C, D})
        mru.Activated(window);
    EXPECT_EQ(mru.Order(), (std::vector{D, C, B, A}));

    // Ctrl held, Tab twice: the windows shown on the way keep their places.
    EXPECT_EQ(mru.Step(1), C);
    mru.Activated(C);
    EXPECT_EQ(mru.Step(1), B);
    mru.Activated(B);
    EXPECT_EQ(mru.Order(), (std::vector{D, C, B, A}));
    EXPECT_EQ(mru.Commit(), B);
    EXPECT_EQ(mru.Order(), (std::vector{B, D, C, A}));

    // One quick Ctrl+Tab goes back to the window used before.
    EXPECT_EQ(mru.Step(1), D);
    EXPECT_EQ(mru.Commit(), D);
    EXPECT_EQ(mru.Order(), (std::vector{D, B, C, A}));

    // Ctrl+Shift+Tab starts from the least recent and wraps; Escape goes back.
    EXPECT_EQ(mru.Step(-1), A);
    EXPECT_EQ(mru.Step(1), D);
    EXPECT_EQ(mru.Step(-1), A);
    EXPECT_EQ(mru.Cancel(), D);
    EXPECT_EQ(mru.Order(), (std::vector{D, B, C, A}));

    // The window shown closes during the walk: it shows the next one.
    EXPECT_EQ(mru.Step(1), B);
    mru.Removed(B);
    EXPECT_EQ(mru.Commit(), C);
    EXPECT_EQ(mru.Order(), (std::vector{C, D, A}));
    EXPECT_FALSE(mru.Walking());

    // Closing the window in use hands over to the one used before it.
    EXPECT_EQ(mru.Successor(C), D);
    EXPECT_EQ(mru.Successor(A), C);
}

class WindowListTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        VxEditLangConfigRegistry::Instance().Reset();
        messages_.QueueAnswer(quillet::platform::MessageAnswer::No);  // the first start's question
        CScrivoApp::Options options;
        options.programDirectory = QStringLiteral(QUILLET_PROGRAM_DIR);
        options.userSettingsDirectory = QString::fromStdString(dir_.File("settings") + "/");
        options.dataHome = QString::fromStdString(dir_.File("data"));
        options.configHome = QString::fromStdString(dir_.File("config"));
        options.instanceName = QString::fromStdString("quillet-test-" + dir_.Path().filename().string());
        app_ = std::make_unique<CScrivoApp>(profile_, options);
        ASSERT_EQ(app_->Start({}), CScrivoApp::StartResult::Running);
    }
    void TearDown() override
    {
        app_.reset();
        VxEditLangConfigRegistry::Instance().Reset();
    }

    // The Window menu's entries as they read when it opens.
    QStringList WindowMenu()
    {
        CMainFrame& frame = *app_->MainFrame();
        QMenu* menu = nullptr;
        for (QAction* action : frame.menuBar()->actions()) {
            if (action->text() == QStringLiteral("&Window"))
                menu = action->menu();
        }
        EXPECT_NE(menu, nullptr);
        if (!menu)
            return {};
        emit menu->aboutToShow();
        QStringList entries;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator())
                entries << action->text() + (action->isChecked() ? QStringLiteral(" (checked)") : QString());
        }
        return entries;
    }

    QString ActiveTitle() const
    {
        CChildFrame* child = app_->MainFrame()->ActiveChild();
        return child ? child->windowTitle().remove(QStringLiteral("[*]")) : QString();
    }

    quillet::test::TempDir dir_;
    quillet::platform::MemoryProfile profile_;
    quillet::platform::RecordingMessageSink messages_;
    std::unique_ptr<CScrivoApp> app_;
};

TEST_F(WindowListTest, TheWindowMenuNumbersNineWindowsAndMoreWindowsReachesTheTenth)
{
    for (int i = 0; i < 10; ++i)
        app_->NewDocument();
    CMainFrame& frame = *app_->MainFrame();
    ASSERT_EQ(ActiveTitle(), QStringLiteral("Quillet10"));

    const QStringList entries = WindowMenu();
    const QStringList expected = {"&1 Quillet1", "&2 Quillet2", "&3 Quillet3", "&4 Quillet4",
                                  "&5 Quillet5", "&6 Quillet6", "&7 Quillet7", "&8 Quillet8",
                                  "&9 Quillet9", "&More Windows..."};
    ASSERT_GE(entries.size(), expected.size());
    EXPECT_EQ(entries.mid(entries.size() - expected.size()), expected);

    // The third entry activates the third window and is checked then.
    frame.Action(cmd::kWindowFirstChild + 2)->trigger();
    EXPECT_EQ(ActiveTitle(), QStringLiteral("Quillet3"));
    EXPECT_TRUE(WindowMenu().contains(QStringLiteral("&3 Quillet3 (checked)")));

    // The dialog lists all ten with the window in use selected.
    quillet::test::WithModalDialog<CSelectWindowDlg>(
        [&frame] { frame.Action(cmd::kWindowMore)->trigger(); },
        [](CSelectWindowDlg& dialog) {
            ASSERT_EQ(dialog.List()->count(), 10);
            EXPECT_EQ(dialog.List()->currentRow(), 2);
            dialog.List()->setCurrentRow(9);
            dialog.accept();
        });
    EXPECT_EQ(ActiveTitle(), QStringLiteral("Quillet10"));
}

TEST_F(WindowListTest, TheWindowInUseHandsOverToTheOneUsedBeforeItMaximised)
{
    for (int i = 0; i < 4; ++i)
        app_->NewDocument();
    CMainFrame& frame = *app_->MainFrame();
    // Used last: 1, then 4; the neighbour of 1 in tab order is 2.
    frame.Action(cmd::kWindowFirstChild)->trigger();
    ASSERT_EQ(ActiveTitle(), QStringLiteral("Quillet1"));

    // File > Close.
    ASSERT_TRUE(frame.RouteCommand(cmd::kFileClose));
    QApplication::processEvents();
    EXPECT_EQ(ActiveTitle(), QStringLiteral("Quillet4"));
    EXPECT_TRUE(frame.ActiveChild()->isMaximized());

    // The tab's close button closes the window as close() does; used last:
    // 2, then 4, and 3 is the neighbour.
    frame.Action(cmd::kWindowFirstChild)->trigger();
    ASSERT_EQ(ActiveTitle(), QStringLiteral("Quillet2"));
    frame.ActiveChild()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(ActiveTitle(), QStringLiteral("Quillet4"));
    EXPECT_TRUE(frame.ActiveChild()->isMaximized());
    EXPECT_EQ(WindowMenu().filter(QStringLiteral("Quillet")),
              (QStringList{"&1 Quillet3", "&2 Quillet4 (checked)"}));
}

}  // namespace
