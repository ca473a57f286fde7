#pragma once

#include "engine/VxEditLineMarks.h"
#include "engine/VxEditMarkedLines.h"

#include <array>
#include <cstdint>
#include <unordered_set>
#include <vector>

// The mark records of all lines: the ordered lines that have a record, with
// their records in the same order (a text of millions of lines with a few
// marks costs a few entries), the set of existing records, and for each bit
// the ordered lines that carry it, so that counting and finding marked
// lines never walk the text's lines. Bits change only through SetBit.
// Invariant: Lines() equals the model's line count, Records() holds exactly
// the records of recordsInOrder_, and a line is in LinesWith(bit) exactly
// when its record holds the bit.
class VxEditMarkTable {
public:
    VxEditMarkTable();
    ~VxEditMarkTable();
    VxEditMarkTable(const VxEditMarkTable&) = delete;
    VxEditMarkTable& operator=(const VxEditMarkTable&) = delete;

    std::int32_t Lines() const { return lines_; }
    // The line's record, or null.
    VxEditLineMarks* Find(std::int32_t line) const;
    // The line's record, created when missing (for its value).
    VxEditLineMarks& MarksFor(std::int32_t line);
    // Sets or clears a bit of a line's record, creating or freeing it.
    void SetBit(std::int32_t line, int bit, bool on);
    void Free(std::int32_t line);
    void FreeIfEmpty(std::int32_t line);

    // count empty slots before the line (its record moves down) or after it.
    void InsertSlots(std::int32_t line, std::int32_t count, bool before);
    // Removes the slots of lines first..last (inclusive) with their records.
    void RemoveSlots(std::int32_t first, std::int32_t last);
    // Exactly lines empty slots.
    void Reset(std::int32_t lines);

    const std::unordered_set<VxEditLineMarks*>& Records() const { return records_; }
    const VxEditMarkedLines& LinesWith(int bit) const { return byBit_[static_cast<std::size_t>(bit)]; }

private:
    void FreeAll();

    std::int32_t lines_ = 1;
    VxEditMarkedLines withRecord_;
    std::vector<VxEditLineMarks*> recordsInOrder_;  // in the order of withRecord_
    std::unordered_set<VxEditLineMarks*> records_;
    std::array<VxEditMarkedLines, 32> byBit_;
};
