// Real programs in the console bar: input typed into the tab reaches the
// program, its output comes back as the tab's text, its end is reported and
// a shell takes over in the same directory.
#include "javatools/console/CConsoleBar.h"
#include "javatools/console/ConsoleScreen.h"
#include "javatools/console/ConsoleSession.h"
#include "javatools/console/ConsoleView.h"
#include "tests/support/TempDir.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QMainWindow>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <csignal>
#include <optional>

namespace {

using quillet::test::TempDir;

// Runs the event loop until the condition holds or a generous time is up.
template <typename Condition>
bool WaitFor(Condition condition, int timeoutMs = 20000)
{
    QElapsedTimer timer;
    timer.start();
    while (!condition()) {
        if (timer.elapsed() > timeoutMs)
            return false;
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

struct ConsoleFixture : ::testing::Test {
    ConsoleFixture()
    {
        frame.addDockWidget(Qt::BottomDockWidgetArea, bar);
        frame.resize(800, 600);
        bar->hide();
        frame.show();
    }

    int Start(const std::vector<std::string>& argv, const std::string& directory = {},
              const std::string& title = "Quillet - Test")
    {
        IConsoleHost::RunRequest request;
        request.title = title;
        request.argv = argv;
        request.workingDirectory = directory;
        request.finished = [this](int status) { exitStatus = status; };
        std::string error;
        const int run = host().StartRun(request, &error);
        EXPECT_GT(run, 0) << error;
        return run;
    }

    IConsoleHost& host() { return *bar; }
    QString Text(int run) const { return bar->View(run)->Text(); }

    QMainWindow frame;
    CConsoleBar* bar = new CConsoleBar(&frame);
    std::optional<int> exitStatus;
};

TEST_F(ConsoleFixture, TypedNumberComesBackDoubledFromTheProgram)
{
    TempDir directory;
    const int run = Start({"/bin/sh", "-c", "read n; echo \"doubled: $((n * 2))\"; exit 3"},
                          directory.Path().string());
    ConsoleView* view = bar->View(run);
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->Tabs()->tabText(bar->Tabs()->currentIndex()), QStringLiteral("Quillet - Test"));
    EXPECT_EQ(view->accessibleName(), QStringLiteral("Quillet - Test"));
    EXPECT_TRUE(host().IsRunning(run));

    QTest::keyClicks(view, QStringLiteral("21"));
    QTest::keyClick(view, Qt::Key_Return);
    ASSERT_TRUE(WaitFor([&] { return Text(run).contains(QStringLiteral("doubled: 42")); }))
        << Text(run).toStdString();
    // The terminal echoed what was typed, on the line before the answer.
    EXPECT_TRUE(Text(run).contains(QStringLiteral("21\ndoubled: 42"))) << Text(run).toStdString();

    // Assistive technology reads the same text, the caret and the selection.
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(view);
    ASSERT_NE(accessible, nullptr);
    QAccessibleTextInterface* text = accessible->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::Terminal);
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Quillet - Test"));
    const QString all = text->text(0, text->characterCount());
    EXPECT_EQ(all, Text(run));
    const int answer = static_cast<int>(all.indexOf(QStringLiteral("doubled")));
    text->setSelection(0, answer, answer + 7);
    EXPECT_EQ(view->SelectedText(), QStringLiteral("doubled"));
    int start = 0;
    int end = 0;
    text->selection(0, &start, &end);
    EXPECT_EQ(std::pair(start, end), std::pair(answer, answer + 7));

    ASSERT_TRUE(WaitFor([&] { return exitStatus.has_value(); }));
    EXPECT_EQ(*exitStatus, 3);
    EXPECT_FALSE(host().IsRunning(run));
    EXPECT_TRUE(Text(run).contains(QStringLiteral("[The program ended with exit code 3.]")));

    // A shell now runs in the same tab, in the program's directory.
    ASSERT_TRUE(view->Session().IsRunning());
    ASSERT_TRUE(WaitFor([&] { return Text(run).endsWith(QStringLiteral("\n$")); }))
        << Text(run).toStdString();
    QTest::keyClicks(view, QStringLiteral("pwd"));
    QTest::keyClick(view, Qt::Key_Return);
    const QString where = QString::fromStdString(directory.Path().string());
    ASSERT_TRUE(WaitFor([&] { return Text(run).contains(QStringLiteral("$ pwd\n") + where); }))
        << Text(run).toStdString();
    // The caret is the shell's, at the end of its next prompt.
    ASSERT_TRUE(WaitFor([&] { return Text(run).endsWith(where + QStringLiteral("\n$")); }));
    EXPECT_EQ(text->cursorPosition(), text->characterCount());
}

TEST_F(ConsoleFixture, ProgramPrintingTwentyThousandLinesLeavesTheLastTenThousandInTheScrollback)
{
    const int run = Start({"seq", "1", "20000"});
    ASSERT_TRUE(WaitFor([&] { return exitStatus.has_value(); }));
    EXPECT_EQ(*exitStatus, 0);
    const ConsoleScreen& screen = bar->View(run)->Session().Screen();
    EXPECT_EQ(screen.ScrollbackCount(), 10000);
    // Every kept line is the one seq printed there: consecutive numbers up
    // to the last.
    const QStringList lines = Text(run).split(QLatin1Char('\n'));
    const int last = static_cast<int>(lines.indexOf(QStringLiteral("20000")));
    ASSERT_GE(last, 10000);
    for (int i = 0; i <= last; ++i)
        ASSERT_EQ(lines[i].toInt(), 20000 - last + i) << "line " << i;
    EXPECT_EQ(screen.DroppedLines(), static_cast<std::uint64_t>(20000 - last - 1));
}

TEST_F(ConsoleFixture, ClosingTheTabHangsUpTheProgramAndReportsItsEnd)
{
    const int run = Start({"sleep", "1000"});
    ASSERT_TRUE(host().IsRunning(run));
    emit bar->Tabs()->tabCloseRequested(0);
    ASSERT_TRUE(exitStatus.has_value());
    EXPECT_EQ(*exitStatus, 128 + SIGHUP);
    EXPECT_FALSE(host().IsRunning(run));
    EXPECT_EQ(bar->View(run), nullptr);
    EXPECT_FALSE(bar->isVisible());
}

TEST_F(ConsoleFixture, ARunTakesTheTabOfAFinishedRunOfTheSameTitle)
{
    const int finished = Start({"true"});
    ASSERT_TRUE(WaitFor([&] { return exitStatus.has_value() && !host().IsRunning(finished); }));
    const int other = Start({"sleep", "1000"}, {}, "Other");
    exitStatus.reset();
    const int again = Start({"sleep", "1000"});
    QTabWidget* tabs = bar->Tabs();
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(bar->View(finished), nullptr);
    EXPECT_EQ(tabs->widget(0), bar->View(again));
    EXPECT_EQ(tabs->widget(1), bar->View(other));
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_FALSE(exitStatus.has_value());  // the finished run is not reported twice
    // One that still runs keeps its tab.
    const int third = Start({"sleep", "1000"});
    EXPECT_EQ(tabs->count(), 3);
    EXPECT_TRUE(host().IsRunning(again) && host().IsRunning(third));
}

TEST_F(ConsoleFixture, ProgramThatCannotStartIsReportedAndOpensNoTab)
{
    IConsoleHost::RunRequest request;
    request.title = "Missing";
    request.argv = {"quillet-no-such-program"};
    std::string error;
    EXPECT_EQ(host().StartRun(request, &error), 0);
    EXPECT_EQ(error, "cannot start quillet-no-such-program: No such file or directory");
    EXPECT_EQ(bar->Tabs()->count(), 0);
}

}  // namespace
