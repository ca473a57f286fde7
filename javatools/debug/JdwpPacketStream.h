#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// One packet as it came in: a command from the virtual machine (an event)
// or the reply to one of ours.
struct JdwpPacket {
    std::uint32_t id = 0;
    bool isReply = false;
    std::uint8_t commandSet = 0;  // commands only
    std::uint8_t command = 0;
    std::uint16_t errorCode = 0;  // replies only
    std::string body;
};

// Cuts the bytes read from the connection into packets: first the 14
// handshake bytes, then packets by their length field. A wrong handshake, a
// length below the header's or above kMaxPacketSize is a broken stream;
// after that Next gives nothing and Failure says why.
class JdwpPacketStream {
public:
    static constexpr std::size_t kMaxPacketSize = std::size_t{64} << 20;

    void Append(std::string_view bytes);
    // The next whole packet, or false when more bytes are needed or the
    // stream is broken.
    bool Next(JdwpPacket& packet);
    bool HandshakeDone() const { return handshakeDone_; }
    bool Broken() const { return !failure_.empty(); }
    const std::string& Failure() const { return failure_; }

private:
    std::string buffer_;
    std::size_t start_ = 0;
    bool handshakeDone_ = false;
    std::string failure_;
};
