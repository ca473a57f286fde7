#include "engine/VxEditMarkTable.h"

VxEditMarkTable::VxEditMarkTable()
{
    slots_.Reset(1);
}

VxEditMarkTable::~VxEditMarkTable()
{
    FreeAll();
}

VxEditLineMarks* VxEditMarkTable::Find(std::int32_t line) const
{
    return line >= 0 && line < Lines() ? slots_.ValueAt(line) : nullptr;
}

VxEditLineMarks& VxEditMarkTable::MarksFor(std::int32_t line)
{
    VxEditLineMarks* marks = slots_.ValueAt(line);
    if (!marks) {
        marks = new VxEditLineMarks();
        records_.insert(marks);
        slots_.SetValueAt(line, marks);
    }
    return *marks;
}

void VxEditMarkTable::Free(std::int32_t line)
{
    VxEditLineMarks* marks = Find(line);
    if (!marks)
        return;
    records_.erase(marks);
    delete marks;
    slots_.SetValueAt(line, nullptr);
}

void VxEditMarkTable::FreeIfEmpty(std::int32_t line)
{
    const VxEditLineMarks* marks = Find(line);
    if (marks && marks->IsEmpty())
        Free(line);
}

void VxEditMarkTable::InsertSlots(std::int32_t line, std::int32_t count, bool before)
{
    slots_.InsertDefault(before ? line : line + 1, count);
}

void VxEditMarkTable::RemoveSlots(std::int32_t first, std::int32_t last)
{
    if (last < first)
        return;
    if (!records_.empty()) {
        for (std::int32_t line = first; line <= last; ++line)
            Free(line);
    }
    slots_.Delete(first, last - first + 1);
}

void VxEditMarkTable::FreeAll()
{
    for (VxEditLineMarks* marks : records_)
        delete marks;
    records_.clear();
}

void VxEditMarkTable::Reset(std::int32_t lines)
{
    FreeAll();
    slots_.Reset(lines);
}
