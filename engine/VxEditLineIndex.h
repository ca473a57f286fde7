#pragma once

#include <atomic>
#include <cstdint>
#include <vector>

// The start offset of every line.
//
// Starts are kept in blocks of lines: each block holds the 64-bit start of
// its first line and, for every line, a 32-bit distance from it. A text of
// short lines (a gigabyte has some 25 million) then costs about four bytes a
// line. A change of length inside a line moves the rest of its block and the
// first starts of the later blocks, a few thousand additions, wherever the
// change is. A block is cut in two before a distance could pass 32 bits.
class VxEditLineIndex {
public:
    VxEditLineIndex();
    VxEditLineIndex(const VxEditLineIndex&) = delete;
    VxEditLineIndex& operator=(const VxEditLineIndex&) = delete;

    std::int32_t Lines() const { return lines_; }
    std::int64_t Start(std::int32_t line) const
    {
        const std::size_t block = BlockOf(line);
        return bases_[block] + static_cast<std::int64_t>(blocks_[block][static_cast<std::size_t>(line - firsts_[block])]);
    }

    // The text of line changed length by delta: every later line moves.
    void Shift(std::int32_t line, std::int64_t delta);
    // Adds count lines after afterLine with the given start offsets, which
    // lie between the starts of afterLine and the line after it.
    void InsertLines(std::int32_t afterLine, const std::int64_t* starts, std::int32_t count);
    void RemoveLines(std::int32_t first, std::int32_t count);
    // The line holding offset: the last line whose start is <= offset.
    std::int32_t LineOf(std::int64_t offset) const;

    void Reserve(std::int32_t lines);

private:
    using Distances = std::vector<std::uint32_t>;
    static constexpr std::size_t kBlockLines = 4096;

    std::size_t BlockOf(std::int32_t line) const;
    // Appends lines to the last block and new ones behind it, as a load does.
    void Append(const std::int64_t* starts, std::int32_t count);
    // Puts the lines of block from at into a new block behind it.
    void Split(std::size_t block, std::size_t at);
    // Lays the lines of a block out afresh in as many blocks as they need.
    void Rebuild(std::size_t block, const std::vector<std::int64_t>& starts);
    void RenumberFrom(std::size_t block);

    std::vector<std::int64_t> bases_;   // the start of each block's first line
    std::vector<std::int32_t> firsts_;  // the number of each block's first line
    std::vector<Distances> blocks_;     // each line's start less its block's base
    std::int32_t lines_ = 1;
    // The block of the last line asked for: most requests stay near it.
    // Readers on other threads may set it too; any value is only a hint.
    mutable std::atomic<std::size_t> hint_{0};
};
