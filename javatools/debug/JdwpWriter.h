#pragma once

#include "javatools/debug/JdwpProtocol.h"

#include <cstdint>
#include <string>
#include <string_view>

// Writes the big-endian fields of a command body, ids in the sizes the
// virtual machine gave.
class JdwpWriter {
public:
    explicit JdwpWriter(const jdwp::IdSizes& sizes) : sizes_(sizes) {}

    JdwpWriter& Byte(std::uint8_t value) { return Sized(value, 1); }
    JdwpWriter& Boolean(bool value) { return Sized(value ? 1 : 0, 1); }
    JdwpWriter& Int(std::uint32_t value) { return Sized(value, 4); }
    JdwpWriter& Long(std::uint64_t value) { return Sized(value, 8); }
    JdwpWriter& Sized(std::uint64_t value, int size);
    JdwpWriter& ObjectId(std::uint64_t id) { return Sized(id, sizes_.object); }
    JdwpWriter& ReferenceTypeId(std::uint64_t id) { return Sized(id, sizes_.referenceType); }
    JdwpWriter& MethodId(std::uint64_t id) { return Sized(id, sizes_.method); }
    JdwpWriter& FieldId(std::uint64_t id) { return Sized(id, sizes_.field); }
    JdwpWriter& FrameId(std::uint64_t id) { return Sized(id, sizes_.frame); }
    JdwpWriter& String(std::string_view text);
    JdwpWriter& Location(const jdwp::Location& location);

    const std::string& Bytes() const { return bytes_; }

    // A whole command packet: header (length, id, flags, set, command) and body.
    static std::string CommandPacket(std::uint32_t id, std::uint8_t commandSet, std::uint8_t command,
                                     std::string_view body);
    // A whole reply packet, for tests that play the virtual machine.
    static std::string ReplyPacket(std::uint32_t id, std::uint16_t errorCode, std::string_view body);

private:
    jdwp::IdSizes sizes_;
    std::string bytes_;
};
