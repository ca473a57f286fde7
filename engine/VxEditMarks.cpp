// The per-line marks of VxEdit: 32 bits and a value per line, kept in
// records that exist only for marked lines.
#include "engine/VxEdit.h"

#include "engine/VxEditTextBuffer.h"
#include "mvc/VxEditMsg.h"

int VxEdit::TestMark(std::int32_t line, int bit) const
{
    const VxEditLineMarks* marks = marks_.Find(line);
    return marks && marks->Test(bit) ? 1 : 0;
}

void VxEdit::SetMark(std::int32_t line, int bit, bool on)
{
    if (line < 0 || line > LastLine() || bit < 0 || bit >= 32 || (TestMark(line, bit) != 0) == on)
        return;
    marks_.SetBit(line, bit, on);
    NotifyAll(kMsgInvalidateGutter);
    if (bit == kMarkHighlight) {
        // A highlighted line is one run in the "Highlight" group; without
        // the mark its own runs come back.
        colour_.Drop(line);
        auto paint = tarrow::foundation::MakeRef<VxEditPaintMsg>(line, line);
        NotifyAll(paint.Get());
    }
}

void VxEdit::ToggleMark(std::int32_t line, int bit)
{
    SetMark(line, bit, TestMark(line, bit) == 0);
}

void VxEdit::ClearMarkEverywhere(int bit)
{
    if (bit < 0 || bit >= 32)
        return;
    for (const std::int32_t line : marks_.LinesWith(bit).Lines())
        SetMark(line, bit, false);
}

std::int32_t VxEdit::FindMarkedLine(std::int32_t from, int bit, bool forward) const
{
    if (marks_.Records().empty() || from < 0 || from > LastLine() || bit < 0 || bit >= 32)
        return -1;
    const VxEditMarkedLines& lines = marks_.LinesWith(bit);
    if (forward) {
        const std::int32_t next = lines.Next(from);
        return next >= 0 ? next : lines.First();
    }
    const std::int32_t previous = lines.Previous(from);
    return previous >= 0 ? previous : lines.Last();
}

int VxEdit::CountMarkedLines(int bit) const
{
    return bit >= 0 && bit < 32 ? marks_.LinesWith(bit).Count() : 0;
}

std::int32_t VxEdit::GetLineValue(std::int32_t line) const
{
    const VxEditLineMarks* marks = marks_.Find(line);
    return marks ? marks->Value() : 0;
}

std::int32_t VxEdit::SetLineValue(std::int32_t line, std::int32_t value)
{
    if (line < 0 || line > LastLine())
        return 0;
    VxEditLineMarks& marks = marks_.MarksFor(line);
    const std::int32_t previous = marks.Value();
    marks.SetValue(value);
    marks_.FreeIfEmpty(line);
    return previous;
}

void VxEdit::InsertLineSlots(std::int32_t line, std::int32_t count, bool before)
{
    marks_.InsertSlots(line, count, before);
}

void VxEdit::RemoveLineSlots(std::int32_t first, std::int32_t last)
{
    marks_.RemoveSlots(first, last);
}
