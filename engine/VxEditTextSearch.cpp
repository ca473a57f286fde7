#include "engine/VxEditTextSearch.h"

#include "engine/VxEditFindRequest.h"
#include "engine/VxEditPattern.h"
#include "engine/VxEditTextBuffer.h"
#include "engine/VxEditUtf8.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace {

unsigned char Fold(unsigned char byte)
{
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + 32) : byte;
}

}  // namespace

bool VxEditTextSearch::IsDelimiter(unsigned char byte)
{
    static constexpr std::string_view kDelimiters = "\t \\\"'`~-=!@#$%^&*()_+[]{}|;:.,<>/?";
    return byte != 0 && kDelimiters.find(static_cast<char>(byte)) != std::string_view::npos;
}

bool VxEditTextSearch::IsWholeWordAt(const VxEditTextBuffer& buffer, std::int64_t offset,
                                     std::int64_t length)
{
    if (offset < 0 || length <= 0 || offset + length > buffer.Length())
        return false;
    auto isBoundary = [&buffer](std::int64_t at) {
        const auto byte = static_cast<unsigned char>(buffer.CharAt(at));
        return byte == static_cast<unsigned char>(buffer.Separator()) ||
               (buffer.Carriage() != 0 && byte == static_cast<unsigned char>(buffer.Carriage())) ||
               IsDelimiter(byte);
    };
    const bool startsWord = offset == 0 || isBoundary(offset - 1);
    const bool endsWord = offset + length == buffer.Length() || isBoundary(offset + length);
    return startsWord && endsWord;
}

bool VxEditTextSearch::MatchesAt(std::int64_t offset) const
{
    const std::string& needle = request_->text;
    const auto size = static_cast<std::int64_t>(needle.size());
    if (offset < windowStart_ || offset + size > windowEnd_)
        return false;
    const char* at = At(offset);
    if (request_->matchCase) {
        if (std::memcmp(at, needle.data(), needle.size()) != 0)
            return false;
    } else {
        for (std::int64_t i = 0; i < size; ++i) {
            if (Fold(static_cast<unsigned char>(at[i])) != Fold(static_cast<unsigned char>(needle[i])))
                return false;
        }
    }
    return !request_->wholeWord || IsWholeWordAt(buffer_, offset, size);
}

VxEditTextSearch::Hit VxEditTextSearch::Forward(std::int64_t from, std::int64_t lastStart)
{
    const std::string& needle = request_->text;
    const auto size = static_cast<std::int64_t>(needle.size());
    lastStart = std::min(lastStart, length_ - size);
    if (from > lastStart)
        return {};
    Expose(from, lastStart + size);
    if (request_->matchCase && !request_->wholeWord) {
        const void* hit = memmem(At(from), lastStart + size - from, needle.data(), needle.size());
        if (!hit)
            return {};
        return {from + (static_cast<const char*>(hit) - At(from)), size};
    }
    const auto lead = static_cast<unsigned char>(needle[0]);
    const unsigned char first = request_->matchCase ? lead : Fold(lead);
    for (std::int64_t at = from; at <= lastStart;) {
        int step = 1;
        const auto byte = static_cast<unsigned char>(*At(at));
        if (byte >= 0x80)
            step = VxEditUtf8::CharLength(At(at), windowEnd_ - at);
        if ((request_->matchCase ? byte : Fold(byte)) == first && MatchesAt(at))
            return {at, size};
        at += step;
    }
    return {};
}

VxEditTextSearch::Hit VxEditTextSearch::Backward(std::int64_t from, std::int64_t lastStart)
{
    const auto size = static_cast<std::int64_t>(request_->text.size());
    if (lastStart >= from)
        return {};
    // A character reaches at most three bytes back before lastStart.
    Expose(std::max<std::int64_t>(lastStart - 3, 0), std::min(length_, from - 1 + size));
    for (std::int64_t at = from; at > lastStart;) {
        at = windowStart_ + static_cast<std::int64_t>(VxEditUtf8::CharStart(
                                At(windowStart_), static_cast<std::size_t>(windowEnd_ - windowStart_),
                                static_cast<std::size_t>(at - 1 - windowStart_)));
        if (at < lastStart)
            break;
        if (MatchesAt(at))
            return {at, size};
    }
    return {};
}

VxEditTextSearch::Hit VxEditTextSearch::PatternForward(std::int64_t from, std::int64_t lastStart)
{
    VxEditPattern& pattern = *pattern_;
    // The bytes before from are context for look-behind, \b and ^: four
    // bytes for each character a look-behind reaches back, one more
    // character for the rest.
    const auto context = static_cast<std::int64_t>(4 * pattern.MaxLookbehind() + 4);
    const std::int64_t subjectStart = std::max<std::int64_t>(from - context, 0);
    Expose(subjectStart, length_);
    std::size_t index = 0;
    std::size_t length = 0;
    const bool found = pattern.FirstMatch(At(subjectStart), static_cast<std::size_t>(length_ - subjectStart),
                                          static_cast<std::size_t>(from - subjectStart), index, length,
                                          static_cast<std::size_t>(lastStart - subjectStart));
    if (!pattern.GaveUp().empty() && tooComplexAt_ < 0)
        tooComplexAt_ = subjectStart + static_cast<std::int64_t>(pattern.GaveUp().front());
    if (!found)
        return {};
    return {subjectStart + static_cast<std::int64_t>(index), static_cast<std::int64_t>(length)};
}

void VxEditTextSearch::Expose(std::int64_t from, std::int64_t to)
{
    from = std::clamp<std::int64_t>(from, 0, length_);
    to = std::clamp<std::int64_t>(to, from, length_);
    window_ = buffer_.PointerAt(from, to - from);
    windowStart_ = from;
    windowEnd_ = to;
}

std::int64_t VxEditTextSearch::Find(VxEditFindRequest& request)
{
    request_ = &request;
    const std::int64_t start = buffer_.OffsetOf(request.start.line, request.start.column);
    if (start < 0 || request.text.empty())
        return 0;
    length_ = buffer_.Length();

    std::int64_t end = start;
    if (request.end.line != -1 || request.end.column != -1) {
        if (request.end.line > buffer_.LastLine())
            end = length_;
        else
            end = buffer_.OffsetOf(request.end.line, std::max(request.end.column, 0));
        if (end < 0)
            end = buffer_.LineStart(request.end.line) + buffer_.LineFullLength(request.end.line);
    }

    request.patternError.clear();
    request.patternErrorOffset = -1;
    request.tooComplexLine = -1;
    tooComplexAt_ = -1;
    const bool usePattern = request.pattern && pattern_ && pattern_->IsCreated();
    if (usePattern) {
        pattern_->SetPattern(request.text);
        pattern_->SetIgnoreCase(!request.matchCase);
        if (!pattern_->IsValid()) {
            request.patternError = pattern_->ErrorText();
            request.patternErrorOffset = static_cast<std::int64_t>(pattern_->ErrorOffset());
            return 0;
        }
    }

    Hit hit;
    if (usePattern) {
        // A pattern always runs forward from the start, whatever the direction.
        const bool wrapping = request.searchDown ? start >= end : true;
        if (!wrapping) {
            hit = PatternForward(start, end);
        } else {
            hit = PatternForward(start, length_);
            const std::int64_t wrapEnd = request.searchDown ? end : start;
            if (!hit && request.wrapAround && wrapEnd != 0)
                hit = PatternForward(0, wrapEnd);
        }
    } else if (request.searchDown) {
        if (start >= end) {
            hit = Forward(start, length_);
            if (!hit && end != 0 && request.wrapAround)
                hit = Forward(0, end);
        } else {
            hit = Forward(start, end);
        }
    } else {
        if (start <= end) {
            if (start != 0)
                hit = Backward(start, 0);
            if (!hit && end < length_ && request.wrapAround)
                hit = Backward(length_, end);
        } else {
            hit = Backward(start, end);
        }
    }
    if (tooComplexAt_ >= 0)
        request.tooComplexLine = buffer_.PositionOf(tooComplexAt_).line;
    if (!hit)
        return 0;
    request.match = buffer_.PositionOf(hit.offset);
    return hit.length;
}
