#include "BitRows.h"

#include <cstring>

namespace imaging::bits {

void copy(std::uint8_t *dst, int dstX, const std::uint8_t *src, int srcX, int count) {
    int i = 0;
    if ((dstX & 7) == 0 && (srcX & 7) == 0) { // whole bytes when both start on a byte
        std::memcpy(dst + (dstX >> 3), src + (srcX >> 3), count >> 3);
        i = count & ~7;
    }
    for (; i < count; ++i)
        set(dst, dstX + i, get(src, srcX + i));
}

void fill(std::uint8_t *row, int x, int value, int count) {
    for (int i = 0; i < count; ++i)
        set(row, x + i, value);
}

} // namespace imaging::bits
