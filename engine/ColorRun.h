#pragma once

#include <cstdint>
#include <vector>

// One colour run of a line: low 16 bits the length in bytes (0: to the end of
// the line), high 16 bits the colour group index.
using ColorRun = std::uint32_t;
using VxEditColourRuns = std::vector<ColorRun>;

constexpr std::uint32_t ColorRunLength(ColorRun run)
{
    return run & 0xFFFFu;
}

constexpr int ColorRunGroup(ColorRun run)
{
    return static_cast<int>(run >> 16);
}

constexpr ColorRun MakeColorRun(std::uint32_t length, int group)
{
    return (length & 0xFFFFu) | (static_cast<std::uint32_t>(group) << 16);
}
