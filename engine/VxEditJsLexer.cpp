#include "engine/VxEditJsLexer.h"

#include <algorithm>
#include <initializer_list>

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

bool IsHexDigit(char c)
{
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// A byte of a name: letters, digits, '_', '$' and any byte of a non-ASCII
// character.
bool IsNameByte(char c)
{
    return IsLetter(c) || IsDigit(c) || c == '_' || c == '$' || static_cast<unsigned char>(c) >= 0x80;
}

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r';
}

// The index of the last byte before end that is neither blank nor inside a
// block comment closed before end; -1 when there is none.
std::int32_t LastSignificant(const char* text, std::int32_t end)
{
    std::int32_t at = end - 1;
    for (;;) {
        while (at >= 0 && IsBlank(text[at]))
            --at;
        if (at < 1 || text[at] != '/' || text[at - 1] != '*')
            return at;
        std::int32_t open = at - 3;
        while (open >= 0 && !(text[open] == '/' && text[open + 1] == '*'))
            --open;
        if (open < 0)
            return at;
        at = open - 1;
    }
}

// The name that ends at index last.
std::string_view NameEndingAt(const char* text, std::int32_t last)
{
    std::int32_t first = last;
    while (first > 0 && IsNameByte(text[first - 1]))
        --first;
    return {text + first, static_cast<std::size_t>(last - first + 1)};
}

bool OneOf(std::string_view word, std::initializer_list<std::string_view> words)
{
    return std::find(words.begin(), words.end(), word) != words.end();
}

// Whether a '/' may open a regular expression after the byte at index last.
bool RegexAfter(const char* text, std::int32_t last)
{
    const char c = text[last];
    if (IsNameByte(c)) {
        const std::string_view word = NameEndingAt(text, last);
        if (IsDigit(word.front()))
            return false;
        return OneOf(word, {"return", "typeof", "case", "do", "else", "in", "of", "new", "delete", "void", "throw",
                            "instanceof", "yield", "await"});
    }
    if (c == ')') {
        // A regular expression may follow the head of a statement.
        int depth = 0;
        std::int32_t open = last;
        for (; open >= 0; --open) {
            if (text[open] == ')')
                ++depth;
            else if (text[open] == '(' && --depth == 0)
                break;
        }
        std::int32_t before = open - 1;
        while (before >= 0 && IsBlank(text[before]))
            --before;
        if (before < 0 || !IsNameByte(text[before]))
            return false;
        return OneOf(NameEndingAt(text, before), {"if", "while", "for", "with"});
    }
    if (c == ']' || c == '"' || c == '\'' || c == '`')
        return false;
    // a++ / 2 divides.
    if ((c == '+' || c == '-') && last > 0 && text[last - 1] == c)
        return false;
    return true;
}

}  // namespace

VxEditJsLexer::State VxEditJsLexer::OpenedTemplate()
{
    State state;
    state.stack.push_back(State::kInTemplate);
    return state;
}

VxEditJsLexer::State VxEditJsLexer::OpenedScript(bool css)
{
    State state;
    state.stack.push_back(State::kScriptBody);
    state.css = css;
    return state;
}

bool VxEditJsLexer::RegexMayStart(const char* text, std::int32_t column, std::string_view previousLine)
{
    const std::int32_t last = LastSignificant(text, column);
    if (last >= 0)
        return RegexAfter(text, last);
    const std::int32_t above = LastSignificant(previousLine.data(), static_cast<std::int32_t>(previousLine.size()));
    return above < 0 || RegexAfter(previousLine.data(), above);
}

std::int32_t VxEditJsLexer::RegexLength(const char* text, std::int32_t length)
{
    if (length < 2 || text[0] != '/' || text[1] == '/' || text[1] == '*')
        return 0;
    bool inClass = false;
    std::int32_t at = 1;
    for (; at < length; ++at) {
        const char c = text[at];
        if (c == '\\') {
            ++at;
        } else if (c == '[') {
            inClass = true;
        } else if (c == ']') {
            inClass = false;
        } else if (c == '/' && !inClass) {
            break;
        }
    }
    if (at >= length)
        return 0;
    ++at;
    while (at < length && IsLetter(text[at]))
        ++at;
    return at;
}

std::int32_t VxEditJsLexer::NumberLength(const char* text, std::int32_t length)
{
    if (length <= 0)
        return 0;
    auto digits = [&](std::int32_t at, bool hex) {
        while (at < length && ((hex ? IsHexDigit(text[at]) : IsDigit(text[at])) || text[at] == '_'))
            ++at;
        return at;
    };
    std::int32_t at = 0;
    if (text[0] == '0' && length > 2 && std::string_view("xXbBoO").find(text[1]) != std::string_view::npos &&
        IsHexDigit(text[2])) {
        at = digits(2, true);
    } else if (IsDigit(text[0])) {
        at = digits(0, false);
        if (at < length && text[at] == '.')
            at = digits(at + 1, false);
    } else if (text[0] == '.' && length > 1 && IsDigit(text[1])) {
        at = digits(1, false);
    } else {
        return 0;
    }
    if (at < length && (text[at] == 'e' || text[at] == 'E')) {
        std::int32_t exponent = at + 1;
        if (exponent < length && (text[exponent] == '+' || text[exponent] == '-'))
            ++exponent;
        if (exponent < length && IsDigit(text[exponent]))
            at = digits(exponent, false);
    }
    if (at < length && text[at] == 'n')
        ++at;
    return at;
}

std::int32_t VxEditJsLexer::LexLine(const char* text, std::int32_t length, std::int32_t from, State& state,
                                    std::string_view previousLine, std::vector<Piece>* pieces)
{
    auto emit = [pieces](std::int32_t start, std::int32_t end, Kind kind) {
        if (!pieces || end <= start)
            return;
        if (!pieces->empty() && pieces->back().kind == kind && pieces->back().start + pieces->back().length == start)
            pieces->back().length += end - start;
        else
            pieces->push_back({start, end - start, kind});
    };
    std::int32_t at = std::max(from, 0);
    while (at < length) {
        if (state.inComment) {
            const Kind kind = state.docComment ? Kind::DocComment : Kind::Comment;
            std::int32_t close = at;
            while (close + 1 < length && !(text[close] == '*' && text[close + 1] == '/'))
                ++close;
            if (close + 1 >= length) {
                emit(at, length, kind);
                return length;
            }
            emit(at, close + 2, kind);
            at = close + 2;
            state.inComment = false;
            continue;
        }
        if (state.stack.empty())
            return at;
        if (state.stack.back() == State::kInTemplate) {
            const std::int32_t start = at;
            while (at < length && text[at] != '`' && !(text[at] == '$' && at + 1 < length && text[at + 1] == '{'))
                at += text[at] == '\\' ? 2 : 1;
            if (at >= length) {
                emit(start, length, Kind::Template);
                return length;
            }
            if (text[at] == '`') {
                emit(start, at + 1, Kind::Template);
                ++at;
                state.stack.pop_back();
            } else {
                emit(start, at + 2, Kind::Template);
                at += 2;
                state.stack.push_back(0);
            }
            continue;
        }
        // Code inside a substitution.
        int& braces = state.stack.back();
        const char c = text[at];
        const char next = at + 1 < length ? text[at + 1] : 0;
        if (c == '`' && !state.css) {
            emit(at, at + 1, Kind::Template);
            ++at;
            state.stack.push_back(State::kInTemplate);
        } else if (c == '}' && braces == 0) {
            emit(at, at + 1, Kind::Template);
            ++at;
            state.stack.pop_back();
        } else if (c == '"' || c == '\'') {
            std::int32_t end = at + 1;
            while (end < length && text[end] != c)
                end += text[end] == '\\' ? 2 : 1;
            end = std::min(end + 1, length);
            emit(at, end, Kind::String);
            at = end;
        } else if (c == '/' && next == '/' && !state.css) {
            emit(at, length, Kind::Comment);
            return length;
        } else if (c == '/' && next == '*') {
            state.inComment = true;
            state.docComment = at + 2 < length && text[at + 2] == '*' && !(at + 3 < length && text[at + 3] == '/');
            emit(at, at + 2, state.docComment ? Kind::DocComment : Kind::Comment);
            at += 2;
        } else if (const std::int32_t regex =
                       c == '/' && !state.css && RegexMayStart(text, at, previousLine)
                           ? RegexLength(text + at, length - at)
                           : 0) {
            emit(at, at + regex, Kind::Regex);
            at += regex;
        } else {
            if (c == '{' && braces >= 0)
                ++braces;
            else if (c == '}' && braces > 0)
                --braces;
            emit(at, at + 1, Kind::Code);
            ++at;
        }
    }
    return std::min(at, length);
}
