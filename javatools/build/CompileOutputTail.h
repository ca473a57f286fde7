#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The end of what a compiler wrote, in bounded memory: the last lines, at
// most keptLines of them and keptBytes of bytes, while earlier lines are
// only counted. A line longer than kLongestLine is kept as pieces of that
// size, each a line of its own, so that output without line ends stays
// bounded too. Output within the bounds is kept byte for byte.
class CompileOutputTail {
public:
    static constexpr std::size_t kKeptLines = 10000;
    static constexpr std::size_t kKeptBytes = std::size_t{8} << 20;
    static constexpr std::size_t kLongestLine = std::size_t{64} << 10;

    explicit CompileOutputTail(std::size_t keptLines = kKeptLines, std::size_t keptBytes = kKeptBytes);

    void Append(const char* bytes, std::size_t size);

    // Lines kept, the unfinished last one included.
    std::size_t KeptLines() const;
    std::uint64_t DroppedLines() const { return dropped_; }
    // The kept bytes, after a line that says how many lines were dropped
    // when any were.
    std::string Text() const;
    // "… 123,456 earlier lines not shown." and CR LF, as the log's own lines end.
    static std::string DroppedNote(std::uint64_t lines);

private:
    // Positions count every byte ever appended; buffer_ starts at base_.
    std::size_t LineStart() const;
    std::size_t End() const;
    void EndLine();
    void DropFirstLine();
    void Compact();

    std::size_t keptLines_;
    std::size_t keptBytes_;
    // The kept bytes run from head_ to End(); the finished lines among them
    // end at the positions in ends_, a ring of count_ entries from first_.
    std::string buffer_;
    std::size_t base_ = 0;
    std::size_t head_ = 0;
    std::vector<std::size_t> ends_;
    std::size_t first_ = 0;
    std::size_t count_ = 0;
    std::uint64_t dropped_ = 0;
};
