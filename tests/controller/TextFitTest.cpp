// The fit of a pixel width to a line's characters, against a plain walk
// over every boundary.
#include "controller/VxEditTextFit.h"
#include "engine/VxEdit.h"
#include "engine/VxEditUtf8.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

// Cells: tabs to stops of 4, everything else one cell of 7 pixels.
int Extent(const std::string& text, int bytes)
{
    return VxEdit::CharToDisplayColIn(text.data(), static_cast<int>(text.size()), bytes, 4) * 7;
}

int PlainFit(const std::string& text, int width, bool printing)
{
    if (width < 1)
        return 0;
    const int length = static_cast<int>(text.size());
    if (Extent(text, length) <= width)
        return length;
    int m = 0;
    for (int at = 0; at < length;) {
        const int next = at + VxEditUtf8::CharLength(text.data() + at, text.size() - at);
        if (Extent(text, next) > width) {
            m = at;
            break;
        }
        at = next;
    }
    const int next = m + VxEditUtf8::CharLength(text.data() + m, text.size() - m);
    const int before = Extent(text, m);
    const int after = Extent(text, next);
    if (text[m] != '\t')
        return after - width < width - before ? next : m;
    if (printing)
        return after - width < 4 ? next : m;
    return before == width ? m : next;
}

TEST(TextFitTest, RoundsToTheNearerBoundaryAndTakesTabsAsTheModeSays)
{
    const std::string text = "ab\tc";
    const auto fit = [&](int width, bool printing) {
        return VxEditTextFit::Fit(text.data(), 4, width, printing, 7,
                                  [&](int bytes) { return Extent(text, bytes); });
    };
    EXPECT_EQ(0, fit(0, false));
    EXPECT_EQ(0, fit(3, false));
    EXPECT_EQ(1, fit(4, false));
    EXPECT_EQ(2, fit(14, false));
    EXPECT_EQ(3, fit(15, false));
    EXPECT_EQ(2, fit(15, true));
    EXPECT_EQ(3, fit(25, true));
    EXPECT_EQ(4, fit(100, false));
}

TEST(TextFitTest, AgreesWithAWalkOverEveryBoundary)
{
    std::mt19937 random(7);
    const char* const pieces[] = {"a", "\t", "\xC3\xA9", "\xE4\xB8\xAD", " ", "xyz"};
    for (int round = 0; round < 200; ++round) {
        std::string text;
        const int count = std::uniform_int_distribution<int>(1, 12)(random);
        for (int i = 0; i < count; ++i)
            text += pieces[std::uniform_int_distribution<int>(0, 5)(random)];
        const int total = Extent(text, static_cast<int>(text.size()));
        for (int width = -1; width <= total + 8; ++width) {
            for (const bool printing : {false, true}) {
                const int fitted = VxEditTextFit::Fit(
                    text.data(), static_cast<int>(text.size()), width, printing, 7,
                    [&](int bytes) { return Extent(text, bytes); });
                ASSERT_EQ(PlainFit(text, width, printing), fitted)
                    << "width " << width << " printing " << printing;
            }
        }
    }
}

}  // namespace
