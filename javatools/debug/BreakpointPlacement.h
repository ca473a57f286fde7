#pragma once

#include "javatools/debug/DebugClassInfo.h"

#include <cstdint>
#include <functional>
#include <vector>

// Where a breakpoint on a source line goes in one class: the line itself
// where it has code, else the next line with code. The next line is looked
// for first in the methods that span the line (a comment or blank line
// inside a method), then in the methods that start after it (a declaration
// line, a blank line between methods). A line other than the one asked for
// is taken only where movesTo (when given) accepts it: the caller keeps a
// breakpoint within the class body its line is in.
struct BreakpointPlacement {
    int line = 0;     // 0: the class has no code at or after the line
    bool exact = false;
    struct Spot {
        std::uint64_t methodId = 0;
        std::uint64_t codeIndex = 0;
    };
    std::vector<Spot> spots;  // every line-table entry of that line
};

BreakpointPlacement PlaceBreakpoint(const DebugClassInfo& info, int requestedLine,
                                    const std::function<bool(int line)>& movesTo = {});
