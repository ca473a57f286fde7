#include "engine/VxEditBraceMatcher.h"

#include "engine/VxEdit.h"
#include "engine/VxEditTextBuffer.h"
#include "language/VxEditLangConfig.h"
#include "language/VxEditLangTag.h"
#include "language/VxEditLangTagTable.h"

#include <algorithm>
#include <bit>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

char PartnerOf(char bracket)
{
    switch (bracket) {
    case '(': return ')';
    case ')': return '(';
    case '[': return ']';
    case ']': return '[';
    case '{': return '}';
    case '}': return '{';
    default: return 0;
    }
}

// The first column from at on, before end, holding a or b; end if none.
// The first column from at on, before end, holding one of the count bytes
// of set (sixteen columns a step where there is SSE2); end when none does.
std::int32_t FirstOf(const char* text, std::int32_t at, std::int32_t end, const char* set, int count)
{
#if defined(__SSE2__)
    for (; at + 16 <= end; at += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + at));
        __m128i hits = _mm_setzero_si128();
        for (int i = 0; i < count; ++i)
            hits = _mm_or_si128(hits, _mm_cmpeq_epi8(bytes, _mm_set1_epi8(set[i])));
        if (const auto mask = static_cast<unsigned>(_mm_movemask_epi8(hits)))
            return at + std::countr_zero(mask);
    }
#endif
    for (; at < end; ++at) {
        if (std::memchr(set, text[at], static_cast<std::size_t>(count)))
            return at;
    }
    return end;
}

}  // namespace

VxEditBraceMatcher::VxEditBraceMatcher(VxEdit& model) : model_(model)
{
    if (VxEditLangConfig* config = model_.GetLangConfig()) {
        std::vector<VxEditLangTag*> tags;
        config->ListTags(tags, VxEditLangTagTable::kAnyLine);
        for (const VxEditLangTag* tag : tags) {
            tagGroups_.push_back(tag->ColorGroup);
            if (tag->MultiLine || tag->EndTag.empty())
                commentGroups_.push_back(tag->ColorGroup);
            if (!tag->BeginTag.empty()) {
                tags_.push_back(tag);
                const auto first = static_cast<unsigned char>(tag->BeginTag[0]);
                if (!opens_[first] && openerCount_ < kMaxOpeners)
                    openers_[openerCount_] = static_cast<char>(first);
                if (!opens_[first])
                    ++openerCount_;
                opens_[first] = true;
            }
        }
        // HTML reads text outside markup by a rule of its own.
        tagsSuffice_ = config->GetName() != "HTML";
    }
}

bool VxEditBraceMatcher::IsBracket(char byte)
{
    return PartnerOf(byte) != 0;
}

bool VxEditBraceMatcher::BracketAt(const VxEditLineCol& caret, VxEditLineCol& bracket)
{
    const char* text = nullptr;
    std::int32_t length = 0;
    if (!model_.LineText(caret.line, text, length))
        return false;
    if (caret.column >= 0 && caret.column < length && IsBracket(text[caret.column])) {
        bracket = caret;
        return true;
    }
    if (caret.column > 0 && caret.column <= length && IsBracket(text[caret.column - 1])) {
        bracket = VxEditLineCol(caret.line, caret.column - 1);
        return true;
    }
    return false;
}

bool VxEditBraceMatcher::FindPartner(const VxEditLineCol& bracket, VxEditLineCol& partner)
{
    if (!LoadLine(bracket.line))
        return false;
    const char* text = nullptr;
    std::int32_t length = 0;
    model_.LineText(bracket.line, text, length);
    if (bracket.column < 0 || bracket.column >= length)
        return false;
    const char self = text[bracket.column];
    const char other = PartnerOf(self);
    if (!other)
        return false;
    const bool forward = self == '(' || self == '[' || self == '{';
    return Search(bracket, self, other, forward, KindAt(bracket.column), partner);
}

bool VxEditBraceMatcher::CodeEndsWith(std::int32_t line, char byte)
{
    if (!LoadLine(line))
        return false;
    const char* text = nullptr;
    std::int32_t length = 0;
    model_.LineText(line, text, length);
    for (auto stretch = stretches_.rbegin(); stretch != stretches_.rend(); ++stretch) {
        if (stretch->kind != kCode) {
            if (std::find(commentGroups_.begin(), commentGroups_.end(), stretch->kind) != commentGroups_.end())
                continue;
            return false;
        }
        for (std::int32_t at = stretch->end - 1; at >= stretch->start; --at) {
            if (text[at] != ' ' && text[at] != '\t')
                return text[at] == byte;
        }
    }
    return false;
}

bool VxEditBraceMatcher::IsTagGroup(int group) const
{
    return std::find(tagGroups_.begin(), tagGroups_.end(), group) != tagGroups_.end();
}

// The runs are read before the text: working them out may move the store's
// gap and leave an earlier text pointer stale.
bool VxEditBraceMatcher::LoadLine(std::int32_t line)
{
    stretches_.clear();
    const std::int32_t length = model_.LineLength(line);
    if (length < 0)
        return false;
    const std::vector<ColorRun>* runs = model_.GetColourRuns(line);
    std::int32_t at = 0;
    if (runs) {
        for (ColorRun run : *runs) {
            if (at >= length)
                break;
            const std::int32_t end =
                ColorRunLength(run) == 0 ? length : std::min(length, at + static_cast<std::int32_t>(ColorRunLength(run)));
            const int kind = IsTagGroup(ColorRunGroup(run)) ? ColorRunGroup(run) : kCode;
            if (!stretches_.empty() && stretches_.back().kind == kind)
                stretches_.back().end = end;
            else
                stretches_.push_back({at, end, kind});
            at = end;
        }
    }
    if (at < length) {
        if (!stretches_.empty() && stretches_.back().kind == kCode)
            stretches_.back().end = length;
        else
            stretches_.push_back({at, length, kCode});
    }
    return true;
}

void VxEditBraceMatcher::LoadCodeLine(std::int32_t line)
{
    stretches_.clear();
    std::int32_t from = 0;
    const VxEditSpanList& spans = model_.Spans();
    const VxEditLineCol lineStart(line, 0);
    auto after = std::upper_bound(spans.begin(), spans.end(), lineStart,
                                  [](const VxEditLineCol& at, const VxEditMLComment& span) { return at < span.start; });
    if (after != spans.begin() && (after - 1)->end.line >= line) {
        const VxEditMLComment& span = *(after - 1);
        from = span.end.line == line ? span.end.column : model_.LineLength(line);
        stretches_.push_back({0, from, 0});
    }
    const char* text = nullptr;
    std::int32_t length = 0;
    model_.LineText(line, text, length);
    const std::int32_t coloured = std::min(length, VxEdit::kColouredBytes);
    std::int32_t codeStart = from;
    for (std::int32_t at = from; at < coloured;) {
        at = NextOpener(text, at, coloured);
        if (at >= coloured)
            break;
        const VxEditLangTag* opened = nullptr;
        for (const VxEditLangTag* tag : tags_) {
            if (tag->BeginTag[0] == text[at] && coloured - at >= static_cast<std::int32_t>(tag->BeginTag.size()) &&
                std::memcmp(text + at, tag->BeginTag.data(), tag->BeginTag.size()) == 0 &&
                (!opened || tag->BeginTag.size() > opened->BeginTag.size())) {
                opened = tag;
            }
        }
        if (!opened) {
            ++at;
            continue;
        }
        if (at > codeStart)
            stretches_.push_back({codeStart, at, kCode});
        const std::int32_t end = TagEnd(text, coloured, at, *opened);
        stretches_.push_back({at, end, 0});
        at = end;
        codeStart = end;
    }
    if (codeStart < length)
        stretches_.push_back({codeStart, length, kCode});
}

std::int32_t VxEditBraceMatcher::NextOpener(const char* text, std::int32_t at, std::int32_t end) const
{
    if (openerCount_ <= kMaxOpeners)
        return FirstOf(text, at, end, openers_, openerCount_);
    while (at < end && !opens_[static_cast<unsigned char>(text[at])])
        ++at;
    return at;
}

std::int32_t VxEditBraceMatcher::TagEnd(const char* text, std::int32_t length, std::int32_t column,
                                        const VxEditLangTag& tag) const
{
    const char escape = tag.EscapeChar.empty() || tag.MultiLine ? 0 : tag.EscapeChar[0];
    const auto endSize = static_cast<std::int32_t>(tag.EndTag.size());
    for (std::int32_t at = column + static_cast<std::int32_t>(tag.BeginTag.size()); at < length; ++at) {
        if (escape && text[at] == escape) {
            ++at;
            continue;
        }
        if (endSize > 0 && length - at >= endSize && std::memcmp(text + at, tag.EndTag.data(), tag.EndTag.size()) == 0)
            return at + endSize;
    }
    return length;
}

int VxEditBraceMatcher::KindAt(std::int32_t column) const
{
    for (const Stretch& stretch : stretches_) {
        if (column >= stretch.start && column < stretch.end)
            return stretch.kind;
    }
    return kCode;
}

// Code brackets pass over lines without any bracket unread; a bracket in a
// comment or string stops where its stretch ends, which crosses a line end
// only when the stretch goes on at the other side (a block comment).
std::int32_t VxEditBraceMatcher::NextLineWithEither(std::int32_t line, bool forward, char a, char b,
                                                   std::int64_t& budget) const
{
    const VxEditTextBuffer& buffer = model_.TextBuffer();
    const std::int64_t start = buffer.LineStart(line);
    const std::int64_t end = line < buffer.LastLine() ? buffer.LineStart(line + 1) : buffer.Length();
    std::int64_t hit = -1;
    if (forward) {
        const std::int64_t to = std::min(buffer.Length(), start + budget);
        hit = buffer.FindEither(start, to, a, b);
        if (hit >= to)
            return -1;
    } else {
        hit = buffer.FindLastEither(std::max<std::int64_t>(0, end - budget), end, a, b);
        if (hit < 0)
            return -1;
    }
    // The bracket is most often on the line itself or a few lines on: they
    // are stepped over rather than looked up.
    const std::int32_t last = buffer.LastLine();
    std::int32_t found = line;
    if (forward) {
        for (int steps = 0; found < last && buffer.LineStart(found + 1) <= hit; ++steps, ++found) {
            if (steps == 8) {
                found = buffer.PositionOf(hit).line;
                break;
            }
        }
    } else {
        for (int steps = 0; buffer.LineStart(found) > hit; ++steps, --found) {
            if (steps == 8) {
                found = buffer.PositionOf(hit).line;
                break;
            }
        }
    }
    const std::int64_t foundEnd = found < last ? buffer.LineStart(found + 1) : buffer.Length();
    budget -= forward ? buffer.LineStart(found) - start : end - foundEnd;
    return found;
}

bool VxEditBraceMatcher::Search(const VxEditLineCol& from, char self, char other, bool forward, int kind,
                                VxEditLineCol& partner)
{
    const bool inSpan = kind != kCode;
    const char pair[2] = {self, other};
    const std::int32_t lastLine = model_.LastLine();
    std::int64_t budget = kSearchBytes;
    std::int32_t depth = 0;
    std::int32_t line = from.line;
    std::int32_t column = from.column;
    bool first = true;
    if (forward && !inSpan && tagsSuffice_) {
        // Records the multi-line spans as far as the search may go, with
        // one search for their BeginTags rather than a colouring per line.
        const VxEditTextBuffer& buffer = model_.TextBuffer();
        const std::int64_t reach = std::min(buffer.LineStart(line) + kSearchBytes, buffer.Length());
        const std::int32_t reachLine = std::min(buffer.PositionOf(reach).line + 1, lastLine);
        if (reachLine >= model_.ScanPosition())
            model_.IsInTagSpan(VxEditLineCol(reachLine, 0));
    }
    while (line >= 0 && line <= lastLine && budget > 0) {
        if (!first && !inSpan) {
            // Lines without either bracket are passed over at the pace of
            // a byte search through the text.
            const std::int32_t found = NextLineWithEither(line, forward, self, other, budget);
            if (found < 0)
                return false;
            line = found;
        }
        const char* text = nullptr;
        std::int32_t length = 0;
        model_.LineText(line, text, length);
        budget -= length + 1;
        if (!first) {
            if (inSpan || !tagsSuffice_)
                LoadLine(line);
            else
                LoadCodeLine(line);
            if (inSpan) {
                // The stretch continues only when the line starts (going
                // down) or ends (going up) in it.
                const bool continues = stretches_.empty() ||
                                       (forward ? stretches_.front().kind : stretches_.back().kind) == kind;
                if (!continues)
                    return false;
            }
            model_.LineText(line, text, length);
            column = forward ? -1 : length;
        }
        first = false;
        std::size_t index = 0;
        if (!forward)
            index = stretches_.empty() ? 0 : stretches_.size() - 1;
        for (std::int32_t at = column + (forward ? 1 : -1); at >= 0 && at < length; at += forward ? 1 : -1) {
            if (!inSpan && forward)
                at = FirstOf(text, at, length, pair, 2);
            if (at >= length)
                break;
            if (!inSpan && text[at] != self && text[at] != other)
                continue;
            while (forward && index + 1 < stretches_.size() && at >= stretches_[index].end)
                ++index;
            while (!forward && index > 0 && at < stretches_[index].start)
                --index;
            const int here = stretches_.empty() ? kCode : stretches_[index].kind;
            if (here != kind) {
                if (inSpan)
                    return false;
                continue;
            }
            if (text[at] == self) {
                ++depth;
            } else if (text[at] == other) {
                if (depth == 0) {
                    partner = VxEditLineCol(line, at);
                    return true;
                }
                --depth;
            }
        }
        line += forward ? 1 : -1;
    }
    return false;
}
