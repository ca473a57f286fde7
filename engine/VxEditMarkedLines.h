#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// The lines that carry one mark bit, in ascending order, kept in step with
// line insertions and removals. Entries from stepIndex_ on are stored
// without a pending shift step_ that is applied only as edits move along
// the text (as a partitioning of line starts does), so a run of edits down
// the text costs the entries it passes, and finding the next or previous
// marked line costs a binary search, whatever the text's line count.
// Invariant: LineAt(i) is strictly increasing in i.
class VxEditMarkedLines {
public:
    std::int32_t Count() const { return static_cast<std::int32_t>(lines_.size()); }
    bool IsEmpty() const { return lines_.empty(); }
    bool Contains(std::int32_t line) const;
    // The line's place in the order, or -1 when it is not in the list.
    std::ptrdiff_t IndexOf(std::int32_t line) const;
    // Adds the line; its place in the order, -1 when it was there already.
    std::ptrdiff_t Insert(std::int32_t line);
    // Removes the line; the place it had, or -1 when it was not there.
    std::ptrdiff_t Erase(std::int32_t line);
    // Lines at or after from move by delta lines.
    void Shift(std::int32_t from, std::int32_t delta);
    // Lines first..last go; the lines after them move up to close the gap.
    void RemoveLines(std::int32_t first, std::int32_t last);
    void Clear();

    // The first line after the given one, or -1.
    std::int32_t Next(std::int32_t after) const;
    // The last line before the given one, or -1.
    std::int32_t Previous(std::int32_t before) const;
    std::int32_t First() const { return lines_.empty() ? -1 : LineAt(0); }
    std::int32_t Last() const { return lines_.empty() ? -1 : LineAt(lines_.size() - 1); }
    std::vector<std::int32_t> Lines() const;

private:
    std::int32_t LineAt(std::size_t index) const
    {
        return lines_[index] + (index >= stepIndex_ ? step_ : 0);
    }
    // The first index whose line is at or after line.
    std::size_t LowerBound(std::int32_t line) const;
    // Moves the start of the pending step to index, keeping every line.
    void MoveStepTo(std::size_t index);

    std::vector<std::int32_t> lines_;
    std::size_t stepIndex_ = 0;
    std::int32_t step_ = 0;
};
