#include "javatools/classview/JavaTokenizer.h"

#include <cstring>

namespace {

bool IsWordStart(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '$' || c >= 0x80;
}

bool IsWordByte(unsigned char c)
{
    return IsWordStart(c) || (c >= '0' && c <= '9');
}

}  // namespace

void JavaTokenizer::NewLineAt(const char* text, std::size_t length, std::size_t at)
{
    // A CR LF pair is one line end, counted at its LF.
    if (text[at] == '\n' || at + 1 >= length || text[at + 1] != '\n')
        ++line_;
}

void JavaTokenizer::SkipQuoted(const char* text, std::size_t length, char quote)
{
    // pos_ is just behind the opening quote; a literal ends at its line's end
    // at the latest.
    while (pos_ < length) {
        const char c = text[pos_];
        if (c == '\\' && pos_ + 1 < length && text[pos_ + 1] != '\n' && text[pos_ + 1] != '\r') {
            pos_ += 2;
        } else if (c == quote) {
            ++pos_;
            return;
        } else if (c == '\n' || c == '\r') {
            return;
        } else {
            ++pos_;
        }
    }
}

bool JavaTokenizer::SkipCommentOrLiteral(const char* text, std::size_t length, bool& literal)
{
    const char c = text[pos_];
    const char next = pos_ + 1 < length ? text[pos_ + 1] : 0;
    literal = false;
    if (c == '/' && next == '/') {
        const void* end = std::memchr(text + pos_, '\n', length - pos_);
        pos_ = end ? static_cast<std::size_t>(static_cast<const char*>(end) - text) : length;
        return true;
    }
    if (c == '/' && next == '*') {
        pos_ += 2;
        while (pos_ + 1 < length && !(text[pos_] == '*' && text[pos_ + 1] == '/')) {
            if (text[pos_] == '\n' || text[pos_] == '\r')
                NewLineAt(text, length, pos_);
            ++pos_;
        }
        pos_ = pos_ + 1 < length ? pos_ + 2 : length;
        return true;
    }
    if (c == '"' && next == '"' && pos_ + 2 < length && text[pos_ + 2] == '"') {
        // A text block runs to the next three quotes that no backslash escapes.
        pos_ += 3;
        while (pos_ < length) {
            if (text[pos_] == '\\') {
                pos_ += 2;
                continue;
            }
            if (text[pos_] == '"' && pos_ + 2 < length && text[pos_ + 1] == '"' && text[pos_ + 2] == '"') {
                pos_ += 3;
                break;
            }
            if (text[pos_] == '\n' || text[pos_] == '\r')
                NewLineAt(text, length, pos_);
            ++pos_;
        }
        pos_ = pos_ > length ? length : pos_;
        literal = true;
        return true;
    }
    if (c == '"' || c == '\'') {
        ++pos_;
        SkipQuoted(text, length, c);
        literal = true;
        return true;
    }
    return false;
}

JavaToken JavaTokenizer::Next(const char* text, std::size_t length)
{
    while (pos_ < length) {
        const auto c = static_cast<unsigned char>(text[pos_]);
        if (c == '\n' || c == '\r') {
            NewLineAt(text, length, pos_);
            ++pos_;
            continue;
        }
        if (c == ' ' || c == '\t' || c == '\f') {
            ++pos_;
            continue;
        }
        JavaToken token;
        token.start = pos_;
        token.line = line_;
        bool literal = false;
        if (SkipCommentOrLiteral(text, length, literal)) {
            if (!literal)
                continue;
            token.kind = JavaToken::kLiteral;
        } else if (IsWordStart(c)) {
            token.kind = JavaToken::kWord;
            while (pos_ < length && IsWordByte(static_cast<unsigned char>(text[pos_])))
                ++pos_;
        } else if ((c >= '0' && c <= '9') ||
                   (c == '.' && pos_ + 1 < length && text[pos_ + 1] >= '0' && text[pos_ + 1] <= '9')) {
            token.kind = JavaToken::kNumber;
            ++pos_;
            while (pos_ < length && (IsWordByte(static_cast<unsigned char>(text[pos_])) || text[pos_] == '.'))
                ++pos_;
        } else {
            token.kind = JavaToken::kPunct;
            token.punct = static_cast<char>(c);
            const bool ellipsis = c == '.' && pos_ + 2 < length && text[pos_ + 1] == '.' && text[pos_ + 2] == '.';
            const bool reference = c == ':' && pos_ + 1 < length && text[pos_ + 1] == ':';
            pos_ += ellipsis ? 3 : reference ? 2 : 1;
        }
        token.length = pos_ - token.start;
        return token;
    }
    return JavaToken{};
}

bool JavaTokenizer::SkipBody(const char* text, std::size_t length)
{
    int depth = 1;
    while (pos_ < length) {
        const char c = text[pos_];
        switch (c) {
        case '{':
            ++depth;
            ++pos_;
            break;
        case '}':
            ++pos_;
            if (--depth == 0)
                return true;
            break;
        case '\n':
        case '\r':
            NewLineAt(text, length, pos_);
            ++pos_;
            break;
        case '/':
        case '"':
        case '\'': {
            bool literal = false;
            if (!SkipCommentOrLiteral(text, length, literal))
                ++pos_;
            break;
        }
        default:
            ++pos_;
            break;
        }
    }
    return false;
}
