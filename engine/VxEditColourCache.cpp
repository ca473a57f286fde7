#include "engine/VxEditColourCache.h"

#include <algorithm>

VxEditColourCache::VxEditColourCache()
{
    lines_.Reset(1);
}

VxEditColourCache::~VxEditColourCache()
{
    DropAll();
}

VxEditColourRuns* VxEditColourCache::Get(std::int32_t line) const
{
    return line >= 0 && line < Lines() ? lines_.ValueAt(line) : nullptr;
}

VxEditColourRuns& VxEditColourCache::Renew(std::int32_t line)
{
    Drop(line);
    auto* runs = new VxEditColourRuns();
    lines_.SetValueAt(line, runs);
    return *runs;
}

void VxEditColourCache::Drop(std::int32_t line)
{
    if (line < 0 || line >= Lines())
        return;
    delete lines_.ValueAt(line);
    lines_.SetValueAt(line, nullptr);
}

void VxEditColourCache::DropRange(std::int32_t first, std::int32_t last)
{
    for (std::int32_t line = std::max(first, 0); line <= last && line < Lines(); ++line)
        Drop(line);
}

void VxEditColourCache::DropAll()
{
    if (lines_.IsMaterialized())
        DropRange(0, Lines() - 1);
}

void VxEditColourCache::InsertLines(std::int32_t afterLine, std::int32_t count)
{
    lines_.InsertDefault(afterLine + 1, count);
}

void VxEditColourCache::RemoveLines(std::int32_t first, std::int32_t count)
{
    if (count <= 0)
        return;
    if (lines_.IsMaterialized())
        DropRange(first, first + count - 1);
    lines_.Delete(first, count);
}

void VxEditColourCache::Reset(std::int32_t lines)
{
    DropAll();
    lines_.Reset(lines);
}
