// Script and style elements of an HTML page in the document model's
// colouring scanner. An element is a multi-line tag of the model's own from
// "<script" or "<style" to its end tag, found by the same search for the
// end tag that any tag uses (so "</script>" inside a string of the script
// ends it, as in a browser). Its lines are coloured in three phases: the
// start tag as markup, the body by the JavaScript lexer (CSS for a style
// element) with the words of the "JavaScript" or "CSS" configuration shown
// in the page's own groups (keywords and at-rules as elements, properties
// as attribute names), and the end tag as markup.
#include "engine/VxScrivo.h"

#include "engine/VxEditScanChars.h"
#include "engine/VxEditTextBuffer.h"
#include "language/VxEditLangConfig.h"
#include "language/VxEditLangConfigRegistry.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string_view>
#include <strings.h>

namespace {

enum ElementTagIndex { kScript, kStyle, kScriptCapitals, kStyleCapitals };

bool EndsName(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '>' || c == '/';
}

std::string Lower(std::string_view text)
{
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); });
    return lower;
}

// Whether the start tag in text (its line from "<script" on) holds no type
// attribute, or one that names JavaScript.
bool RunsAsScript(const char* text, int length)
{
    const std::string tag = Lower(std::string_view(text, static_cast<std::size_t>(length)));
    const std::size_t close = tag.find('>');
    const std::string_view head = std::string_view(tag).substr(0, close);
    for (std::size_t at = head.find("type"); at != std::string_view::npos; at = head.find("type", at + 4)) {
        if (at == 0 || !std::isspace(static_cast<unsigned char>(head[at - 1])))
            continue;
        std::size_t value = at + 4;
        while (value < head.size() && head[value] == ' ')
            ++value;
        if (value >= head.size() || head[value] != '=')
            continue;
        ++value;
        while (value < head.size() && head[value] == ' ')
            ++value;
        const char quote = value < head.size() && (head[value] == '"' || head[value] == '\'') ? head[value] : 0;
        if (quote)
            ++value;
        std::size_t end = value;
        while (end < head.size() && head[end] != quote && !(quote == 0 && std::isspace(static_cast<unsigned char>(head[end]))))
            ++end;
        const std::string_view type = head.substr(value, end - value);
        return type.empty() || type == "module" || type.find("javascript") != std::string_view::npos ||
               type.find("ecmascript") != std::string_view::npos;
    }
    return true;
}

void AddRun(VxEditColourRuns& runs, std::int32_t length, int group)
{
    if (length <= 0)
        return;
    if (!runs.empty() && ColorRunLength(runs.back()) != 0 && ColorRunGroup(runs.back()) == group &&
        ColorRunLength(runs.back()) + static_cast<std::uint32_t>(length) <= 0xFFFF) {
        runs.back() = MakeColorRun(ColorRunLength(runs.back()) + static_cast<std::uint32_t>(length), group);
        return;
    }
    VxEditScanChars::AppendRun(runs, length, group);
}

}  // namespace

const VxEditLangTag* VxScrivo::ElementTag(const char* text, int length)
{
    if (length < 6 || text[0] != '<' || !IsHtmlConfig())
        return nullptr;
    const bool script = length >= 7 && strncasecmp(text, "<script", 7) == 0;
    const bool style = !script && strncasecmp(text, "<style", 6) == 0;
    if (!script && !style)
        return nullptr;
    const int nameEnd = script ? 7 : 6;
    if (nameEnd < length && !EndsName(text[nameEnd]))
        return nullptr;
    if (script && !RunsAsScript(text, length))
        return nullptr;
    std::vector<const VxEditLangTag*> refreshed;
    ListElementTags(refreshed);
    return &elementTags_[script ? kScript : kStyle];
}

void VxScrivo::ListElementTags(std::vector<const VxEditLangTag*>& tags)
{
    if (!IsHtmlConfig())
        return;
    const int text = GetLangConfig()->GetSpecialColorGroupIndex(IVxEditLangConfig::kTextGroup);
    elementTags_[kScript] = VxEditLangTag{"<script", "</script", "", text, 1};
    elementTags_[kStyle] = VxEditLangTag{"<style", "</style", "", text, 1};
    elementTags_[kScriptCapitals] = VxEditLangTag{"<SCRIPT", "</SCRIPT", "", text, 1};
    elementTags_[kStyleCapitals] = VxEditLangTag{"<STYLE", "</STYLE", "", text, 1};
    for (const VxEditLangTag& tag : elementTags_)
        tags.push_back(&tag);
}

bool VxScrivo::IsElementTag(const VxEditLangTag& tag) const
{
    return &tag >= std::begin(elementTags_) && &tag < std::end(elementTags_);
}

VxScrivo::CodeColours VxScrivo::BodyColours(bool css) const
{
    const VxEditLangConfig& config = *GetLangConfig();
    CodeColours colours;
    const VxEditLangConfig* words = VxEditLangConfigRegistry::Instance().Get(css ? "CSS" : "JavaScript");
    colours.words = words ? words : &config;
    colours.keywordGroups.assign(static_cast<std::size_t>(colours.words->GetColorGroupCount()), -1);
    if (!words)
        return colours;
    const int element = config.FindColorGroup("Element");
    const int attribute = config.FindColorGroup("Attribute Name");
    for (int group = 0; group < words->GetColorGroupCount(); ++group) {
        const std::string name = words->GetColorGroupName(group);
        if (name == "Keyword" || name == "At-Rule")
            colours.keywordGroups[static_cast<std::size_t>(group)] = element;
        else if (name == "Property")
            colours.keywordGroups[static_cast<std::size_t>(group)] = attribute;
    }
    return colours;
}

void VxScrivo::AppendElementPart(std::int32_t line, const char* text, std::int32_t from, std::int32_t to,
                                 const VxEditMLComment& span, VxEditColourRuns& runs)
{
    VxEditTextBuffer& buffer = TextBuffer();
    const std::int64_t startOffset = buffer.OffsetOf(span.start.line, span.start.column);
    const bool css = std::tolower(static_cast<unsigned char>(buffer.CharAt(startOffset + 2))) == 't';
    // Where the body ends: at the end tag when the span closes with one.
    const std::string endTag = css ? "</style" : "</script";
    const auto endSize = static_cast<std::int32_t>(endTag.size());
    VxEditLineCol bodyEnd(LastLine() + 1, 0);
    if (span.end.column >= endSize) {
        const std::int64_t endOffset = buffer.OffsetOf(span.end.line, span.end.column - endSize);
        bool closed = endOffset > startOffset;
        for (std::int32_t i = 0; closed && i < endSize; ++i)
            closed = std::tolower(static_cast<unsigned char>(buffer.CharAt(endOffset + i))) == endTag[static_cast<std::size_t>(i)];
        if (closed)
            bodyEnd = VxEditLineCol(span.end.line, span.end.column - endSize);
    }
    const CodeColours markup = OwnCodeColours();
    const CodeColours body = BodyColours(css);
    const int stringGroup = ScriptGroup(VxEditJsLexer::Kind::String);

    TemplateMemo& memo = elementMemo_;
    const std::uint64_t revision = buffer.Revision();
    if (memo.revision != revision || memo.spanStart != span.start || memo.nextLine > line || memo.nextLine < 0)
        memo = TemplateMemo{revision, span.start, span.start.line, VxEditJsLexer::OpenedScript(css), {}, 0, 0};
    for (; memo.nextLine <= line; ++memo.nextLine) {
        const std::int32_t current = memo.nextLine;
        const bool output = current == line;
        std::string copy;
        std::int32_t at = from;
        std::int32_t end = to;
        const char* lineText = text;
        if (!output) {
            const char* stored = nullptr;
            std::int32_t length = 0;
            if (!LineText(current, stored, length))
                return;
            copy.assign(stored, static_cast<std::size_t>(std::min(length, kColouredBytes)));
            lineText = copy.data();
            at = current == span.start.line ? span.start.column : 0;
            end = static_cast<std::int32_t>(copy.size());
        }
        VxEditColourRuns ignored;
        VxEditColourRuns& out = output ? runs : ignored;
        while (at < end) {
            if (memo.phase == 0) {
                // The start tag, its quoted values as strings.
                std::int32_t stretch = at;
                std::int32_t k = at;
                bool closed = false;
                for (; k < end && !closed; ++k) {
                    const char c = lineText[k];
                    if (memo.quote) {
                        if (c == memo.quote) {
                            memo.quote = 0;
                            if (output)
                                AddRun(out, k + 1 - stretch, stringGroup);
                            stretch = k + 1;
                        }
                    } else if (c == '"' || c == '\'') {
                        if (output)
                            AppendCode(lineText + stretch, k - stretch, out, markup);
                        memo.quote = c;
                        stretch = k;
                    } else if (c == '>') {
                        closed = true;
                    }
                }
                if (output) {
                    if (memo.quote)
                        AddRun(out, k - stretch, stringGroup);
                    else
                        AppendCode(lineText + stretch, k - stretch, out, markup);
                }
                at = k;
                if (closed)
                    memo.phase = 1;
            } else if (memo.phase == 1) {
                const std::int32_t stop = current == bodyEnd.line ? std::min(bodyEnd.column, end) : end;
                if (stop > at) {
                    std::vector<VxEditJsLexer::Piece> pieces;
                    VxEditJsLexer::LexLine(lineText, stop, at, memo.state, memo.previousLine,
                                           output ? &pieces : nullptr);
                    if (output)
                        AppendPieces(lineText, pieces, out, body);
                }
                at = std::max(at, stop);
                if (current == bodyEnd.line && at >= bodyEnd.column)
                    memo.phase = 2;
            } else {
                if (output)
                    AppendCode(lineText + at, end - at, out, markup);
                at = end;
            }
        }
        if (output) {
            const char* stored = nullptr;
            std::int32_t length = 0;
            LineText(current, stored, length);
            memo.previousLine.assign(stored, static_cast<std::size_t>(std::min(length, kColouredBytes)));
        } else {
            memo.previousLine = std::move(copy);
        }
    }
}

void VxScrivo::DetailElementLine(std::int32_t line)
{
    const VxEditSpanList& spans = Spans();
    const VxEditLineCol lineStart(line, 0);
    auto after = std::upper_bound(spans.begin(), spans.end(), lineStart,
                                  [](const VxEditLineCol& at, const VxEditMLComment& span) { return at < span.start; });
    if (after == spans.begin())
        return;
    const VxEditMLComment span = *(after - 1);
    if (!(span.start < lineStart) || span.end.line < line)
        return;
    VxEditTextBuffer& buffer = TextBuffer();
    const std::int64_t startOffset = buffer.OffsetOf(span.start.line, span.start.column);
    char head[8] = {};
    for (int i = 0; i < 7 && startOffset + i < buffer.Length(); ++i)
        head[i] = buffer.CharAt(startOffset + i);
    const VxEditLangTag* tag = ElementTag(head, static_cast<int>(std::strlen(head)));
    if (!tag || span.kind != tag->ColorGroup)
        return;
    VxEditColourRuns* cached = ColourCache().Get(line);
    if (!cached || cached->empty() || LineLength(line) == 0)
        return;
    const bool lastLine = span.end.line == line;
    const ColorRun first = cached->front();
    if (ColorRunGroup(first) != span.kind ||
        static_cast<std::int32_t>(ColorRunLength(first)) != (lastLine ? span.end.column : 0))
        return;
    const char* text = nullptr;
    std::int32_t length = 0;
    if (!LineText(line, text, length))
        return;
    const std::int32_t coloured = std::min(length, kColouredBytes);
    const std::string copy(text, static_cast<std::size_t>(coloured));
    const std::int32_t to = lastLine ? std::min(span.end.column, coloured) : coloured;
    VxEditColourRuns detailed;
    AppendElementPart(line, copy.data(), 0, to, span, detailed);
    if (lastLine)
        detailed.insert(detailed.end(), cached->begin() + 1, cached->end());
    else if (length > coloured)
        detailed.push_back(MakeColorRun(0, span.kind));
    if (detailed.empty())
        return;
    // Working the runs out may have renewed the cache.
    if (VxEditColourRuns* now = ColourCache().Get(line))
        *now = std::move(detailed);
}
