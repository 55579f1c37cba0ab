#include "Shear.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "PixelFill.h"

namespace imaging {

namespace {

// Integer shift and fraction (0..255) of d: nearest truncates, bilinear floors.
struct Shift {
  int whole;
  int fraction;
};

Shift splitShift(double d, bool bilinear) {
  if (!bilinear) return {int(std::trunc(d)), 0};
  const double whole = std::floor(d);
  return {int(whole), int((d - whole) * 256)};
}

// (p × (256 - f) + q × f) >> 8 over count samples; written so that it vectorises.
template <typename T>
void blendSamples(T* out, const T* p, const T* q, std::size_t count, int f) {
  const unsigned wp = 256 - f, wq = f;
  for (std::size_t i = 0; i < count; ++i) out[i] = T((p[i] * wp + q[i] * wq) >> 8);
}

void blend(std::uint8_t* out, const std::uint8_t* p, const std::uint8_t* q, std::size_t bytes,
           int f, int sampleBytes) {
  if (sampleBytes == 2)
    blendSamples(reinterpret_cast<std::uint16_t*>(out), reinterpret_cast<const std::uint16_t*>(p),
                 reinterpret_cast<const std::uint16_t*>(q), bytes / 2, f);
  else
    blendSamples(out, p, q, bytes, f);
}

// out[x] for x in [0, outLen) is the blend of line pixels start + x and start + x + 1 (or just
// pixel start + x when f is 0); pixels outside [0, inLen) are the fill pixel.
void shiftLine(std::uint8_t* out, int outLen, const std::uint8_t* in, int inLen, int start, int f,
               int px, const ShearStyle& style) {
  auto pixel = [&](long k) { return k >= 0 && k < inLen ? in + k * px : style.fill; };
  const int reach = f ? 1 : 0;  // how far right of start + x the pixel reads
  // x in [lo, hi): every pixel read is inside the line.
  const int lo = int(std::clamp<long>(-long(start), 0, outLen));
  const int hi = int(std::clamp<long>(long(inLen) - reach - start, lo, outLen));
  // x < fillLo or x ≥ fillHi: every pixel read is fill.
  const int fillLo = int(std::clamp<long>(-long(start) - reach, 0, lo));
  const int fillHi = int(std::clamp<long>(long(inLen) - start, hi, outLen));

  fillPixels(out, style.fill, px, fillLo);
  for (int x = fillLo; x < lo; ++x) blend(out + std::size_t(x) * px, pixel(start + x), pixel(start + x + 1), px, f, style.sampleBytes);
  if (hi > lo) {
    const std::uint8_t* p = in + std::size_t(start + lo) * px;
    if (f == 0) std::memcpy(out + std::size_t(lo) * px, p, std::size_t(hi - lo) * px);
    else blend(out + std::size_t(lo) * px, p, p + px, std::size_t(hi - lo) * px, f, style.sampleBytes);
  }
  for (int x = hi; x < fillHi; ++x) {
    const std::uint8_t* p = pixel(start + x);
    blend(out + std::size_t(x) * px, p, f ? pixel(start + x + 1) : p, px, f, style.sampleBytes);
  }
  fillPixels(out + std::size_t(fillHi) * px, style.fill, px, outLen - fillHi);
}

}  // namespace

void shearRows(const Canvas& in, const Canvas& out, int ox, int oy, double s, const ShearStyle& style) {
  const int px = in.pixelBytes;
  const int centre = in.height >> 1;
  for (int y = 0; y < out.height; ++y) {
    std::uint8_t* dst = out.data + std::size_t(y) * out.stride();
    const int row = y + oy;
    if (row < 0 || row >= in.height) {
      fillPixels(dst, style.fill, px, out.width);
      continue;
    }
    const Shift shift = splitShift(-s * (row - centre), style.bilinear);
    shiftLine(dst, out.width, in.data + std::size_t(row) * in.stride(), in.width, ox + shift.whole,
              shift.fraction, px, style);
  }
}

void shearColumns(const Canvas& in, const Canvas& out, double s, const ShearStyle& style) {
  const int px = in.pixelBytes;
  const int centre = in.width >> 1;
  std::vector<Shift> shifts(in.width);
  for (int x = 0; x < in.width; ++x) shifts[x] = splitShift(-s * (x - centre), style.bilinear);

  auto pixel = [&](long row, int x) {
    return row >= 0 && row < in.height ? in.data + std::size_t(row) * in.stride() + std::size_t(x) * px
                                       : style.fill;
  };
  // Strips of columns walked top to bottom keep the rows they read in cache.
  constexpr int kStrip = 64;
  for (int x0 = 0; x0 < in.width; x0 += kStrip) {
    const int x1 = std::min(in.width, x0 + kStrip);
    for (int y = 0; y < in.height; ++y) {
      std::uint8_t* dst = out.data + std::size_t(y) * out.stride();
      for (int x = x0; x < x1; ++x) {
        const Shift& sh = shifts[x];
        const long row = long(y) + sh.whole;
        const std::uint8_t* p = pixel(row, x);
        if (sh.fraction == 0) std::memcpy(dst + std::size_t(x) * px, p, px);
        else blend(dst + std::size_t(x) * px, p, pixel(row + 1, x), px, sh.fraction, style.sampleBytes);
      }
    }
  }
}

}  // namespace imaging
