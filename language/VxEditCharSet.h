#pragma once

#include <bitset>
#include <cstddef>
#include <string>
#include <string_view>

// One character class of a language configuration: a membership bit for
// every 16-bit character code. A byte below 0x80 is its own code; a
// multi-byte character is its code point when that is below 0x10000.
//
// In the string form (stores and SetCharSet) a byte that starts a valid UTF-8
// sequence of a code point below 0x10000 stands for that code point, and any
// other byte for its own value; members from 0x80 up are written as UTF-8, so
// the string form reads back to the same set.
class VxEditCharSet {
public:
    static constexpr std::size_t kCodeCount = 0x10000;

    bool Test(unsigned code) const { return code < kCodeCount && bits_.test(code); }
    void Set(unsigned code, bool member);

    // Adds every character of the text, stopping at code 0.
    void AddAll(std::string_view text);
    // All members but code 0 in ascending code order.
    std::string ToString() const;

    void Clear() { bits_.reset(); }
    bool Empty() const { return bits_.none(); }
    std::size_t Count() const { return bits_.count(); }

    bool operator==(const VxEditCharSet& other) const { return bits_ == other.bits_; }

    // The code and byte length of the character at text (length bytes left,
    // at least one): a UTF-8 sequence of a code point below 0x10000, or one byte.
    static unsigned DecodeCharacter(const char* text, std::size_t length, std::size_t& bytes);
    static void AppendCharacter(std::string& out, unsigned code);

private:
    std::bitset<kCodeCount> bits_;
};
