// Thousands of random insertions and deletions, each checked against a plain
// string, then all undone and redone step by step.
#include "ModelSupport.h"

#include "engine/VxEditCompositeGuard.h"

#include <gtest/gtest.h>

#include <optional>
#include <random>

namespace quillet::test {
namespace {

class RandomEdits {
public:
    explicit RandomEdits(unsigned seed) : random_(seed) {}

    std::string Piece()
    {
        static const char* const kPieces[] = {
            "word", "x", " ", "\t", "\r\n", "\n", "\r", "\xC3\xA9", "\xE4\xB8\xAD", "\xF0\x9F\x98\x80",
            "\xFF", "\x80", "\xE4\xB8", "{", "}", "class Foo", ";\r\n\t", "\n\n",
        };
        const int choice = Uniform(0, 19);
        if (choice == 18)
            return std::string(1, '\0');
        if (choice == 19)
            return LongRun();
        return kPieces[choice];
    }

    std::string Text()
    {
        std::string text;
        const int pieces = Uniform(1, 6);
        for (int i = 0; i < pieces; ++i)
            text += Piece();
        return text;
    }

    // Runs of 1000 to 3000 columns, sometimes with tabs or wide characters.
    std::string LongRun()
    {
        const int length = Uniform(1000, 3000);
        std::string run;
        const int kind = Uniform(0, 3);
        while (static_cast<int>(run.size()) < length) {
            if (kind == 1 && Uniform(0, 40) == 0)
                run += '\t';
            else if (kind == 2 && Uniform(0, 10) == 0)
                run += "\xE4\xB8\xAD";
            else
                run += static_cast<char>('a' + Uniform(0, 25));
        }
        return run;
    }

    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

private:
    std::mt19937 random_;
};

// The model's text equals the expected text with zero or more CR LF pairs
// put in by the line-length rule.
bool IsExpectedWithBreaks(const std::string& expected, const std::string& actual)
{
    if (actual == expected)
        return true;
    if (actual.size() < expected.size() || (actual.size() - expected.size()) % 2 != 0)
        return false;
    const std::size_t breaks = (actual.size() - expected.size()) / 2;
    // reach[i * (breaks + 1) + k]: actual[0, i) matched using k breaks.
    std::vector<char> reach((actual.size() + 1) * (breaks + 1), 0);
    auto at = [&](std::size_t i, std::size_t k) -> char& { return reach[i * (breaks + 1) + k]; };
    at(0, 0) = 1;
    for (std::size_t i = 0; i < actual.size(); ++i) {
        for (std::size_t k = 0; k <= breaks && 2 * k <= i; ++k) {
            if (!at(i, k))
                continue;
            const std::size_t j = i - 2 * k;
            if (j < expected.size() && actual[i] == expected[j])
                at(i + 1, k) = 1;
            if (k < breaks && i + 1 < actual.size() && actual[i] == '\r' && actual[i + 1] == '\n')
                at(i + 2, k + 1) = 1;
        }
    }
    return at(actual.size(), breaks) != 0;
}

void ExpectModelMatches(VxEdit& model, const std::string& reference, std::mt19937& random)
{
    ASSERT_EQ(reference, AllText(model));
    const ReferenceLines lines(reference);
    ASSERT_EQ(lines.Count(), model.LineCount());
    ASSERT_EQ(lines.Count(), model.ColourCache().Lines());
    VxEditTextBuffer& buffer = model.TextBuffer();
    for (int line = 0; line < lines.Count(); ++line) {
        ASSERT_EQ(lines.starts[line], buffer.OffsetOf(line, 0)) << "line " << line;
        ASSERT_EQ(lines.End(line) - lines.starts[line], buffer.LineFullLength(line)) << "line " << line;
        ASSERT_EQ(lines.Content(line), model.LineLength(line)) << "line " << line;
        const std::string content = reference.substr(lines.starts[line], lines.Content(line));
        ASSERT_LE(ReferenceWidth(content, model.TabSize()), VxEdit::kMaxLineLength) << "line " << line;
    }
    EXPECT_EQ(-1, buffer.OffsetOf(lines.Count(), 0));
    EXPECT_EQ(VxEditLineCol(-1, -1), buffer.PositionOf(static_cast<std::int64_t>(reference.size()) + 1));
    for (int probe = 0; probe < 8; ++probe) {
        const auto offset = std::uniform_int_distribution<std::int64_t>(
            0, static_cast<std::int64_t>(reference.size()))(random);
        const VxEditLineCol position = lines.Position(offset);
        ASSERT_EQ(position, buffer.PositionOf(offset)) << "offset " << offset;
        ASSERT_EQ(offset, buffer.OffsetOf(position.line, position.column));
    }
}

struct Step {
    std::string textAfter;
};

void RunSeed(unsigned seed, int operations)
{
    SCOPED_TRACE("seed " + std::to_string(seed));
    RandomEdits edits(seed);
    std::mt19937 probes(seed * 7 + 1);
    auto model = NewModel();
    std::string reference;
    std::vector<std::string> history{reference};  // text after each undo step

    int done = 0;
    while (done < operations) {
        // Steps of one to twelve edits; the history keeps 256 steps, so the
        // last step takes all that remain.
        const bool lastStep = model->UndoCount() >= 250;
        const int groupSize = lastStep ? operations - done : edits.Uniform(1, 12);
        const std::size_t undoBefore = model->UndoCount();
        {
            std::optional<VxEditCompositeGuard> group;
            if (groupSize > 1)
                group.emplace(*model);
            for (int i = 0; i < groupSize && done < operations; ++i, ++done) {
                const ReferenceLines lines(reference);
                const auto size = static_cast<std::int64_t>(reference.size());
                const std::int64_t from = std::uniform_int_distribution<std::int64_t>(0, size)(probes);
                const VxEditLineCol start = lines.Position(from);
                std::string expected = reference;
                // Inserting and deleting balance out around 6000 bytes.
                if (size == 0 || edits.Uniform(0, 6000) > size) {
                    const std::string text = edits.Text();
                    VxEditLineColPair range(start, start);
                    ASSERT_EQ(1, model->InsertAt(range, text.data(), static_cast<std::int64_t>(text.size())));
                    expected.insert(static_cast<std::size_t>(from), text);
                } else {
                    const std::int64_t span = edits.Uniform(0, 4) == 0 ? edits.Uniform(0, 3000)
                                                                        : edits.Uniform(0, 6);
                    const std::int64_t to = std::min(size, from + span);
                    VxEditLineCol end = lines.Position(to);
                    ASSERT_EQ(1, model->DeleteRange(start.line, start.column, end.line, end.column));
                    // A caret past the content never splits a line end.
                    end.column = std::min<int>(end.column, static_cast<int>(lines.Content(end.line)));
                    const std::int64_t clamped = lines.starts[end.line] + end.column;
                    if (clamped > from)
                        expected.erase(static_cast<std::size_t>(from), static_cast<std::size_t>(clamped - from));
                }
                const std::string actual = AllText(*model);
                ASSERT_TRUE(IsExpectedWithBreaks(expected, actual))
                    << "expected " << expected.size() << " bytes, model has " << actual.size();
                reference = actual;
                ExpectModelMatches(*model, reference, probes);
                if (::testing::Test::HasFatalFailure())
                    return;
            }
        }
        if (model->UndoCount() != undoBefore)
            history.push_back(reference);
    }
    ASSERT_EQ(history.size() - 1, model->UndoCount());
    EXPECT_EQ(1, model->IsModified());

    for (std::size_t step = history.size() - 1; step > 0; --step) {
        ASSERT_NE(nullptr, model->Undo()) << "undo step " << step;
        ASSERT_EQ(history[step - 1], AllText(*model)) << "after undoing step " << step;
    }
    ExpectModelMatches(*model, history.front(), probes);
    EXPECT_EQ(nullptr, model->Undo());
    EXPECT_EQ(0, model->IsModified());

    for (std::size_t step = 1; step < history.size(); ++step) {
        ASSERT_NE(nullptr, model->Redo()) << "redo step " << step;
        ASSERT_EQ(history[step], AllText(*model)) << "after redoing step " << step;
    }
    ExpectModelMatches(*model, history.back(), probes);
    EXPECT_EQ(nullptr, model->Redo());
    EXPECT_EQ(1, model->IsModified());
}

TEST(RandomModel, EditsMatchPlainStringAndUndoRedoRestoresEveryStep)
{
    for (unsigned seed = 1; seed <= 8; ++seed)
        RunSeed(seed, 1500);
}

}  // namespace
}  // namespace quillet::test
