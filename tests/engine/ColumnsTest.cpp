// Byte columns, display columns, tabs, UTF-8 characters and the line-length
// limit.
#include "ModelSupport.h"

#include "language/VxEditLangConfig.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>

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

// Lines of megabytes are measured through checkpoints that edits cut back:
// after random edits near and far from the end of such a line, every byte
// column and display column must map as a plain walk over the line does.
TEST(DisplayColumns, LongLinesMapLikeAPlainWalkAfterRandomEdits)
{
    auto model = NewModel();
    std::mt19937 random(20261209);
    std::string line;
    while (line.size() < 70000)
        line += random() % 7 == 0 ? "\t\xE4\xB8\xAD" : "var x=1;";
    // Loaded, since an edit would break a line this long.
    TempDir dir;
    WriteFileBytes(dir.File("long.js"), "short\r\n" + line + "\r\nlast");
    ASSERT_EQ(1, model->LoadFile(dir.File("long.js")));
    const std::string pieces[] = {"a", "\t", "\xC3\xA9", "\xE4\xB8\xAD\t", "\r\n", "bb"};
    for (int round = 0; round < 300; ++round) {
        const std::int32_t target = 1;
        const std::int32_t length = model->LineLength(target);
        switch (random() % 5) {
        case 0:
        case 1: {  // typing near the end of the long line
            const std::int32_t column = model->SnapColumn(target, length - static_cast<std::int32_t>(random() % 64));
            const std::string& piece = pieces[random() % 4];
            model->InsertAtLineCol(target, column, piece.data(), static_cast<std::int64_t>(piece.size()));
            break;
        }
        case 2: {  // deleting somewhere inside it
            const std::int32_t from = model->SnapColumn(target, static_cast<std::int32_t>(random() % length));
            const std::int32_t to = model->SnapColumn(target, std::min(length, from + 1 + static_cast<std::int32_t>(random() % 8)));
            model->DeleteRange(target, from, target, to);
            break;
        }
        case 3: {  // an edit on the line above, sometimes adding a line
            const std::string& piece = pieces[4 + random() % 2];
            model->InsertAtLineCol(0, 0, piece.data(), static_cast<std::int64_t>(piece.size()));
            if (piece == "\r\n")
                model->DeleteRange(0, 0, 1, 0);
            break;
        }
        default:
            break;
        }
        const std::string current = LineOf(*model, target);
        ASSERT_GE(current.size(), 65536u);
        const auto size = static_cast<std::int32_t>(current.size());
        for (int probe = 0; probe < 4; ++probe) {
            const auto column = static_cast<std::int32_t>(random() % (current.size() + 1));
            ASSERT_EQ(VxEdit::CharToDisplayColIn(current.data(), size, column, model->TabSize()),
                      model->CharToDisplayCol(column, target));
            const std::int32_t display = VxEdit::CharToDisplayColIn(current.data(), size, size, model->TabSize());
            const auto wanted = static_cast<std::int32_t>(random() % (display + 2));
            std::int32_t expectedSnap = 0;
            std::int32_t snap = 0;
            ASSERT_EQ(VxEdit::DisplayToCharColIn(current.data(), size, wanted, model->TabSize(), &expectedSnap),
                      model->DisplayToCharCol(wanted, target, &snap));
            ASSERT_EQ(expectedSnap, snap);
        }
        ASSERT_EQ(VxEdit::CharToDisplayColIn(current.data(), size, size, model->TabSize()),
                  model->DisplayLength(target));
    }
}

}  // namespace
}  // namespace quillet::test
