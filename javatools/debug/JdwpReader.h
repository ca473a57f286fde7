#pragma once

#include "javatools/debug/JdwpProtocol.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Reads the big-endian fields of one packet body. A read past the end, an
// id size outside 1..8 or a string longer than the rest marks the reader
// failed: from then on every read gives zero or empty, and Ok() says so, so
// a parser checks once at the end instead of after every field.
class JdwpReader {
public:
    JdwpReader(std::string_view bytes, const jdwp::IdSizes& sizes) : bytes_(bytes), sizes_(sizes) {}

    std::uint8_t Byte();
    bool Boolean() { return Byte() != 0; }
    std::uint16_t Short();
    std::uint32_t Int();
    std::uint64_t Long();
    // Sized unsigned integer of 1..8 bytes.
    std::uint64_t Sized(int size);
    std::uint64_t ObjectId() { return Sized(sizes_.object); }
    std::uint64_t ReferenceTypeId() { return Sized(sizes_.referenceType); }
    std::uint64_t MethodId() { return Sized(sizes_.method); }
    std::uint64_t FieldId() { return Sized(sizes_.field); }
    std::uint64_t FrameId() { return Sized(sizes_.frame); }
    std::string String();
    jdwp::Location Location();
    // A count of repeated entries, each at least minEntrySize bytes: a count
    // that cannot fit in the rest fails the reader and gives 0, so no loop
    // runs long on a damaged length.
    std::uint32_t Count(std::size_t minEntrySize);

    void Fail() { failed_ = true; }
    bool Ok() const { return !failed_; }
    bool AtEnd() const { return offset_ == bytes_.size(); }
    std::size_t Remaining() const { return failed_ ? 0 : bytes_.size() - offset_; }
    const jdwp::IdSizes& Sizes() const { return sizes_; }

private:
    bool Take(std::size_t count);

    std::string_view bytes_;
    jdwp::IdSizes sizes_;
    std::size_t offset_ = 0;
    bool failed_ = false;
};
