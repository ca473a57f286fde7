#include "engine/VxEditLineIndex.h"

#include <vector>

VxEditLineIndex::VxEditLineIndex()
{
    starts_.InsertValue(0, 1, 0);
}

void VxEditLineIndex::MoveStepTo(std::int32_t line)
{
    if (stepLength_ == 0) {
        stepLine_ = line;
        return;
    }
    for (std::int32_t i = stepLine_ + 1; i <= line; ++i)
        starts_.SetValueAt(i, starts_.ValueAt(i) + stepLength_);
    for (std::int32_t i = line + 1; i <= stepLine_; ++i)
        starts_.SetValueAt(i, starts_.ValueAt(i) - stepLength_);
    stepLine_ = line;
}

void VxEditLineIndex::Shift(std::int32_t line, std::int64_t delta)
{
    longLengths_.erase(line);
    MoveStepTo(line);
    stepLength_ += delta;
    if (stepLine_ >= Lines() - 1)
        stepLength_ = 0;
}

void VxEditLineIndex::InsertLines(std::int32_t afterLine, const std::int64_t* starts,
                                  std::int32_t count)
{
    if (count <= 0)
        return;
    if (stepLine_ > afterLine)
        MoveStepTo(afterLine);
    if (stepLength_ == 0) {
        starts_.Insert(afterLine + 1, starts, count);
    } else {
        // Entries after the step are stored without it.
        std::vector<std::int64_t> stored(starts, starts + count);
        for (std::int64_t& start : stored)
            start -= stepLength_;
        starts_.Insert(afterLine + 1, stored.data(), count);
    }
    RenumberLinesAfter(longLengths_, afterLine, count);
}

void VxEditLineIndex::RemoveLines(std::int32_t first, std::int32_t count)
{
    if (count <= 0)
        return;
    if (stepLine_ >= first)
        MoveStepTo(first - 1);
    starts_.Delete(first, count);
    longLengths_.erase(longLengths_.lower_bound(first), longLengths_.lower_bound(first + count));
    RenumberLinesAfter(longLengths_, first + count - 1, -count);
    if (stepLine_ >= Lines() - 1)
        stepLength_ = 0;
}

std::int32_t VxEditLineIndex::LineOf(std::int64_t offset) const
{
    std::int32_t low = 0;
    std::int32_t high = Lines() - 1;
    while (low < high) {
        const std::int32_t middle = low + (high - low + 1) / 2;
        if (Start(middle) <= offset)
            low = middle;
        else
            high = middle - 1;
    }
    return low;
}

void VxEditLineIndex::Reserve(std::int32_t lines)
{
    starts_.Reserve(lines);
}
