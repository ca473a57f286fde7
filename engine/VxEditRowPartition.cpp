#include "engine/VxEditRowPartition.h"

#include <algorithm>
#include <iterator>

VxEditRowPartition::VxEditRowPartition(std::int32_t lines)
{
    lines_ = std::max(lines, 1);
    for (std::int32_t first = 0; first < lines_; first += static_cast<std::int32_t>(kBlockLines)) {
        Block block;
        block.words.assign(std::min<std::size_t>(kBlockLines, static_cast<std::size_t>(lines_ - first)), 1u);
        blocks_.push_back(std::move(block));
        firsts_.push_back(first);
    }
    starts_.assign(blocks_.size(), 0);
}

std::size_t VxEditRowPartition::BlockOf(std::int32_t line) const
{
    const auto after = std::upper_bound(firsts_.begin(), firsts_.end(), line);
    return static_cast<std::size_t>(after - firsts_.begin()) - 1;
}

void VxEditRowPartition::Touch(std::size_t block)
{
    blocks_[block].dirty = true;
    settled_ = std::min(settled_, block + 1);
}

void VxEditRowPartition::Put(std::size_t block, std::size_t index, std::uint32_t word)
{
    std::uint32_t& old = blocks_[block].words[index];
    if (old == word)
        return;
    blocks_[block].stale += static_cast<std::int32_t>((word & kStale) != 0) - static_cast<std::int32_t>((old & kStale) != 0);
    old = word;
    Touch(block);
}

void VxEditRowPartition::SettleBlock(std::size_t index) const
{
    const Block& block = blocks_[index];
    if (!block.dirty)
        return;
    block.before.resize(block.words.size());
    std::uint32_t rows = 0;
    for (std::size_t i = 0; i < block.words.size(); ++i) {
        block.before[i] = rows;
        rows += RowsOf(block.words[i]);
    }
    block.rows = rows;
    block.dirty = false;
}

void VxEditRowPartition::SettleStarts(std::size_t block) const
{
    if (settled_ == 0) {
        starts_[0] = 0;
        settled_ = 1;
    }
    for (; settled_ <= block && settled_ < blocks_.size(); ++settled_) {
        SettleBlock(settled_ - 1);
        starts_[settled_] = starts_[settled_ - 1] + blocks_[settled_ - 1].rows;
    }
}

std::int64_t VxEditRowPartition::Rows() const
{
    const std::size_t last = blocks_.size() - 1;
    SettleStarts(last);
    SettleBlock(last);
    return starts_[last] + blocks_[last].rows;
}

std::int64_t VxEditRowPartition::RowsBefore(std::int32_t line) const
{
    if (line >= lines_)
        return Rows();
    const std::size_t block = BlockOf(line);
    SettleStarts(block);
    SettleBlock(block);
    return starts_[block] + blocks_[block].before[static_cast<std::size_t>(line - firsts_[block])];
}

std::int32_t VxEditRowPartition::LineAtRow(std::int64_t row) const
{
    SettleStarts(blocks_.size() - 1);
    // The last block starting at or before row: a block of hidden lines
    // starts where the next one does, so the search passes over it.
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), row);
    const std::size_t block = static_cast<std::size_t>(after - starts_.begin()) - 1;
    SettleBlock(block);
    const std::vector<std::uint32_t>& before = blocks_[block].before;
    const auto key = static_cast<std::uint32_t>(row - starts_[block]);
    const auto line = std::upper_bound(before.begin(), before.end(), key) - before.begin() - 1;
    return firsts_[block] + static_cast<std::int32_t>(line);
}

void VxEditRowPartition::SetHeight(std::int32_t line, std::int32_t height)
{
    const std::size_t block = BlockOf(line);
    const auto index = static_cast<std::size_t>(line - firsts_[block]);
    const std::uint32_t word = blocks_[block].words[index];
    const auto clamped = static_cast<std::uint32_t>(std::clamp(height, 1, kMaxHeight));
    Put(block, index, (word & ~(kHeightMask | kStale)) | clamped);
}

void VxEditRowPartition::SetHidden(std::int32_t first, std::int32_t last, bool hidden)
{
    SetFlag(first, last, kHidden, hidden);
}

void VxEditRowPartition::SetStale(std::int32_t first, std::int32_t last, bool stale)
{
    SetFlag(first, last, kStale, stale);
}

void VxEditRowPartition::SetFlag(std::int32_t first, std::int32_t last, std::uint32_t flag, bool on)
{
    first = std::max(first, 0);
    last = std::min(last, lines_ - 1);
    for (std::int32_t line = first; line <= last;) {
        const std::size_t block = BlockOf(line);
        const std::int32_t end = std::min(last + 1, firsts_[block] + static_cast<std::int32_t>(blocks_[block].words.size()));
        for (; line < end; ++line) {
            const auto index = static_cast<std::size_t>(line - firsts_[block]);
            const std::uint32_t word = blocks_[block].words[index];
            Put(block, index, on ? word | flag : word & ~flag);
        }
    }
}

void VxEditRowPartition::ResetHeights()
{
    for (std::size_t b = 0; b < blocks_.size(); ++b) {
        for (std::uint32_t& word : blocks_[b].words)
            word = (word & kHidden) | 1u;
        blocks_[b].stale = 0;
        Touch(b);
    }
}

void VxEditRowPartition::Renumber(std::size_t from)
{
    for (std::size_t b = std::max<std::size_t>(from, 1); b < blocks_.size(); ++b)
        firsts_[b] = firsts_[b - 1] + static_cast<std::int32_t>(blocks_[b - 1].words.size());
    starts_.resize(blocks_.size());
    settled_ = std::min(settled_, from);
}

void VxEditRowPartition::Split(std::size_t index)
{
    std::vector<Block> pieces;
    const std::vector<std::uint32_t>& words = blocks_[index].words;
    for (std::size_t at = 0; at < words.size(); at += kBlockLines) {
        Block piece;
        piece.words.assign(words.begin() + static_cast<std::ptrdiff_t>(at),
                           words.begin() + static_cast<std::ptrdiff_t>(std::min(words.size(), at + kBlockLines)));
        for (std::uint32_t word : piece.words)
            piece.stale += (word & kStale) ? 1 : 0;
        pieces.push_back(std::move(piece));
    }
    const auto at = static_cast<std::ptrdiff_t>(index);
    blocks_.erase(blocks_.begin() + at);
    blocks_.insert(blocks_.begin() + at, std::make_move_iterator(pieces.begin()), std::make_move_iterator(pieces.end()));
    firsts_.insert(firsts_.begin() + at, pieces.size() - 1, 0);
}

void VxEditRowPartition::InsertLines(std::int32_t at, std::int32_t count, bool hidden)
{
    if (count <= 0)
        return;
    at = std::clamp(at, 0, lines_);
    // Lines after the last go to the end of the last block.
    const std::size_t block = at == lines_ ? blocks_.size() - 1 : BlockOf(at);
    std::vector<std::uint32_t>& words = blocks_[block].words;
    const auto index = static_cast<std::ptrdiff_t>(at - firsts_[block]);
    words.insert(words.begin() + index, static_cast<std::size_t>(count), 1u | kStale | (hidden ? kHidden : 0u));
    blocks_[block].stale += count;
    lines_ += count;
    Touch(block);
    if (words.size() > 2 * kBlockLines)
        Split(block);
    Renumber(block);
}

void VxEditRowPartition::RemoveLines(std::int32_t first, std::int32_t count)
{
    first = std::max(first, 0);
    count = std::min(count, lines_ - first);
    if (count <= 0 || count >= lines_)
        return;
    const std::size_t firstBlock = BlockOf(first);
    std::int32_t left = count;
    for (std::size_t b = firstBlock; left > 0; ++b) {
        std::vector<std::uint32_t>& words = blocks_[b].words;
        const auto from = static_cast<std::size_t>(std::max(first - firsts_[b], 0));
        const std::size_t to = std::min(words.size(), from + static_cast<std::size_t>(left));
        for (std::size_t i = from; i < to; ++i)
            blocks_[b].stale -= (words[i] & kStale) ? 1 : 0;
        words.erase(words.begin() + static_cast<std::ptrdiff_t>(from), words.begin() + static_cast<std::ptrdiff_t>(to));
        left -= static_cast<std::int32_t>(to - from);
        blocks_[b].dirty = true;
    }
    lines_ -= count;
    blocks_.erase(std::remove_if(blocks_.begin() + static_cast<std::ptrdiff_t>(firstBlock), blocks_.end(),
                                 [](const Block& block) { return block.words.empty(); }),
                  blocks_.end());
    firsts_.resize(blocks_.size());
    // A block left small joins the one after it.
    if (firstBlock + 1 < blocks_.size() &&
        blocks_[firstBlock].words.size() + blocks_[firstBlock + 1].words.size() <= kBlockLines) {
        Block& into = blocks_[firstBlock];
        Block& from = blocks_[firstBlock + 1];
        into.words.insert(into.words.end(), from.words.begin(), from.words.end());
        into.stale += from.stale;
        into.dirty = true;
        blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(firstBlock) + 1);
        firsts_.pop_back();
    }
    const std::size_t from = std::min(firstBlock, blocks_.size() - 1);
    Touch(from);
    Renumber(from);
}

std::int32_t VxEditRowPartition::NextStaleVisible(std::int32_t first, std::int32_t last) const
{
    first = std::max(first, 0);
    last = std::min(last, lines_ - 1);
    for (std::int32_t line = first; line <= last;) {
        const std::size_t block = BlockOf(line);
        const Block& b = blocks_[block];
        const std::int32_t end = std::min(last + 1, firsts_[block] + static_cast<std::int32_t>(b.words.size()));
        if (b.stale > 0) {
            for (; line < end; ++line) {
                const std::uint32_t word = b.words[static_cast<std::size_t>(line - firsts_[block])];
                if ((word & kStale) && !(word & kHidden))
                    return line;
            }
        }
        line = end;
    }
    return -1;
}

std::size_t VxEditRowPartition::BytesUsed() const
{
    std::size_t bytes = sizeof(*this) + blocks_.capacity() * sizeof(Block) + firsts_.capacity() * sizeof(std::int32_t) +
                        starts_.capacity() * sizeof(std::int64_t);
    for (const Block& block : blocks_)
        bytes += (block.words.capacity() + block.before.capacity()) * sizeof(std::uint32_t);
    return bytes;
}
