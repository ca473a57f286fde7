#pragma once

#include <cstdint>
#include <vector>

// The screen rows of every line: each line's measured height, whether it is
// hidden (then it takes no rows) and whether its height awaits measuring.
//
// Lines are kept in blocks of about a thousand. A block holds one packed
// word a line and, for each line, the rows of the block's lines before it;
// the blocks hold the rows before their first line. Both sums are brought
// up to date lazily: a change marks its block dirty and the block starts
// from it on unsettled, so that measuring many lines in a row costs little
// and a query settles only as far as it reads. Eight bytes a line.
class VxEditRowPartition {
public:
    static constexpr std::int32_t kMaxHeight = 0xFFFF;

    explicit VxEditRowPartition(std::int32_t lines);

    std::int32_t Lines() const { return lines_; }
    std::int64_t Rows() const;
    // The rows of the lines before line (line may be Lines()).
    std::int64_t RowsBefore(std::int32_t line) const;
    // The visible line whose rows hold row, which lies below Rows().
    std::int32_t LineAtRow(std::int64_t row) const;

    std::int32_t Height(std::int32_t line) const { return static_cast<std::int32_t>(Word(line) & kHeightMask); }
    bool IsHidden(std::int32_t line) const { return (Word(line) & kHidden) != 0; }
    bool IsStale(std::int32_t line) const { return (Word(line) & kStale) != 0; }

    void SetHeight(std::int32_t line, std::int32_t height);
    void SetHidden(std::int32_t first, std::int32_t last, bool hidden);
    void SetStale(std::int32_t first, std::int32_t last, bool stale);
    // Every height back to one row, none stale.
    void ResetHeights();

    // count lines of one row, stale, hidden or not, before line at.
    void InsertLines(std::int32_t at, std::int32_t count, bool hidden);
    void RemoveLines(std::int32_t first, std::int32_t count);

    // The first visible stale line in first..last, or -1.
    std::int32_t NextStaleVisible(std::int32_t first, std::int32_t last) const;

    std::size_t BytesUsed() const;

private:
    static constexpr std::uint32_t kHeightMask = 0xFFFF;
    static constexpr std::uint32_t kHidden = 1u << 16;
    static constexpr std::uint32_t kStale = 1u << 17;
    static constexpr std::size_t kBlockLines = 1024;

    struct Block {
        std::vector<std::uint32_t> words;   // height and flags of each line
        std::int32_t stale = 0;             // stale lines, hidden or not
        // Settled on demand: the rows of the block's lines before each, and
        // of all of them.
        mutable std::vector<std::uint32_t> before;
        mutable std::uint32_t rows = 0;
        mutable bool dirty = true;
    };

    static std::uint32_t RowsOf(std::uint32_t word) { return (word & kHidden) ? 0 : (word & kHeightMask); }
    std::size_t BlockOf(std::int32_t line) const;
    std::uint32_t Word(std::int32_t line) const
    {
        const std::size_t block = BlockOf(line);
        return blocks_[block].words[static_cast<std::size_t>(line - firsts_[block])];
    }
    // Rewrites a line's word; the block's sums are then unsettled.
    void Put(std::size_t block, std::size_t index, std::uint32_t word);
    void Touch(std::size_t block);
    void SetFlag(std::int32_t first, std::int32_t last, std::uint32_t flag, bool on);
    void SettleBlock(std::size_t block) const;
    // Block starts up to and including block.
    void SettleStarts(std::size_t block) const;
    void Renumber(std::size_t from);
    // Cuts an overfull block into blocks of kBlockLines.
    void Split(std::size_t block);

    std::vector<Block> blocks_;
    std::vector<std::int32_t> firsts_;
    // Rows before each block; right for blocks below settled_.
    mutable std::vector<std::int64_t> starts_;
    mutable std::size_t settled_ = 0;
    std::int32_t lines_ = 0;
};
