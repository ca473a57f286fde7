#include "engine/VxEditLineIndex.h"

#include <algorithm>
#include <limits>

namespace {

constexpr std::int64_t kMaxDistance = std::numeric_limits<std::uint32_t>::max();

}  // namespace

VxEditLineIndex::VxEditLineIndex()
{
    bases_.push_back(0);
    firsts_.push_back(0);
    blocks_.emplace_back(1, 0u);
}

std::size_t VxEditLineIndex::BlockOf(std::int32_t line) const
{
    std::size_t block = hint_.load(std::memory_order_relaxed);
    if (block < firsts_.size() && firsts_[block] <= line &&
        (block + 1 == firsts_.size() || line < firsts_[block + 1]))
        return block;
    block = static_cast<std::size_t>(std::upper_bound(firsts_.begin(), firsts_.end(), line) - firsts_.begin());
    block = block > 0 ? block - 1 : 0;
    hint_.store(block, std::memory_order_relaxed);
    return block;
}

void VxEditLineIndex::Shift(std::int32_t line, std::int64_t delta)
{
    if (delta == 0 || line >= lines_ - 1)
        return;
    const std::size_t block = BlockOf(line);
    const std::size_t from = static_cast<std::size_t>(line - firsts_[block]) + 1;
    Distances& distances = blocks_[block];
    if (from < distances.size()) {
        if (static_cast<std::int64_t>(distances.back()) + delta > kMaxDistance) {
            // The lines behind become a block of their own, moved below.
            Split(block, from);
        } else {
            // Modulo 2^32 a shorter line adds the same as it takes away;
            // every result fits, so the plain sum is exact.
            const auto step = static_cast<std::uint32_t>(delta);
            for (std::size_t i = from; i < distances.size(); ++i)
                distances[i] += step;
        }
    }
    for (std::size_t b = block + 1; b < bases_.size(); ++b)
        bases_[b] += delta;
}

void VxEditLineIndex::InsertLines(std::int32_t afterLine, const std::int64_t* starts, std::int32_t count)
{
    if (count <= 0)
        return;
    if (afterLine == lines_ - 1) {
        Append(starts, count);
        return;
    }
    const std::size_t block = BlockOf(afterLine);
    Distances& distances = blocks_[block];
    const std::int64_t base = bases_[block];
    const auto at = static_cast<std::ptrdiff_t>(afterLine - firsts_[block] + 1);
    const auto added = static_cast<std::size_t>(count);
    lines_ += count;
    if (starts[count - 1] - base <= kMaxDistance && distances.size() + added <= 2 * kBlockLines) {
        std::vector<std::uint32_t> inserted(added);
        for (std::size_t i = 0; i < added; ++i)
            inserted[i] = static_cast<std::uint32_t>(starts[i] - base);
        distances.insert(distances.begin() + at, inserted.begin(), inserted.end());
        RenumberFrom(block + 1);
        return;
    }
    std::vector<std::int64_t> all;
    all.reserve(distances.size() + added);
    for (std::ptrdiff_t i = 0; i < at; ++i)
        all.push_back(base + distances[static_cast<std::size_t>(i)]);
    all.insert(all.end(), starts, starts + count);
    for (std::size_t i = static_cast<std::size_t>(at); i < distances.size(); ++i)
        all.push_back(base + distances[i]);
    Rebuild(block, all);
}

void VxEditLineIndex::Append(const std::int64_t* starts, std::int32_t count)
{
    std::int32_t done = 0;
    while (done < count) {
        if (blocks_.back().size() >= kBlockLines || starts[done] - bases_.back() > kMaxDistance) {
            bases_.push_back(starts[done]);
            firsts_.push_back(lines_);
            blocks_.emplace_back();
            blocks_.back().reserve(kBlockLines);
        }
        Distances& last = blocks_.back();
        const std::int64_t base = bases_.back();
        // As many as the block has room for, all of them within 32 bits
        // of its base when the last one is.
        auto take = static_cast<std::int32_t>(std::min<std::size_t>(kBlockLines - last.size(),
                                                                     static_cast<std::size_t>(count - done)));
        while (take > 1 && starts[done + take - 1] - base > kMaxDistance)
            take /= 2;
        const std::size_t at = last.size();
        last.resize(at + static_cast<std::size_t>(take));
        for (std::int32_t i = 0; i < take; ++i)
            last[at + static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(starts[done + i] - base);
        done += take;
        lines_ += take;
    }
}

void VxEditLineIndex::Split(std::size_t block, std::size_t at)
{
    Distances& distances = blocks_[block];
    const std::uint32_t cut = distances[at];
    Distances tail(distances.begin() + static_cast<std::ptrdiff_t>(at), distances.end());
    for (std::uint32_t& distance : tail)
        distance -= cut;
    distances.resize(at);
    const auto after = static_cast<std::ptrdiff_t>(block + 1);
    bases_.insert(bases_.begin() + after, bases_[block] + cut);
    firsts_.insert(firsts_.begin() + after, firsts_[block] + static_cast<std::int32_t>(at));
    blocks_.insert(blocks_.begin() + after, std::move(tail));
}

void VxEditLineIndex::Rebuild(std::size_t block, const std::vector<std::int64_t>& starts)
{
    std::vector<std::int64_t> bases;
    std::vector<Distances> blocks;
    for (std::size_t i = 0; i < starts.size();) {
        const std::int64_t base = starts[i];
        Distances distances;
        distances.reserve(std::min(kBlockLines, starts.size() - i));
        while (i < starts.size() && distances.size() < kBlockLines && starts[i] - base <= kMaxDistance)
            distances.push_back(static_cast<std::uint32_t>(starts[i++] - base));
        bases.push_back(base);
        blocks.push_back(std::move(distances));
    }
    const auto at = static_cast<std::ptrdiff_t>(block);
    bases_.erase(bases_.begin() + at);
    blocks_.erase(blocks_.begin() + at);
    const std::int32_t first = firsts_[block];
    firsts_.erase(firsts_.begin() + at);
    bases_.insert(bases_.begin() + at, bases.begin(), bases.end());
    firsts_.insert(firsts_.begin() + at, bases.size(), first);
    blocks_.insert(blocks_.begin() + at, std::make_move_iterator(blocks.begin()),
                   std::make_move_iterator(blocks.end()));
    RenumberFrom(block + 1);
}

void VxEditLineIndex::RenumberFrom(std::size_t block)
{
    for (std::size_t b = std::max<std::size_t>(block, 1); b < firsts_.size(); ++b)
        firsts_[b] = firsts_[b - 1] + static_cast<std::int32_t>(blocks_[b - 1].size());
}

void VxEditLineIndex::RemoveLines(std::int32_t first, std::int32_t count)
{
    if (count <= 0 || first <= 0)
        return;
    const std::int32_t end = std::min(first + count, lines_);
    const std::size_t firstBlock = BlockOf(first);
    std::size_t block = firstBlock;
    for (std::int32_t line = first; line < end; ++block) {
        Distances& distances = blocks_[block];
        const std::int32_t blockFirst = firsts_[block];
        const std::int32_t blockEnd = blockFirst + static_cast<std::int32_t>(distances.size());
        const auto from = static_cast<std::ptrdiff_t>(line - blockFirst);
        const auto to = static_cast<std::ptrdiff_t>(std::min(end, blockEnd) - blockFirst);
        distances.erase(distances.begin() + from, distances.begin() + to);
        if (from == 0 && !distances.empty()) {
            // The block's first line went: the next one becomes its base.
            const std::uint32_t cut = distances.front();
            bases_[block] += cut;
            for (std::uint32_t& distance : distances)
                distance -= cut;
        }
        line = blockEnd;
    }
    // Blocks left empty go; block 0 keeps line 0.
    std::size_t kept = firstBlock;
    for (std::size_t b = firstBlock; b < blocks_.size(); ++b) {
        if (blocks_[b].empty() && b < block)
            continue;
        if (kept != b) {
            bases_[kept] = bases_[b];
            firsts_[kept] = firsts_[b];
            blocks_[kept] = std::move(blocks_[b]);
        }
        ++kept;
    }
    bases_.resize(kept);
    firsts_.resize(kept);
    blocks_.resize(kept);
    lines_ -= end - first;
    RenumberFrom(firstBlock);
}

std::int32_t VxEditLineIndex::LineOf(std::int64_t offset) const
{
    if (offset <= 0)
        return 0;
    std::size_t block = hint_.load(std::memory_order_relaxed);
    if (block >= bases_.size() || bases_[block] > offset || (block + 1 < bases_.size() && bases_[block + 1] <= offset)) {
        block = static_cast<std::size_t>(std::upper_bound(bases_.begin(), bases_.end(), offset) - bases_.begin());
        block = block > 0 ? block - 1 : 0;
        hint_.store(block, std::memory_order_relaxed);
    }
    const Distances& distances = blocks_[block];
    const std::int64_t distance = offset - bases_[block];
    const auto key = static_cast<std::uint32_t>(std::min(distance, kMaxDistance));
    const auto index = std::upper_bound(distances.begin(), distances.end(), key) - distances.begin();
    return firsts_[block] + static_cast<std::int32_t>(index > 0 ? index - 1 : 0);
}

void VxEditLineIndex::Reserve(std::int32_t lines)
{
    const std::size_t blocks = static_cast<std::size_t>(std::max(lines, 0)) / kBlockLines + 1;
    bases_.reserve(blocks);
    firsts_.reserve(blocks);
    blocks_.reserve(blocks);
}
