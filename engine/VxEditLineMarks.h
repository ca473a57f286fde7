#pragma once

#include <cstdint>

// The marks of one line: 32 numbered bits and one value. A line without
// marks has no record at all.
class VxEditLineMarks {
public:
    bool Test(int bit) const { return bit >= 0 && bit < 32 && (bits_ >> bit) & 1u; }
    void Set(int bit, bool on);
    void Toggle(int bit) { Set(bit, !Test(bit)); }
    std::uint32_t Bits() const { return bits_; }
    std::int32_t Value() const { return value_; }
    void SetValue(std::int32_t value) { value_ = value; }
    // A record with no bit and a zero value is destroyed by its owner.
    bool IsEmpty() const { return bits_ == 0 && value_ == 0; }

private:
    std::uint32_t bits_ = 0;
    std::int32_t value_ = 0;
};
