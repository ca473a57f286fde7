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

void VxEditMarkTable::SetBit(std::int32_t line, int bit, bool on)
{
    if (bit < 0 || bit >= 32 || line < 0 || line >= Lines())
        return;
    VxEditLineMarks* marks = on ? &MarksFor(line) : Find(line);
    if (!marks)
        return;
    marks->Set(bit, on);
    if (on)
        byBit_[static_cast<std::size_t>(bit)].Insert(line);
    else
        byBit_[static_cast<std::size_t>(bit)].Erase(line);
    FreeIfEmpty(line);
}

void VxEditMarkTable::Free(std::int32_t line)
{
    VxEditLineMarks* marks = Find(line);
    if (!marks)
        return;
    for (int bit = 0; bit < 32; ++bit) {
        if (marks->Test(bit))
            byBit_[static_cast<std::size_t>(bit)].Erase(line);
    }
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
    const std::int32_t at = before ? line : line + 1;
    slots_.InsertDefault(at, count);
    for (VxEditMarkedLines& lines : byBit_)
        lines.Shift(at, count);
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
    for (VxEditMarkedLines& lines : byBit_)
        lines.RemoveLines(first, last);
}

void VxEditMarkTable::FreeAll()
{
    for (VxEditLineMarks* marks : records_)
        delete marks;
    records_.clear();
    for (VxEditMarkedLines& lines : byBit_)
        lines.Clear();
}

void VxEditMarkTable::Reset(std::int32_t lines)
{
    FreeAll();
    slots_.Reset(lines);
}
