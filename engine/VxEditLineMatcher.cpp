#include "engine/VxEditLineMatcher.h"

#include "engine/VxEditTextSearch.h"
#include "engine/VxEditUtf8.h"

#include <cstring>

namespace {

unsigned char Fold(unsigned char byte)
{
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte + 32) : byte;
}

unsigned char Raise(unsigned char byte)
{
    return byte >= 'a' && byte <= 'z' ? static_cast<unsigned char>(byte - 32) : byte;
}

bool IsBoundary(unsigned char byte)
{
    return byte == '\n' || byte == '\r' || VxEditTextSearch::IsDelimiter(byte);
}

}  // namespace

VxEditLineMatcher::VxEditLineMatcher(std::string text, bool matchCase, bool wholeWord, bool pattern)
    : text_(std::move(text)), matchCase_(matchCase), wholeWord_(wholeWord), pattern_(pattern)
{
    if (pattern_) {
        engine_.SetPattern(text_);
        engine_.SetIgnoreCase(!matchCase_);
    } else if (!text_.empty()) {
        const auto lead = static_cast<unsigned char>(text_[0]);
        lower_ = matchCase_ ? lead : Fold(lead);
        upper_ = matchCase_ ? lead : Raise(lead);
    }
}

bool VxEditLineMatcher::IsValid(std::string& error)
{
    if (text_.empty()) {
        error = "There is nothing to find.";
        return false;
    }
    if (!pattern_)
        return true;
    if (!engine_.IsCreated()) {
        error = "The pattern engine is not available.";
        return false;
    }
    if (engine_.IsValid())
        return true;
    error = engine_.ErrorText();
    return false;
}

bool VxEditLineMatcher::IsWholeWord(const char* text, std::size_t length, std::size_t start,
                                    std::size_t size) const
{
    const bool startsWord = start == 0 || IsBoundary(static_cast<unsigned char>(text[start - 1]));
    const bool endsWord = start + size == length || IsBoundary(static_cast<unsigned char>(text[start + size]));
    return startsWord && endsWord;
}

bool VxEditLineMatcher::NextPlain(const char* text, std::size_t length, std::size_t from, std::size_t& start)
{
    const std::size_t size = text_.size();
    if (size > length || from > length - size)
        return false;
    if (matchCase_) {
        const void* hit = memmem(text + from, length - from, text_.data(), size);
        if (!hit)
            return false;
        start = static_cast<std::size_t>(static_cast<const char*>(hit) - text);
        return true;
    }
    // Candidates are the places of the first byte in either case; the next
    // place of each is kept, so no stretch of text is read twice.
    const char* const last = text + (length - size);
    const char* nextLower = nullptr;
    const char* nextUpper = nullptr;
    auto find = [last](const char* from, unsigned char byte) {
        const void* hit = std::memchr(from, byte, static_cast<std::size_t>(last - from) + 1);
        return hit ? static_cast<const char*>(hit) : last + 1;
    };
    for (const char* at = text + from; at <= last;) {
        if (!nextLower || nextLower < at)
            nextLower = find(at, lower_);
        if (upper_ != lower_ && (!nextUpper || nextUpper < at))
            nextUpper = find(at, upper_);
        const char* candidate = upper_ != lower_ && nextUpper < nextLower ? nextUpper : nextLower;
        if (candidate > last)
            return false;
        std::size_t i = 1;
        while (i < size && Fold(static_cast<unsigned char>(candidate[i])) ==
                               Fold(static_cast<unsigned char>(text_[i])))
            ++i;
        if (i == size) {
            start = static_cast<std::size_t>(candidate - text);
            return true;
        }
        at = candidate + 1;
    }
    return false;
}

bool VxEditLineMatcher::PatternMatch(const char* text, std::size_t length, std::size_t from, std::size_t& start,
                                     std::size_t& matchLength, std::size_t lastStart)
{
    const bool found = engine_.FirstMatch(text, length, from, start, matchLength, lastStart);
    gaveUp_.insert(gaveUp_.end(), engine_.GaveUp().begin(), engine_.GaveUp().end());
    return found;
}

bool VxEditLineMatcher::Next(const char* text, std::size_t length, std::size_t from, std::size_t& start,
                             std::size_t& matchLength)
{
    while (from < length) {
        std::size_t index = 0;
        std::size_t size = text_.size();
        if (pattern_) {
            if (!PatternMatch(text, length, from, index, size))
                return false;
        } else if (!NextPlain(text, length, from, index)) {
            return false;
        }
        // A match that runs past its line is tried again within the line.
        if (const void* end = std::memchr(text + index, '\n', size)) {
            const auto lineEnd = static_cast<std::size_t>(static_cast<const char*>(end) - text);
            if (!pattern_ || !PatternMatch(text, lineEnd, index, index, size)) {
                from = lineEnd + 1;
                continue;
            }
        }
        if (!wholeWord_ || IsWholeWord(text, length, index, size)) {
            start = index;
            matchLength = size;
            return true;
        }
        from = index + static_cast<std::size_t>(VxEditUtf8::CharLength(text + index, length - index));
    }
    return false;
}

void VxEditLineMatcher::FindLines(const char* text, std::size_t length,
                                  const std::function<void(const Hit&)>& onHit,
                                  const std::function<void(std::size_t)>& tooComplex)
{
    std::size_t from = 0;
    std::size_t start = 0;
    std::size_t size = 0;
    auto tellGaveUp = [&] {
        if (tooComplex) {
            for (std::size_t offset : gaveUp_)
                tooComplex(offset);
        }
        gaveUp_.clear();
    };
    for (;;) {
        const bool found = from < length && Next(text, length, from, start, size);
        tellGaveUp();
        if (!found)
            break;
        // from is a line start, so the match's line starts at or after it.
        const void* before = memrchr(text + from, '\n', start - from);
        const std::size_t lineStart =
            before ? static_cast<std::size_t>(static_cast<const char*>(before) - text) + 1 : from;
        const void* after = std::memchr(text + start, '\n', length - start);
        const std::size_t lineEnd = after ? static_cast<std::size_t>(static_cast<const char*>(after) - text) : length;
        onHit(Hit{lineStart, lineEnd, start, size});
        from = lineEnd + 1;
    }
}
