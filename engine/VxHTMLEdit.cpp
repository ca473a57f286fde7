#include "engine/VxHTMLEdit.h"

#include "engine/VxEditScanChars.h"
#include "engine/VxEditTextBuffer.h"
#include "engine/VxEditTextCommand.h"
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
    const VxEditLangConfig* config = GetLangConfig();
    if (plain <= 0)
        return VxEdit::ScanToken(line, lineText, token, tokenLength, bytesLeft, pending, runs);
    if (pending + plain > 0xFFFF)
        FlushPending(runs, pending);
    // Text longer than one run can say goes out in runs of its own.
    if (plain > 0xFFFF)
        VxEditScanChars::AppendRun(runs, plain, config->GetSpecialColorGroupIndex(IVxEditLangConfig::kTextGroup));
    else
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

bool VxHTMLEdit::ChangedBrackets(const VxEditTextCommand& command)
{
    // Line ends count too: one put in or taken out moves brackets to other
    // lines. A deletion keeps the bytes it took; an insertion's bytes are in
    // the text.
    if (!command.LastActionWasInsertion())
        return command.Text().find_first_of("<>\n") != std::string::npos;
    const VxEditLineColPair range = command.Range().Normalized();
    if (range.start.line != range.end.line)
        return true;
    VxEditTextBuffer& buffer = TextBuffer();
    const std::int64_t from = buffer.OffsetOf(range.start.line, range.start.column);
    const std::int64_t to = buffer.OffsetOf(range.end.line, range.end.column);
    if (from < 0 || to < 0)
        return true;
    return buffer.FindEither(from, to, '<', '>') != to;
}

void VxHTMLEdit::OnLinesEdited(std::int32_t first, std::int32_t last, const VxEditTextCommand& command)
{
    // Text without brackets, put in or taken out, moves no markup boundary:
    // only the edited lines change colour, as in any text.
    if (!IsHtmlConfig() || !ChangedBrackets(command))
        return;
    // Lines whose look for the nearest bracket crosses the edited lines.
    char bracket = 0;
    std::int32_t above = first;
    if (first > 0 && !BracketLineBefore(first, 0, above, bracket))
        above = 0;
    std::int32_t below = last;
    if (last < LastLine() && !BracketLineFrom(last + 1, LastLine(), below, bracket))
        below = LastLine();
    ColourCache().DropRange(above, first - 1);
    ColourCache().DropRange(last + 1, below);
    if (above < first || below > last) {
        auto paint = tarrow::foundation::MakeRef<VxEditPaintMsg>(above, below);
        NotifyAll(paint.Get());
    }
    // A BeginTag on those lines may open a span now, or no longer.
    const VxEditSpanList& spans = Spans();
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
    // Lines from this one up to the line before need a look; the memo
    // answers for the rest.
    const std::int32_t lowest = known ? std::min(above_.to, line) : 0;
    std::int32_t found = -1;
    char bracket = 0;
    if (lowest < line && BracketLineBefore(line, lowest, found, bracket)) {
        above_ = BracketAboveMemo{revision, found, line, bracket};
        return bracket;
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
    // Lines after this one down to this line need a look; the memo answers
    // for the rest.
    const std::int32_t highest = known ? std::max(below_.from, line) : end - 1;
    std::int32_t found = end;
    char bracket = 0;
    if (line < highest && BracketLineFrom(line + 1, highest, found, bracket)) {
        below_ = BracketBelowMemo{revision, line, found, bracket};
        return bracket;
    }
    if (!known)
        below_ = BracketBelowMemo{revision, line, end, 0};
    else
        below_.from = std::min(below_.from, line);
    return below_.bracket;
}

bool VxHTMLEdit::BracketLineBefore(std::int32_t line, std::int32_t lowest, std::int32_t& found, char& bracket)
{
    VxEditTextBuffer& buffer = TextBuffer();
    const std::int64_t from = buffer.LineStart(lowest);
    const std::int64_t to = line > LastLine() ? buffer.Length() : buffer.LineStart(line);
    const std::int64_t hit = to > from ? buffer.FindLastEither(from, to, '<', '>') : -1;
    if (hit < 0)
        return false;
    found = buffer.PositionOf(hit).line;
    bracket = buffer.CharAt(hit);
    return true;
}

bool VxHTMLEdit::BracketLineFrom(std::int32_t line, std::int32_t highest, std::int32_t& found, char& bracket)
{
    VxEditTextBuffer& buffer = TextBuffer();
    const std::int64_t from = buffer.LineStart(line);
    const std::int64_t to = highest >= LastLine() ? buffer.Length() : buffer.LineStart(highest + 1);
    const std::int64_t hit = from < to ? buffer.FindEither(from, to, '<', '>') : to;
    if (hit >= to)
        return false;
    found = buffer.PositionOf(hit).line;
    bracket = buffer.CharAt(hit);
    return true;
}
