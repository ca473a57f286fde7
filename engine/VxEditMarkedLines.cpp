#include "engine/VxEditMarkedLines.h"

#include <algorithm>

std::size_t VxEditMarkedLines::LowerBound(std::int32_t line) const
{
    std::size_t low = 0;
    std::size_t high = lines_.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (LineAt(middle) < line)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

void VxEditMarkedLines::MoveStepTo(std::size_t index)
{
    if (step_ == 0) {
        stepIndex_ = index;
        return;
    }
    for (std::size_t i = stepIndex_; i < index; ++i)
        lines_[i] += step_;
    for (std::size_t i = index; i < stepIndex_; ++i)
        lines_[i] -= step_;
    stepIndex_ = index;
}

bool VxEditMarkedLines::Contains(std::int32_t line) const
{
    return IndexOf(line) >= 0;
}

std::ptrdiff_t VxEditMarkedLines::IndexOf(std::int32_t line) const
{
    const std::size_t index = LowerBound(line);
    return index < lines_.size() && LineAt(index) == line ? static_cast<std::ptrdiff_t>(index) : -1;
}

std::ptrdiff_t VxEditMarkedLines::Insert(std::int32_t line)
{
    const std::size_t index = LowerBound(line);
    if (index < lines_.size() && LineAt(index) == line)
        return -1;
    const auto at = lines_.begin() + static_cast<std::ptrdiff_t>(index);
    if (index < stepIndex_) {
        lines_.insert(at, line);
        ++stepIndex_;
    } else {
        lines_.insert(at, line - step_);
    }
    return static_cast<std::ptrdiff_t>(index);
}

std::ptrdiff_t VxEditMarkedLines::Erase(std::int32_t line)
{
    const std::ptrdiff_t index = IndexOf(line);
    if (index < 0)
        return -1;
    lines_.erase(lines_.begin() + index);
    if (static_cast<std::size_t>(index) < stepIndex_)
        --stepIndex_;
    return index;
}

void VxEditMarkedLines::Shift(std::int32_t from, std::int32_t delta)
{
    const std::size_t index = LowerBound(from);
    if (index == lines_.size() || delta == 0)
        return;
    MoveStepTo(index);
    step_ += delta;
}

void VxEditMarkedLines::RemoveLines(std::int32_t first, std::int32_t last)
{
    if (last < first || lines_.empty())
        return;
    const std::size_t begin = LowerBound(first);
    const std::size_t end = LowerBound(last + 1);
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(begin),
                 lines_.begin() + static_cast<std::ptrdiff_t>(end));
    if (stepIndex_ >= end)
        stepIndex_ -= end - begin;
    else if (stepIndex_ > begin)
        stepIndex_ = begin;
    Shift(first, -(last - first + 1));
}

void VxEditMarkedLines::Clear()
{
    lines_.clear();
    stepIndex_ = 0;
    step_ = 0;
}

std::int32_t VxEditMarkedLines::Next(std::int32_t after) const
{
    const std::size_t index = LowerBound(after + 1);
    return index < lines_.size() ? LineAt(index) : -1;
}

std::int32_t VxEditMarkedLines::Previous(std::int32_t before) const
{
    const std::size_t index = LowerBound(before);
    return index > 0 ? LineAt(index - 1) : -1;
}

std::vector<std::int32_t> VxEditMarkedLines::Lines() const
{
    std::vector<std::int32_t> lines(lines_.size());
    for (std::size_t i = 0; i < lines_.size(); ++i)
        lines[i] = LineAt(i);
    return lines;
}
