// Shifting every row or every column of a canvas by its own amount: the three shears of Rotate.
// A line is read as if extended on both sides with the fill pixel, and every write stays inside
// the output canvas.
#pragma once

#include <cstddef>
#include <cstdint>

namespace imaging {

// Pixels of pixelBytes bytes, rows packed one after another.
template <typename Byte> struct CanvasOf {
    Byte *data;
    int width, height, pixelBytes;
    std::size_t stride() const { return std::size_t(width) * pixelBytes; }
};
using Canvas = CanvasOf<std::uint8_t>;
using ConstCanvas = CanvasOf<const std::uint8_t>;

struct ShearStyle {
    const std::uint8_t *fill; // one pixel
    int sampleBytes;          // 1 or 2
    bool bilinear;
};

// Output row y is input row y + oy shifted by d = -s × (y - centre) pixels: output pixel x takes
// input pixel x + ox + d (a positive d moves the content towards the start of the row). Nearest
// truncates d; bilinear blends the two neighbours with a fraction in 1/256 units.
void shearRows(const ConstCanvas &in, const Canvas &out, int ox, int oy, double centre, double s,
               const ShearStyle &style);

// Column x is shifted in place by d = -s × (x - (width >> 1)) rows, the same way.
void shearColumnsInPlace(const Canvas &canvas, double s, const ShearStyle &style);

} // namespace imaging
