#include "engine/VxEditPattern.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <algorithm>
#include <cstring>

namespace {

// The results by which PCRE2 gives up on a subject it could still match:
// its limits on steps, depth, heap and JIT stack, and memory.
bool IsGivingUp(int result)
{
    return result == PCRE2_ERROR_MATCHLIMIT || result == PCRE2_ERROR_DEPTHLIMIT ||
           result == PCRE2_ERROR_HEAPLIMIT || result == PCRE2_ERROR_JIT_STACKLIMIT ||
           result == PCRE2_ERROR_NOMEMORY;
}

}  // namespace

VxEditPattern::VxEditPattern()
{
    matchData_ = pcre2_match_data_create(100, nullptr);
    matchContext_ = pcre2_match_context_create(nullptr);
    if (!matchContext_) {
        pcre2_match_data_free(matchData_);
        matchData_ = nullptr;
    }
}

VxEditPattern::~VxEditPattern()
{
    ReleaseCode();
    pcre2_match_context_free(matchContext_);
    pcre2_match_data_free(matchData_);
}

void VxEditPattern::ReleaseCode()
{
    pcre2_code_free(code_);
    code_ = nullptr;
    compiled_ = false;
}

void VxEditPattern::SetPattern(std::string_view pattern)
{
    if (pattern_ != pattern || !compiled_) {
        pattern_.assign(pattern);
        ReleaseCode();
    }
}

void VxEditPattern::SetIgnoreCase(bool ignoreCase)
{
    if (ignoreCase_ != ignoreCase) {
        ignoreCase_ = ignoreCase;
        ReleaseCode();
    }
}

bool VxEditPattern::IsValid()
{
    if (compiled_)
        return code_ != nullptr;
    compiled_ = true;
    error_.clear();
    errorOffset_ = 0;
    pcre2_compile_context* context = pcre2_compile_context_create(nullptr);
    pcre2_set_newline(context, PCRE2_NEWLINE_ANYCRLF);
    // The offset limit keeps a search's start positions within a line or a
    // range while its matches may run on.
    std::uint32_t options = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_MULTILINE | PCRE2_USE_OFFSET_LIMIT;
    if (ignoreCase_)
        options |= PCRE2_CASELESS;
    int errorCode = 0;
    PCRE2_SIZE errorOffset = 0;
    code_ = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern_.data()), pattern_.size(), options,
                          &errorCode, &errorOffset, context);
    pcre2_compile_context_free(context);
    if (!code_) {
        PCRE2_UCHAR text[256];
        pcre2_get_error_message(errorCode, text, sizeof text);
        error_ = reinterpret_cast<const char*>(text);
        errorOffset_ = errorOffset;
        return false;
    }
    pcre2_jit_compile(code_, PCRE2_JIT_COMPLETE);  // the interpreter serves when JIT is missing
    return true;
}

bool VxEditPattern::Match(const char* subject, std::size_t length, std::size_t startOffset,
                          bool allowEmpty)
{
    return Run(subject, length, startOffset, kNoLimit, allowEmpty) == Outcome::Matched;
}

VxEditPattern::Outcome VxEditPattern::Run(const char* subject, std::size_t length, std::size_t startOffset,
                                          std::size_t lastStart, bool allowEmpty)
{
    matchedPairs_ = 0;
    if (!IsCreated() || !IsValid() || startOffset > length || startOffset > lastStart)
        return Outcome::NoMatch;
    static const char kEmpty = 0;
    pcre2_set_offset_limit(matchContext_, lastStart >= length ? PCRE2_UNSET : lastStart);
    const int result = pcre2_match(code_, reinterpret_cast<PCRE2_SPTR>(subject ? subject : &kEmpty),
                                   length, startOffset, allowEmpty ? 0 : PCRE2_NOTEMPTY,
                                   matchData_, matchContext_);
    if (result > 0) {
        matchedPairs_ = static_cast<std::size_t>(result);
        return Outcome::Matched;
    }
    return IsGivingUp(result) ? Outcome::GaveUp : Outcome::NoMatch;
}

std::size_t VxEditPattern::MaxLookbehind()
{
    std::uint32_t characters = 0;
    if (!IsValid() || pcre2_pattern_info(code_, PCRE2_INFO_MAXLOOKBEHIND, &characters) != 0)
        return 0;
    return characters;
}

bool VxEditPattern::FirstMatch(const char* subject, std::size_t length, std::size_t startOffset,
                               std::size_t& index, std::size_t& matchLength, std::size_t lastStart)
{
    gaveUp_.clear();
    lastStart = std::min(lastStart, length);
    std::size_t from = startOffset;
    Outcome outcome = Run(subject, length, from, lastStart, false);
    // PCRE2 counts its steps afresh at each start position, so the line
    // where it gave up is found by trying the lines from the start one by
    // one (a match before it comes first); the search then goes on behind
    // that line.
    while (outcome == Outcome::GaveUp) {
        std::size_t line = from;
        for (;;) {
            const void* separator = std::memchr(subject + line, '\n', length - line);
            const std::size_t lineEnd =
                separator ? static_cast<std::size_t>(static_cast<const char*>(separator) - subject) : length;
            outcome = Run(subject, length, line, std::min(lineEnd, lastStart), false);
            if (outcome != Outcome::NoMatch || lineEnd >= lastStart)
                break;
            line = lineEnd + 1;
        }
        if (outcome == Outcome::Matched)
            break;
        // Without a line to blame (no line alone gave up), the start's
        // line is.
        gaveUp_.push_back(outcome == Outcome::GaveUp ? line : from);
        const void* separator = std::memchr(subject + line, '\n', length - line);
        if (outcome != Outcome::GaveUp || !separator ||
            static_cast<std::size_t>(static_cast<const char*>(separator) - subject) >= lastStart) {
            outcome = Outcome::NoMatch;
            break;
        }
        from = static_cast<std::size_t>(static_cast<const char*>(separator) - subject) + 1;
        outcome = Run(subject, length, from, lastStart, false);
    }
    if (outcome != Outcome::Matched)
        return false;
    const PCRE2_SIZE* vector = pcre2_get_ovector_pointer(matchData_);
    index = vector[0];
    matchLength = vector[1] - vector[0];
    return true;
}

bool VxEditPattern::FirstMatch(std::string_view subject, std::string& matchText, std::size_t& index,
                               std::size_t& matchLength)
{
    if (!FirstMatch(subject.data(), subject.size(), 0, index, matchLength))
        return false;
    matchText.assign(subject.substr(index, matchLength));
    return true;
}

bool VxEditPattern::ReplaceIn(const std::string& text, const std::string& replacement,
                              std::string& result)
{
    return ReplaceFirst(text, replacement, result) && result != text;
}

bool VxEditPattern::ReplaceFirst(const std::string& text, const std::string& replacement,
                                 std::string& result)
{
    result = text;
    if (!Match(text.data(), text.size(), 0, true))
        return false;
    const PCRE2_SIZE* vector = pcre2_get_ovector_pointer(matchData_);
    // The pattern's groups; those past the last one set in this match (the
    // vector keeps stale values there) expand to nothing.
    std::uint32_t captures = 0;
    pcre2_pattern_info(code_, PCRE2_INFO_CAPTURECOUNT, &captures);
    const std::size_t groups = captures + 1;
    const std::size_t matchStart = vector[0];
    const std::size_t matchEnd = vector[1];
    auto group = [&](std::size_t number) -> std::string {
        if (number >= matchedPairs_ || vector[2 * number] == PCRE2_UNSET)
            return {};
        return text.substr(vector[2 * number], vector[2 * number + 1] - vector[2 * number]);
    };
    std::string expanded;
    for (std::size_t i = 0; i < replacement.size(); ++i) {
        const char c = replacement[i];
        if (c != '$' || i + 1 == replacement.size()) {
            expanded += c;
            continue;
        }
        const char next = replacement[i + 1];
        if (next == '$') {
            expanded += '$';
            ++i;
        } else if (next == '&') {
            expanded += text.substr(matchStart, matchEnd - matchStart);
            ++i;
        } else if (next == '`') {
            expanded += text.substr(0, matchStart);
            ++i;
        } else if (next == '\'') {
            expanded += text.substr(matchEnd);
            ++i;
        } else if (next >= '0' && next <= '9') {
            // Two digits when they name an existing group, else one.
            std::size_t number = static_cast<std::size_t>(next - '0');
            std::size_t used = 1;
            if (i + 2 < replacement.size() && replacement[i + 2] >= '0' && replacement[i + 2] <= '9') {
                const std::size_t two = number * 10 + static_cast<std::size_t>(replacement[i + 2] - '0');
                if (two > 0 && two < groups) {
                    number = two;
                    used = 2;
                }
            }
            if (number > 0 && number < groups) {
                expanded += group(number);
                i += used;
            } else {
                expanded += c;
            }
        } else {
            expanded += c;
        }
    }
    result = text.substr(0, matchStart) + expanded + text.substr(matchEnd);
    return true;
}
