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

void VxEdit::ToggleMark(std::int32_t line, int bit)
{
    if (line < 0 || line > LastLine() || bit < 0 || bit >= 32)
        return;
    marks_.MarksFor(line).Toggle(bit);
    marks_.FreeIfEmpty(line);
    NotifyAll(kMsgInvalidateGutter);
    if (bit == kMarkHighlight) {
        // A highlighted line is one run in the "Highlight" group; without
        // the mark its own runs come back.
        colour_.Drop(line);
        auto paint = tarrow::foundation::MakeRef<VxEditPaintMsg>(line, line);
        NotifyAll(paint.Get());
    }
}

void VxEdit::ClearMarkEverywhere(int bit)
{
    if (marks_.Records().empty())
        return;
    for (std::int32_t line = 0; line <= LastLine(); ++line) {
        if (TestMark(line, bit))
            ToggleMark(line, bit);
    }
}

std::int32_t VxEdit::FindMarkedLine(std::int32_t from, int bit, bool forward) const
{
    const std::int32_t last = LastLine();
    if (marks_.Records().empty() || from < 0 || from > last)
        return -1;
    std::int32_t line = from;
    do {
        line = forward ? (line == last ? 0 : line + 1) : (line == 0 ? last : line - 1);
        if (TestMark(line, bit))
            return line;
    } while (line != from);
    return -1;
}

int VxEdit::CountMarkedLines(int bit) const
{
    int count = 0;
    for (const VxEditLineMarks* marks : marks_.Records()) {
        if (marks->Test(bit))
            ++count;
    }
    return count;
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
