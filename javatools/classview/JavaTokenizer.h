#pragma once

#include <cstddef>
#include <cstdint>

// One token of Java text: a word (identifier or keyword), a number, a
// literal (string, text block or character) or one punctuation character
// ("..." and "::" count as one). Comments and white space are passed over.
struct JavaToken {
    enum Kind { kEnd, kWord, kNumber, kLiteral, kPunct };
    Kind kind = kEnd;
    std::size_t start = 0;
    std::size_t length = 0;
    std::int32_t line = 0;
    char punct = 0;  // the character of a punctuation token; '.' for "..."
};

// Reads Java tokens from a text one at a time, keeping its place and line
// between calls so a scan can stop and go on later; the text may move in
// between, the offsets stay. Lines are numbered as the editor shows them:
// they end at LF, and a CR that ends no line is a character of its line.
class JavaTokenizer {
public:
    // The next token that starts before length; kEnd at the end.
    JavaToken Next(const char* text, std::size_t length);
    // Passes over a body whose opening brace was read, up to and with its
    // closing one; false when the text ends first.
    bool SkipBody(const char* text, std::size_t length);

    std::size_t Position() const { return pos_; }

    // The line ends (LFs) in text[from, to).
    static std::int64_t CountLineEnds(const char* text, std::size_t from, std::size_t to);

private:
    // Passes over a comment, string, text block or character literal at
    // pos_ when one starts there; true when it did.
    bool SkipCommentOrLiteral(const char* text, std::size_t length, bool& literal);
    void SkipQuoted(const char* text, std::size_t length, char quote);
    // The line of an offset at or after the last one asked about. Lines are
    // counted only when a token needs one, eight bytes at a time, so that
    // passing over bodies costs no more than looking for their braces.
    std::int32_t LineAt(const char* text, std::size_t offset);

    std::size_t pos_ = 0;
    std::size_t counted_ = 0;
    std::int32_t line_ = 0;
};
