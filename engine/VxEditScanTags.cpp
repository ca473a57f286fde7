// Tags in the colouring scanner of VxEdit: finding where a tag ends,
// recording the spans of tags that cross line ends, and scanning ahead of a
// requested line for the BeginTags of such tags only, so that a line far
// down a text is coloured without scanning every line above it.
#include "engine/VxEdit.h"

#include "engine/VxEditScanChars.h"
#include "engine/VxEditTextBuffer.h"
#include "language/VxEditLangConfig.h"
#include "mvc/VxEditMsg.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <string_view>

using tarrow::foundation::MakeRef;

namespace {

bool SameBytes(const char* text, std::string_view needle, bool matchCase)
{
    if (matchCase)
        return std::memcmp(text, needle.data(), needle.size()) == 0;
    for (std::size_t i = 0; i < needle.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != std::tolower(static_cast<unsigned char>(needle[i])))
            return false;
    }
    return true;
}

// The place in a needle of the byte least likely in source text: blanks,
// stars and common letters come often, punctuation seldom.
std::size_t RarestByte(std::string_view needle)
{
    static constexpr std::string_view kCommon = " \t\r\n*etaoinsrlcdu";
    std::size_t best = 0;
    std::size_t bestRank = 0;
    for (std::size_t i = 0; i < needle.size(); ++i) {
        const std::size_t found = kCommon.find(needle[i]);
        const std::size_t rank = found == std::string_view::npos ? kCommon.size() : found;
        if (i == 0 || rank > bestRank) {
            best = i;
            bestRank = rank;
        }
    }
    return best;
}

// The first offset in text[0, length) where the needle starts, or -1.
std::int64_t SearchPiece(const char* text, std::size_t length, std::string_view needle, bool matchCase)
{
    if (length < needle.size())
        return -1;
    if (matchCase) {
        // Tags are a few bytes long: memchr for one of their bytes outruns
        // memmem on them. The byte is the one least common in source text,
        // so that the stars down a documentation comment do not each stop
        // the search for its "*/".
        const std::size_t key = RarestByte(needle);
        const char* const last = text + length - needle.size() + key;  // the key byte of the last start
        for (const char* at = text + key; at <= last; ++at) {
            at = static_cast<const char*>(std::memchr(at, needle[key], static_cast<std::size_t>(last - at + 1)));
            if (!at)
                return -1;
            if (std::memcmp(at - key, needle.data(), needle.size()) == 0)
                return at - key - text;
        }
        return -1;
    }
    const unsigned char first = static_cast<unsigned char>(needle[0]);
    const char lower = static_cast<char>(std::tolower(first));
    const char upper = static_cast<char>(std::toupper(first));
    for (std::size_t at = 0; at + needle.size() <= length; ++at) {
        if ((text[at] == lower || text[at] == upper) && SameBytes(text + at, needle, false))
            return static_cast<std::int64_t>(at);
    }
    return -1;
}

// The first offset in [from, to) where the needle lies wholly before to, or
// -1. Without matchCase, ASCII letters match in either case. The text is
// taken from the store a window at a time, so that a search to the end of
// a large text never moves the store's gap across all of it.
std::int64_t SearchText(VxEditTextBuffer& buffer, std::int64_t from, std::int64_t to, std::string_view needle,
                        bool matchCase)
{
    constexpr std::int64_t kWindow = std::int64_t{1} << 18;
    const auto size = static_cast<std::int64_t>(needle.size());
    if (size == 0 || from < 0)
        return -1;
    for (std::int64_t start = from; to - start >= size;) {
        // Matches that start in [start, end), whole within reach.
        const std::int64_t end = std::min(to, start + kWindow);
        const std::int64_t reach = std::min(to, end + size - 1);
        const char* text = buffer.PointerAt(start, reach - start);
        if (!text)
            return -1;
        const std::int64_t hit = SearchPiece(text, static_cast<std::size_t>(reach - start), needle, matchCase);
        if (hit >= 0)
            return start + hit;
        start = end;
    }
    return -1;
}

}  // namespace

bool VxEdit::HonoursEscape(const VxEditLangTag& tag) const
{
    return tag.MultiLine == 0;
}

VxEditLineCol VxEdit::FindTagEnd(const VxEditLineCol& start, const VxEditLangTag& tag)
{
    return FindTagEndWithin(start, tag, tag.MultiLine != 0);
}

VxEditLineCol VxEdit::FindTagEndWithin(const VxEditLineCol& start, const VxEditLangTag& tag, bool toTextEnd)
{
    VxEditTextBuffer& buffer = *buffer_;
    const std::int32_t startLength = LineLength(start.line);
    const VxEditLineCol lineEnd(start.line, startLength);
    if (tag.EndTag.empty())
        return lineEnd;
    const VxEditLineCol limit = toTextEnd ? VxEditLineCol(LastLine(), LineLength(LastLine())) : lineEnd;
    const std::int64_t startOffset = buffer.LineStart(start.line) + std::min(start.column, startLength);
    const std::int64_t limitOffset = buffer.LineStart(limit.line) + limit.column;
    const bool matchCase = GetLangConfig()->GetMatchCase() == 1;
    const auto endSize = static_cast<std::int32_t>(tag.EndTag.size());
    const std::string& escape = tag.EscapeChar;
    std::int64_t from = startOffset;
    for (;;) {
        const std::int64_t hit = SearchText(buffer, from, limitOffset, tag.EndTag, matchCase);
        if (hit < 0)
            return limit;
        const VxEditLineCol at = buffer.PositionOf(hit);
        // An end tag must lie within its line's text, not run into the line end.
        if (at.column + endSize > LineLength(at.line)) {
            from = hit + 1;
            continue;
        }
        if (!escape.empty() && hit > startOffset && HonoursEscape(tag)) {
            int escapes = 0;
            const auto step = static_cast<std::int64_t>(escape.size());
            for (std::int64_t before = hit - step; before >= startOffset; before -= step) {
                bool same = true;
                for (std::int64_t i = 0; i < step && same; ++i)
                    same = buffer.CharAt(before + i) == escape[static_cast<std::size_t>(i)];
                if (!same)
                    break;
                ++escapes;
            }
            // An escaped EndTag of a multi-line tag gives up only its
            // first character: in a text block \"""" the quote after the
            // escaped one may still open the closing """.
            if (escapes % 2 == 1) {
                from = hit + (tag.MultiLine ? 1 : endSize);
                continue;
            }
        }
        const char* text = nullptr;
        std::int32_t length = 0;
        LineText(at.line, text, length);
        return VxEditLineCol(at.line, VxEditScanChars::SnapToCharEnd(text, length, at.column + endSize));
    }
}

std::int32_t VxEdit::ScanSingleLineTag(std::int32_t line, std::int32_t column, std::int32_t bytesLeft,
                                       VxEditColourRuns& runs, const VxEditLangTag& tag)
{
    const auto begin = static_cast<std::int32_t>(column + std::min<std::size_t>(tag.BeginTag.size(),
                                                                                 static_cast<std::size_t>(bytesLeft)));
    const VxEditLineCol end = FindTagEnd(VxEditLineCol(line, begin), tag);
    const std::int32_t length = end.line == line ? std::clamp(end.column - column, 1, bytesLeft) : bytesLeft;
    VxEditScanChars::AppendRun(runs, length, tag.ColorGroup);
    return length;
}

std::int32_t VxEdit::ScanMultiLineTag(std::int32_t line, std::int32_t column, std::int32_t bytesLeft,
                                      VxEditColourRuns& runs, const VxEditLangTag& tag)
{
    const auto begin = static_cast<std::int32_t>(column + std::min<std::size_t>(tag.BeginTag.size(),
                                                                                 static_cast<std::size_t>(bytesLeft)));
    const VxEditLineCol end = FindTagEnd(VxEditLineCol(line, begin), tag);
    if (end.line <= line) {
        const std::int32_t length = std::clamp(end.column - column, 1, bytesLeft);
        VxEditScanChars::AppendRun(runs, length, tag.ColorGroup);
        return length;
    }
    VxEditScanChars::AppendRun(runs, bytesLeft, tag.ColorGroup);
    RecordSpan(VxEditMLComment(VxEditLineColPair(VxEditLineCol(line, column), end), tag.ColorGroup), line);
    // The lines in between take their one run from the span when they are
    // asked for, which costs nothing for the lines never shown.
    colour_.DropRange(line + 1, end.line - 1);
    auto paint = MakeRef<VxEditPaintMsg>(line, end.line);
    NotifyAll(paint.Get());
    VxEditColourRuns& endRuns = colour_.Renew(end.line);
    scanPosition_ = std::max(scanPosition_, end.line + 1);
    if (end.column == 0) {
        endRuns.push_back(MakeColorRun(0, tag.ColorGroup));
    } else {
        VxEditScanChars::AppendRun(endRuns, end.column, tag.ColorGroup);
        continueLine_ = end.line;
        continueColumn_ = end.column;
    }
    return bytesLeft;
}

void VxEdit::RecordSpan(const VxEditMLComment& span, std::int32_t scanningLine)
{
    // A recorded span that overlaps the new one is out of date (spans never
    // overlap); its lines are coloured afresh.
    auto first = std::partition_point(spans_.begin(), spans_.end(),
                                      [&span](const VxEditMLComment& old) { return old.end <= span.start; });
    auto last = first;
    while (last != spans_.end() && last->start < span.end) {
        for (std::int32_t line = last->start.line; line <= last->end.line; ++line) {
            if (line != scanningLine)
                colour_.Drop(line);
        }
        ++last;
    }
    first = spans_.erase(first, last);
    spans_.insert(first, span);
}

void VxEdit::DropSpansStartingAt(std::size_t first)
{
    if (first >= spans_.size())
        return;
    const std::int32_t startLine = spans_[first].start.line;
    for (std::size_t i = first; i < spans_.size(); ++i) {
        const VxEditMLComment& span = spans_[i];
        auto paint = MakeRef<VxEditPaintMsg>(span.start.line, span.end.line);
        NotifyAll(paint.Get());
        colour_.DropRange(span.start.line, span.end.line);
    }
    spans_.erase(spans_.begin() + static_cast<std::ptrdiff_t>(first), spans_.end());
    scanPosition_ = std::min(scanPosition_, startLine);
}

bool VxEdit::FindSingleLineSpan(std::int32_t line, std::int32_t column, VxEditLineColPair& span)
{
    const char* lineText = nullptr;
    std::int32_t length = 0;
    if (!LineText(line, lineText, length))
        return false;
    length = std::min(length, kColouredBytes);
    if (column >= length)
        return false;
    // Tag searches and the HTML rule may move the text store's gap.
    const std::string copy(lineText, static_cast<std::size_t>(length));
    const char* text = copy.data();
    const VxEditLangConfig& config = *GetLangConfig();
    const VxEditScanChars chars(config);
    std::int32_t at = std::max(column, 0);
    while (at < length) {
        const std::int32_t left = length - at;
        const auto tokenLength = static_cast<std::int32_t>(NextTokenEnd(text + at, left) - (text + at));
        if (const std::int32_t plain = PlainTokenLength(line, text, text + at, tokenLength, left)) {
            at += std::clamp(plain, 1, left);
            continue;
        }
        int group = 0;
        if (tokenLength > 0 && config.LookupKeyword(text + at, tokenLength, group)) {
            at += tokenLength;
            continue;
        }
        if (const VxEditLangTag* tag = FindScanTag(text + at, left, tokenLength, VxEditLangTagTable::kAnyLine)) {
            const auto begin = at + static_cast<std::int32_t>(std::min<std::size_t>(tag->BeginTag.size(),
                                                                                   static_cast<std::size_t>(left)));
            const VxEditLineCol end = FindTagEndWithin(VxEditLineCol(line, begin), *tag, false);
            // Within a multi-line tag only what follows its first byte opens
            // nothing: the tag itself may open a span.
            const std::int32_t from = tag->MultiLine ? at + 1 : at;
            span = VxEditLineColPair(line, from, line, std::max(end.column, from + 1));
            return true;
        }
        at += tokenLength > 0 ? tokenLength : VxEditScanChars::Length(text + at, left);
    }
    return false;
}

int VxEdit::IsInSingleLineSpan(const VxEditLineCol& position)
{
    std::int32_t column = 0;
    VxEditLineColPair span;
    while (FindSingleLineSpan(position.line, column, span)) {
        if (span.start.column > position.column)
            return 0;
        if (position.column < span.end.column)
            return 1;
        column = span.end.column;
    }
    return 0;
}

int VxEdit::IsInTagSpan(const VxEditLineCol& position)
{
    if (!GetLangConfig() || position.line < 0 || position.line > LastLine())
        return 0;
    // Colouring the line records every span that starts on it or above.
    GetColourRuns(position.line);
    std::int32_t from = 0;
    auto after = std::upper_bound(spans_.begin(), spans_.end(), position,
                                  [](const VxEditLineCol& at, const VxEditMLComment& span) { return at < span.start; });
    if (after != spans_.begin()) {
        const VxEditMLComment& span = *(after - 1);
        if (position <= span.end)
            return 1;
        // What a span ends on this line is not scanned for tags again.
        if (span.end.line == position.line)
            from = span.end.column;
    }
    VxEditLineColPair single;
    while (FindSingleLineSpan(position.line, from, single)) {
        if (single.start.column > position.column)
            return 0;
        if (position.column < single.end.column)
            return 1;
        from = single.end.column;
    }
    return 0;
}

std::int64_t VxEdit::NextBeginTag(std::int64_t from, std::int64_t to, const std::string& beginTag)
{
    for (;;) {
        const std::int64_t hit = SearchText(*buffer_, from, to, beginTag, true);
        if (hit < 0)
            return -1;
        const VxEditLineCol at = buffer_->PositionOf(hit);
        // A hit inside a string or a line comment is not told apart here:
        // colouring its line, which the scan does next anyway, passes over
        // it, at the cost of looking at the line once instead of twice.
        const std::int32_t coloured = std::min(LineLength(at.line), kColouredBytes);
        if (at.column + static_cast<std::int32_t>(beginTag.size()) <= coloured)
            return hit;
        from = hit + 1;
    }
}

void VxEdit::ScanAhead(const VxEditLineColPair& range)
{
    // A recorded span that reaches into the range was found before an edit
    // that it may no longer fit: it and every later span are found again.
    auto overlapping = std::partition_point(spans_.begin(), spans_.end(),
                                            [&range](const VxEditMLComment& span) { return span.end < range.start; });
    if (overlapping != spans_.end() && overlapping->start <= range.end) {
        const std::int32_t startLine = overlapping->start.line;
        DropSpansStartingAt(static_cast<std::size_t>(overlapping - spans_.begin()));
        // A span that starts beyond the scan position is found again below.
        if (scanPosition_ == startLine)
            RecomputeLine(startLine);
    }

    const std::int32_t target = range.end.line;
    std::vector<const VxEditLangTag*> tags;
    ListScanTags(tags, VxEditLangTagTable::kMultiLine);
    if (tags.empty()) {
        scanPosition_ = std::max(scanPosition_, target);
        return;
    }
    // The next accepted BeginTag of each tag, searched again only once the
    // scan has passed it: -2 not searched yet, -1 none before the target.
    std::vector<std::int64_t> next(tags.size(), -2);
    const std::int64_t to = buffer_->LineStart(target);
    while (scanPosition_ < target) {
        const std::int64_t from = buffer_->LineStart(scanPosition_);
        std::int64_t earliest = -1;
        for (std::size_t i = 0; i < tags.size(); ++i) {
            if (next[i] == -2 || (next[i] >= 0 && next[i] < from))
                next[i] = NextBeginTag(from, to, tags[i]->BeginTag);
            if (next[i] >= 0 && (earliest < 0 || next[i] < earliest))
                earliest = next[i];
        }
        if (earliest < 0) {
            // The target line itself is scanned when it is asked for.
            scanPosition_ = target;
            break;
        }
        RecomputeLine(buffer_->PositionOf(earliest).line);
        colour_.Trim(target);
    }
}
