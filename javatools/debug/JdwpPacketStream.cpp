#include "javatools/debug/JdwpPacketStream.h"

#include "javatools/debug/JdwpProtocol.h"

#include <cstring>

void JdwpPacketStream::Append(std::string_view bytes)
{
    if (Broken())
        return;
    // Drop what was consumed before it grows the buffer.
    if (start_ > 0 && start_ >= buffer_.size() / 2) {
        buffer_.erase(0, start_);
        start_ = 0;
    }
    buffer_.append(bytes);
}

bool JdwpPacketStream::Next(JdwpPacket& packet)
{
    if (Broken())
        return false;
    const std::size_t available = buffer_.size() - start_;
    const auto* data = reinterpret_cast<const unsigned char*>(buffer_.data() + start_);
    if (!handshakeDone_) {
        if (available < static_cast<std::size_t>(jdwp::kHandshakeSize))
            return false;
        if (std::memcmp(data, jdwp::kHandshake, jdwp::kHandshakeSize) != 0) {
            failure_ = "the virtual machine did not answer the JDWP handshake";
            return false;
        }
        start_ += jdwp::kHandshakeSize;
        handshakeDone_ = true;
        return Next(packet);
    }
    if (available < 4)
        return false;
    const std::uint32_t length = (std::uint32_t{data[0]} << 24) | (std::uint32_t{data[1]} << 16) |
                                 (std::uint32_t{data[2]} << 8) | data[3];
    if (length < static_cast<std::uint32_t>(jdwp::kHeaderSize) || length > kMaxPacketSize) {
        failure_ = "a JDWP packet of length " + std::to_string(length) + " cannot be read";
        return false;
    }
    if (available < length)
        return false;
    packet.id = (std::uint32_t{data[4]} << 24) | (std::uint32_t{data[5]} << 16) | (std::uint32_t{data[6]} << 8) |
                data[7];
    packet.isReply = (data[8] & jdwp::kReplyFlag) != 0;
    if (packet.isReply) {
        packet.errorCode = static_cast<std::uint16_t>((data[9] << 8) | data[10]);
        packet.commandSet = packet.command = 0;
    } else {
        packet.errorCode = 0;
        packet.commandSet = data[9];
        packet.command = data[10];
    }
    packet.body.assign(reinterpret_cast<const char*>(data) + jdwp::kHeaderSize, length - jdwp::kHeaderSize);
    start_ += length;
    return true;
}
