#include "javatools/debug/BreakpointPlacement.h"

#include <algorithm>
#include <climits>

namespace {

struct Span {
    int first = INT_MAX;
    int last = INT_MIN;
};

Span SpanOf(const DebugMethodInfo& method)
{
    Span span;
    for (const JdwpLine& entry : method.lines.lines) {
        span.first = std::min(span.first, entry.line);
        span.last = std::max(span.last, entry.line);
    }
    return span;
}

// The smallest line at or after `from` among the methods the filter takes.
template <typename Filter>
int NextLine(const DebugClassInfo& info, int from, Filter take, const std::function<bool(int)>& movesTo)
{
    int best = INT_MAX;
    for (const DebugMethodInfo& method : info.methods) {
        if (!take(method))
            continue;
        for (const JdwpLine& entry : method.lines.lines)
            if (entry.line >= from && (entry.line == from || !movesTo || movesTo(entry.line)))
                best = std::min(best, entry.line);
    }
    return best;
}

}  // namespace

BreakpointPlacement PlaceBreakpoint(const DebugClassInfo& info, int requestedLine,
                                    const std::function<bool(int line)>& movesTo)
{
    BreakpointPlacement placement;
    int line = NextLine(info, requestedLine, [&](const DebugMethodInfo& method) {
        const Span span = SpanOf(method);
        return span.first <= requestedLine && requestedLine <= span.last;
    }, movesTo);
    if (line == INT_MAX)
        line = NextLine(info, requestedLine, [](const DebugMethodInfo&) { return true; }, movesTo);
    if (line == INT_MAX)
        return placement;
    placement.line = line;
    placement.exact = line == requestedLine;
    for (const DebugMethodInfo& method : info.methods)
        for (const JdwpLine& entry : method.lines.lines)
            if (entry.line == line)
                placement.spots.push_back({method.member.id, entry.codeIndex});
    return placement;
}
