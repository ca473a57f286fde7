#pragma once

#include "engine/ColorRun.h"
#include "engine/VxEditLazyArray_T.h"

#include <cstdint>
#include <vector>

// The colouring scanner's results, one run list per line (or none until the
// line is scanned), kept in step with the lines as text is edited.
// Invariant: Lines() equals the model's line count.
class VxEditColourCache {
public:
    VxEditColourCache();
    ~VxEditColourCache();
    VxEditColourCache(const VxEditColourCache&) = delete;
    VxEditColourCache& operator=(const VxEditColourCache&) = delete;

    std::int32_t Lines() const { return static_cast<std::int32_t>(lines_.Length()); }
    // The cached runs of a line, or null.
    VxEditColourRuns* Get(std::int32_t line) const;
    // Replaces the line's runs by an empty list and returns it.
    VxEditColourRuns& Renew(std::int32_t line);
    void Drop(std::int32_t line);
    void DropRange(std::int32_t first, std::int32_t last);
    void DropAll();

    // count empty entries after the line.
    void InsertLines(std::int32_t afterLine, std::int32_t count);
    void RemoveLines(std::int32_t first, std::int32_t count);
    // Exactly lines empty entries.
    void Reset(std::int32_t lines);

private:
    VxEditLazyArray_T<VxEditColourRuns*> lines_{nullptr};
};
