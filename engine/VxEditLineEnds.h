#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Finds every line separator in a block of text, sixteen bytes a step where
// the processor has SSE2 and eight elsewhere: a text of short lines has a
// separator every few dozen bytes, where a call to memchr per line costs
// more than the search itself.
class VxEditLineEnds {
public:
    // Calls found(offset) for each offset in [0, length) holding separator,
    // in order.
    template <class Found>
    static void ForEach(const char* bytes, std::int64_t length, char separator, Found&& found)
    {
        constexpr std::uint64_t kOnes = 0x0101010101010101ull;
        constexpr std::uint64_t kLow7 = 0x7F7F7F7F7F7F7F7Full;
        const std::uint64_t pattern = kOnes * static_cast<unsigned char>(separator);
        std::int64_t at = 0;
#if defined(__SSE2__)
        const __m128i wanted = _mm_set1_epi8(separator);
        for (; at + 16 <= length; at += 16) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
            auto hits = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, wanted)));
            while (hits != 0) {
                found(at + std::countr_zero(hits));
                hits &= hits - 1;
            }
        }
#endif
        for (; at + 8 <= length; at += 8) {
            std::uint64_t word = 0;
            std::memcpy(&word, bytes + at, 8);
            word ^= pattern;
            // The high bit of each byte that was the separator, exactly:
            // no carry crosses a byte.
            std::uint64_t hits = ~(((word & kLow7) + kLow7) | word | kLow7);
            if constexpr (std::endian::native == std::endian::big)
                hits = ByteSwap(hits);
            while (hits != 0) {
                found(at + std::countr_zero(hits) / 8);
                hits &= hits - 1;
            }
        }
        for (; at < length; ++at) {
            if (bytes[at] == separator)
                found(at);
        }
    }

private:
    static std::uint64_t ByteSwap(std::uint64_t value)
    {
        std::uint64_t swapped = 0;
        for (int i = 0; i < 8; ++i, value >>= 8)
            swapped = (swapped << 8) | (value & 0xFF);
        return swapped;
    }
};
