// The terminal state against a plain model of a line printer: whatever is
// printed, the console's lines are the last ones printed, up to the
// scrollback's limit plus the screen.
#include "javatools/console/ConsoleScreen.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <string>

namespace {

TEST(ConsoleScreen, KeepsTheLastLinesOfRandomOutputInTheScrollback)
{
    constexpr int kRows = 5;
    constexpr int kColumns = 20;
    constexpr std::size_t kLimit = 50;
    ConsoleScreen screen(kRows, kColumns, kLimit);
    std::mt19937 random(12);
    std::deque<std::string> printed{""};
    for (int i = 0; i < 400; ++i) {
        // Words of random length, some lines longer than the screen is wide.
        std::string text;
        const int length = static_cast<int>(random() % 45);
        for (int c = 0; c < length; ++c)
            text += static_cast<char>('a' + random() % 26);
        for (char ch : text) {
            if (static_cast<int>(printed.back().size()) == kColumns)
                printed.emplace_back();
            printed.back() += ch;
        }
        screen.Feed(text);
        if (random() % 3 != 0) {
            screen.Feed("\r\n");
            printed.emplace_back();
        }
    }
    // Wrapping at the last column keeps the cursor on that line until the
    // next character: the model does the same.
    const int lines = screen.LineCount();
    ASSERT_EQ(screen.ScrollbackCount(), static_cast<int>(kLimit));
    const int used = screen.LastUsedLine() + 1;
    ASSERT_LE(used, lines);
    ASSERT_GE(printed.size(), static_cast<std::size_t>(used));
    for (int line = 0; line < used; ++line) {
        const std::string& expected = printed[printed.size() - static_cast<std::size_t>(used) +
                                              static_cast<std::size_t>(line)];
        EXPECT_EQ(screen.LineText(line), expected) << "line " << line;
    }
    EXPECT_EQ(screen.DroppedLines() + static_cast<std::uint64_t>(used), printed.size());
}

TEST(ConsoleScreen, TypedKeysBecomeTheBytesATerminalSends)
{
    ConsoleScreen screen(4, 20);
    std::string sent;
    screen.SetOutput([&](const char* bytes, std::size_t size) { sent.append(bytes, size); });
    screen.Character(U'4', VTERM_MOD_NONE);
    screen.Character(U'é', VTERM_MOD_NONE);
    screen.Key(VTERM_KEY_ENTER, VTERM_MOD_NONE);
    screen.Key(VTERM_KEY_BACKSPACE, VTERM_MOD_NONE);
    screen.Character(U'c', VTERM_MOD_CTRL);
    screen.Character(U'd', VTERM_MOD_CTRL);
    screen.Key(VTERM_KEY_UP, VTERM_MOD_NONE);
    EXPECT_EQ(sent, "4\xC3\xA9\r\x7f\x03\x04\x1b[A");
}

}  // namespace
