// Packed 1-bit rows: 8 pixels per byte, the first pixel in the most significant bit.
#pragma once

#include <cstdint>

namespace imaging::bits {

inline int get(const std::uint8_t *row, int x) {
    return (row[x >> 3] >> (7 - (x & 7))) & 1;
}

inline void set(std::uint8_t *row, int x, int value) {
    const std::uint8_t mask = std::uint8_t(0x80 >> (x & 7));
    if (value)
        row[x >> 3] |= mask;
    else
        row[x >> 3] &= std::uint8_t(~mask);
}

// Copies count pixels from bit srcX of src to bit dstX of dst; other bits of dst are kept.
void copy(std::uint8_t *dst, int dstX, const std::uint8_t *src, int srcX, int count);

// Sets count pixels from bit x on to value (0 or 1).
void fill(std::uint8_t *row, int x, int value, int count);

} // namespace imaging::bits
