#include <array>
#include <cstring>

#include "imaging/GeometryOperations.h"

namespace imaging {

namespace {

// Fixed pixel sizes let the compiler turn each copy into one move.
template <int N> void reversePixels(std::uint8_t *dst, const std::uint8_t *src, int width) {
    const std::uint8_t *s = src + std::size_t(width - 1) * N;
    for (int x = 0; x < width; ++x, s -= N)
        std::memcpy(dst + std::size_t(x) * N, s, N);
}

void reversePixels(std::uint8_t *dst, const std::uint8_t *src, int width, int n) {
    const std::uint8_t *s = src + std::size_t(width - 1) * n;
    for (int x = 0; x < width; ++x, s -= n)
        std::memcpy(dst + std::size_t(x) * n, s, n);
}

constexpr std::array<std::uint8_t, 256> kReversedBits = [] {
    std::array<std::uint8_t, 256> t{};
    for (int v = 0; v < 256; ++v)
        for (int b = 0; b < 8; ++b)
            if (v & (1 << b)) t[v] |= std::uint8_t(0x80 >> b);
    return t;
}();

// Bytes in reverse order with their bits reversed, then shifted towards the start by the padding
// bits of the last byte, so that the first pixel is again the most significant bit.
void reverseBits(std::uint8_t *dst, const std::uint8_t *src, int width) {
    const int n = width / 8 + (width % 8 != 0);
    const int pad = (8 - width % 8) % 8;
    for (int i = 0; i < n; ++i) {
        int v = kReversedBits[src[n - 1 - i]] << pad;
        if (pad && i + 1 < n) v |= kReversedBits[src[n - 2 - i]] >> (8 - pad);
        dst[i] = std::uint8_t(v);
    }
}

} // namespace

void FlipXOperation::transformLine(std::uint8_t *dst, const std::uint8_t *src, int) {
    const int width = source().header().width();
    switch (source().header().storedPixelBytes()) {
    case 0:
        reverseBits(dst, src, width);
        break;
    case 1:
        reversePixels<1>(dst, src, width);
        break;
    case 2:
        reversePixels<2>(dst, src, width);
        break;
    case 3:
        reversePixels<3>(dst, src, width);
        break;
    case 4:
        reversePixels<4>(dst, src, width);
        break;
    case 6:
        reversePixels<6>(dst, src, width);
        break;
    case 8:
        reversePixels<8>(dst, src, width);
        break;
    default:
        reversePixels(dst, src, width, source().header().storedPixelBytes());
    }
}

void FlipYOperation::process() {
    const int height = source().header().height();
    const std::size_t rowBytes = source().header().bytesPerLine();
    for (int y = 0; y < height; ++y)
        std::memcpy(result().line(height - 1 - y), source().line(y), rowBytes);
}

} // namespace imaging
