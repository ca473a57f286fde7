#include "engine/VxEditPattern.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

VxEditPattern::VxEditPattern()
{
    matchData_ = pcre2_match_data_create(100, nullptr);
}

VxEditPattern::~VxEditPattern()
{
    ReleaseCode();
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
    std::uint32_t options = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_MULTILINE;
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
    if (!IsCreated() || !IsValid() || startOffset > length)
        return false;
    static const char kEmpty = 0;
    matchedPairs_ = 0;
    const int result = pcre2_match(code_, reinterpret_cast<PCRE2_SPTR>(subject ? subject : &kEmpty),
                                   length, startOffset, allowEmpty ? 0 : PCRE2_NOTEMPTY,
                                   matchData_, nullptr);
    if (result > 0)
        matchedPairs_ = static_cast<std::size_t>(result);
    return result > 0;
}

std::size_t VxEditPattern::MaxLookbehind()
{
    std::uint32_t characters = 0;
    if (!IsValid() || pcre2_pattern_info(code_, PCRE2_INFO_MAXLOOKBEHIND, &characters) != 0)
        return 0;
    return characters;
}

bool VxEditPattern::FirstMatch(const char* subject, std::size_t length, std::size_t startOffset,
                               std::size_t& index, std::size_t& matchLength)
{
    if (!Match(subject, length, startOffset, false))
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
