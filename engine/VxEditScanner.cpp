// The colouring scanner of VxEdit.
#include "engine/VxEdit.h"

#include "language/VxEditLangConfig.h"

const std::vector<ColorRun>* VxEdit::GetColourRuns(std::int32_t line)
{
    if (line < 0 || line > LastLine())
        return nullptr;
    if (VxEditColourRuns* cached = ColourCache().Get(line))
        return cached;
    VxEditColourRuns& runs = ColourCache().Renew(line);
    const int text = GetLangConfig() ? GetLangConfig()->GetSpecialColorGroupIndex(IVxEditLangConfig::kTextGroup) : 0;
    runs.push_back(MakeColorRun(0, text));
    return &runs;
}
