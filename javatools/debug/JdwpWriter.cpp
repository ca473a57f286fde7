#include "javatools/debug/JdwpWriter.h"

namespace {

void Append(std::string& bytes, std::uint64_t value, int size)
{
    for (int i = size - 1; i >= 0; --i)
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

}  // namespace

JdwpWriter& JdwpWriter::Sized(std::uint64_t value, int size)
{
    Append(bytes_, value, size);
    return *this;
}

JdwpWriter& JdwpWriter::String(std::string_view text)
{
    Int(static_cast<std::uint32_t>(text.size()));
    bytes_.append(text);
    return *this;
}

JdwpWriter& JdwpWriter::Location(const jdwp::Location& location)
{
    Byte(location.typeTag);
    ReferenceTypeId(location.classId);
    MethodId(location.methodId);
    return Long(location.index);
}

std::string JdwpWriter::CommandPacket(std::uint32_t id, std::uint8_t commandSet, std::uint8_t command,
                                      std::string_view body)
{
    std::string packet;
    Append(packet, jdwp::kHeaderSize + body.size(), 4);
    Append(packet, id, 4);
    Append(packet, 0, 1);
    Append(packet, commandSet, 1);
    Append(packet, command, 1);
    packet.append(body);
    return packet;
}

std::string JdwpWriter::ReplyPacket(std::uint32_t id, std::uint16_t errorCode, std::string_view body)
{
    std::string packet;
    Append(packet, jdwp::kHeaderSize + body.size(), 4);
    Append(packet, id, 4);
    Append(packet, jdwp::kReplyFlag, 1);
    Append(packet, errorCode, 2);
    packet.append(body);
    return packet;
}
