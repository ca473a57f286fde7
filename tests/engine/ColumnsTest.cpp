// Byte columns, display columns, tabs, UTF-8 characters and the line-length
// limit.
#include "ModelSupport.h"

#include "language/VxEditLangConfig.h"

#include <gtest/gtest.h>

namespace quillet::test {
namespace {

void Type(VxEdit& model, int line, int column, const std::string& text)
{
    ASSERT_EQ(1, model.InsertAtLineCol(line, column, text.data(), static_cast<std::int64_t>(text.size())));
}

// Sets the shared configuration's tab size for one test.
class TabSizeScope {
public:
    TabSizeScope(VxEdit& model, int size) : config_(model.GetLangConfig()), saved_(config_->GetTabSize())
    {
        config_->SetTabSize(size);
    }
    ~TabSizeScope() { config_->SetTabSize(saved_); }

private:
    VxEditLangConfig* config_;
    int saved_;
};

TEST(DisplayColumns, TabExpandsToTheNextStop)
{
    auto model = NewModel();
    TabSizeScope tabs(*model, 4);
    Type(*model, 0, 0, "\tx");
    EXPECT_EQ(4, model->CharToDisplayCol(1, 0));
    for (int display = 1; display <= 3; ++display) {
        std::int32_t snapped = -1;
        EXPECT_EQ(0, model->DisplayToCharCol(display, 0, &snapped)) << display;
        EXPECT_EQ(0, snapped) << display;
    }
    EXPECT_EQ(1, model->DisplayToCharCol(4, 0));
    std::int32_t snapped = -1;
    EXPECT_EQ(2, model->DisplayToCharCol(40, 0, &snapped));
    EXPECT_EQ(5, snapped);
    EXPECT_EQ(5, model->DisplayLength(0));
}

TEST(DisplayColumns, TabSizeOneDisablesExpansion)
{
    auto model = NewModel();
    TabSizeScope tabs(*model, 1);
    Type(*model, 0, 0, "a\t\tb");
    EXPECT_EQ(3, model->CharToDisplayCol(3, 0));
    EXPECT_EQ(2, model->DisplayToCharCol(2, 0));
}

TEST(DisplayColumns, WideCharactersTakeTwoCellsAndStayWhole)
{
    auto model = NewModel();
    Type(*model, 0, 0, "\xE4\xB8\xAD" "a\xC3\xA9\xFF" "b");  // wide, a, e-acute, stray byte, b
    EXPECT_EQ(2, model->CharToDisplayCol(3, 0));
    EXPECT_EQ(0, model->CharToDisplayCol(2, 0));  // inside the wide character
    EXPECT_EQ(3, model->CharToDisplayCol(4, 0));
    EXPECT_EQ(4, model->CharToDisplayCol(6, 0));
    EXPECT_EQ(5, model->CharToDisplayCol(7, 0));
    std::int32_t snapped = -1;
    EXPECT_EQ(0, model->DisplayToCharCol(1, 0, &snapped));
    EXPECT_EQ(0, snapped);
    EXPECT_EQ(3, model->DisplayToCharCol(2, 0));
    EXPECT_EQ(0, model->SnapColumn(0, 1));
    EXPECT_EQ(0, model->SnapColumn(0, 2));
    EXPECT_EQ(3, model->SnapColumn(0, 3));
    EXPECT_EQ(4, model->SnapColumn(0, 5));
    EXPECT_EQ(6, model->SnapColumn(0, 6));  // a stray byte is a character of its own
    EXPECT_EQ(8, model->SnapColumn(0, 99, true));
}

TEST(DisplayColumns, TabsAndIndentation)
{
    auto model = NewModel();
    TabSizeScope tabs(*model, 4);
    Type(*model, 0, 0, "ab");
    EXPECT_EQ(2, model->TabWidthAt(VxEditLineCol(0, 2)));
    EXPECT_EQ("\t", model->TabString(VxEditLineCol(0, 2)));
    EXPECT_EQ("\t\t  ", model->WhitespaceFor(10));
    EXPECT_EQ("   ", model->WhitespaceFor(3));
    model->GetLangConfig()->SetReplaceTabs(1);
    EXPECT_EQ("  ", model->TabString(VxEditLineCol(0, 2)));
    EXPECT_EQ(std::string(10, ' '), model->WhitespaceFor(10));
    model->GetLangConfig()->SetReplaceTabs(0);
}

TEST(DisplayColumns, BlankLinesAndValidPositions)
{
    auto model = NewModel();
    Type(*model, 0, 0, " \t \nx\n");
    EXPECT_TRUE(model->IsBlankLine(0));
    EXPECT_FALSE(model->IsBlankLine(1));
    EXPECT_TRUE(model->IsBlankLine(2));
    EXPECT_FALSE(model->IsBlankLine(3));
    EXPECT_TRUE(model->IsValidPosition(1, 1));
    EXPECT_FALSE(model->IsValidPosition(1, 2));
    EXPECT_TRUE(model->IsValidPosition(1, 9, true));
    EXPECT_FALSE(model->IsValidPosition(3, 0));
}

TEST(LineLengthLimit, WideCharactersBreakWithoutBeingSplit)
{
    auto model = NewModel();
    std::string wide;
    for (int i = 0; i < 1100; ++i)
        wide += "\xE4\xB8\xAD";
    Type(*model, 0, 0, wide);
    ASSERT_EQ(2, model->LineCount());
    EXPECT_EQ(1024 * 3, model->LineLength(0));
    EXPECT_EQ(2048, model->DisplayLength(0));
    EXPECT_EQ(76 * 3, model->LineLength(1));
    EXPECT_EQ(0, model->BreakLongLines(false, 0, -1));
}

TEST(LineLengthLimit, TabThatCrossesTheLimitMovesToTheNextLine)
{
    auto model = NewModel();
    TabSizeScope tabs(*model, 3);  // the tab at display column 2047 reaches 2049
    Type(*model, 0, 0, std::string(2047, 'x') + "\tyz");
    ASSERT_EQ(2, model->LineCount());
    EXPECT_EQ(2047, model->LineLength(0));
    EXPECT_EQ("\tyz", LineOf(*model, 1));
}

}  // namespace
}  // namespace quillet::test
