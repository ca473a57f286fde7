#include "engine/VxEditColourCache.h"

#include <algorithm>
#include <iterator>

VxEditColourRuns* VxEditColourCache::Get(std::int32_t line) const
{
    const auto found = runs_.find(line);
    return found == runs_.end() ? nullptr : found->second.get();
}

VxEditColourRuns& VxEditColourCache::Renew(std::int32_t line)
{
    std::unique_ptr<VxEditColourRuns>& runs = runs_[line];
    runs = std::make_unique<VxEditColourRuns>();
    return *runs;
}

void VxEditColourCache::Drop(std::int32_t line)
{
    runs_.erase(line);
}

void VxEditColourCache::DropRange(std::int32_t first, std::int32_t last)
{
    if (first > last)
        return;
    runs_.erase(runs_.lower_bound(first), runs_.upper_bound(last));
}

void VxEditColourCache::Trim(std::int32_t near)
{
    if (runs_.size() <= kKeptLines)
        return;
    // A quarter goes at once, so that trimming is rare.
    while (runs_.size() > kKeptLines * 3 / 4) {
        const auto first = runs_.begin();
        const auto last = std::prev(runs_.end());
        if (near - first->first >= last->first - near)
            runs_.erase(first);
        else
            runs_.erase(last);
    }
}

void VxEditColourCache::InsertLines(std::int32_t afterLine, std::int32_t count)
{
    if (count <= 0)
        return;
    RenumberLinesAfter(runs_, afterLine, count);
    lines_ += count;
}

void VxEditColourCache::RemoveLines(std::int32_t first, std::int32_t count)
{
    if (count <= 0)
        return;
    DropRange(first, first + count - 1);
    RenumberLinesAfter(runs_, first + count - 1, -count);
    lines_ -= count;
}

void VxEditColourCache::Reset(std::int32_t lines)
{
    runs_.clear();
    lines_ = lines;
}
