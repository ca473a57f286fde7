// The colouring scanner of VxEdit, line by line: tokens, keywords, tags and
// operators become colour runs, cached per line until an edit or a change of
// configuration drops them. Tags that cross line ends are in
// VxEditScanTags.cpp.
#include "engine/VxEdit.h"

#include "engine/VxEditScanChars.h"
#include "language/VxEditLangConfig.h"

#include <algorithm>
#include <string>
#include <utility>

namespace {

int TextGroup(const VxEditLangConfig& config)
{
    return config.GetSpecialColorGroupIndex(IVxEditLangConfig::kTextGroup);
}

}  // namespace

const std::vector<ColorRun>* VxEdit::GetColourRuns(std::int32_t line)
{
    const VxEditLangConfig* config = GetLangConfig();
    if (!colouringEnabled_ || !config || line < 0 || line > LastLine())
        return nullptr;
    colour_.Trim(line);
    if (line >= scanPosition_)
        ScanAhead(VxEditLineColPair(scanPosition_, 0, line, 0));
    VxEditColourRuns* runs = colour_.Get(line);
    if (!runs)
        runs = RecomputeLine(line);
    if (TestMark(line, kMarkHighlight)) {
        const int group = VxEditScanChars::GroupByDisplayName(*config, "Highlight");
        if (group >= 0)
            VxEditScanChars::AssignWholeLine(*runs, LineLength(line), group);
    }
    return runs;
}

VxEditColourRuns* VxEdit::RecomputeLine(std::int32_t line)
{
    // A line that starts inside a recorded span is that span's colour up to
    // where the span ends; only the rest is scanned.
    const VxEditLineCol lineStart(line, 0);
    auto after = std::upper_bound(spans_.begin(), spans_.end(), lineStart,
                                  [](const VxEditLineCol& at, const VxEditMLComment& span) { return at < span.start; });
    if (after != spans_.begin()) {
        const VxEditMLComment& span = *(after - 1);
        if (span.start < lineStart && span.end.line >= line) {
            const int group = span.kind;
            VxEditColourRuns& runs = colour_.Renew(line);
            if (span.end.line > line || span.end.column == 0) {
                runs.push_back(MakeColorRun(0, group));
                return &runs;
            }
            const VxEditLineCol end = span.end;
            VxEditScanChars::AppendRun(runs, end.column, group);
            return ComputeColourRuns(line, end.column);
        }
    }
    return ComputeColourRuns(line, 0);
}

VxEditColourRuns* VxEdit::ComputeColourRuns(std::int32_t line, std::int32_t fromColumn)
{
    ScanLine(line, fromColumn);
    while (continueLine_ >= 0) {
        const std::int32_t next = std::exchange(continueLine_, -1);
        ScanLine(next, continueColumn_);
    }
    if (VxEditColourRuns* runs = colour_.Get(line))
        return runs;
    // Only a configuration whose spans contradict each other gets here.
    VxEditColourRuns& runs = colour_.Renew(line);
    runs.push_back(MakeColorRun(0, TextGroup(*GetLangConfig())));
    return &runs;
}

void VxEdit::ScanLine(std::int32_t line, std::int32_t fromColumn)
{
    scanPosition_ = std::max(scanPosition_, line + 1);
    const char* text = nullptr;
    std::int32_t length = 0;
    if (!LineText(line, text, length))
        return;
    length = std::min(length, kColouredBytes);
    const VxEditLangConfig& config = *GetLangConfig();
    if (length == 0) {
        colour_.Renew(line).push_back(MakeColorRun(0, TextGroup(config)));
        return;
    }
    VxEditColourRuns* runs = fromColumn > 0 ? colour_.Get(line) : nullptr;
    if (!runs) {
        runs = &colour_.Renew(line);
        fromColumn = 0;
    }
    if (fromColumn >= length)
        return;
    // Searches for tag ends may move the text store's gap, so the scan
    // works on its own copy of the line.
    const std::string copy(text, static_cast<std::size_t>(length));
    text = copy.data();
    std::uint16_t pending = 0;
    const char* at = text + fromColumn;
    std::int32_t left = length - fromColumn;
    while (left > 0) {
        const char* end = NextTokenEnd(at, left);
        std::int32_t consumed =
            ScanToken(line, text, at, static_cast<std::int32_t>(end - at), left, pending, *runs);
        consumed = std::clamp(consumed, VxEditScanChars::Length(at, left), left);
        at += consumed;
        left -= consumed;
    }
    if (pending != 0)
        FlushPending(*runs, pending);
}

const char* VxEdit::NextTokenEnd(const char* text, std::int32_t length) const
{
    if (length <= 0)
        return nullptr;
    const char* at = text;
    const char* end = text + length;
    if (VxEditScanChars::IsWhite(*at)) {
        while (at < end && VxEditScanChars::IsWhite(*at))
            ++at;
        return at;
    }
    const VxEditScanChars chars(*GetLangConfig());
    auto left = [&] { return static_cast<std::int32_t>(end - at); };
    if (chars.IsWordChar(at, left()) || chars.InSet(at, left(), IVxEditLangConfig::kKWStartChars))
        at += VxEditScanChars::Length(at, left());
    while (at < end &&
           (chars.IsWordChar(at, left()) || chars.InSet(at, left(), IVxEditLangConfig::kKWMiddleChars)))
        at += VxEditScanChars::Length(at, left());
    if (at < end && chars.InSet(at, left(), IVxEditLangConfig::kKWEndChars))
        at += VxEditScanChars::Length(at, left());
    return at;
}

std::int32_t VxEdit::ScanToken(std::int32_t line, const char* lineText, const char* token,
                               std::int32_t tokenLength, std::int32_t bytesLeft, std::uint16_t& pending,
                               VxEditColourRuns& runs)
{
    if (const std::int32_t consumed = MatchKeyword(line, lineText, token, tokenLength, bytesLeft, pending, runs))
        return consumed;
    if (const std::int32_t consumed = MatchTag(line, lineText, token, tokenLength, bytesLeft, pending, runs))
        return consumed;
    if (const std::int32_t consumed = MatchOperator(line, lineText, token, tokenLength, bytesLeft, pending, runs))
        return consumed;
    const std::int32_t plain = tokenLength > 0 ? tokenLength : VxEditScanChars::Length(token, bytesLeft);
    if (pending + plain > 0xFFFF)
        FlushPending(runs, pending);
    // A word longer than one run can say goes out in runs of its own.
    if (plain > 0xFFFF)
        VxEditScanChars::AppendRun(runs, plain, TextGroup(*GetLangConfig()));
    else
        pending = static_cast<std::uint16_t>(pending + plain);
    return plain;
}

std::int32_t VxEdit::MatchKeyword(std::int32_t /*line*/, const char* /*lineText*/, const char* token,
                                  std::int32_t tokenLength, std::int32_t /*bytesLeft*/, std::uint16_t& pending,
                                  VxEditColourRuns& runs)
{
    int group = 0;
    if (tokenLength <= 0 || !GetLangConfig()->LookupKeyword(token, tokenLength, group))
        return 0;
    FlushPending(runs, pending);
    VxEditScanChars::AppendRun(runs, tokenLength, group);
    return tokenLength;
}

std::int32_t VxEdit::MatchTag(std::int32_t line, const char* lineText, const char* token,
                              std::int32_t tokenLength, std::int32_t bytesLeft, std::uint16_t& pending,
                              VxEditColourRuns& runs)
{
    const VxEditLangTag* tag = FindScanTag(token, bytesLeft, tokenLength, VxEditLangTagTable::kAnyLine);
    if (!tag)
        return 0;
    FlushPending(runs, pending);
    const auto column = static_cast<std::int32_t>(token - lineText);
    if (tag->MultiLine)
        return ScanMultiLineTag(line, column, bytesLeft, runs, *tag);
    return ScanSingleLineTag(line, column, bytesLeft, runs, *tag);
}

const VxEditLangTag* VxEdit::FindScanTag(const char* text, int length, int tokenLength, int kind)
{
    return GetLangConfig()->FindTag(text, length, tokenLength, kind);
}

void VxEdit::ListScanTags(std::vector<const VxEditLangTag*>& tags, int kind)
{
    std::vector<VxEditLangTag*> listed;
    GetLangConfig()->ListTags(listed, kind);
    tags.assign(listed.begin(), listed.end());
}

std::int32_t VxEdit::MatchOperator(std::int32_t /*line*/, const char* /*lineText*/, const char* token,
                                   std::int32_t /*tokenLength*/, std::int32_t bytesLeft, std::uint16_t& pending,
                                   VxEditColourRuns& runs)
{
    const VxEditLangConfig& config = *GetLangConfig();
    if (!VxEditScanChars(config).InSet(token, bytesLeft, IVxEditLangConfig::kOperators))
        return 0;
    FlushPending(runs, pending);
    const std::int32_t length = VxEditScanChars::Length(token, bytesLeft);
    VxEditScanChars::AppendRun(runs, length, config.GetSpecialColorGroupIndex(IVxEditLangConfig::kOperatorGroup));
    return length;
}

void VxEdit::FlushPending(VxEditColourRuns& runs, std::uint16_t& pending)
{
    if (pending == 0)
        return;
    VxEditScanChars::AppendRun(runs, pending, TextGroup(*GetLangConfig()));
    pending = 0;
}

std::int32_t VxEdit::PlainTokenLength(std::int32_t /*line*/, const char* /*lineText*/, const char* /*token*/,
                                      std::int32_t /*tokenLength*/, std::int32_t /*bytesLeft*/)
{
    return 0;
}

void VxEdit::OnLinesEdited(std::int32_t /*first*/, std::int32_t /*last*/, const VxEditTextCommand& /*command*/) {}
