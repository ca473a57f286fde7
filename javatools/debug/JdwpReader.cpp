#include "javatools/debug/JdwpReader.h"

bool JdwpReader::Take(std::size_t count)
{
    if (failed_ || count > bytes_.size() - offset_) {
        failed_ = true;
        return false;
    }
    return true;
}

std::uint64_t JdwpReader::Sized(int size)
{
    if (size < 1 || size > 8) {
        failed_ = true;
        return 0;
    }
    if (!Take(static_cast<std::size_t>(size)))
        return 0;
    std::uint64_t value = 0;
    for (int i = 0; i < size; ++i)
        value = (value << 8) | static_cast<std::uint8_t>(bytes_[offset_++]);
    return value;
}

std::uint8_t JdwpReader::Byte()
{
    return static_cast<std::uint8_t>(Sized(1));
}

std::uint16_t JdwpReader::Short()
{
    return static_cast<std::uint16_t>(Sized(2));
}

std::uint32_t JdwpReader::Int()
{
    return static_cast<std::uint32_t>(Sized(4));
}

std::uint64_t JdwpReader::Long()
{
    return Sized(8);
}

std::string JdwpReader::String()
{
    const std::uint32_t length = Int();
    if (!Take(length))
        return {};
    std::string text(bytes_.substr(offset_, length));
    offset_ += length;
    return text;
}

jdwp::Location JdwpReader::Location()
{
    jdwp::Location location;
    location.typeTag = Byte();
    location.classId = ReferenceTypeId();
    location.methodId = MethodId();
    location.index = Long();
    return location;
}

std::uint32_t JdwpReader::Count(std::size_t minEntrySize)
{
    const std::uint32_t count = Int();
    if (failed_)
        return 0;
    if (minEntrySize > 0 && count > (bytes_.size() - offset_) / minEntrySize) {
        failed_ = true;
        return 0;
    }
    return count;
}
