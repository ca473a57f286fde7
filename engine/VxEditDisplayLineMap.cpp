#include "engine/VxEditDisplayLineMap.h"

#include "engine/VxEditRowPartition.h"

#include <algorithm>
#include <limits>

VxEditDisplayLineMap::VxEditDisplayLineMap(std::int32_t lines) : lines_(std::max(lines, 1)) {}

VxEditDisplayLineMap::~VxEditDisplayLineMap() = default;

void VxEditDisplayLineMap::Reset(std::int32_t lines)
{
    folds_.Clear();
    rows_.reset();
    lines_ = std::max(lines, 1);
    if (wrapping_) {
        Allocate();
        MarkAllStale();
    }
}

void VxEditDisplayLineMap::Allocate()
{
    if (!rows_)
        rows_ = std::make_unique<VxEditRowPartition>(lines_);
}

void VxEditDisplayLineMap::ReleaseIfIdle()
{
    if (folds_.Empty() && !wrapping_)
        rows_.reset();
}

std::int64_t VxEditDisplayLineMap::DisplayLineCount() const
{
    return rows_ ? rows_->Rows() : lines_;
}

std::int64_t VxEditDisplayLineMap::DisplayLine(std::int32_t line) const
{
    line = std::clamp(line, 0, lines_ - 1);
    if (!rows_)
        return line;
    const std::int64_t before = rows_->RowsBefore(line);
    if (!rows_->IsHidden(line))
        return before;
    // Line 0 is never hidden, so a hidden line has rows before it.
    return rows_->RowsBefore(rows_->LineAtRow(before - 1));
}

VxEditDisplayLineMap::Place VxEditDisplayLineMap::PlaceAt(std::int64_t displayLine) const
{
    displayLine = std::clamp<std::int64_t>(displayLine, 0, DisplayLineCount() - 1);
    if (!rows_)
        return {static_cast<std::int32_t>(displayLine), 0};
    const std::int32_t line = rows_->LineAtRow(displayLine);
    return {line, static_cast<std::int32_t>(displayLine - rows_->RowsBefore(line))};
}

bool VxEditDisplayLineMap::IsHidden(std::int32_t line) const
{
    return rows_ && line >= 0 && line < lines_ && rows_->IsHidden(line);
}

std::int32_t VxEditDisplayLineMap::Rows(std::int32_t line) const
{
    if (line < 0 || line >= lines_)
        return 0;
    if (!rows_)
        return 1;
    return rows_->IsHidden(line) ? 0 : rows_->Height(line);
}

std::int32_t VxEditDisplayLineMap::NextVisible(std::int32_t line) const
{
    if (line < 0 || line + 1 >= lines_)
        return line < 0 ? 0 : -1;
    if (!rows_)
        return line + 1;
    const std::int64_t after = rows_->RowsBefore(line) + Rows(line);
    return after < rows_->Rows() ? rows_->LineAtRow(after) : -1;
}

std::int32_t VxEditDisplayLineMap::PreviousVisible(std::int32_t line) const
{
    if (line <= 0)
        return -1;
    line = std::min(line, lines_);
    if (!rows_)
        return line - 1;
    const std::int64_t before = rows_->RowsBefore(line);
    return before > 0 ? rows_->LineAtRow(before - 1) : -1;
}

bool VxEditDisplayLineMap::Fold(std::int32_t first, std::int32_t last)
{
    if (first < 0 || last >= lines_ || !folds_.Add({first, last}))
        return false;
    Allocate();
    rows_->SetHidden(first + 1, last, true);
    return true;
}

bool VxEditDisplayLineMap::Unfold(std::int32_t first)
{
    VxEditFold removed;
    if (!folds_.Remove(first, removed))
        return false;
    Recompute(removed.first + 1, removed.last);
    ReleaseIfIdle();
    return true;
}

void VxEditDisplayLineMap::UnfoldAll()
{
    if (folds_.Empty())
        return;
    folds_.Clear();
    if (rows_)
        rows_->SetHidden(0, lines_ - 1, false);
    ReleaseIfIdle();
}

int VxEditDisplayLineMap::Reveal(std::int32_t line)
{
    const std::vector<VxEditFold> hiding = folds_.Hiding(line);
    for (const VxEditFold& fold : hiding)
        Unfold(fold.first);
    return static_cast<int>(hiding.size());
}

// Lines are hidden up to the furthest end of the folds passed; each fold
// starts hiding on the line after its first.
void VxEditDisplayLineMap::Recompute(std::int32_t first, std::int32_t last)
{
    first = std::max(first, 0);
    last = std::min(last, lines_ - 1);
    if (!rows_ || first > last)
        return;
    const std::vector<VxEditFold>& folds = folds_.Folds();
    std::int32_t cover = folds_.CoverBefore(first);
    std::size_t next = folds_.LowerBound(first);
    for (std::int32_t line = first; line <= last;) {
        const std::int32_t nextFirst = next < folds.size() ? folds[next].first : std::numeric_limits<std::int32_t>::max();
        const std::int32_t end = std::min(last, nextFirst);
        if (cover >= line)
            rows_->SetHidden(line, std::min(end, cover), true);
        if (end > cover)
            rows_->SetHidden(std::max(line, cover + 1), end, false);
        line = end + 1;
        for (; next < folds.size() && folds[next].first < line; ++next)
            cover = std::max(cover, folds[next].last);
    }
}

void VxEditDisplayLineMap::SetWrapping(bool wrapping)
{
    if (wrapping == wrapping_)
        return;
    wrapping_ = wrapping;
    if (wrapping) {
        Allocate();
        MarkAllStale();
    } else {
        if (rows_)
            rows_->ResetHeights();
        ReleaseIfIdle();
    }
}

void VxEditDisplayLineMap::SetHeight(std::int32_t line, std::int32_t rows)
{
    if (wrapping_ && rows_ && line >= 0 && line < lines_)
        rows_->SetHeight(line, rows);
}

std::int32_t VxEditDisplayLineMap::Height(std::int32_t line) const
{
    return rows_ && line >= 0 && line < lines_ ? rows_->Height(line) : 1;
}

bool VxEditDisplayLineMap::IsStale(std::int32_t line) const
{
    return wrapping_ && rows_ && line >= 0 && line < lines_ && rows_->IsStale(line);
}

void VxEditDisplayLineMap::MarkAllStale()
{
    MarkStale(0, lines_ - 1);
}

void VxEditDisplayLineMap::MarkStale(std::int32_t first, std::int32_t last)
{
    if (wrapping_ && rows_)
        rows_->SetStale(first, last, true);
}

std::vector<std::int32_t> VxEditDisplayLineMap::LinesToMeasure(std::int32_t firstShown, std::int32_t lastShown,
                                                               std::size_t max) const
{
    std::vector<std::int32_t> lines;
    if (!wrapping_ || !rows_)
        return lines;
    firstShown = std::clamp(firstShown, 0, lines_ - 1);
    lastShown = std::clamp(lastShown, firstShown, lines_ - 1);
    const std::pair<std::int32_t, std::int32_t> spans[] = {
        {firstShown, lastShown}, {lastShown + 1, lines_ - 1}, {0, firstShown - 1}};
    for (const auto& [from, to] : spans) {
        for (std::int32_t line = from; lines.size() < max && line <= to; ++line) {
            line = rows_->NextStaleVisible(line, to);
            if (line < 0)
                break;
            lines.push_back(line);
        }
    }
    return lines;
}

void VxEditDisplayLineMap::InsertLines(std::int32_t at, std::int32_t count)
{
    if (count <= 0 || at < 0 || at > lines_)
        return;
    if (rows_) {
        // The new lines lie inside every fold that hides the line they
        // come before.
        const bool hidden = at < lines_ && rows_->IsHidden(at);
        rows_->InsertLines(at, count, hidden);
        if (!wrapping_)
            rows_->SetStale(at, at + count - 1, false);
    }
    folds_.InsertLines(at, count);
    lines_ += count;
}

void VxEditDisplayLineMap::RemoveLines(std::int32_t first, std::int32_t count)
{
    count = std::min(count, lines_ - first);
    if (first < 0 || count <= 0 || count >= lines_)
        return;
    std::vector<VxEditFold> reopened;
    folds_.RemoveLines(first, count, reopened);
    lines_ -= count;
    if (rows_) {
        rows_->RemoveLines(first, count);
        for (const VxEditFold& range : reopened)
            Recompute(range.first + 1, range.last);
    }
    ReleaseIfIdle();
}

std::size_t VxEditDisplayLineMap::BytesUsed() const
{
    return sizeof(*this) + folds_.Folds().capacity() * sizeof(VxEditFold) + (rows_ ? rows_->BytesUsed() : 0);
}
