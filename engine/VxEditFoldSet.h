#pragma once

#include "engine/VxEditFold.h"

#include <cstdint>
#include <vector>

// The folded ranges of a text, in order of their first lines, at most one
// starting on a line. Folds may nest or overlap: a line is hidden while any
// fold covers it. Lines added or removed move the folds as the text moves.
class VxEditFoldSet {
public:
    bool Empty() const { return folds_.empty(); }
    const std::vector<VxEditFold>& Folds() const { return folds_; }

    // False when the range hides nothing or a fold already starts there.
    bool Add(const VxEditFold& fold);
    // The fold starting on line, removed into removed; false when none does.
    bool Remove(std::int32_t first, VxEditFold& removed);
    void Clear() { folds_.clear(); }
    // The last line of the fold starting on line, or -1.
    std::int32_t LastOf(std::int32_t first) const;
    // The furthest line that folds starting before line hide, or -1.
    std::int32_t CoverBefore(std::int32_t line) const;
    // Whether a fold hides line.
    bool Hides(std::int32_t line) const { return CoverBefore(line) >= line; }
    // The folds that hide line, outermost first.
    std::vector<VxEditFold> Hiding(std::int32_t line) const;
    // The index of the first fold starting at or after line.
    std::size_t LowerBound(std::int32_t line) const;

    // count lines come before line at: a fold reaching past at grows.
    void InsertLines(std::int32_t at, std::int32_t count);
    // Lines first..first+count-1 go. A fold whose first line goes is
    // dropped; the lines it hid that stay are put in reopened (renumbered).
    // A fold ending among them ends before them.
    void RemoveLines(std::int32_t first, std::int32_t count, std::vector<VxEditFold>& reopened);

private:
    std::vector<VxEditFold> folds_;
};
