#pragma once

#include "engine/VxEditGapVector_T.h"
#include "engine/VxEditLineMap.h"

#include <cstdint>

// The start offset of every line, and a cache of the content length of long
// lines (a short line is measured faster than a cache entry is kept in step).
// A change of length inside line k moves the starts of all later lines; that
// move is recorded as a pending step (stepLine_, stepLength_) and applied to
// the stored starts only as far as a later request needs, so typing anywhere
// costs the same as typing at the end.
// Invariant: Start(i) == starts_[i] for i <= stepLine_, starts_[i] + stepLength_ after it.
class VxEditLineIndex {
public:
    static constexpr std::int32_t kUnknownLength = -1;

    VxEditLineIndex();

    std::int32_t Lines() const { return static_cast<std::int32_t>(starts_.Length()); }
    std::int64_t Start(std::int32_t line) const
    {
        const std::int64_t stored = starts_.ValueAt(line);
        return line > stepLine_ ? stored + stepLength_ : stored;
    }

    // The text of line changed length by delta: every later line moves.
    void Shift(std::int32_t line, std::int64_t delta);
    // Adds count lines after afterLine with the given start offsets.
    void InsertLines(std::int32_t afterLine, const std::int64_t* starts, std::int32_t count);
    void RemoveLines(std::int32_t first, std::int32_t count);
    // The line holding offset: the last line whose start is <= offset.
    std::int32_t LineOf(std::int64_t offset) const;

    // Lines at least this many bytes long, line end included, have their
    // content length kept.
    static constexpr std::int64_t kCachedFrom = 1024;
    std::int32_t CachedLength(std::int32_t line) const
    {
        const auto found = longLengths_.find(line);
        return found == longLengths_.end() ? kUnknownLength : found->second;
    }
    void SetCachedLength(std::int32_t line, std::int32_t length) { longLengths_[line] = length; }
    void ForgetLengths() { longLengths_.clear(); }

    void Reserve(std::int32_t lines);

private:
    void MoveStepTo(std::int32_t line);

    VxEditGapVector_T<std::int64_t> starts_;
    // Few entries: only long lines that were measured.
    VxEditLineMap<std::int32_t> longLengths_;
    std::int32_t stepLine_ = 0;
    std::int64_t stepLength_ = 0;
};
