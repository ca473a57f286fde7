#pragma once

#include <cstdint>

class VxEditPattern;
class VxEditTextBuffer;
struct VxEditFindRequest;

// Carries out one search of a text store: plain text (case-sensitive or not,
// whole words or not, down or up, wrapping around) or a pattern.
class VxEditTextSearch {
public:
    // pattern serves pattern searches (it keeps its compiled form between
    // searches); without one they run as plain searches.
    VxEditTextSearch(VxEditTextBuffer& buffer, VxEditPattern* pattern)
        : buffer_(buffer), pattern_(pattern)
    {
    }

    // The match length, 0 when nothing was found; request.match is set on a
    // match. A pattern that does not compile finds nothing and fills the
    // request's patternError and patternErrorOffset; one too complex for a
    // line passes over it and names it in tooComplexLine.
    std::int64_t Find(VxEditFindRequest& request);

    static bool IsWholeWordAt(const VxEditTextBuffer& buffer, std::int64_t offset, std::int64_t length);
    // The 34 word delimiters of the whole-word test (underscore is one).
    static bool IsDelimiter(unsigned char byte);

private:
    struct Hit {
        std::int64_t offset = -1;
        std::int64_t length = 0;
        explicit operator bool() const { return offset >= 0; }
    };

    // Matches starting in [from, lastStart].
    Hit Forward(std::int64_t from, std::int64_t lastStart);
    // Matches starting at the characters before from, down to lastStart.
    Hit Backward(std::int64_t from, std::int64_t lastStart);
    Hit PatternForward(std::int64_t from, std::int64_t lastStart);
    bool MatchesAt(std::int64_t offset) const;
    // Makes [from, to) of the text readable through At; the store moves its
    // gap only when it lies inside, and then to the nearer end.
    void Expose(std::int64_t from, std::int64_t to);
    const char* At(std::int64_t offset) const { return window_ + (offset - windowStart_); }

    VxEditTextBuffer& buffer_;
    VxEditPattern* pattern_;
    const VxEditFindRequest* request_ = nullptr;
    std::int64_t tooComplexAt_ = -1;  // the offset where a pattern search first gave up
    const char* window_ = nullptr;
    std::int64_t windowStart_ = 0;
    std::int64_t windowEnd_ = 0;
    std::int64_t length_ = 0;
};
