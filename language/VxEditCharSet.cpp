#include "language/VxEditCharSet.h"

void VxEditCharSet::Set(unsigned code, bool member)
{
    if (code < kCodeCount)
        bits_.set(code, member);
}

void VxEditCharSet::AddAll(std::string_view text)
{
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t bytes = 1;
        const unsigned code = DecodeCharacter(text.data() + at, text.size() - at, bytes);
        if (code == 0)
            break;
        bits_.set(code);
        at += bytes;
    }
}

std::string VxEditCharSet::ToString() const
{
    std::string out;
    // Code 0 ends a set string, so it cannot be written as a member.
    for (std::size_t code = bits_._Find_next(0); code < kCodeCount; code = bits_._Find_next(code))
        AppendCharacter(out, static_cast<unsigned>(code));
    return out;
}

unsigned VxEditCharSet::DecodeCharacter(const char* text, std::size_t length, std::size_t& bytes)
{
    const auto byte = [text](std::size_t i) { return static_cast<unsigned char>(text[i]); };
    const auto isContinuation = [&](std::size_t i) { return i < length && (byte(i) & 0xC0) == 0x80; };
    bytes = 1;
    const unsigned lead = byte(0);
    if (lead >= 0xC2 && lead <= 0xDF && isContinuation(1)) {
        bytes = 2;
        return ((lead & 0x1F) << 6) | (byte(1) & 0x3F);
    }
    if (lead >= 0xE0 && lead <= 0xEF && isContinuation(1) && isContinuation(2)) {
        const unsigned code = ((lead & 0x0F) << 12) | ((byte(1) & 0x3F) << 6) | (byte(2) & 0x3F);
        // Overlong forms and surrogates are not characters; the lead byte stands alone.
        if (code >= 0x800 && (code < 0xD800 || code > 0xDFFF)) {
            bytes = 3;
            return code;
        }
    }
    return lead;
}

void VxEditCharSet::AppendCharacter(std::string& out, unsigned code)
{
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}
