#pragma once

#include <cstdint>
#include <string>

class JdwpReader;

// One value of the debugged program: a primitive of any type, or an object
// reference (its kind in the tag, its id in bits, 0 for null).
struct DebugValue {
    std::uint8_t tag = 'V';
    std::uint64_t bits = 0;

    bool IsObject() const;
    bool IsNull() const { return IsObject() && bits == 0; }
    std::uint64_t ObjectId() const { return IsObject() ? bits : 0; }
    bool AsBoolean() const { return bits != 0; }
    std::int64_t AsInteger() const;  // byte, short, int, long: sign-extended
    char16_t AsChar() const { return static_cast<char16_t>(bits); }
    double AsFloating() const;       // float and double

    static DebugValue Of(std::uint8_t tag, std::uint64_t bits) { return DebugValue{tag, bits}; }
};

// Whether the tag names an object kind ('L', 's', '[', 't', 'g', 'l', 'c').
bool IsObjectTag(std::uint8_t tag);
// Bytes of an untagged value of the tag (ids in the reader's sizes); -1
// for an unknown tag.
int UntaggedValueSize(std::uint8_t tag, const JdwpReader& reader);
// A tagged value; an unknown tag fails the reader.
DebugValue ReadTaggedValue(JdwpReader& reader);
DebugValue ReadUntaggedValue(JdwpReader& reader, std::uint8_t tag);
// The value as Java source would write it: true, 42, 42L, 1.5, 1.5f,
// 'x'; an object as null or its kind and id ("String #12").
std::string DebugValueText(const DebugValue& value);
// A Java string's characters (as UTF-8) as a quoted literal with escapes.
std::string QuotedJavaString(const std::string& utf8);
