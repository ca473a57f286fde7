#include "javatools/classview/JavaTokenizer.h"

#include <bit>
#include <cstdint>
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

// Sixteen bytes compared at once where the compiler has vectors (GCC and
// Clang: SSE2 on x86-64, NEON on ARM); each byte of a comparison is 0 or ~0.
using Bytes16 = unsigned char __attribute__((vector_size(16)));

// The place of the first nonzero byte of eight read from memory.
unsigned FirstSetByte(std::uint64_t bytes)
{
    if constexpr (std::endian::native == std::endian::big)
        return static_cast<unsigned>(std::countl_zero(bytes)) / 8;
    return static_cast<unsigned>(std::countr_zero(bytes)) / 8;
}

// The offset in [0, 16] of the first brace, slash or quote of 16 bytes.
unsigned FirstMarkOf16(const char* at)
{
    Bytes16 bytes;
    std::memcpy(&bytes, at, sizeof bytes);
    const Bytes16 marks = reinterpret_cast<Bytes16>((bytes == '{') | (bytes == '}') | (bytes == '/') |
                                                   (bytes == '"') | (bytes == '\''));
    std::uint64_t halves[2];
    std::memcpy(halves, &marks, sizeof halves);
    if (halves[0] != 0)
        return FirstSetByte(halves[0]);
    if (halves[1] != 0)
        return 8 + FirstSetByte(halves[1]);
    return 16;
}

}  // namespace

std::int64_t JavaTokenizer::CountLineEnds(const char* text, std::size_t from, std::size_t to)
{
    std::int64_t ends = 0;
    std::size_t at = from;
    // Sixteen bytes a step: each LF adds one to its lane, which is summed
    // before it can overflow.
    while (at + 16 <= to) {
        Bytes16 lanes{};
        for (int step = 0; step < 255 && at + 16 <= to; ++step, at += 16) {
            Bytes16 bytes;
            std::memcpy(&bytes, text + at, sizeof bytes);
            lanes -= reinterpret_cast<Bytes16>(bytes == '\n');
        }
        for (unsigned i = 0; i < 16; ++i)
            ends += lanes[i];
    }
    for (; at < to; ++at)
        ends += text[at] == '\n';
    return ends;
}

std::int32_t JavaTokenizer::LineAt(const char* text, std::size_t offset)
{
    if (offset > counted_) {
        line_ += static_cast<std::int32_t>(CountLineEnds(text, counted_, offset));
        counted_ = offset;
    }
    return line_;
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
        // The comment ends at the first slash behind a star that is not
        // its opening one; slashes are rarer than stars in documentation.
        std::size_t from = pos_ + 3;
        for (;;) {
            const void* slash = from < length ? std::memchr(text + from, '/', length - from) : nullptr;
            if (!slash) {
                pos_ = length;
                break;
            }
            const auto at = static_cast<std::size_t>(static_cast<const char*>(slash) - text);
            if (text[at - 1] == '*') {
                pos_ = at + 1;
                break;
            }
            from = at + 1;
        }
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
        if (c == '\n' || c == '\r' || c == ' ' || c == '\t' || c == '\f') {
            ++pos_;
            continue;
        }
        JavaToken token;
        token.start = pos_;
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
        token.line = LineAt(text, token.start);
        return token;
    }
    return JavaToken{};
}

bool JavaTokenizer::SkipBody(const char* text, std::size_t length)
{
    int depth = 1;
    while (pos_ < length) {
        // Straight on to the next brace, slash or quote, sixteen bytes a step.
        while (pos_ + 16 <= length) {
            const unsigned mark = FirstMarkOf16(text + pos_);
            pos_ += mark;
            if (mark < 16)
                break;
        }
        if (pos_ >= length)
            break;
        switch (text[pos_]) {
        case '{':
            ++depth;
            ++pos_;
            break;
        case '}':
            ++pos_;
            if (--depth == 0)
                return true;
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
