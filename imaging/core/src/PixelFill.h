// Filling a run of pixels with one pixel value.
#pragma once

#include <cstdint>
#include <cstring>

namespace imaging {

// Writes count copies of the pixelBytes bytes at pixel to dst, doubling the copied run each step.
inline void fillPixels(std::uint8_t *dst, const std::uint8_t *pixel, int pixelBytes, int count) {
    if (count <= 0) return;
    const std::size_t total = std::size_t(pixelBytes) * count;
    std::memcpy(dst, pixel, pixelBytes);
    for (std::size_t done = pixelBytes; done < total;) {
        const std::size_t n = done < total - done ? done : total - done;
        std::memcpy(dst + done, dst, n);
        done += n;
    }
}

} // namespace imaging
