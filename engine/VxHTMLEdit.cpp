#include "engine/VxHTMLEdit.h"

#include "engine/VxEditScanChars.h"
#include "language/VxEditLangConfig.h"
#include "mvc/VxEditMsg.h"

#include <algorithm>
#include <cstring>
#include <strings.h>

namespace {

// The later of the last '<' and the last '>' in text[0, length), or null.
const char* LastBracket(const char* text, std::int32_t length)
{
    if (length <= 0)
        return nullptr;
    const auto* open = static_cast<const char*>(memrchr(text, '<', static_cast<std::size_t>(length)));
    const auto* close = static_cast<const char*>(memrchr(text, '>', static_cast<std::size_t>(length)));
    return std::max(open, close, [](const char* a, const char* b) { return !a || (b && a < b); });
}

// The earlier of the first '<' and the first '>' in text[0, length), or null.
const char* FirstBracket(const char* text, std::int32_t length)
{
    if (length <= 0)
        return nullptr;
    const auto* open = static_cast<const char*>(std::memchr(text, '<', static_cast<std::size_t>(length)));
    const auto* close = static_cast<const char*>(std::memchr(text, '>', static_cast<std::size_t>(length)));
    if (!open || !close)
        return open ? open : close;
    return std::min(open, close);
}

}  // namespace

bool VxHTMLEdit::IsHtmlConfig() const
{
    const VxEditLangConfig* config = GetLangConfig();
    return config && strcasecmp(config->GetName().c_str(), "HTML") == 0;
}

std::int32_t VxHTMLEdit::ScanToken(std::int32_t line, const char* lineText, const char* token,
                                   std::int32_t tokenLength, std::int32_t bytesLeft, std::uint16_t& pending,
                                   VxEditColourRuns& runs)
{
    const std::int32_t plain = PlainTokenLength(line, lineText, token, tokenLength, bytesLeft);
    if (plain <= 0)
        return VxEdit::ScanToken(line, lineText, token, tokenLength, bytesLeft, pending, runs);
    if (pending + plain > 0xFFFF)
        FlushPending(runs, pending);
    pending = static_cast<std::uint16_t>(pending + plain);
    return plain;
}

std::int32_t VxHTMLEdit::PlainTokenLength(std::int32_t line, const char* lineText, const char* token,
                                          std::int32_t tokenLength, std::int32_t bytesLeft)
{
    if (bytesLeft <= 0 || !IsHtmlConfig())
        return 0;
    const auto column = static_cast<std::int32_t>(token - lineText);
    const std::int32_t length = column + bytesLeft;
    const char c = *token;
    const char before = BracketBefore(line, column);
    if (c == '>' && before == '<')
        return 0;
    if (c == '<') {
        // Right of the character that follows the bracket.
        std::int32_t from = column + 1;
        if (from < length)
            from += VxEditScanChars::Length(lineText + from, length - from);
        if (BracketFrom(line, from) == '>')
            return 0;
    }
    if (before == '<' && BracketFrom(line, column) == '>')
        return 0;
    if (tokenLength > 0)
        return tokenLength;
    if (VxEditScanChars(*GetLangConfig()).IsDelimiter(token, bytesLeft))
        return VxEditScanChars::Length(token, bytesLeft);
    return 0;
}

void VxHTMLEdit::OnLinesEdited(std::int32_t first, std::int32_t last)
{
    if (!IsHtmlConfig())
        return;
    // Lines whose look for the nearest bracket crosses the edited lines.
    std::int32_t above = first;
    if (first > 0) {
        above = first - 1;
        while (above > 0 && !HasBracket(above))
            --above;
    }
    std::int32_t below = last;
    if (last < LastLine()) {
        below = last + 1;
        while (below < LastLine() && !HasBracket(below))
            ++below;
    }
    ColourCache().DropRange(above, first - 1);
    ColourCache().DropRange(last + 1, below);
    if (above < first || below > last) {
        auto paint = tarrow::foundation::MakeRef<VxEditPaintMsg>(above, below);
        NotifyAll(paint.Get());
    }
    // A BeginTag on those lines may open a span now, or no longer.
    const std::vector<VxEditMLComment>& spans = Spans();
    auto from = std::partition_point(spans.begin(), spans.end(),
                                     [above](const VxEditMLComment& span) { return span.start.line < above; });
    DropSpansStartingAt(static_cast<std::size_t>(from - spans.begin()));
    SetScanPosition(std::min(ScanPosition(), above));
}

char VxHTMLEdit::BracketBefore(std::int32_t line, std::int32_t column)
{
    for (std::int32_t at = line; at >= 0; --at) {
        const char* text = nullptr;
        std::int32_t length = 0;
        if (!LineText(at, text, length))
            return 0;
        if (const char* found = LastBracket(text, at == line ? std::min(column, length) : length))
            return *found;
    }
    return 0;
}

char VxHTMLEdit::BracketFrom(std::int32_t line, std::int32_t column)
{
    const std::int32_t last = LastLine();
    for (std::int32_t at = line; at <= last; ++at) {
        const char* text = nullptr;
        std::int32_t length = 0;
        if (!LineText(at, text, length))
            return 0;
        const std::int32_t from = at == line ? std::min(column, length) : 0;
        if (const char* found = FirstBracket(text + from, length - from))
            return *found;
    }
    return 0;
}

bool VxHTMLEdit::HasBracket(std::int32_t line)
{
    const char* text = nullptr;
    std::int32_t length = 0;
    return LineText(line, text, length) && FirstBracket(text, length) != nullptr;
}
