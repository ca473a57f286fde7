#include "engine/VxHTMLEdit.h"

#include "engine/VxEditScanChars.h"
#include "engine/VxEditTextBuffer.h"
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
    const char* text = nullptr;
    std::int32_t length = 0;
    if (!LineText(line, text, length))
        return 0;
    if (const char* found = LastBracket(text, std::min(column, length)))
        return *found;
    return BracketAbove(line);
}

char VxHTMLEdit::BracketFrom(std::int32_t line, std::int32_t column)
{
    const char* text = nullptr;
    std::int32_t length = 0;
    if (!LineText(line, text, length))
        return 0;
    const std::int32_t from = std::min(column, length);
    if (const char* found = FirstBracket(text + from, length - from))
        return *found;
    return BracketBelow(line);
}

char VxHTMLEdit::BracketAbove(std::int32_t line)
{
    const std::uint64_t revision = TextBuffer().Revision();
    const bool known = above_.revision == revision && above_.found < line;
    // Lines at or below this one need a look; the memo answers for the rest.
    const std::int32_t stop = known ? std::min(above_.to, line) - 1 : -1;
    for (std::int32_t at = line - 1; at > stop; --at) {
        if (const char bracket = LastBracketOn(at)) {
            above_ = BracketAboveMemo{revision, at, line, bracket};
            return bracket;
        }
    }
    if (!known)
        above_ = BracketAboveMemo{revision, -1, line, 0};
    else
        above_.to = std::max(above_.to, line);
    return above_.bracket;
}

char VxHTMLEdit::BracketBelow(std::int32_t line)
{
    const std::uint64_t revision = TextBuffer().Revision();
    const std::int32_t end = LastLine() + 1;
    const bool known = below_.revision == revision && line < below_.found;
    // Lines up to this one need a look; the memo answers for the rest.
    const std::int32_t stop = known ? std::max(below_.from, line) + 1 : end;
    for (std::int32_t at = line + 1; at < stop; ++at) {
        if (const char bracket = FirstBracketOn(at)) {
            below_ = BracketBelowMemo{revision, line, at, bracket};
            return bracket;
        }
    }
    if (!known)
        below_ = BracketBelowMemo{revision, line, end, 0};
    else
        below_.from = std::min(below_.from, line);
    return below_.bracket;
}

char VxHTMLEdit::LastBracketOn(std::int32_t line)
{
    return BracketOn(line, LastBracket);
}

char VxHTMLEdit::FirstBracketOn(std::int32_t line)
{
    return BracketOn(line, FirstBracket);
}

char VxHTMLEdit::BracketOn(std::int32_t line, const char* (*find)(const char*, std::int32_t))
{
    const char* text = nullptr;
    std::int32_t length = 0;
    if (!LineText(line, text, length))
        return 0;
    const char* found = find(text, length);
    return found ? *found : 0;
}

bool VxHTMLEdit::HasBracket(std::int32_t line)
{
    return FirstBracketOn(line) != 0;
}
