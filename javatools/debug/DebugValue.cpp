#include "javatools/debug/DebugValue.h"

#include "javatools/debug/JdwpProtocol.h"
#include "javatools/debug/JdwpReader.h"

#include <charconv>
#include <cmath>
#include <cstring>

bool IsObjectTag(std::uint8_t tag)
{
    using namespace jdwp::tag;
    return tag == kObject || tag == kString || tag == kArray || tag == kThread || tag == kThreadGroup ||
           tag == kClassLoader || tag == kClassObject;
}

bool DebugValue::IsObject() const
{
    return IsObjectTag(tag);
}

std::int64_t DebugValue::AsInteger() const
{
    switch (tag) {
    case jdwp::tag::kByte: return static_cast<std::int8_t>(bits);
    case jdwp::tag::kShort: return static_cast<std::int16_t>(bits);
    case jdwp::tag::kInt: return static_cast<std::int32_t>(bits);
    case jdwp::tag::kChar: return static_cast<char16_t>(bits);
    default: return static_cast<std::int64_t>(bits);
    }
}

double DebugValue::AsFloating() const
{
    if (tag == jdwp::tag::kFloat) {
        const auto raw = static_cast<std::uint32_t>(bits);
        float value;
        std::memcpy(&value, &raw, sizeof value);
        return value;
    }
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

int UntaggedValueSize(std::uint8_t tag, const JdwpReader& reader)
{
    using namespace jdwp::tag;
    switch (tag) {
    case kBoolean:
    case kByte: return 1;
    case kChar:
    case kShort: return 2;
    case kInt:
    case kFloat: return 4;
    case kLong:
    case kDouble: return 8;
    case kVoid: return 0;
    default: return IsObjectTag(tag) ? reader.Sizes().object : -1;
    }
}

DebugValue ReadUntaggedValue(JdwpReader& reader, std::uint8_t tag)
{
    const int size = UntaggedValueSize(tag, reader);
    if (size < 0) {
        reader.Fail();
        return {};
    }
    return DebugValue::Of(tag, size == 0 ? 0 : reader.Sized(size));
}

DebugValue ReadTaggedValue(JdwpReader& reader)
{
    const std::uint8_t tag = reader.Byte();
    if (!reader.Ok())
        return {};
    return ReadUntaggedValue(reader, tag);
}

namespace {

std::string FloatingText(double value, bool isFloat)
{
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "Infinity" : "-Infinity";
    char text[64];
    const auto end = isFloat ? std::to_chars(text, text + sizeof text, static_cast<float>(value)).ptr
                             : std::to_chars(text, text + sizeof text, value).ptr;
    std::string result(text, end);
    if (result.find_first_of(".e") == std::string::npos)
        result += ".0";
    return isFloat ? result + "f" : result;
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string EscapedChar(char16_t c, char quote)
{
    switch (c) {
    case '\n': return "\\n";
    case '\t': return "\\t";
    case '\r': return "\\r";
    case '\\': return "\\\\";
    default: break;
    }
    if (c == quote)
        return std::string("\\") + quote;
    if (c < 0x20 || (c >= 0xD800 && c <= 0xDFFF)) {
        char text[8];
        static const char digits[] = "0123456789abcdef";
        text[0] = '\\';
        text[1] = 'u';
        for (int i = 0; i < 4; ++i)
            text[2 + i] = digits[(c >> (12 - 4 * i)) & 0xF];
        return std::string(text, 6);
    }
    std::string out;
    AppendUtf8(out, c);
    return out;
}

const char* KindName(std::uint8_t tag)
{
    switch (tag) {
    case jdwp::tag::kString: return "String";
    case jdwp::tag::kArray: return "array";
    case jdwp::tag::kThread: return "Thread";
    case jdwp::tag::kThreadGroup: return "ThreadGroup";
    case jdwp::tag::kClassLoader: return "ClassLoader";
    case jdwp::tag::kClassObject: return "Class";
    default: return "Object";
    }
}

}  // namespace

std::string DebugValueText(const DebugValue& value)
{
    using namespace jdwp::tag;
    switch (value.tag) {
    case kBoolean: return value.AsBoolean() ? "true" : "false";
    case kByte:
    case kShort:
    case kInt: return std::to_string(value.AsInteger());
    case kLong: return std::to_string(value.AsInteger()) + "L";
    case kChar: return "'" + EscapedChar(value.AsChar(), '\'') + "'";
    case kFloat: return FloatingText(value.AsFloating(), true);
    case kDouble: return FloatingText(value.AsFloating(), false);
    case kVoid: return "void";
    default: break;
    }
    if (value.IsNull())
        return "null";
    return std::string(KindName(value.tag)) + " #" + std::to_string(value.bits);
}

std::string QuotedJavaString(const std::string& utf8)
{
    std::string out = "\"";
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80)
            out += c;
        else
            out += EscapedChar(byte, '"');
    }
    return out + "\"";
}
