#include "engine/VxScrivo.h"

#include "engine/VxEditScanChars.h"
#include "language/VxEditLangConfig.h"
#include "mvc/VxEditMsg.h"

#include <algorithm>

const std::vector<ColorRun>* VxScrivo::GetColourRuns(std::int32_t line)
{
    const std::vector<ColorRun>* runs = VxHTMLEdit::GetColourRuns(line);
    if (!runs || !TestMark(line, kMarkErrorLine))
        return runs;
    // Looked up on every request, so that a renamed group takes effect at once.
    const int group = std::max(VxEditScanChars::GroupByDisplayName(*GetLangConfig(), "Error Line"), 0);
    VxEditColourRuns* cached = ColourCache().Get(line);
    cached->assign(1, MakeColorRun(static_cast<std::uint32_t>(LineLength(line)), group));
    return cached;
}

void VxScrivo::SetMark(std::int32_t line, int bit, bool on)
{
    if (line < 0 || line > LastLine() || (TestMark(line, bit) != 0) == on)
        return;
    VxHTMLEdit::SetMark(line, bit, on);
    if (bit != kMarkErrorLine)
        return;
    if (!TestMark(line, bit))
        ColourCache().Drop(line);
    auto paint = tarrow::foundation::MakeRef<VxEditPaintMsg>(line, line);
    NotifyAll(paint.Get());
}
