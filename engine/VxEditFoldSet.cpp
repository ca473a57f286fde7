#include "engine/VxEditFoldSet.h"

#include <algorithm>

std::size_t VxEditFoldSet::LowerBound(std::int32_t line) const
{
    const auto at = std::partition_point(folds_.begin(), folds_.end(),
                                         [line](const VxEditFold& fold) { return fold.first < line; });
    return static_cast<std::size_t>(at - folds_.begin());
}

bool VxEditFoldSet::Add(const VxEditFold& fold)
{
    if (fold.first < 0 || fold.last <= fold.first)
        return false;
    const std::size_t at = LowerBound(fold.first);
    if (at < folds_.size() && folds_[at].first == fold.first)
        return false;
    folds_.insert(folds_.begin() + static_cast<std::ptrdiff_t>(at), fold);
    return true;
}

bool VxEditFoldSet::Remove(std::int32_t first, VxEditFold& removed)
{
    const std::size_t at = LowerBound(first);
    if (at >= folds_.size() || folds_[at].first != first)
        return false;
    removed = folds_[at];
    folds_.erase(folds_.begin() + static_cast<std::ptrdiff_t>(at));
    return true;
}

std::int32_t VxEditFoldSet::LastOf(std::int32_t first) const
{
    const std::size_t at = LowerBound(first);
    return at < folds_.size() && folds_[at].first == first ? folds_[at].last : -1;
}

// Folds seldom number more than thousands: a pass over those before the
// line is cheaper than keeping a tree of their ends.
std::int32_t VxEditFoldSet::CoverBefore(std::int32_t line) const
{
    std::int32_t cover = -1;
    const std::size_t end = LowerBound(line);
    for (std::size_t i = 0; i < end; ++i)
        cover = std::max(cover, folds_[i].last);
    return cover;
}

std::vector<VxEditFold> VxEditFoldSet::Hiding(std::int32_t line) const
{
    std::vector<VxEditFold> hiding;
    const std::size_t end = LowerBound(line);
    for (std::size_t i = 0; i < end; ++i) {
        if (folds_[i].last >= line)
            hiding.push_back(folds_[i]);
    }
    return hiding;
}

void VxEditFoldSet::InsertLines(std::int32_t at, std::int32_t count)
{
    for (VxEditFold& fold : folds_) {
        if (fold.first >= at)
            fold.first += count;
        if (fold.last >= at)
            fold.last += count;
    }
}

void VxEditFoldSet::RemoveLines(std::int32_t first, std::int32_t count, std::vector<VxEditFold>& reopened)
{
    const std::int32_t end = first + count;  // the first line that stays
    std::size_t kept = 0;
    for (VxEditFold fold : folds_) {
        if (fold.first >= first && fold.first < end) {
            if (fold.last >= end)
                reopened.push_back({first - 1, fold.last - count});
            continue;
        }
        if (fold.first >= end)
            fold.first -= count;
        if (fold.last >= end)
            fold.last -= count;
        else if (fold.last >= first)
            fold.last = first - 1;
        if (fold.last > fold.first)
            folds_[kept++] = fold;
    }
    folds_.resize(kept);
}
