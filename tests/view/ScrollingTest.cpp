// Scrolling a shown view: whole lines and characters, the document's
// extent, Page Down and the caret hidden under the margin.
#include "ViewSupport.h"

#include "resources/CommandIds.h"

#include <QCoreApplication>
#include <QScrollBar>

#include <gtest/gtest.h>

namespace quillet::test {
namespace {

class ScrollingTest : public ::testing::Test, public ViewFixture {
protected:
    void SetUp() override
    {
        view->resize(300, 200);
        view->show();
        QCoreApplication::processEvents();
    }
};

TEST_F(ScrollingTest, TheExtentFollowsTheLongestLineAndTheLineCount)
{
    SetText("short\r\nmiddle line\r\nx");
    // Widths are learned as lines are painted.
    view->viewport()->repaint();
    EXPECT_EQ(QSize(11 * Cell(), 3 * LineHeight()), view->Viewport().DocumentExtent());
    view->Controller().SetCaret(2, 1);
    view->Controller().TypeText(std::string(20, 'y'));
    EXPECT_EQ(QSize(21 * Cell(), 3 * LineHeight()), view->Viewport().DocumentExtent());
    view->OnCommand(cmd::kReturn);
    EXPECT_EQ(4 * LineHeight(), view->Viewport().DocumentExtent().height());
}

TEST_F(ScrollingTest, ScrollingIsInWholeLinesAndCharacters)
{
    std::string text;
    for (int line = 0; line < 200; ++line)
        text += std::string(150, 'a' + line % 26) + "\r\n";
    SetText(text);
    view->ScrollTo(3 * Cell() + Cell() / 2, 7 * LineHeight() + LineHeight() - 1);
    EXPECT_EQ(3 * Cell(), view->ScrollX());
    EXPECT_EQ(7 * LineHeight(), view->ScrollY());
    EXPECT_EQ(7, view->verticalScrollBar()->value());
    EXPECT_EQ(3, view->horizontalScrollBar()->value());
    view->verticalScrollBar()->setValue(20);
    EXPECT_EQ(20 * LineHeight(), view->ScrollY());
}

TEST_F(ScrollingTest, PageDownScrollsByAPageAndKeepsTheCaretVisible)
{
    std::string text;
    for (int line = 0; line < 100; ++line)
        text += "line\r\n";
    SetText(text);
    const int page = view->ClientHeight() / LineHeight();
    view->OnCommand(cmd::kPageDown);
    EXPECT_EQ(page - 1, view->Controller().Caret().line);
    EXPECT_EQ((page - 1) * LineHeight(), view->ScrollY());
    view->OnCommand(cmd::kTextEnd);
    const int top = view->ScrollY() / LineHeight();
    EXPECT_LE(top, 100);
    EXPECT_GE(top + page - 1, 100);
}

TEST_F(ScrollingTest, TheCaretIsHiddenWhileScrolledUnderTheMargin)
{
    SetText(std::string(300, ' '));
    view->activateWindow();
    view->setFocus();
    QCoreApplication::processEvents();
    ASSERT_TRUE(view->hasFocus());
    const QColor text = view->palette().color(QPalette::Text);
    view->Controller().SetCaret(0, 2);
    QImage image(view->viewport()->size(), QImage::Format_RGB32);
    view->viewport()->render(&image);
    EXPECT_EQ(text, image.pixelColor(Margin() + 2 * Cell(), LineHeight() / 2));

    view->ScrollTo(10 * Cell(), 0);
    view->viewport()->render(&image);
    // Neither the margin nor the text shows a caret bar.
    for (int x = 0; x < Margin() - 1; ++x)
        ASSERT_NE(text, image.pixelColor(x, LineHeight() / 2)) << x;
    EXPECT_NE(text, image.pixelColor(Margin() + 1, LineHeight() / 2));
}

}  // namespace
}  // namespace quillet::test
