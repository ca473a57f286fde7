// The line index against a plain vector of line starts, under random
// shifts, insertions and removals across many blocks of lines, with lines
// short enough to fill blocks and long enough (gigabytes, no text needed)
// that distances from a block's first line would not fit in 32 bits.
#include "engine/VxEditLineIndex.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace {

class LineIndexModel {
public:
    explicit LineIndexModel(std::uint32_t seed) : random_(seed) {}

    // A line length: mostly short, now and then gigabytes long.
    std::int64_t Length()
    {
        if (Chance(1, 200))
            return std::int64_t{1} << std::uniform_int_distribution<int>(31, 33)(random_);
        return std::uniform_int_distribution<std::int64_t>(1, 120)(random_);
    }
    bool Chance(int in, int of) { return std::uniform_int_distribution<int>(1, of)(random_) <= in; }
    std::int32_t Pick(std::int32_t from, std::int32_t to)
    {
        return std::uniform_int_distribution<std::int32_t>(from, to)(random_);
    }

    // Lines added after afterLine, inside it: its start stays, the new
    // starts lie between it and the next line's (shifted) start.
    void Insert(VxEditLineIndex& index, std::int32_t afterLine, std::int32_t count)
    {
        std::vector<std::int64_t> added;
        std::int64_t at = reference_[static_cast<std::size_t>(afterLine)];
        for (std::int32_t i = 0; i < count; ++i)
            added.push_back(at += Length());
        const std::int64_t grown = added.back() - reference_[static_cast<std::size_t>(afterLine)] + 1;
        for (std::size_t i = static_cast<std::size_t>(afterLine) + 1; i < reference_.size(); ++i)
            reference_[i] += grown;
        index.Shift(afterLine, grown);
        reference_.insert(reference_.begin() + afterLine + 1, added.begin(), added.end());
        index.InsertLines(afterLine, added.data(), count);
    }

    void Shift(VxEditLineIndex& index, std::int32_t line, std::int64_t delta)
    {
        for (std::size_t i = static_cast<std::size_t>(line) + 1; i < reference_.size(); ++i)
            reference_[i] += delta;
        index.Shift(line, delta);
    }

    // Removes lines [first, first + count) as a deletion joining them to
    // the line before does: their bytes go from the text as well.
    void Remove(VxEditLineIndex& index, std::int32_t first, std::int32_t count)
    {
        const auto from = static_cast<std::size_t>(first);
        const auto to = from + static_cast<std::size_t>(count);
        const std::int64_t removed = to < reference_.size() ? reference_[to] - reference_[from] : 0;
        reference_.erase(reference_.begin() + first, reference_.begin() + first + count);
        index.RemoveLines(first, count);
        if (removed != 0)
            Shift(index, first - 1, -removed);
    }

    void ExpectSame(const VxEditLineIndex& index, const char* step)
    {
        ASSERT_EQ(index.Lines(), static_cast<std::int32_t>(reference_.size())) << step;
        for (std::size_t i = 0; i < reference_.size(); ++i)
            ASSERT_EQ(index.Start(static_cast<std::int32_t>(i)), reference_[i]) << step << " line " << i;
        for (int probe = 0; probe < 200; ++probe) {
            const std::int32_t line = Pick(0, index.Lines() - 1);
            const std::int64_t start = reference_[static_cast<std::size_t>(line)];
            ASSERT_EQ(index.LineOf(start), line) << step;
            if (static_cast<std::size_t>(line) + 1 < reference_.size())
                ASSERT_EQ(index.LineOf(reference_[static_cast<std::size_t>(line) + 1] - 1), line) << step;
        }
    }

    std::vector<std::int64_t> reference_{0};

private:
    std::mt19937 random_;
};

TEST(LineIndexTest, RandomEditsAcrossBlocksMatchAPlainListOfStarts)
{
    for (std::uint32_t seed = 1; seed <= 4; ++seed) {
        SCOPED_TRACE(seed);
        VxEditLineIndex index;
        LineIndexModel model(seed);
        // A load: lines appended at the end in chunks, as reads arrive.
        for (int chunk = 0; chunk < 12; ++chunk)
            model.Insert(index, index.Lines() - 1, model.Pick(1, 3000));
        model.ExpectSame(index, "load");
        for (int step = 0; step < 400; ++step) {
            const int what = model.Pick(0, 9);
            const std::int32_t last = index.Lines() - 1;
            if (what < 4) {
                model.Shift(index, model.Pick(0, last), model.Chance(1, 2) ? model.Length() : 0);
            } else if (what < 7) {
                // Mostly a line or two, sometimes a paste of thousands.
                const std::int32_t count = model.Chance(1, 8) ? model.Pick(1000, 9000) : model.Pick(1, 3);
                model.Insert(index, model.Pick(0, last), count);
            } else if (last >= 1) {
                const std::int32_t first = model.Pick(1, last);
                const std::int32_t most = std::min(last - first + 1, model.Chance(1, 6) ? 9000 : 3);
                model.Remove(index, first, model.Pick(1, most));
            }
            if (step % 40 == 0)
                model.ExpectSame(index, "edit");
        }
        model.ExpectSame(index, "end");
    }
}

}  // namespace
