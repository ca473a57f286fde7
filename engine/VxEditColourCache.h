#pragma once

#include "engine/ColorRun.h"
#include "engine/VxEditLineMap.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// The colouring scanner's results, one run list per line (or none until the
// line is scanned), kept in step with the lines as text is edited. Only the
// lines coloured lately are kept: Trim lets go of those farthest from where
// the reader is, so a text of millions of lines costs what a few screens do.
// Invariant: Lines() equals the model's line count.
class VxEditColourCache {
public:
    // Trim keeps at most this many lines.
    static constexpr std::size_t kKeptLines = 2048;

    std::int32_t Lines() const { return lines_; }
    // The cached runs of a line, or null; valid until the line is dropped
    // or the next Trim.
    VxEditColourRuns* Get(std::int32_t line) const;
    // Replaces the line's runs by an empty list and returns it.
    VxEditColourRuns& Renew(std::int32_t line);
    void Drop(std::int32_t line);
    void DropRange(std::int32_t first, std::int32_t last);
    void DropAll() { runs_.clear(); }
    // Lets go of the lines farthest from near while more than kKeptLines
    // are kept.
    void Trim(std::int32_t near);
    std::size_t Kept() const { return runs_.size(); }

    // count empty entries after the line.
    void InsertLines(std::int32_t afterLine, std::int32_t count);
    void RemoveLines(std::int32_t first, std::int32_t count);
    // Exactly lines empty entries.
    void Reset(std::int32_t lines);

private:
    VxEditLineMap<std::unique_ptr<VxEditColourRuns>> runs_;
    std::int32_t lines_ = 1;
};
