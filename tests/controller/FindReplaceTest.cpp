// Find, replace and mark all as the dialogs run them: the messages the user
// reads, whole words, Replace All in one undo step, and Replace All on
// random texts against a plain reading of the original string.
#include "ControllerSupport.h"

#include "controller/VxEditSearchState.h"
#include "engine/VxEditTextSearch.h"
#include "platform/core/MessageSeam.h"

#include <gtest/gtest.h>

#include <random>

namespace quillet::test {
namespace {

using quillet::platform::MessageIcon;
using quillet::platform::RecordingMessageSink;

class FindReplaceTest : public ::testing::Test, public ControllerFixture {
protected:
    FindReplaceTest()
    {
        VxEditSearchState& state = VxEditSearchState::ForThread();
        state.findHistory.clear();
        state.replaceHistory.clear();
        state.findText.clear();
    }

    int Request(int code, const std::string& find, const std::string& replace = {}, bool fromFind = true)
    {
        values.findText = find;
        values.replaceText = replace;
        values.fromFindDialog = fromFind;
        return controller.OnFindReplaceRequest(code, values);
    }
    int ReplaceAll(const std::string& find, const std::string& replace)
    {
        return Request(VxEditController::kRequestReplaceAll, find, replace, false);
    }
    std::string LastMessage() const { return sink.Texts().empty() ? "" : sink.Texts().back(); }

    RecordingMessageSink sink;
    VxEditFindDialogValues values;
};

TEST_F(FindReplaceTest, NothingFoundReadsDifferentlyFromTheFindAndTheReplaceDialog)
{
    SetText("alpha beta");
    EXPECT_EQ(0, Request(VxEditController::kRequestFindNext, "zeta"));
    EXPECT_EQ("Cannot find the string 'zeta'.", LastMessage());
    EXPECT_EQ(MessageIcon::Warning, sink.Messages().back().icon);
    EXPECT_EQ(0, Request(VxEditController::kRequestFindNext, "zeta", "", false));
    EXPECT_EQ("Finished searching for 'zeta'.", LastMessage());
}

TEST_F(FindReplaceTest, FindNextWrapsAndStopsAtTheOnlyMatchItHasSelected)
{
    SetText("beta\nalpha beta\ngamma");
    controller.SetCaret(1, 2);
    EXPECT_EQ(1, Request(VxEditController::kRequestFindNext, "beta"));
    EXPECT_EQ(VxEditLineColPair(1, 6, 1, 10), SelectionRange());
    EXPECT_EQ(1, Request(VxEditController::kRequestFindNext, "beta"));  // wraps to the start
    EXPECT_EQ(VxEditLineColPair(0, 0, 0, 4), SelectionRange());
    EXPECT_TRUE(sink.Texts().empty());

    SetText("one beta here");
    EXPECT_EQ(1, Request(VxEditController::kRequestFindNext, "beta"));
    EXPECT_EQ(0, Request(VxEditController::kRequestFindNext, "beta"));
    EXPECT_EQ("Finished searching for 'beta'.", LastMessage());
    EXPECT_EQ(VxEditLineColPair(0, 4, 0, 8), SelectionRange());
}

// Old Mac files end their lines with a lone CR: the whole text is one line
// the editor shows, and what Find selects and Go To Line reaches lies on it.
TEST_F(FindReplaceTest, FindAndGoToLineInATextWithLoneCrLineEnds)
{
    SetText("class Mac {\r  int one;\r}\r");
    EXPECT_EQ(1, Request(VxEditController::kRequestFindNext, "one"));
    EXPECT_EQ(VxEditLineColPair(0, 18, 0, 21), SelectionRange());
    EXPECT_EQ(25, model->LineLength(0));
    controller.GotoLine(2);
    EXPECT_EQ(At(0, 0), Caret());
    EXPECT_TRUE(sink.Texts().empty());
}

TEST_F(FindReplaceTest, UnderscoreIsAWordDelimiter)
{
    values.wholeWord = true;
    SetText("xa_by");
    EXPECT_EQ(0, Request(VxEditController::kRequestFindNext, "a_b"));
    SetText("x a_b y");
    EXPECT_EQ(1, Request(VxEditController::kRequestFindNext, "a_b"));
    SetText("x_a_b_y");
    EXPECT_EQ(1, Request(VxEditController::kRequestFindNext, "a_b"));
    EXPECT_EQ(VxEditLineColPair(0, 2, 0, 5), SelectionRange());
}

TEST_F(FindReplaceTest, APatternSearchUpStillFindsTheMatchBelow)
{
    SetText("foo\nbar\nfoooo");
    controller.SetCaret(1, 1);
    values.pattern = true;
    values.searchDown = false;
    EXPECT_EQ(1, Request(VxEditController::kRequestFindNext, "fo+"));
    EXPECT_EQ(VxEditLineColPair(2, 0, 2, 5), SelectionRange());
}

TEST_F(FindReplaceTest, APatternThatDoesNotCompileIsReportedNotNotFound)
{
    SetText("(a)");
    values.pattern = true;
    EXPECT_EQ(0, Request(VxEditController::kRequestFindNext, "(a"));
    ASSERT_EQ(1u, sink.Texts().size());
    EXPECT_NE(std::string::npos, LastMessage().find("'(a'"));
    EXPECT_NE(std::string::npos, LastMessage().find("offset 2"));
    EXPECT_EQ(std::string::npos, LastMessage().find("Cannot find"));
    EXPECT_EQ(0, ReplaceAll("(a", "b"));
    EXPECT_EQ("(a)", Text());
}

// (a+)+b on a long run of a's takes PCRE2 past its limits, with JIT too. The
// search passes over that line, finds the matches around it and says which
// line it could not search, instead of "not found" or a silent miss.
TEST_F(FindReplaceTest, APatternTooComplexForALineNamesItAndTheMatchesAroundItAreFound)
{
    const std::string runOfAs(40, 'a');
    const std::string tooComplex = "The pattern is too complex for line 2; some matches may be missing.";
    values.pattern = true;
    // PCRE2 tries a line only while a "b" follows somewhere.
    SetText("ab\n" + runOfAs + "c\naab\nb");
    controller.SetCaret(1, 0);
    EXPECT_EQ(1, Request(VxEditController::kRequestFindNext, "(a+)+b"));
    EXPECT_EQ(VxEditLineColPair(2, 0, 2, 3), SelectionRange());
    EXPECT_EQ(tooComplex, LastMessage());
    EXPECT_EQ(MessageIcon::Warning, sink.Messages().back().icon);

    EXPECT_EQ(1, Request(VxEditController::kRequestMarkAll, "(a+)+b"));
    EXPECT_EQ(2, model->CountMarkedLines(VxEdit::kMarkBookmark));
    EXPECT_EQ(1, model->TestMark(0, VxEdit::kMarkBookmark));
    EXPECT_EQ(1, model->TestMark(2, VxEdit::kMarkBookmark));
    EXPECT_EQ(tooComplex, LastMessage());

    EXPECT_EQ(1, ReplaceAll("(a+)+b", "X"));
    EXPECT_EQ("X\n" + runOfAs + "c\nX\nb", Text());
    EXPECT_EQ("The document has been searched and 2 replacements were made. " + tooComplex, LastMessage());

    // Nothing found beside it: the search says what it could not search.
    SetText("c\n" + runOfAs + "c\nb");
    EXPECT_EQ(0, Request(VxEditController::kRequestFindNext, "(a+)+b"));
    EXPECT_EQ(tooComplex, LastMessage());
}

TEST_F(FindReplaceTest, ReplaceAllDoesNotRevisitInsertedText)
{
    SetText("aaa");
    EXPECT_EQ(1, ReplaceAll("a", "aa"));
    EXPECT_EQ("aaaaaa", Text());
    EXPECT_EQ("The document has been searched and 3 replacements were made.", LastMessage());
    EXPECT_EQ(MessageIcon::None, sink.Messages().back().icon);

    SetText("aaa");
    controller.SetCaret(0, 1);
    EXPECT_EQ(1, ReplaceAll("a", "aa"));
    EXPECT_EQ("aaaaaa", Text());
    EXPECT_EQ("The document has been searched and 3 replacements were made.", LastMessage());
}

TEST_F(FindReplaceTest, ReplaceAllInTheSelectionStopsAtItsEnd)
{
    SetText("cat cat\ncat cat\ncat");
    controller.SetSelection(At(0, 4), At(1, 5), VxEditSelection::kStream);
    values.inSelection = true;
    EXPECT_EQ(1, ReplaceAll("cat", "dog"));
    EXPECT_EQ("cat dog\ndog cat\ncat", Text());
    EXPECT_EQ("The selection has been searched and 2 replacements were made.", LastMessage());
    EXPECT_FALSE(controller.HasSelection());
}

TEST_F(FindReplaceTest, AnOverlongLineStopsReplaceAllAndOneUndoTakesBackTheRest)
{
    const std::string original = "ab ab\n" + std::string(2040, 'x') + "ab\nab";
    SetText(original);
    EXPECT_EQ(1, ReplaceAll("ab", "0123456789"));
    EXPECT_EQ("Cannot replace text. Line would exceed 2048 characters.", sink.Texts().at(0));
    EXPECT_EQ("The document has been searched and 2 replacements were made.", LastMessage());
    EXPECT_EQ("0123456789 0123456789\n" + std::string(2040, 'x') + "ab\nab", Text());
    Press(cmd::kEditUndo);
    EXPECT_EQ(original, Text());
}

TEST_F(FindReplaceTest, ReplaceSelectsTheMatchThenReplacesItAndSelectsTheNext)
{
    SetText("one two one two");
    EXPECT_EQ(1, Request(VxEditController::kRequestReplace, "two", "2", false));
    EXPECT_EQ(VxEditLineColPair(0, 4, 0, 7), SelectionRange());
    EXPECT_EQ(1, Request(VxEditController::kRequestReplace, "two", "2", false));
    EXPECT_EQ("one 2 one two", Text());
    EXPECT_EQ(VxEditLineColPair(0, 10, 0, 13), SelectionRange());
    values.pattern = true;
    EXPECT_EQ(1, Request(VxEditController::kRequestReplace, "(t)(wo)", "$2$1", false));
    EXPECT_EQ("one 2 one wot", Text());
}

TEST_F(FindReplaceTest, ReplacingOnAReadOnlyTextIsRefused)
{
    SetText("abc");
    controller.SetReadOnly(true);
    EXPECT_EQ(0, ReplaceAll("b", "x"));
    EXPECT_EQ("Text is read-only. Cannot perform replace.", LastMessage());
    EXPECT_EQ("abc", Text());
}

TEST_F(FindReplaceTest, MarkAllMarksEachMatchingLineOnce)
{
    SetText("foo foo\nbar\nx foo\nfoo");
    controller.SetCaret(1, 0);
    EXPECT_EQ(1, Request(VxEditController::kRequestMarkAll, "foo"));
    EXPECT_EQ(3, model->CountMarkedLines(VxEdit::kMarkBookmark));
    EXPECT_EQ(0, model->TestMark(1, VxEdit::kMarkBookmark));
    EXPECT_EQ(At(2, 0), Caret());
    EXPECT_EQ(0, Request(VxEditController::kRequestMarkAll, "zzz"));
    EXPECT_EQ("Cannot find the string 'zzz'.", LastMessage());
}

TEST_F(FindReplaceTest, F3TakesTheWordAtTheCaretWhenThereIsNoSearchText)
{
    SetText("alpha beta alpha");
    controller.SetCaret(0, 2);
    Press(cmd::kFindNext);
    EXPECT_EQ(VxEditLineColPair(0, 11, 0, 16), SelectionRange());
    Press(cmd::kFindPrevious);
    EXPECT_EQ(VxEditLineColPair(0, 0, 0, 5), SelectionRange());
    controller.SetCaret(0, 7);
    Press(cmd::kFindNextWord);
    EXPECT_EQ("beta", VxEditSearchState::ForThread().findText);
    EXPECT_EQ(VxEditLineColPair(0, 6, 0, 10), SelectionRange());
}

// The length of a match of one of the test's patterns at the text's
// position, 0 for none: "a+b?", "[ab]A", "(a)(b)" and "b{2}", read by hand.
std::size_t PatternMatchAt(const std::string& pattern, const std::string& text, std::size_t at,
                           bool matchCase)
{
    auto is = [&](std::size_t i, char c) {
        if (i >= text.size())
            return false;
        const char t = text[i];
        return matchCase ? t == c : (t | 0x20) == (c | 0x20);
    };
    if (pattern == "a+b?") {
        std::size_t end = at;
        while (is(end, 'a'))
            ++end;
        if (end == at)
            return 0;
        return end - at + (is(end, 'b') ? 1 : 0);
    }
    if (pattern == "[ab]A")
        return (is(at, 'a') || is(at, 'b')) && is(at + 1, 'A') ? 2 : 0;
    if (pattern == "(a)(b)")
        return is(at, 'a') && is(at + 1, 'b') ? 2 : 0;
    return is(at, 'b') && is(at + 1, 'b') ? 2 : 0;
}

// The text after replacing every match, read from the original string from
// left to right; the count in replaced.
std::string ReferenceReplaceAll(const std::string& text, const std::string& needle,
                                const std::string& replacement, bool matchCase, bool wholeWord,
                                bool pattern, int& replaced)
{
    replaced = 0;
    std::string result;
    auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    auto boundary = [&](std::size_t at) {
        return at >= text.size() || text[at] == '\n' || text[at] == '\r' ||
               VxEditTextSearch::IsDelimiter(static_cast<unsigned char>(text[at]));
    };
    auto plainAt = [&](std::size_t at) -> std::size_t {
        if (at + needle.size() > text.size())
            return 0;
        for (std::size_t i = 0; i < needle.size(); ++i) {
            if (matchCase ? text[at + i] != needle[i] : fold(text[at + i]) != fold(needle[i]))
                return 0;
        }
        if (wholeWord && !((at == 0 || boundary(at - 1)) && boundary(at + needle.size())))
            return 0;
        return needle.size();
    };
    std::size_t from = 0;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t length = pattern ? PatternMatchAt(needle, text, at, matchCase) : plainAt(at);
        if (length == 0) {
            ++at;
            continue;
        }
        std::string with = replacement;
        // Only the pattern with two groups expands "$2$1"; elsewhere it stays as written.
        if (pattern && needle == "(a)(b)" && replacement == "$2$1")
            with = {text[at + 1], text[at]};
        result += text.substr(from, at - from) + with;
        at += length;
        from = at;
        ++replaced;
    }
    return result + text.substr(from);
}

TEST_F(FindReplaceTest, RandomReplaceAllMatchesAPlainReadingAndUndoesInOneStep)
{
    std::mt19937 random(20261208);
    auto pick = [&random](const std::vector<std::string>& from) {
        return from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
    };
    const std::vector<std::string> pieces = {"a", "b", "A", "B", " ", "_", "-", "\n", "ab", "ba"};
    const std::vector<std::string> needles = {"a", "ab", "bA", "aa", "B"};
    const std::vector<std::string> patterns = {"a+b?", "[ab]A", "(a)(b)", "b{2}"};
    const std::vector<std::string> replacements = {"", "x", "ab", "aab", "Q_Q", "$2$1"};
    for (int round = 0; round < 300; ++round) {
        std::string original;
        const int length = std::uniform_int_distribution<int>(0, 60)(random);
        for (int i = 0; i < length; ++i)
            original += pick(pieces);
        values = VxEditFindDialogValues();
        values.pattern = round % 3 == 0;
        values.matchCase = round % 2 == 0;
        values.wholeWord = !values.pattern && round % 5 < 2;
        const std::string needle = pick(values.pattern ? patterns : needles);
        std::string replacement = pick(replacements);
        if (!values.pattern && replacement == "$2$1")
            replacement = "z";
        SetText(original);
        sink.Clear();
        int expectedCount = 0;
        const std::string expected = ReferenceReplaceAll(original, needle, replacement, values.matchCase,
                                                         values.wholeWord, values.pattern, expectedCount);
        const std::string context = "round " + std::to_string(round) + " text '" + original + "' find '" +
                                    needle + "' replace '" + replacement + "'";
        EXPECT_EQ(expectedCount > 0 ? 1 : 0, ReplaceAll(needle, replacement)) << context;
        EXPECT_EQ(expected, Text()) << context;
        if (expectedCount > 0) {
            EXPECT_EQ("The document has been searched and " + std::to_string(expectedCount) +
                          " replacements were made.",
                      LastMessage())
                << context;
            Press(cmd::kEditUndo);
            EXPECT_EQ(original, Text()) << context;
            EXPECT_EQ(0u, model->UndoCount()) << context;
        }
    }
}

}  // namespace
}  // namespace quillet::test
