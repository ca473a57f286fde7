#include "engine/VxScrivo.h"

#include "mvc/VxEditMsg.h"

void VxScrivo::ToggleMark(std::int32_t line, int bit)
{
    if (line < 0 || line > LastLine())
        return;
    VxHTMLEdit::ToggleMark(line, bit);
    if (bit != kMarkErrorLine)
        return;
    if (!TestMark(line, bit))
        ColourCache().Drop(line);
    auto paint = tarrow::foundation::MakeRef<VxEditPaintMsg>(line, line);
    NotifyAll(paint.Get());
}
