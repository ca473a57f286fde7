#include "engine/VxEditLineMarks.h"

void VxEditLineMarks::Set(int bit, bool on)
{
    if (bit < 0 || bit >= 32)
        return;
    const std::uint32_t mask = std::uint32_t{1} << bit;
    bits_ = on ? (bits_ | mask) : (bits_ & ~mask);
}
