#pragma once

#include <cstddef>
#include <string>
#include <string_view>

struct pcre2_real_code_8;
struct pcre2_real_match_data_8;

// The pattern engine used by find and replace (PCRE2, UTF-8, tolerant of
// invalid UTF-8): a pattern with an ignore-case setting, the first match in a
// text, and replacement of the first match with $-references to its groups.
// The pattern compiles on first use after a change; ^ and $ match at line
// boundaries (LF, CR LF or CR).
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

    // The first non-empty match that starts at or after startOffset in
    // subject[0, length); the bytes before startOffset are context only (for
    // ^ and look-behind).
    bool FirstMatch(const char* subject, std::size_t length, std::size_t startOffset,
                    std::size_t& index, std::size_t& matchLength);
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
    bool Match(const char* subject, std::size_t length, std::size_t startOffset, bool allowEmpty);
    void ReleaseCode();

    pcre2_real_code_8* code_ = nullptr;
    pcre2_real_match_data_8* matchData_ = nullptr;
    std::string pattern_;
    std::string error_;
    std::size_t errorOffset_ = 0;
    bool ignoreCase_ = false;
    bool compiled_ = false;
    // The pairs of the match vector that the last match set.
    std::size_t matchedPairs_ = 0;
};
