// The JavaScript steps of the document model's colouring scanner: what the
// "JavaScript" configuration's keywords, character classes and tags cannot
// say. Regular-expression literals and numbers are single runs found where
// a token starts; template literals and documentation comments are
// multi-line tags of the model's own, so that spans, scanning ahead and
// recolouring after edits treat them as any tag.
#include "engine/VxScrivo.h"

#include "engine/VxEditScanChars.h"
#include "engine/VxEditTextBuffer.h"
#include "language/VxEditLangConfig.h"
#include "language/VxEditLangTagTable.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <strings.h>

namespace {

using Kind = VxEditJsLexer::Kind;

// How far up the scanner looks for the code line above a line that starts
// with a '/'.
constexpr std::int32_t kLinesAbove = 64;

bool IsNameByte(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '$' ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool IsBlankText(const char* text, std::int32_t length)
{
    return std::all_of(text, text + length, [](char c) { return c == ' ' || c == '\t' || c == '\r'; });
}

// Adds a run, joining it to the last one when that has the same group.
void AddRun(VxEditColourRuns& runs, std::int32_t length, int group)
{
    if (length <= 0)
        return;
    if (!runs.empty() && ColorRunLength(runs.back()) != 0 && ColorRunGroup(runs.back()) == group) {
        const std::int32_t joined = static_cast<std::int32_t>(ColorRunLength(runs.back())) + length;
        if (joined <= 0xFFFF) {
            runs.back() = MakeColorRun(static_cast<std::uint32_t>(joined), group);
            return;
        }
    }
    VxEditScanChars::AppendRun(runs, length, group);
}

// Whether the quote at column opens the value of a style attribute.
bool OpensStyleValue(const std::string& text, std::int32_t column)
{
    std::int32_t at = column - 1;
    auto skipBlanks = [&] {
        while (at >= 0 && (text[static_cast<std::size_t>(at)] == ' ' || text[static_cast<std::size_t>(at)] == '\t'))
            --at;
    };
    skipBlanks();
    if (at < 0 || text[static_cast<std::size_t>(at)] != '=')
        return false;
    --at;
    skipBlanks();
    if (at < 4 || strncasecmp(text.c_str() + at - 4, "style", 5) != 0)
        return false;
    return at == 4 || !IsNameByte(text[static_cast<std::size_t>(at - 5)]);
}

}  // namespace

bool VxScrivo::IsJavaScript() const
{
    const VxEditLangConfig* config = GetLangConfig();
    return config && strcasecmp(config->GetName().c_str(), "JavaScript") == 0;
}

int VxScrivo::ScriptGroup(Kind kind) const
{
    const VxEditLangConfig& config = *GetLangConfig();
    auto named = [&config](const char* name, int fallback) {
        const int group = config.FindColorGroup(name);
        return group >= 0 ? group : fallback;
    };
    const int text = config.GetSpecialColorGroupIndex(IVxEditLangConfig::kTextGroup);
    const int string = named("String", text);
    const int comment = named("Comment", text);
    switch (kind) {
    case Kind::String: return string;
    case Kind::Comment: return comment;
    case Kind::DocComment: return named("Doc Comment", comment);
    case Kind::Template: return named("Template", string);
    case Kind::Regex: return named("Regex", string);
    case Kind::Code: break;
    }
    return text;
}

const VxEditLangTag* VxScrivo::ScriptTag(const char* text, int length, int tokenLength)
{
    if (length < 1 || !IsJavaScript())
        return nullptr;
    // Taken from the configuration each time, so that a changed group takes
    // effect at once.
    if (text[0] == '`' && tokenLength <= 1) {
        templateTag_ = VxEditLangTag{"`", "`", "\\", ScriptGroup(Kind::Template), 1};
        return &templateTag_;
    }
    // "/**/" is an empty comment, not documentation.
    if (length >= 3 && std::memcmp(text, "/**", 3) == 0 && !(length >= 4 && text[3] == '/') &&
        (tokenLength == 0 || tokenLength == 3)) {
        docCommentTag_ = VxEditLangTag{"/**", "*/", "", ScriptGroup(Kind::DocComment), 1};
        return &docCommentTag_;
    }
    return nullptr;
}

void VxScrivo::ListScriptTags(std::vector<const VxEditLangTag*>& tags)
{
    if (ScriptTag("`", 1, 0))
        tags.push_back(&templateTag_);
    if (ScriptTag("/**", 3, 0))
        tags.push_back(&docCommentTag_);
}

std::string VxScrivo::CodeLineAbove(std::int32_t line)
{
    for (std::int32_t above = line - 1; above >= 0 && above >= line - kLinesAbove; --above) {
        const char* text = nullptr;
        std::int32_t length = 0;
        if (LineText(above, text, length) && !IsBlankText(text, length))
            return std::string(text, static_cast<std::size_t>(std::min(length, kColouredBytes)));
    }
    return {};
}

std::int32_t VxScrivo::ScanToken(std::int32_t line, const char* lineText, const char* token,
                                 std::int32_t tokenLength, std::int32_t bytesLeft, std::uint16_t& pending,
                                 VxEditColourRuns& runs)
{
    if (IsCss()) {
        int group = 0;
        if (const std::int32_t length = StyleTokenLength(lineText, token, tokenLength, bytesLeft, group)) {
            FlushPending(runs, pending);
            VxEditScanChars::AppendRun(runs, length, group);
            return length;
        }
    }
    if (IsJavaScript()) {
        const auto column = static_cast<std::int32_t>(token - lineText);
        std::int32_t length = 0;
        int group = 0;
        if (*token == '/' && bytesLeft > 1 && token[1] != '/' && token[1] != '*') {
            if (VxEditJsLexer::RegexMayStart(lineText, column, CodeLineAbove(line))) {
                length = VxEditJsLexer::RegexLength(token, bytesLeft);
                group = ScriptGroup(Kind::Regex);
            }
        } else if (column == 0 || !IsNameByte(lineText[column - 1])) {
            length = VxEditJsLexer::NumberLength(token, bytesLeft);
            if (length > 0)
                length = std::max(length, tokenLength);
            group = GetLangConfig()->GetSpecialColorGroupIndex(IVxEditLangConfig::kNumberGroup);
        }
        if (length > 0) {
            FlushPending(runs, pending);
            VxEditScanChars::AppendRun(runs, length, group);
            return length;
        }
    }
    return VxHTMLEdit::ScanToken(line, lineText, token, tokenLength, bytesLeft, pending, runs);
}

VxEditLineCol VxScrivo::FindTagEnd(const VxEditLineCol& start, const VxEditLangTag& tag)
{
    if (&tag != &templateTag_)
        return VxHTMLEdit::FindTagEnd(start, tag);
    VxEditJsLexer::State state = VxEditJsLexer::OpenedTemplate();
    std::string previous;
    for (std::int32_t line = start.line; line <= LastLine(); ++line) {
        const char* text = nullptr;
        std::int32_t length = 0;
        if (!LineText(line, text, length))
            break;
        std::string copy(text, static_cast<std::size_t>(length));
        const std::int32_t from = line == start.line ? start.column : 0;
        const std::int32_t end = VxEditJsLexer::LexLine(copy.data(), length, from, state, previous, nullptr);
        if (!state.InsideTemplate())
            return VxEditLineCol(line, end);
        previous = std::move(copy);
    }
    return VxEditLineCol(LastLine(), LineLength(LastLine()));
}

std::int32_t VxScrivo::ScanMultiLineTag(std::int32_t line, std::int32_t column, std::int32_t bytesLeft,
                                        VxEditColourRuns& runs, const VxEditLangTag& tag)
{
    const std::size_t before = runs.size();
    const std::int32_t consumed = VxHTMLEdit::ScanMultiLineTag(line, column, bytesLeft, runs, tag);
    if (IsElementTag(tag)) {
        const char* text = nullptr;
        std::int32_t length = 0;
        if (!LineText(line, text, length))
            return consumed;
        const std::string copy(text, static_cast<std::size_t>(std::min(length, column + consumed)));
        const VxEditLineCol start(line, column);
        // The span just recorded, or (on one line) the stretch consumed.
        VxEditMLComment span(VxEditLineColPair(start, VxEditLineCol(line, column + consumed)), tag.ColorGroup);
        auto found = std::lower_bound(Spans().begin(), Spans().end(), start,
                                      [](const VxEditMLComment& at, const VxEditLineCol& to) { return at.start < to; });
        if (found != Spans().end() && found->start == start)
            span = *found;
        runs.resize(before);
        AppendElementPart(line, copy.data(), column, static_cast<std::int32_t>(copy.size()), span, runs);
        return consumed;
    }
    if (IsHtmlConfig() && tag.BeginTag == "\"" && consumed >= 2) {
        // A style attribute's value, closed on its line, is CSS.
        const char* text = nullptr;
        std::int32_t length = 0;
        if (!LineText(line, text, length) || column + consumed > length)
            return consumed;
        const std::string copy(text, static_cast<std::size_t>(column + consumed));
        if (copy.back() != '"' || !OpensStyleValue(copy, column))
            return consumed;
        runs.resize(before);
        AddRun(runs, 1, tag.ColorGroup);
        AppendCode(copy.data() + column + 1, consumed - 2, runs, BodyColours(true));
        AddRun(runs, 1, tag.ColorGroup);
        return consumed;
    }
    if (&tag != &templateTag_)
        return consumed;
    // The span's own run becomes the template's pieces on this line.
    const char* text = nullptr;
    std::int32_t length = 0;
    if (!LineText(line, text, length))
        return consumed;
    const std::string copy(text, static_cast<std::size_t>(std::min(length, column + consumed)));
    VxEditJsLexer::State state = VxEditJsLexer::OpenedTemplate();
    std::vector<VxEditJsLexer::Piece> pieces{{column, 1, Kind::Template}};
    VxEditJsLexer::LexLine(copy.data(), static_cast<std::int32_t>(copy.size()), column + 1, state, {}, &pieces);
    runs.resize(before);
    AppendPieces(copy.data(), pieces, runs, OwnCodeColours());
    return consumed;
}

VxScrivo::CodeColours VxScrivo::OwnCodeColours() const
{
    CodeColours colours;
    colours.words = GetLangConfig();
    colours.operatorGroup = GetLangConfig()->GetSpecialColorGroupIndex(IVxEditLangConfig::kOperatorGroup);
    return colours;
}

void VxScrivo::AppendCode(const char* text, std::int32_t length, VxEditColourRuns& runs, const CodeColours& colours)
{
    const VxEditLangConfig& config = *GetLangConfig();
    const VxEditLangConfig& words = colours.words ? *colours.words : config;
    const VxEditScanChars chars(words);
    const int textGroup = config.GetSpecialColorGroupIndex(IVxEditLangConfig::kTextGroup);
    const int numberGroup = config.GetSpecialColorGroupIndex(IVxEditLangConfig::kNumberGroup);
    const int wordsNumber = words.GetSpecialColorGroupIndex(IVxEditLangConfig::kNumberGroup);
    for (std::int32_t at = 0; at < length;) {
        const std::int32_t left = length - at;
        // A token as NextTokenEnd cuts it, by the words configuration.
        std::int32_t token = 0;
        if (VxEditScanChars::IsWhite(text[at])) {
            while (token < left && VxEditScanChars::IsWhite(text[at + token]))
                ++token;
        } else {
            auto take = [&](int set) {
                return token < left && (chars.IsWordChar(text + at + token, left - token) ||
                                        (set >= 0 && chars.InSet(text + at + token, left - token, set)));
            };
            if (take(IVxEditLangConfig::kKWStartChars))
                token += VxEditScanChars::Length(text + at + token, left - token);
            while (take(IVxEditLangConfig::kKWMiddleChars))
                token += VxEditScanChars::Length(text + at + token, left - token);
            if (token < left && chars.InSet(text + at + token, left - token, IVxEditLangConfig::kKWEndChars))
                token += VxEditScanChars::Length(text + at + token, left - token);
        }
        const std::int32_t number =
            (at == 0 || !IsNameByte(text[at - 1])) ? VxEditJsLexer::NumberLength(text + at, left) : 0;
        int group = textGroup;
        std::int32_t size = token > 0 ? token : VxEditScanChars::Length(text + at, left);
        int found = 0;
        if (number > 0) {
            group = numberGroup;
            size = std::max(number, token);
        } else if (colours.colourGroup >= 0 && text[at] == '#' && IsHexColour(text + at, left)) {
            group = colours.colourGroup;
        } else if (token > 0 && !VxEditScanChars::IsWhite(text[at]) && words.LookupKeyword(text + at, token, found)) {
            if (found == wordsNumber)
                group = numberGroup;
            else if (colours.keywordGroups.empty())
                group = found;
            else if (found >= 0 && found < static_cast<int>(colours.keywordGroups.size()) &&
                     colours.keywordGroups[static_cast<std::size_t>(found)] >= 0)
                group = colours.keywordGroups[static_cast<std::size_t>(found)];
        } else if (token == 0 && colours.operatorGroup >= 0 && chars.InSet(text + at, left, IVxEditLangConfig::kOperators)) {
            group = colours.operatorGroup;
        }
        AddRun(runs, std::min(size, left), group);
        at += std::max(std::min(size, left), 1);
    }
}

void VxScrivo::AppendPieces(const char* lineText, const std::vector<VxEditJsLexer::Piece>& pieces,
                            VxEditColourRuns& runs, const CodeColours& colours)
{
    for (const VxEditJsLexer::Piece& piece : pieces) {
        if (piece.kind == Kind::Code)
            AppendCode(lineText + piece.start, piece.length, runs, colours);
        else
            AddRun(runs, piece.length, ScriptGroup(piece.kind));
    }
}

void VxScrivo::DetailTemplateLine(std::int32_t line)
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
    if (span.kind != ScriptGroup(Kind::Template) ||
        buffer.CharAt(buffer.OffsetOf(span.start.line, span.start.column)) != '`')
        return;
    VxEditColourRuns* cached = ColourCache().Get(line);
    if (!cached || cached->empty())
        return;
    // The span's runs: one to the end of an inner line, or one up to the
    // span's end on its last line, followed by what the scan found after it.
    const bool lastLine = span.end.line == line;
    const ColorRun first = cached->front();
    if (ColorRunGroup(first) != span.kind ||
        static_cast<std::int32_t>(ColorRunLength(first)) != (lastLine ? span.end.column : 0))
        return;

    if (LineLength(line) == 0)
        return;
    const std::uint64_t revision = buffer.Revision();
    TemplateMemo& memo = templateMemo_;
    if (memo.revision != revision || memo.spanStart != span.start || memo.nextLine > line || memo.nextLine < 0) {
        memo = TemplateMemo{revision, span.start, span.start.line, VxEditJsLexer::OpenedTemplate(), {}, 0, 0};
    }
    for (; memo.nextLine <= line; ++memo.nextLine) {
        const char* text = nullptr;
        std::int32_t length = 0;
        if (!LineText(memo.nextLine, text, length))
            return;
        const std::int32_t coloured = std::min(length, kColouredBytes);
        std::string copy(text, static_cast<std::size_t>(coloured));
        const std::int32_t from = memo.nextLine == span.start.line ? span.start.column + 1 : 0;
        if (memo.nextLine < line) {
            VxEditJsLexer::LexLine(copy.data(), coloured, from, memo.state, memo.previousLine, nullptr);
            memo.previousLine = std::move(copy);
            continue;
        }
        const std::int32_t end = lastLine ? std::min(span.end.column, coloured) : coloured;
        std::vector<VxEditJsLexer::Piece> pieces;
        VxEditJsLexer::LexLine(copy.data(), end, 0, memo.state, memo.previousLine, &pieces);
        VxEditColourRuns detailed;
        AppendPieces(copy.data(), pieces, detailed, OwnCodeColours());
        if (lastLine)
            detailed.insert(detailed.end(), cached->begin() + 1, cached->end());
        else if (length > coloured)
            detailed.push_back(MakeColorRun(0, ColorRunGroup(first)));
        if (detailed.empty())
            detailed.push_back(first);
        *cached = std::move(detailed);
        memo.previousLine = std::move(copy);
    }
}
