// The text store's search: plain text in both directions with wrapping,
// whole words, case, patterns; and the pattern engine on its own.
#include "ModelSupport.h"

#include "engine/VxEditFindRequest.h"
#include "engine/VxEditPattern.h"

#include <gtest/gtest.h>

namespace quillet::test {
namespace {

struct Found {
    std::int64_t length;
    VxEditLineCol at;
    bool operator==(const Found& other) const { return length == other.length && at == other.at; }
};

std::ostream& operator<<(std::ostream& out, const Found& found)
{
    return out << found.length << " at " << found.at.line << ":" << found.at.column;
}

Found Find(VxEdit& model, const std::string& text, VxEditLineCol start, bool down = true,
           bool matchCase = true, bool wholeWord = false, bool pattern = false,
           VxEditLineCol end = VxEditLineCol(-1, -1), bool wrap = true)
{
    VxEditFindRequest request;
    request.start = start;
    request.end = end;
    request.text = text;
    request.searchDown = down;
    request.wrapAround = wrap;
    request.matchCase = matchCase;
    request.wholeWord = wholeWord;
    request.pattern = pattern;
    const std::int64_t length = model.Find(request);
    return {length, length ? request.match : VxEditLineCol(-1, -1)};
}

auto ModelWith(const std::string& text)
{
    auto model = NewModel();
    model->InsertAtLineCol(0, 0, text.data(), static_cast<std::int64_t>(text.size()));
    return model;
}

TEST(FindPlain, DownWrapsAroundToTheStart)
{
    auto model = ModelWith("alpha beta\ngamma alpha\n");
    EXPECT_EQ((Found{5, {1, 6}}), Find(*model, "alpha", {0, 1}));
    EXPECT_EQ((Found{5, {0, 0}}), Find(*model, "alpha", {1, 7}));
    EXPECT_EQ((Found{0, {-1, -1}}), Find(*model, "alpha", {1, 7}, true, true, false, false, {-1, -1}, false));
    EXPECT_EQ((Found{0, {-1, -1}}), Find(*model, "delta", {0, 0}));
    EXPECT_EQ((Found{0, {-1, -1}}), Find(*model, "", {0, 0}));
    EXPECT_EQ((Found{0, {-1, -1}}), Find(*model, "alpha", {5, 0}));
}

TEST(FindPlain, UpSearchesBeforeTheStartThenWraps)
{
    auto model = ModelWith("one two one\ntwo one");
    EXPECT_EQ((Found{3, {0, 8}}), Find(*model, "one", {1, 0}, false));
    EXPECT_EQ((Found{3, {0, 0}}), Find(*model, "one", {0, 8}, false));
    EXPECT_EQ((Found{3, {1, 4}}), Find(*model, "one", {0, 0}, false));
}

TEST(FindPlain, StraightRegionStopsAtItsEnd)
{
    auto model = ModelWith("ab ab ab");
    EXPECT_EQ((Found{2, {0, 3}}), Find(*model, "ab", {0, 1}, true, true, false, false, {0, 3}));
    EXPECT_EQ((Found{0, {-1, -1}}), Find(*model, "ab", {0, 1}, true, true, false, false, {0, 2}));
    EXPECT_EQ((Found{0, {-1, -1}}), Find(*model, "ab", {0, 1}, true, false, false, false, {0, 2}));
}

TEST(FindPlain, CaseAndWholeWords)
{
    auto model = ModelWith("xa_by\nx a_b y\nx_a_b_y\nA_B");
    EXPECT_EQ((Found{3, {1, 2}}), Find(*model, "a_b", {0, 0}, true, true, true));
    EXPECT_EQ((Found{3, {2, 2}}), Find(*model, "a_b", {1, 3}, true, true, true));
    EXPECT_EQ((Found{3, {3, 0}}), Find(*model, "a_b", {2, 3}, true, false, true));
    EXPECT_EQ((Found{3, {0, 1}}), Find(*model, "A_B", {0, 0}, true, false, false));
    EXPECT_TRUE(model->TextBuffer().IsWholeWordAt(model->TextBuffer().OffsetOf(1, 2), 3));
    EXPECT_FALSE(model->TextBuffer().IsWholeWordAt(model->TextBuffer().OffsetOf(0, 1), 3));
}

TEST(FindPlain, MultiByteTextIsMatchedAtCharacterStarts)
{
    auto model = ModelWith("\xE4\xB8\xAD\xE6\x96\x87 \xE6\x96\x87");
    EXPECT_EQ((Found{3, {0, 3}}), Find(*model, "\xE6\x96\x87", {0, 0}, true, false));
    EXPECT_EQ((Found{3, {0, 7}}), Find(*model, "\xE6\x96\x87", {0, 4}, true, false));
    EXPECT_EQ((Found{3, {0, 3}}), Find(*model, "\xE6\x96\x87", {0, 7}, false, false));
}

TEST(FindPattern, RunsForwardWhateverTheDirection)
{
    auto model = ModelWith("int a = 1;\nint bb = 22;\n");
    EXPECT_EQ((Found{2, {1, 9}}), Find(*model, "[0-9]+", {1, 0}, true, true, false, true));
    EXPECT_EQ((Found{2, {1, 9}}), Find(*model, "[0-9]+", {1, 0}, false, true, false, true));
    EXPECT_EQ((Found{3, {0, 0}}), Find(*model, "INT", {0, 0}, true, false, false, true));
    EXPECT_EQ((Found{0, {-1, -1}}), Find(*model, "INT", {0, 0}, true, true, false, true));
    EXPECT_EQ((Found{3, {1, 0}}), Find(*model, "^int", {0, 1}, true, true, false, true));
    EXPECT_EQ((Found{1, {0, 9}}), Find(*model, ";$", {0, 0}, true, true, false, true));
    EXPECT_EQ((Found{0, {-1, -1}}), Find(*model, "(unclosed", {0, 0}, true, true, false, true));
}

TEST(FindPattern, MatchesAcrossWhatUsedToBeASliceEnd)
{
    std::string text;
    while (text.size() < 255900)
        text += std::string(99, 'x') + "\n";
    text.resize(255995, 'x');
    text += "needle";
    auto model = ModelWith(text);
    const VxEditLineCol at = model->TextBuffer().PositionOf(255995);
    EXPECT_EQ((Found{6, at}), Find(*model, "ne+dle", {0, 0}, true, true, false, true));
}

TEST(PatternEngine, FirstMatchAndReplaceWithGroups)
{
    VxEditPattern pattern;
    ASSERT_TRUE(pattern.IsCreated());
    pattern.SetPattern("(\\w+)=(\\d+)");
    std::string match;
    std::size_t index = 0;
    std::size_t length = 0;
    ASSERT_TRUE(pattern.FirstMatch("let x=42;", match, index, length));
    EXPECT_EQ("x=42", match);
    EXPECT_EQ(4u, index);
    EXPECT_EQ(4u, length);
    std::string result;
    EXPECT_TRUE(pattern.ReplaceIn("x=42", "$2:$1 ($&) $$", result));
    EXPECT_EQ("42:x (x=42) $", result);
    EXPECT_FALSE(pattern.ReplaceIn("no match", "y", result));
    EXPECT_EQ("no match", result);
    pattern.SetPattern("[");
    EXPECT_FALSE(pattern.IsValid());
    EXPECT_FALSE(pattern.ErrorText().empty());
    pattern.SetPattern("\xE4\xB8\xAD+");
    ASSERT_TRUE(pattern.FirstMatch("bad \xFF byte \xE4\xB8\xAD\xE4\xB8\xAD", match, index, length));
    EXPECT_EQ(11u, index);
    EXPECT_EQ(6u, length);
}

}  // namespace
}  // namespace quillet::test
