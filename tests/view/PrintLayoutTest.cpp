// The print layout as plain logic: lines cut into rows that fit the body,
// rows spread over pages, header and footer positions and texts. Measures
// are a fixed-pitch font of 10-pixel cells with tab stops every 4 cells.
#include "engine/VxEditUtf8.h"
#include "view/VxEditPrintLayout.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kCell = 10;
constexpr int kTabStop = 4 * kCell;

int MeasureCells(const char* text, int bytes)
{
    int x = 0;
    for (int at = 0; at < bytes;) {
        if (text[at] == '\t') {
            x = (x / kTabStop + 1) * kTabStop;
            ++at;
            continue;
        }
        at += VxEditUtf8::CharLength(text + at, static_cast<std::size_t>(bytes - at));
        x += kCell;
    }
    return x;
}

// A layout whose body is bodyWidth wide and rowsHigh rows of 10 pixels high.
VxEditPrintLayout LayOut(const std::vector<std::string>& lines, int bodyWidth, int rowsHigh)
{
    VxEditPrintLayout layout;
    layout.SetMetrics(10, kCell, kCell);
    layout.SetPage(VxEditPrintRect{0, 0, bodyWidth, rowsHigh * 10 + 40}, 20, 20);
    layout.Paginate(
        static_cast<std::int32_t>(lines.size()),
        [&lines](std::int32_t line, const char*& text, std::int32_t& length) {
            text = lines[static_cast<std::size_t>(line)].data();
            length = static_cast<std::int32_t>(lines[static_cast<std::size_t>(line)].size());
            return true;
        },
        MeasureCells);
    return layout;
}

// Every row's text, put back together per line.
std::vector<std::string> Rejoin(const VxEditPrintLayout& layout, const std::vector<std::string>& lines)
{
    std::vector<std::string> joined(lines.size());
    for (std::int32_t row = 0; row < layout.RowCount(); ++row) {
        const VxEditLineCol& at = layout.Row(row);
        const std::string& line = lines[static_cast<std::size_t>(at.line)];
        const std::int32_t bytes = layout.RowBytes(row, static_cast<std::int32_t>(line.size()));
        joined[static_cast<std::size_t>(at.line)] += line.substr(static_cast<std::size_t>(at.column),
                                                                 static_cast<std::size_t>(bytes));
    }
    return joined;
}

TEST(PrintLayout, NoLinesGiveNoPages)
{
    const VxEditPrintLayout layout = LayOut({}, 800, 45);
    EXPECT_EQ(layout.RowCount(), 0);
    EXPECT_EQ(layout.PageCount(), 0);
}

TEST(PrintLayout, HundredRowsAtFortyFivePerPageFillThreePagesTheLastWithRowsNinetyToNinetyNine)
{
    const VxEditPrintLayout layout = LayOut(std::vector<std::string>(100, "class A {}"), 800, 45);
    ASSERT_EQ(layout.RowsPerPage(), 45);
    ASSERT_EQ(layout.RowCount(), 100);
    EXPECT_EQ(layout.PageCount(), 3);
    EXPECT_EQ(layout.FirstRowOf(3), 90);
    EXPECT_EQ(layout.LastRowOf(3), 99);
    EXPECT_EQ(layout.Row(90).line, 90);
}

TEST(PrintLayout, ALineWiderThanTheBodyContinuesAtTheByteAfterTheLastPrinted)
{
    const std::string wide(250, 'x');
    const VxEditPrintLayout layout = LayOut({"a", wide, ""}, 100, 45);
    // 10 cells a row: the first line, 25 rows of the wide one, the empty line.
    ASSERT_EQ(layout.RowCount(), 27);
    for (std::int32_t row = 1; row <= 25; ++row) {
        EXPECT_EQ(layout.Row(row).line, 1);
        EXPECT_EQ(layout.Row(row).column, (row - 1) * 10);
        EXPECT_EQ(layout.RowBytes(row, 250), 10);
    }
    EXPECT_EQ(layout.Row(26).line, 2);
    EXPECT_EQ(layout.Row(26).column, 0);
}

TEST(PrintLayout, ATwoByteCharacterAtARowsEndIsNeverSplit)
{
    // Each row of ten cells ends in "é" (two bytes), its tenth character.
    const std::string line = "abcdefghi\xC3\xA9jklmnopqr\xC3\xA9stuv";
    const VxEditPrintLayout layout = LayOut({line}, 100, 45);
    ASSERT_EQ(layout.RowCount(), 3);
    EXPECT_EQ(layout.Row(1).column, 11);
    EXPECT_EQ(layout.Row(2).column, 22);
    EXPECT_EQ(Rejoin(layout, {line})[0], line);
}

TEST(PrintLayout, ABodyTooNarrowForOneCharacterStillMovesOnOneCharacterARow)
{
    const std::string line = "ab\xC3\xA9";
    const VxEditPrintLayout layout = LayOut({line}, 3, 45);
    ASSERT_EQ(layout.RowCount(), 3);
    EXPECT_EQ(layout.Row(2).column, 2);
    EXPECT_EQ(layout.RowBytes(2, 4), 2);
}

TEST(PrintLayout, ABodyLowerThanOneLinePrintsOneRowPerPage)
{
    VxEditPrintLayout layout;
    layout.SetMetrics(10, kCell, kCell);
    layout.SetPage(VxEditPrintRect{0, 0, 800, 45}, 20, 20);  // a body 5 pixels high
    const std::vector<std::string> lines = {"one", "two", "three"};
    layout.Paginate(
        3,
        [&lines](std::int32_t line, const char*& text, std::int32_t& length) {
            text = lines[static_cast<std::size_t>(line)].data();
            length = static_cast<std::int32_t>(lines[static_cast<std::size_t>(line)].size());
            return true;
        },
        MeasureCells);
    EXPECT_EQ(layout.RowsPerPage(), 1);
    EXPECT_EQ(layout.PageCount(), 3);
    EXPECT_EQ(layout.FirstRowOf(2), 1);
    EXPECT_EQ(layout.LastRowOf(2), 1);
}

TEST(PrintLayout, TitleAndPageTexts)
{
    EXPECT_EQ(VxEditPrintLayout::Title(""), "Untitled");
    EXPECT_EQ(VxEditPrintLayout::Title("Hello.java"), "Hello.java");
    EXPECT_EQ(VxEditPrintLayout::PageText(2), "Page: 2");
}

TEST(PrintLayout, HalfInchMarginsAndTheRulesOfHeaderAndFooter)
{
    const VxEditPrintRect page = VxEditPrintLayout::HalfInchMargins(1000, 1400, 100, 120);
    EXPECT_EQ(page.left, 50);
    EXPECT_EQ(page.top, 60);
    EXPECT_EQ(page.right, 950);
    EXPECT_EQ(page.bottom, 1340);
    VxEditPrintLayout layout;
    layout.SetMetrics(11, kCell, kCell);
    layout.SetPage(page, 22, 22);
    EXPECT_EQ(layout.Body().top, 82);
    EXPECT_EQ(layout.Body().bottom, 1318);
    EXPECT_EQ(layout.HeaderRuleY(), 60 + 11 + 5);
    EXPECT_EQ(layout.FooterRuleY(), 1318 + 5);
    EXPECT_EQ(layout.PageNumberTop(), 1318 + 5 + 5);
    // A footer of one line has room for the rule but not for the number.
    layout.SetPage(page, 22, 11);
    EXPECT_EQ(layout.PageNumberTop(), -1);
}

// Random lines of ASCII, tabs and two-byte characters at random body widths:
// the rows cover every byte of every line once, in order, each starting on a
// character boundary, and no row reaches past the body by half a cell or
// more unless it is a single character.
TEST(PrintLayout, RandomLinesAreCoveredInOrderWithWholeCharactersThatFit)
{
    std::mt19937 random(15);
    const std::vector<std::string> pieces = {"a", "Z", " ", "\t", "\xC3\xA9", "\xE4\xB8\xAD", ";"};
    for (int round = 0; round < 40; ++round) {
        std::vector<std::string> lines(1 + random() % 30);
        for (std::string& line : lines) {
            const int count = static_cast<int>(random() % 120);
            for (int i = 0; i < count; ++i)
                line += pieces[random() % pieces.size()];
        }
        const int width = 1 + static_cast<int>(random() % 400);
        const VxEditPrintLayout layout = LayOut(lines, width, 1 + static_cast<int>(random() % 50));
        ASSERT_EQ(Rejoin(layout, lines), lines) << "width " << width;
        for (std::int32_t row = 0; row < layout.RowCount(); ++row) {
            const VxEditLineCol& at = layout.Row(row);
            if (row > 0) {
                const VxEditLineCol& before = layout.Row(row - 1);
                ASSERT_TRUE(at.line == before.line + 1 || (at.line == before.line && at.column > before.column));
            }
            const std::string& line = lines[static_cast<std::size_t>(at.line)];
            if (at.column < static_cast<std::int32_t>(line.size())) {
                ASSERT_FALSE(VxEditUtf8::IsContinuation(static_cast<unsigned char>(line[at.column])));
            }
            const std::int32_t bytes = layout.RowBytes(row, static_cast<std::int32_t>(line.size()));
            const int first = VxEditUtf8::CharLength(line.data() + at.column, line.size() - at.column);
            if (bytes > first && line.find('\t', at.column) >= static_cast<std::size_t>(at.column + bytes)) {
                ASSERT_LT(MeasureCells(line.data() + at.column, bytes), width + kCell / 2);
            }
        }
        EXPECT_EQ(layout.PageCount(), (layout.RowCount() + layout.RowsPerPage() - 1) / layout.RowsPerPage());
    }
}

}  // namespace
