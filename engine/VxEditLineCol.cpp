#include "engine/VxEditLineCol.h"

#include "engine/VxEditLineColPair.h"

void VxEditLineCol::Shift(const VxEditLineColPair& edit, bool insertion)
{
    const VxEditLineColPair range = edit.Normalized();
    const VxEditLineCol& s = range.start;
    const VxEditLineCol& e = range.end;
    if (*this < s)
        return;
    if (insertion) {
        if (line == s.line)
            column += e.column - s.column;
        line += e.line - s.line;
        return;
    }
    if (*this == s)
        return;
    if (*this <= e) {
        *this = VxEditLineCol(s.line, s.column);
        return;
    }
    if (line == e.line)
        column = column - e.column + s.column;
    line -= e.line - s.line;
}
