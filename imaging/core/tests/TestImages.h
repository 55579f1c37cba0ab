// Small images for the tests, and one way to check an expected error.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>

#include "imaging/EImageError.h"
#include "imaging/Image.h"

namespace imaging::test {

inline std::unique_ptr<Image> makeImage(int width, int height, int depth, int model, int channelsExtra = 0,
                                        int paletteFlag = 0, int entries = 0) {
    return std::make_unique<Image>(
        ImageHeader::Create(nullptr, width, height, depth, model, paletteFlag, entries, channelsExtra));
}

// Every byte of the pixel buffer from a seeded generator (1-bit padding bits kept 0).
inline void fillRandom(Image &image, unsigned seed) {
    std::mt19937 rng(seed);
    for (auto &b : image.data())
        b = std::uint8_t(rng());
    const ImageHeader &h = image.header();
    if (h.storedPixelBytes() == 0 && h.width() % 8)
        for (int y = 0; y < h.height(); ++y)
            image.line(y)[h.bytesPerLine() - 1] &= std::uint8_t(0xFF << (8 - h.width() % 8));
}

inline int bitAt(const Image &image, int x, int y) {
    return (image.line(y)[x >> 3] >> (7 - (x & 7))) & 1;
}

inline const std::uint8_t *pixelAt(const Image &image, int x, int y) {
    return image.line(y) + std::size_t(x) * image.header().storedPixelBytes();
}

// Runs f and checks that it throws EImageError with this message and code.
inline void expectError(const std::function<void()> &f, const std::string &message, int code) {
    try {
        f();
        ADD_FAILURE() << "no error, expected \"" << message << "\"";
    } catch (const EImageError &e) {
        EXPECT_EQ(e.what(), message);
        EXPECT_EQ(e.code(), code) << message;
    }
}

} // namespace imaging::test
