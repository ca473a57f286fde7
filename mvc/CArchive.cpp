#include "mvc/CArchive.h"

namespace tarrow::foundation {

void CArchive::WriteU16(std::uint16_t value)
{
    out_ += static_cast<char>(value & 0xFF);
    out_ += static_cast<char>(value >> 8);
}

void CArchive::WriteU32(std::uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out_ += static_cast<char>((value >> shift) & 0xFF);
}

void CArchive::WriteString(std::string_view text)
{
    const std::size_t length = text.size();
    if (length < 0xFF) {
        out_ += static_cast<char>(length);
    } else {
        out_ += static_cast<char>(0xFF);
        if (length < 0xFFFE) {
            WriteU16(static_cast<std::uint16_t>(length));
        } else {
            WriteU16(0xFFFF);
            WriteU32(static_cast<std::uint32_t>(length));
        }
    }
    out_.append(text.data(), length);
}

void CArchive::WriteCount(std::uint32_t count)
{
    if (count < 0xFFFF) {
        WriteU16(static_cast<std::uint16_t>(count));
    } else {
        WriteU16(0xFFFF);
        WriteU32(count);
    }
}

bool CArchive::Take(std::size_t length, const char*& bytes)
{
    if (failed_ || storing_ || length > Remaining()) {
        failed_ = true;
        return false;
    }
    bytes = in_.data() + position_;
    position_ += length;
    return true;
}

bool CArchive::ReadU16(std::uint16_t& value)
{
    const char* bytes = nullptr;
    if (!Take(2, bytes))
        return false;
    value = static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[0]) |
                                       (static_cast<unsigned char>(bytes[1]) << 8));
    return true;
}

bool CArchive::ReadU32(std::uint32_t& value)
{
    const char* bytes = nullptr;
    if (!Take(4, bytes))
        return false;
    value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return true;
}

bool CArchive::ReadI32(std::int32_t& value)
{
    std::uint32_t raw = 0;
    if (!ReadU32(raw))
        return false;
    value = static_cast<std::int32_t>(raw);
    return true;
}

bool CArchive::ReadString(std::string& text)
{
    const char* bytes = nullptr;
    if (!Take(1, bytes))
        return false;
    std::size_t length = static_cast<unsigned char>(bytes[0]);
    if (length == 0xFF) {
        std::uint16_t shortLength = 0;
        if (!ReadU16(shortLength))
            return false;
        length = shortLength;
        if (shortLength == 0xFFFF) {
            std::uint32_t longLength = 0;
            if (!ReadU32(longLength))
                return false;
            length = longLength;
        }
    }
    if (!Take(length, bytes))
        return false;
    text.assign(bytes, length);
    return true;
}

bool CArchive::ReadCount(std::uint32_t& count, std::size_t minEntryBytes)
{
    std::uint16_t shortCount = 0;
    if (!ReadU16(shortCount))
        return false;
    count = shortCount;
    if (shortCount == 0xFFFF && !ReadU32(count))
        return false;
    if (minEntryBytes > 0 && count > Remaining() / minEntryBytes) {
        failed_ = true;
        return false;
    }
    return true;
}

}  // namespace tarrow::foundation
