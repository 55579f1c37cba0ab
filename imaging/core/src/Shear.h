// Shifting every row or every column of a canvas by its own amount: the three shears of Rotate.
// A line is read as if extended on both sides with the fill pixel, and every write stays inside
// the output canvas.
#pragma once

#include <cstddef>
#include <cstdint>

namespace imaging {

struct Canvas {
  std::uint8_t* data;
  int width, height;
  std::size_t stride() const { return std::size_t(width) * pixelBytes; }
  int pixelBytes;
};

struct ShearStyle {
  const std::uint8_t* fill;  // one pixel
  int sampleBytes;           // 1 or 2
  bool bilinear;
};

// Work row i is shifted by d = -s × (i - (in.height >> 1)) pixels (a positive d moves the content
// towards the start of the row). Output pixel (x, y) takes the shifted work pixel (x + ox, y + oy),
// so the output may be a window of the work canvas. Nearest truncates d; bilinear blends the two
// neighbours with a fraction in 1/256 units.
void shearRows(const Canvas& in, const Canvas& out, int ox, int oy, double s, const ShearStyle& style);

// Column j is shifted by d = -s × (j - (in.width >> 1)) rows; in and out have the same size.
void shearColumns(const Canvas& in, const Canvas& out, double s, const ShearStyle& style);

}  // namespace imaging
