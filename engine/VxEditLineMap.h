#pragma once

#include <cstdint>
#include <map>
#include <utility>

// Per-line data kept for a few lines only, keyed by line number: when lines
// are inserted or removed, the keys after the change move with their lines.
template <class Value>
using VxEditLineMap = std::map<std::int32_t, Value>;

// Renumbers the entries of the lines after line by delta lines.
template <class Value>
void RenumberLinesAfter(VxEditLineMap<Value>& entries, std::int32_t line, std::int32_t delta)
{
    const auto first = entries.upper_bound(line);
    if (first == entries.end())
        return;
    VxEditLineMap<Value> moved;
    for (auto entry = first; entry != entries.end(); ++entry)
        moved.emplace_hint(moved.end(), entry->first + delta, std::move(entry->second));
    entries.erase(first, entries.end());
    entries.merge(moved);
}
