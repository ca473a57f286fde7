#include "engine/VxScrivo.h"

#include "engine/VxEditScanChars.h"
#include "language/VxEditLangConfig.h"
#include "language/VxEditLangTagTable.h"
#include "mvc/VxEditMsg.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

const std::vector<ColorRun>* VxScrivo::GetColourRuns(std::int32_t line)
{
    const std::vector<ColorRun>* runs = VxHTMLEdit::GetColourRuns(line);
    if (runs && IsJavaScript())
        DetailTemplateLine(line);
    if (runs && IsHtmlConfig())
        DetailElementLine(line);
    if (!runs || !IsErrorLine(line))
        return runs;
    // Looked up on every request, so that a renamed group takes effect at once.
    const int group = std::max(VxEditScanChars::GroupByDisplayName(*GetLangConfig(), "Error Line"), 0);
    VxEditColourRuns* cached = ColourCache().Get(line);
    VxEditScanChars::AssignWholeLine(*cached, LineLength(line), group);
    return cached;
}

void VxScrivo::SetMark(std::int32_t line, int bit, bool on)
{
    if (line < 0 || line > LastLine() || (TestMark(line, bit) != 0) == on)
        return;
    VxHTMLEdit::SetMark(line, bit, on);
    if (bit != kMarkErrorLine && bit != kMarkCheckedLine)
        return;
    if (!IsErrorLine(line))
        ColourCache().Drop(line);
    auto paint = tarrow::foundation::MakeRef<VxEditPaintMsg>(line, line);
    NotifyAll(paint.Get());
}

const VxEditLangTag* VxScrivo::TextBlockTag()
{
    const VxEditLangConfig* config = GetLangConfig();
    if (!config || strcasecmp(config->GetName().c_str(), "Java") != 0)
        return nullptr;
    const VxEditLangTag* literal = config->FindTag("\"", 1, 0, VxEditLangTagTable::kSingleLine);
    if (!literal)
        return nullptr;
    // Taken from the string tag each time, so that a changed group or
    // escape character takes effect at once.
    textBlock_.BeginTag = "\"\"\"";
    textBlock_.EndTag = "\"\"\"";
    textBlock_.EscapeChar = literal->EscapeChar;
    textBlock_.ColorGroup = literal->ColorGroup;
    textBlock_.MultiLine = 1;
    return &textBlock_;
}

const VxEditLangTag* VxScrivo::FindScanTag(const char* text, int length, int tokenLength, int kind)
{
    if (kind != VxEditLangTagTable::kSingleLine && length >= 3 && (tokenLength == 0 || tokenLength == 3) &&
        std::memcmp(text, "\"\"\"", 3) == 0) {
        if (const VxEditLangTag* block = TextBlockTag())
            return block;
    }
    if (kind != VxEditLangTagTable::kSingleLine) {
        if (const VxEditLangTag* script = ScriptTag(text, length, tokenLength))
            return script;
        if (const VxEditLangTag* element = tokenLength == 0 ? ElementTag(text, length) : nullptr)
            return element;
    }
    return VxHTMLEdit::FindScanTag(text, length, tokenLength, kind);
}

void VxScrivo::ListScanTags(std::vector<const VxEditLangTag*>& tags, int kind)
{
    VxHTMLEdit::ListScanTags(tags, kind);
    if (kind == VxEditLangTagTable::kSingleLine)
        return;
    if (const VxEditLangTag* block = TextBlockTag())
        tags.push_back(block);
    ListScriptTags(tags);
    ListElementTags(tags);
}

bool VxScrivo::HonoursEscape(const VxEditLangTag& tag) const
{
    return &tag == &textBlock_ || VxHTMLEdit::HonoursEscape(tag);
}
