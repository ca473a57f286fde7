#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include <vector>

struct pcre2_real_code_8;
struct pcre2_real_match_context_8;
struct pcre2_real_match_data_8;

// The pattern engine used by find and replace (PCRE2, UTF-8, tolerant of
// invalid UTF-8): a pattern with an ignore-case setting, the first match in a
// text, and replacement of the first match with $-references to its groups.
// The pattern compiles on first use after a change; ^ and $ match at line
// boundaries (LF, CR LF or CR).
//
// A pattern can need more steps at one place than PCRE2 allows ((a+)+b on a
// long run of a's): the engine gives up there. A search then passes over the
// line where it gave up, goes on behind it and says which lines it passed
// over, so that no match elsewhere is lost and none goes missing unsaid.
class VxEditPattern {
public:
    VxEditPattern();
    ~VxEditPattern();
    VxEditPattern(const VxEditPattern&) = delete;
    VxEditPattern& operator=(const VxEditPattern&) = delete;

    // False when the engine could not be set up at all.
    bool IsCreated() const { return matchData_ != nullptr; }

    void SetPattern(std::string_view pattern);
    void SetIgnoreCase(bool ignoreCase);
    // Compiles if needed; false (with ErrorText) for a malformed pattern.
    bool IsValid();
    const std::string& ErrorText() const { return error_; }
    std::size_t ErrorOffset() const { return errorOffset_; }
    // How many characters the longest look-behind reaches back (0 for an
    // invalid pattern).
    std::size_t MaxLookbehind();

    static constexpr std::size_t kNoLimit = static_cast<std::size_t>(-1);

    // The first non-empty match that starts in [startOffset, lastStart] of
    // subject[0, length); the bytes before startOffset are context only (for
    // ^ and look-behind), and a match may run on past lastStart.
    bool FirstMatch(const char* subject, std::size_t length, std::size_t startOffset,
                    std::size_t& index, std::size_t& matchLength, std::size_t lastStart = kNoLimit);
    // The lines the last FirstMatch passed over because the engine gave up
    // on them, each by an offset inside it (the first may be startOffset),
    // in order.
    const std::vector<std::size_t>& GaveUp() const { return gaveUp_; }
    bool FirstMatch(std::string_view subject, std::string& matchText, std::size_t& index,
                    std::size_t& matchLength);

    // Replaces the first match in text by replacement, where $1..$99 stand
    // for groups, $& for the match, $` and $' for the text before and after
    // it and $$ for a dollar sign. True when the result differs from text.
    bool ReplaceIn(const std::string& text, const std::string& replacement, std::string& result);
    // The same replacement; true when the pattern matched text at all, even
    // when the expansion gives the text back unchanged.
    bool ReplaceFirst(const std::string& text, const std::string& replacement, std::string& result);

private:
    enum class Outcome { Matched, NoMatch, GaveUp };

    bool Match(const char* subject, std::size_t length, std::size_t startOffset, bool allowEmpty);
    Outcome Run(const char* subject, std::size_t length, std::size_t startOffset, std::size_t lastStart,
                bool allowEmpty);
    void ReleaseCode();

    pcre2_real_code_8* code_ = nullptr;
    pcre2_real_match_context_8* matchContext_ = nullptr;
    pcre2_real_match_data_8* matchData_ = nullptr;
    std::string pattern_;
    std::string error_;
    std::size_t errorOffset_ = 0;
    bool ignoreCase_ = false;
    bool compiled_ = false;
    // The pairs of the match vector that the last match set.
    std::size_t matchedPairs_ = 0;
    std::vector<std::size_t> gaveUp_;
};
