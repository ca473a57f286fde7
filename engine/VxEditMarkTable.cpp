#include "engine/VxEditMarkTable.h"

VxEditMarkTable::VxEditMarkTable() = default;

VxEditMarkTable::~VxEditMarkTable()
{
    FreeAll();
}

VxEditLineMarks* VxEditMarkTable::Find(std::int32_t line) const
{
    const std::ptrdiff_t index = withRecord_.IndexOf(line);
    return index < 0 ? nullptr : recordsInOrder_[static_cast<std::size_t>(index)];
}

VxEditLineMarks& VxEditMarkTable::MarksFor(std::int32_t line)
{
    if (VxEditLineMarks* marks = Find(line))
        return *marks;
    auto* marks = new VxEditLineMarks();
    records_.insert(marks);
    recordsInOrder_.insert(recordsInOrder_.begin() + withRecord_.Insert(line), marks);
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
    recordsInOrder_.erase(recordsInOrder_.begin() + withRecord_.Erase(line));
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
    lines_ += count;
    withRecord_.Shift(at, count);
    for (VxEditMarkedLines& lines : byBit_)
        lines.Shift(at, count);
}

void VxEditMarkTable::RemoveSlots(std::int32_t first, std::int32_t last)
{
    if (last < first)
        return;
    for (std::int32_t line = withRecord_.Next(first - 1); line >= 0 && line <= last;
         line = withRecord_.Next(line))
        Free(line);
    lines_ -= last - first + 1;
    withRecord_.RemoveLines(first, last);
    for (VxEditMarkedLines& lines : byBit_)
        lines.RemoveLines(first, last);
}

void VxEditMarkTable::FreeAll()
{
    for (VxEditLineMarks* marks : records_)
        delete marks;
    records_.clear();
    recordsInOrder_.clear();
    withRecord_.Clear();
    for (VxEditMarkedLines& lines : byBit_)
        lines.Clear();
}

void VxEditMarkTable::Reset(std::int32_t lines)
{
    FreeAll();
    lines_ = lines;
}
