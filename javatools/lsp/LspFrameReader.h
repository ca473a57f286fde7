#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Cuts the bytes a language server writes into messages: a header of
// "Name: value" lines ended by an empty line ("Content-Length" required,
// "Content-Type" and others ignored), then that many bytes of body. Bytes
// arrive in any pieces. A header that cannot be read or a length over the
// limit leaves the stream unreadable from there on: Failed() and Error()
// say why, and nothing more is read.
class LspFrameReader {
public:
    static constexpr std::size_t kDefaultLimit = std::size_t{64} << 20;
    // A header longer than this is not a header.
    static constexpr std::size_t kHeaderLimit = 8192;

    explicit LspFrameReader(std::size_t bodyLimit = kDefaultLimit) : limit_(bodyLimit) {}

    void Append(std::string_view bytes);
    // The next whole body, if one has arrived.
    bool Next(std::string& body);
    bool Failed() const { return !error_.empty(); }
    const std::string& Error() const { return error_; }
    // Bytes held that are not yet a whole message.
    std::size_t Pending() const { return buffer_.size() - start_; }

    // A body framed for writing.
    static std::string Frame(std::string_view body);

private:
    bool ReadHeader();
    void Fail(std::string why);

    std::size_t limit_;
    std::string buffer_;
    std::size_t start_ = 0;  // where the unread bytes begin
    bool haveLength_ = false;
    std::size_t length_ = 0;  // of the body whose header was read
    std::string error_;
};
