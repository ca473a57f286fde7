// The viewport rendered into an image: colours of particular cells for the
// selection, the cells past the end of lines, the area below the text,
// highlighted lines, visible whitespace and the margin's marks.
#include "ViewSupport.h"

#include "resources/CommandIds.h"
#include "tests/support/TempDir.h"

#include <QDir>
#include <QTest>

#include <gtest/gtest.h>

namespace quillet::test {
namespace {

class PixelTest : public ::testing::Test, public ViewFixture {
protected:
    // A pixel near the top-left corner of a cell, where no glyph reaches.
    QColor CellBackground(const QImage& image, int line, int displayColumn) const
    {
        return image.pixelColor(Margin() + displayColumn * Cell() + 1, line * LineHeight() + 1);
    }
    // Whether any pixel of the cell differs from the colour.
    bool CellHasInk(const QImage& image, int line, int displayColumn, const QColor& background) const
    {
        for (int y = line * LineHeight(); y < (line + 1) * LineHeight(); ++y)
            for (int x = Margin() + displayColumn * Cell(); x < Margin() + (displayColumn + 1) * Cell(); ++x)
                if (image.pixelColor(x, y) != background)
                    return true;
        return false;
    }
    void Save(const QImage& image, const char* name)
    {
        image.save(QDir::tempPath() + "/quillet-" + name + ".png");
    }
};

TEST_F(PixelTest, SelectedTextUsesTheSelectionGroupsColours)
{
    SetText("hello world\r\nsecond");
    view->Controller().SetSelection(VxEditLineCol(0, 2), VxEditLineCol(0, 7), VxEditSelection::kStream);
    const QImage image = Render();
    Save(image, "selection");
    EXPECT_EQ(Rgb(0xFFFFFF), CellBackground(image, 0, 1));
    EXPECT_EQ(Rgb(kSelectionBack), CellBackground(image, 0, 2));
    EXPECT_EQ(Rgb(kSelectionBack), CellBackground(image, 0, 6));
    EXPECT_EQ(Rgb(0xFFFFFF), CellBackground(image, 0, 7));
    // The selected letters are drawn in the selection's text colour.
    EXPECT_TRUE(CellHasInk(image, 0, 3, Rgb(kSelectionBack)));
    // A selection ending on its start line leaves the line break alone.
    EXPECT_EQ(Rgb(0xFFFFFF), CellBackground(image, 0, 11));
}

TEST_F(PixelTest, TheLineBreakOfASelectedLineIsOneCellOrReachesTheEdgeWithVirtualSpace)
{
    SetText("ab\r\ncd\r\nef");
    view->Controller().SetSelection(VxEditLineCol(0, 1), VxEditLineCol(1, 0), VxEditSelection::kStream);
    QImage image = Render();
    Save(image, "linebreak");
    EXPECT_EQ(Rgb(kSelectionBack), CellBackground(image, 0, 2));
    EXPECT_EQ(Rgb(0xFFFFFF), CellBackground(image, 0, 3));
    // A selection ending at column 0 does not mark that line.
    EXPECT_EQ(Rgb(0xFFFFFF), CellBackground(image, 1, 0));
    EXPECT_EQ(Rgb(0xFFFFFF), CellBackground(image, 1, 2));

    config->SetVirtualWhitespace(1);
    image = Render();
    Save(image, "linebreak-virtual");
    EXPECT_EQ(Rgb(kSelectionBack), CellBackground(image, 0, 2));
    EXPECT_EQ(Rgb(kSelectionBack), image.pixelColor(image.width() - 1, 1));
    EXPECT_EQ(Rgb(0xFFFFFF), image.pixelColor(image.width() - 1, LineHeight() + 1));
}

TEST_F(PixelTest, AColumnSelectionColoursTheCellsPastShortLines)
{
    SetText("abcdef\r\nab\r\nabcdef");
    view->Controller().SetSelection(VxEditLineCol(0, 1), VxEditLineCol(2, 4), VxEditSelection::kColumn);
    const QImage image = Render();
    Save(image, "column");
    for (int line = 0; line < 3; ++line) {
        EXPECT_EQ(Rgb(0xFFFFFF), CellBackground(image, line, 0)) << line;
        EXPECT_EQ(Rgb(kSelectionBack), CellBackground(image, line, 1)) << line;
        EXPECT_EQ(Rgb(kSelectionBack), CellBackground(image, line, 3)) << line;
        EXPECT_EQ(Rgb(0xFFFFFF), CellBackground(image, line, 4)) << line;
    }
}

TEST_F(PixelTest, TheAreaBelowTheLastLineHasTheTextBackground)
{
    VxEditColorGroup text = *config->GetSpecialColorGroup(IVxEditLangConfig::kTextGroup);
    text.Background = 0x00C0FFFF;  // light yellow
    config->PutColorGroup("Text", text);
    SetText("one\r\ntwo");
    const QImage image = Render();
    Save(image, "below");
    const int below = 2 * LineHeight() + 5;
    ASSERT_LT(below, image.height());
    EXPECT_EQ(Rgb(0x00C0FFFF), image.pixelColor(Margin() + 1, below));
    EXPECT_EQ(Rgb(0x00C0FFFF), image.pixelColor(image.width() - 1, image.height() - 1));
    EXPECT_EQ(Rgb(0x00C0FFFF), CellBackground(image, 0, 10));
}

TEST_F(PixelTest, AHighlightedLinesColourReachesTheRightEdge)
{
    VxEditColorGroup highlight;
    highlight.Foreground = 0x000000;
    highlight.Background = 0x0000C000;  // green
    highlight.DisplayName = "Highlight";
    const int group = config->PutColorGroup("Highlight", highlight);
    SetText("marked\r\nplain");
    for (int line = 0; line < 2; ++line)
        model->ColourCache().Renew(line).push_back(MakeColorRun(0, group));
    model->ToggleMark(0, VxEdit::kMarkHighlight);
    const QImage image = Render();
    Save(image, "highlight");
    EXPECT_EQ(Rgb(0x0000C000), CellBackground(image, 0, 0));
    EXPECT_EQ(Rgb(0x0000C000), image.pixelColor(image.width() - 1, 1));
    // Without the mark the colour stops with the text.
    EXPECT_EQ(Rgb(0x0000C000), CellBackground(image, 1, 0));
    EXPECT_EQ(Rgb(0xFFFFFF), image.pixelColor(image.width() - 1, LineHeight() + 1));
}

TEST_F(PixelTest, VisibleWhitespaceMarksTheFirstCellOfATabAndEverySpace)
{
    SetText("a\tb c");
    QImage image = Render();
    const QColor white = Rgb(0xFFFFFF);
    EXPECT_FALSE(CellHasInk(image, 0, 1, white));
    EXPECT_FALSE(CellHasInk(image, 0, 5, white));

    view->OnCommand(cmd::kToggleWhitespace);
    ASSERT_EQ(1, config->GetShowWhitespace());
    image = Render();
    Save(image, "whitespace");
    EXPECT_TRUE(CellHasInk(image, 0, 1, white));
    EXPECT_FALSE(CellHasInk(image, 0, 2, white));
    EXPECT_FALSE(CellHasInk(image, 0, 3, white));
    EXPECT_TRUE(CellHasInk(image, 0, 4, white));
    EXPECT_TRUE(CellHasInk(image, 0, 5, white));
    EXPECT_TRUE(CellHasInk(image, 0, 6, white));
}

TEST_F(PixelTest, TheMarginShowsBreakpointsAsAGlyphOrAsADarkRedLineNumber)
{
    SetText("one\r\ntwo\r\nthree");
    model->ToggleMark(1, VxEdit::kMarkBreakpoint);
    QImage image = Render();
    Save(image, "margin");
    const int margin = Margin();
    ASSERT_EQ(VxEditController::kSelectionMarginWidth, margin);
    const QColor darkRed(128, 0, 0);
    EXPECT_EQ(darkRed, image.pixelColor(margin / 2, LineHeight() + LineHeight() / 2));
    EXPECT_NE(darkRed, image.pixelColor(margin / 2, LineHeight() / 2));

    view->Controller().ShowLineNumbers(true);
    image = Render();
    Save(image, "line-numbers");
    ASSERT_EQ(5 * Cell(), Margin());
    EXPECT_EQ(darkRed, image.pixelColor(1, LineHeight() + 1));
    EXPECT_NE(darkRed, image.pixelColor(1, 1));
    EXPECT_NE(darkRed, image.pixelColor(1, 2 * LineHeight() + 1));
    // The text moves right of the wider margin.
    EXPECT_EQ(Rgb(0xFFFFFF), CellBackground(image, 0, 5));
}

TEST_F(PixelTest, HorizontalScrollingKeepsTabStopsAtTheTextAreasEdge)
{
    SetText("\tx");
    const QImage whole = Render();
    ASSERT_TRUE(CellHasInk(whole, 0, 4, Rgb(0xFFFFFF)));
    view->ScrollTo(2 * Cell(), 0);
    const QImage scrolled = Render();
    EXPECT_TRUE(CellHasInk(scrolled, 0, 2, Rgb(0xFFFFFF)));
    EXPECT_FALSE(CellHasInk(scrolled, 0, 1, Rgb(0xFFFFFF)));
}

TEST_F(PixelTest, TextAfterALoneCrIsDrawnAndTheCrShowsAsAMarkOfOneCell)
{
    SetText("a\rb\nc\r\nd");
    const QImage image = Render();
    Save(image, "lone-cr");
    const QColor white = Rgb(0xFFFFFF);
    EXPECT_TRUE(CellHasInk(image, 0, 0, white));   // a
    EXPECT_TRUE(CellHasInk(image, 0, 1, white));   // the CR's mark
    EXPECT_TRUE(CellHasInk(image, 0, 2, white));   // b, behind the CR
    EXPECT_FALSE(CellHasInk(image, 0, 3, white));
    EXPECT_TRUE(CellHasInk(image, 1, 0, white));   // c
    EXPECT_FALSE(CellHasInk(image, 1, 1, white));  // a CR LF line end shows nothing
    EXPECT_TRUE(CellHasInk(image, 2, 0, white));   // d
    // The caret measures the line as it is drawn.
    EXPECT_EQ(2 * Cell(), view->Controller().PositionX(VxEditLineCol(0, 2)));
}

TEST_F(PixelTest, AOneMegabyteLineIsDrawnAndSelectedAtItsEnd)
{
    const int length = 1 << 20;
    TempDir dir;
    WriteFileBytes(dir.File("long.txt"), std::string(length, 'x') + "\r\nnext");
    ASSERT_EQ(1, model->LoadFile(dir.File("long.txt")));
    // Shift+End from four characters before the end: the view follows the
    // caret to the end of the line.
    view->Controller().SetCaret(0, length - 4);
    QTest::keyClick(view.get(), Qt::Key_End, Qt::ShiftModifier);
    ASSERT_EQ(VxEditLineCol(0, length), view->Controller().Caret());
    const QImage image = Render();
    Save(image, "long-line");
    // Along the first row: letters on white, then the selection, then white.
    const int y = LineHeight() / 2;
    int firstSelected = -1;
    int lastSelected = -1;
    bool inkBefore = false;
    for (int x = Margin(); x < image.width(); ++x) {
        const QColor colour = image.pixelColor(x, y);
        if (colour == Rgb(kSelectionBack)) {
            firstSelected = firstSelected < 0 ? x : firstSelected;
            lastSelected = x;
        } else if (firstSelected < 0 && colour != Rgb(0xFFFFFF)) {
            inkBefore = true;
        }
    }
    EXPECT_TRUE(inkBefore);
    ASSERT_GE(firstSelected, Margin());
    EXPECT_GE(lastSelected - firstSelected, 3 * Cell() - 2);  // the four selected letters
    EXPECT_LE(lastSelected - firstSelected, 4 * Cell() + 2);
    EXPECT_EQ(Rgb(0xFFFFFF), image.pixelColor(lastSelected + Cell(), 1));  // past the end
}

}  // namespace
}  // namespace quillet::test
