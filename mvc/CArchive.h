#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tarrow::foundation {

// The binary archive encoding shared by every serialised object. Integers are
// little-endian. A string is a length prefix and that many bytes: one byte
// below 255; else 0xFF and a 16-bit length below 0xFFFE; else 0xFF, 0xFFFF
// and a 32-bit length. A count is 16 bits, or 0xFFFF and a 32-bit count when
// it is 0xFFFF or more.
//
// A loading archive never reads past its end: the first read that would
// fails, marks the archive failed, and every later read fails too.
class CArchive {
public:
    static CArchive ForStoring() { return CArchive(); }
    static CArchive ForLoading(std::string_view bytes) { return CArchive(bytes); }

    bool IsStoring() const { return storing_; }
    bool IsLoading() const { return !storing_; }

    // Storing.
    void WriteU16(std::uint16_t value);
    void WriteU32(std::uint32_t value);
    void WriteString(std::string_view text);
    void WriteCount(std::uint32_t count);
    const std::string& Bytes() const { return out_; }
    std::string TakeBytes() { return std::move(out_); }

    // Loading; each returns false (and leaves the archive failed) when the
    // bytes run out.
    bool ReadU16(std::uint16_t& value);
    bool ReadU32(std::uint32_t& value);
    bool ReadI32(std::int32_t& value);
    bool ReadString(std::string& text);
    // Reads a count and checks that at least count * minEntryBytes bytes remain,
    // so a corrupt count can never make the caller allocate without bound.
    bool ReadCount(std::uint32_t& count, std::size_t minEntryBytes = 1);

    bool Failed() const { return failed_; }
    std::size_t Remaining() const { return in_.size() - position_; }
    std::size_t Consumed() const { return position_; }

private:
    CArchive() : storing_(true) {}
    explicit CArchive(std::string_view bytes) : storing_(false), in_(bytes) {}

    bool Take(std::size_t length, const char*& bytes);

    bool storing_;
    bool failed_ = false;
    std::string out_;
    std::string_view in_;
    std::size_t position_ = 0;
};

}  // namespace tarrow::foundation
