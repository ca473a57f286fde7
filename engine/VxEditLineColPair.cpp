#include "engine/VxEditLineColPair.h"

#include <utility>

void VxEditLineColPair::Normalize()
{
    if (end < start)
        std::swap(start, end);
}

VxEditLineColPair VxEditLineColPair::Normalized() const
{
    VxEditLineColPair copy(*this);
    copy.Normalize();
    return copy;
}

bool VxEditLineColPair::operator==(const VxEditLineColPair& other) const
{
    const VxEditLineColPair a = Normalized();
    const VxEditLineColPair b = other.Normalized();
    return a.start == b.start && a.end == b.end;
}

bool VxEditLineColPair::Contains(const VxEditLineCol& position) const
{
    const VxEditLineColPair range = Normalized();
    return range.start <= position && position <= range.end;
}

bool VxEditLineColPair::Overlaps(const VxEditLineColPair& other) const
{
    return Contains(other.start) || Contains(other.end) || other.Contains(start) ||
           other.Contains(end);
}

void VxEditLineColPair::Shift(const VxEditLineColPair& edit, bool insertion)
{
    start.Shift(edit, insertion);
    end.Shift(edit, insertion);
}
