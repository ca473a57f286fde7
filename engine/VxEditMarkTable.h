#pragma once

#include "engine/VxEditLazyArray_T.h"
#include "engine/VxEditLineMarks.h"

#include <cstdint>
#include <unordered_set>

// The mark records of all lines: one slot per line, empty for a line without
// marks, and the set of existing records so that counting walks only those.
// Invariant: Lines() equals the model's line count, and Records() holds
// exactly the non-null slots.
class VxEditMarkTable {
public:
    VxEditMarkTable();
    ~VxEditMarkTable();
    VxEditMarkTable(const VxEditMarkTable&) = delete;
    VxEditMarkTable& operator=(const VxEditMarkTable&) = delete;

    std::int32_t Lines() const { return static_cast<std::int32_t>(slots_.Length()); }
    // The line's record, or null.
    VxEditLineMarks* Find(std::int32_t line) const;
    // The line's record, created when missing.
    VxEditLineMarks& MarksFor(std::int32_t line);
    void Free(std::int32_t line);
    void FreeIfEmpty(std::int32_t line);

    // count empty slots before the line (its record moves down) or after it.
    void InsertSlots(std::int32_t line, std::int32_t count, bool before);
    // Removes the slots of lines first..last (inclusive) with their records.
    void RemoveSlots(std::int32_t first, std::int32_t last);
    // Exactly lines empty slots.
    void Reset(std::int32_t lines);

    const std::unordered_set<VxEditLineMarks*>& Records() const { return records_; }

private:
    void FreeAll();

    VxEditLazyArray_T<VxEditLineMarks*> slots_{nullptr};
    std::unordered_set<VxEditLineMarks*> records_;
};
