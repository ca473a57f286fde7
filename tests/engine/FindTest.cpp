// The text store's search: plain text in both directions with wrapping,
// whole words, case, patterns; and the pattern engine on its own.
#include "ModelSupport.h"

#include "engine/VxEditFindRequest.h"
#include "engine/VxEditPattern.h"
#include "engine/VxEditTextSearch.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

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

// Find as a plain reading of the whole text in one string: every candidate
// position is tried in order, patterns run on the whole text.
Found ReferenceFind(VxEdit& model, const std::string& needle, VxEditLineCol startAt, bool down,
                    bool matchCase, bool wholeWord, bool pattern, VxEditLineCol endAt, bool wrap)
{
    const std::string text = AllText(model);
    const auto length = static_cast<std::int64_t>(text.size());
    const VxEditTextBuffer& buffer = model.TextBuffer();
    const std::int64_t s = buffer.OffsetOf(startAt.line, startAt.column);
    const std::int64_t e = endAt.line == -1 ? s : buffer.OffsetOf(endAt.line, endAt.column);
    const auto size = static_cast<std::int64_t>(needle.size());
    auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    auto isCharStart = [&](std::int64_t at) {
        return VxEditUtf8::CharStart(text.data(), text.size(), static_cast<std::size_t>(at)) ==
               static_cast<std::size_t>(at);
    };
    auto plainAt = [&](std::int64_t at) {
        if (at < 0 || at + size > length || !isCharStart(at))
            return false;
        for (std::int64_t i = 0; i < size; ++i) {
            const char a = text[static_cast<std::size_t>(at + i)];
            const char b = needle[static_cast<std::size_t>(i)];
            if (matchCase ? a != b : fold(a) != fold(b))
                return false;
        }
        return !wholeWord || VxEditTextSearch::IsWholeWordAt(buffer, at, size);
    };
    auto found = [&](std::int64_t at, std::int64_t matched) {
        return Found{matched, buffer.PositionOf(at)};
    };
    const Found none{0, {-1, -1}};
    if (pattern) {
        VxEditPattern engine;
        engine.SetPattern(needle);
        engine.SetIgnoreCase(!matchCase);
        auto first = [&](std::int64_t from, std::int64_t last) -> Found {
            std::size_t index = 0;
            std::size_t matched = 0;
            if (!engine.FirstMatch(text.data(), text.size(), static_cast<std::size_t>(from), index, matched) ||
                static_cast<std::int64_t>(index) > last)
                return {0, {-1, -1}};
            return found(static_cast<std::int64_t>(index), static_cast<std::int64_t>(matched));
        };
        if (down && s < e)
            return first(s, e);
        Found hit = first(s, length);
        const std::int64_t wrapEnd = down ? e : s;
        if (hit.length == 0 && wrap && wrapEnd != 0)
            hit = first(0, wrapEnd);
        return hit;
    }
    auto firstIn = [&](std::int64_t from, std::int64_t last) {
        for (std::int64_t at = from; at <= last; ++at) {
            if (plainAt(at))
                return found(at, size);
        }
        return none;
    };
    auto lastIn = [&](std::int64_t from, std::int64_t last) {
        for (std::int64_t at = last; at >= from; --at) {
            if (plainAt(at))
                return found(at, size);
        }
        return none;
    };
    if (down) {
        if (s < e)
            return firstIn(s, e);
        Found hit = firstIn(s, length);
        if (hit.length == 0 && e != 0 && wrap)
            hit = firstIn(0, e);
        return hit;
    }
    if (s > e)
        return lastIn(e, s - 1);
    Found hit = s != 0 ? lastIn(0, s - 1) : none;
    if (hit.length == 0 && e < length && wrap)
        hit = lastIn(e, length - 1);
    return hit;
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

TEST(FindAfterEdits, AgreesWithAPlainReadingOfTheWholeText)
{
    // Edits leave the store's gap anywhere, and searches read only the text
    // around the start; every kind of search must find what a reading of the
    // whole text finds.
    const std::vector<std::string> pieces = {"ab", "c", "AB c", "x_y", " ", "\n", "\r\n", "\xE6\x96\x87", "abc"};
    struct Kind {
        std::string text;
        bool matchCase, wholeWord, pattern;
    };
    const std::vector<Kind> kinds = {
        {"abc", true, false, false},  {"ab", false, false, false},  {"c", true, true, false},
        {"\xE6\x96\x87", true, false, false}, {"(?<=ab)c", true, false, true}, {"\\bc", true, false, true},
        {"^ab", false, false, true},  {"c$", true, false, true},    {"(?<=\xE6\x96\x87" "a)b", true, false, true},
    };
    std::mt19937 random(20261208);
    auto model = NewModel();
    for (int round = 0; round < 300; ++round) {
        const std::string before = AllText(*model);
        const auto at = static_cast<std::int64_t>(random() % (before.size() + 1));
        const VxEditLineCol where = model->TextBuffer().PositionOf(at);
        if (random() % 4 == 0 && model->LineLength(where.line) > where.column) {
            model->DeleteRange(where.line, where.column, where.line,
                               std::min(model->LineLength(where.line), where.column + 3));
        } else {
            std::string piece;
            for (int i = 0, n = 1 + static_cast<int>(random() % 6); i < n; ++i)
                piece += pieces[random() % pieces.size()];
            model->InsertAtLineCol(where.line, std::min(where.column, model->LineLength(where.line)),
                                   piece.data(), static_cast<std::int64_t>(piece.size()));
        }
        for (int search = 0; search < 4; ++search) {
            const Kind& kind = kinds[random() % kinds.size()];
            const int line = static_cast<int>(random() % static_cast<unsigned>(model->LineCount()));
            VxEditLineCol start(line, static_cast<std::int32_t>(random() % (model->LineLength(line) + 1)));
            // Starting right on a match is where the text before the start
            // decides (look-behind, word boundaries).
            if (random() % 2 == 0) {
                const std::string text = AllText(*model);
                const std::size_t c = text.find('c', static_cast<std::size_t>(random() % (text.size() + 1)));
                if (c != std::string::npos)
                    start = model->TextBuffer().PositionOf(static_cast<std::int64_t>(c));
            }
            VxEditLineCol end(-1, -1);
            if (random() % 3 == 0) {
                const int endLine = static_cast<int>(random() % static_cast<unsigned>(model->LineCount()));
                end = VxEditLineCol(endLine, static_cast<std::int32_t>(random() % (model->LineLength(endLine) + 1)));
            }
            const bool down = random() % 2 == 0;
            const bool wrap = random() % 4 != 0;
            const Found expected = ReferenceFind(*model, kind.text, start, down, kind.matchCase,
                                                 kind.wholeWord, kind.pattern, end, wrap);
            ASSERT_EQ(expected, Find(*model, kind.text, start, down, kind.matchCase, kind.wholeWord,
                                     kind.pattern, end, wrap))
                << "round " << round << " searching " << kind.text << " from " << start.line << ":"
                << start.column;
        }
    }
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
