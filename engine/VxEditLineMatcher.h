#pragma once

#include "engine/VxEditPattern.h"

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// Finds the lines of a text that hold a match, each line once, under the
// rules of Find: plain text with ASCII case folding or a PCRE2 pattern, and
// whole words bounded by Find's delimiters, line ends or the text's ends.
// Lines end at line feeds; a match never runs past its line.
class VxEditLineMatcher {
public:
    // line: [lineStart, lineEnd) without the line feed; match: the first
    // match of the line.
    struct Hit {
        std::size_t lineStart;
        std::size_t lineEnd;
        std::size_t matchStart;
        std::size_t matchLength;
    };

    VxEditLineMatcher(std::string text, bool matchCase, bool wholeWord, bool pattern);

    // False (with the engine's reason) when the pattern does not compile.
    bool IsValid(std::string& error);

    // Calls onHit for every line of text[0, length) with a match, in order.
    // A pattern too complex for a line passes over it and calls tooComplex
    // with an offset in it first: matches on that line may be missing.
    void FindLines(const char* text, std::size_t length, const std::function<void(const Hit&)>& onHit,
                   const std::function<void(std::size_t)>& tooComplex = {});

private:
    // The first match starting in [from, length) of the text, or false.
    bool Next(const char* text, std::size_t length, std::size_t from, std::size_t& start,
              std::size_t& matchLength);
    bool NextPlain(const char* text, std::size_t length, std::size_t from, std::size_t& start);
    bool IsWholeWord(const char* text, std::size_t length, std::size_t start, std::size_t size) const;
    // The first pattern match starting in [from, lastStart]; keeps the
    // lines the engine gave up on.
    bool PatternMatch(const char* text, std::size_t length, std::size_t from, std::size_t& start,
                      std::size_t& matchLength, std::size_t lastStart = VxEditPattern::kNoLimit);

    std::string text_;
    bool matchCase_;
    bool wholeWord_;
    bool pattern_;
    VxEditPattern engine_;
    // The needle's first byte in both cases, for case-folded plain search.
    unsigned char lower_ = 0;
    unsigned char upper_ = 0;
    // Offsets in the lines the pattern was too complex for, not yet told.
    std::vector<std::size_t> gaveUp_;
};
