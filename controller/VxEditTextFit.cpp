#include "controller/VxEditTextFit.h"

#include "engine/VxEditUtf8.h"

#include <algorithm>
#include <cstddef>
#include <vector>

int VxEditTextFit::Fit(const char* text, int length, int width, bool printing, int averageCharWidth,
                       const Extent& extent)
{
    if (width < 1 || length <= 0)
        return 0;
    if (extent(length) <= width)
        return length;

    std::vector<int> bounds;  // every character start, then the end
    for (int at = 0; at < length;) {
        bounds.push_back(at);
        at += VxEditUtf8::CharLength(text + at, static_cast<std::size_t>(length - at));
    }
    bounds.push_back(length);

    // bounds[low] fits, bounds[high] does not; the first probe is the
    // average-width guess, so that plain text usually needs few measures.
    std::size_t low = 0;
    std::size_t high = bounds.size() - 1;
    const int guess = averageCharWidth > 0 ? std::min(width / averageCharWidth, length - 1) : 0;
    std::size_t probe = static_cast<std::size_t>(
        std::upper_bound(bounds.begin(), bounds.end(), guess) - bounds.begin() - 1);
    while (high - low > 1) {
        if (probe <= low || probe >= high)
            probe = low + (high - low) / 2;
        if (extent(bounds[probe]) <= width)
            low = probe;
        else
            high = probe;
        probe = 0;
    }

    const int m = bounds[low];
    const int next = bounds[high];
    const int before = extent(m);
    const int after = extent(next);
    if (text[m] != '\t' || after == 0)
        return after - width < width - before ? next : m;
    if (printing)
        return after - width < 4 ? next : m;
    return before == width ? m : next;
}
