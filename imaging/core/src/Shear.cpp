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
template <typename T> void blendSamples(T *out, const T *p, const T *q, std::size_t count, int f) {
    const unsigned wp = 256 - f, wq = f;
    for (std::size_t i = 0; i < count; ++i)
        out[i] = T((p[i] * wp + q[i] * wq) >> 8);
}

void blend(std::uint8_t *out, const std::uint8_t *p, const std::uint8_t *q, std::size_t bytes, int f,
           int sampleBytes) {
    if (sampleBytes == 2)
        blendSamples(reinterpret_cast<std::uint16_t *>(out), reinterpret_cast<const std::uint16_t *>(p),
                     reinterpret_cast<const std::uint16_t *>(q), bytes / 2, f);
    else
        blendSamples(out, p, q, bytes, f);
}

// out[x] for x in [0, outLen) is the blend of line pixels start + x and start + x + 1 (or just
// pixel start + x when f is 0); pixels outside [0, inLen) are the fill pixel.
void shiftLine(std::uint8_t *out, int outLen, const std::uint8_t *in, int inLen, int start, int f, int px,
               const ShearStyle &style) {
    auto pixel = [&](long k) { return k >= 0 && k < inLen ? in + k * px : style.fill; };
    const int reach = f ? 1 : 0; // how far right of start + x the pixel reads
    // x in [lo, hi): every pixel read is inside the line.
    const int lo = int(std::clamp<long>(-long(start), 0, outLen));
    const int hi = int(std::clamp<long>(long(inLen) - reach - start, lo, outLen));
    // x < fillLo or x ≥ fillHi: every pixel read is fill.
    const int fillLo = int(std::clamp<long>(-long(start) - reach, 0, lo));
    const int fillHi = int(std::clamp<long>(long(inLen) - start, hi, outLen));

    fillPixels(out, style.fill, px, fillLo);
    for (int x = fillLo; x < lo; ++x)
        blend(out + std::size_t(x) * px, pixel(start + x), pixel(start + x + 1), px, f, style.sampleBytes);
    if (hi > lo) {
        const std::uint8_t *p = in + std::size_t(start + lo) * px;
        if (f == 0)
            std::memcpy(out + std::size_t(lo) * px, p, std::size_t(hi - lo) * px);
        else
            blend(out + std::size_t(lo) * px, p, p + px, std::size_t(hi - lo) * px, f, style.sampleBytes);
    }
    for (int x = hi; x < fillHi; ++x) {
        const std::uint8_t *p = pixel(start + x);
        blend(out + std::size_t(x) * px, p, f ? pixel(start + x + 1) : p, px, f, style.sampleBytes);
    }
    fillPixels(out + std::size_t(fillHi) * px, style.fill, px, outLen - fillHi);
}

// Columns of pixels of C samples of type T (C = 0: `samples` at run time), shifted in place. A
// column whose content moves up is walked downwards and one whose content moves down upwards, so
// that every pixel is read before it is overwritten. Strips of columns keep the rows they read in
// cache, and in the rows where every column of a strip reads inside the canvas the inner loop has
// no bounds tests.
template <typename T, int C>
void shearColumnsOf(const Canvas &canvas, const std::vector<Shift> &shifts, const ShearStyle &style,
                    int samples) {
    const int n = C ? C : samples;
    const int height = canvas.height;
    const std::ptrdiff_t rowSamples = std::ptrdiff_t(canvas.width) * n;
    const int reach = style.bilinear ? 1 : 0; // rows below the first one that a pixel reads
    const T *fill = reinterpret_cast<const T *>(style.fill);
    T *base = reinterpret_cast<T *>(canvas.data);

    auto blendPixel = [&](T *dst, const T *p, const T *q, unsigned f) {
        const unsigned g = 256 - f;
        for (int c = 0; c < n; ++c)
            dst[c] = T((p[c] * g + q[c] * f) >> 8);
    };
    auto edgePixel = [&](int x, int y) {
        const long row = long(y) + shifts[x].whole;
        auto pixel = [&](long r) -> const T * {
            return r >= 0 && r < height ? base + r * rowSamples + std::ptrdiff_t(x) * n : fill;
        };
        const T *p = pixel(row);
        blendPixel(base + std::ptrdiff_t(y) * rowSamples + std::ptrdiff_t(x) * n, p,
                   reach ? pixel(row + 1) : p, shifts[x].fraction);
    };
    // Columns [xa, xb) all move the same way.
    auto shiftColumns = [&](int xa, int xb) {
        int low = shifts[xa].whole, high = low;
        for (int x = xa; x < xb; ++x)
            low = std::min(low, shifts[x].whole), high = std::max(high, shifts[x].whole);
        const int inside0 = std::max(0, -low), inside1 = std::min(height, height - reach - high);
        std::uintptr_t ahead = 0; // bytes from a pixel to the one to prefetch
        auto shiftRow = [&](int y) {
            T *row = base + std::ptrdiff_t(y) * rowSamples;
            if (y < inside0 || y >= inside1) {
                for (int x = xa; x < xb; ++x)
                    edgePixel(x, y);
                return;
            }
            for (int x = xa; x < xb; ++x) {
                T *dst = row + std::ptrdiff_t(x) * n;
                const T *p = dst + shifts[x].whole * rowSamples;
                // Rows lie a page or more apart, beyond the hardware prefetcher: fetch ahead by hand
                // (integer arithmetic, since the address may lie outside the canvas; prefetches never fault).
                __builtin_prefetch(
                    reinterpret_cast<const void *>(reinterpret_cast<std::uintptr_t>(p) + ahead));
                blendPixel(dst, p, p + reach * rowSamples, shifts[x].fraction);
            }
        };
        constexpr std::ptrdiff_t kRowsAhead = 16;
        if (low >= 0) {
            ahead = std::uintptr_t(kRowsAhead * rowSamples * std::ptrdiff_t(sizeof(T)));
            for (int y = 0; y < height; ++y)
                shiftRow(y);
        } else {
            ahead = std::uintptr_t(-kRowsAhead * rowSamples * std::ptrdiff_t(sizeof(T)));
            for (int y = height - 1; y >= 0; --y)
                shiftRow(y);
        }
    };
    constexpr int kStrip = 64;
    for (int x0 = 0; x0 < canvas.width; x0 += kStrip) {
        const int x1 = std::min(canvas.width, x0 + kStrip);
        int xa = x0; // shifts are monotonic in x: at most one change of direction per strip
        for (int x = x0 + 1; x <= x1; ++x)
            if (x == x1 || (shifts[x].whole >= 0) != (shifts[xa].whole >= 0)) shiftColumns(xa, x), xa = x;
    }
}

} // namespace

void shearRows(const ConstCanvas &in, const Canvas &out, int ox, int oy, double centre, double s,
               const ShearStyle &style) {
    const int px = in.pixelBytes;
    for (int y = 0; y < out.height; ++y) {
        std::uint8_t *dst = out.data + std::size_t(y) * out.stride();
        const int row = y + oy;
        if (row < 0 || row >= in.height) {
            fillPixels(dst, style.fill, px, out.width);
            continue;
        }
        const Shift shift = splitShift(-s * (y - centre), style.bilinear);
        shiftLine(dst, out.width, in.data + std::size_t(row) * in.stride(), in.width, ox + shift.whole,
                  shift.fraction, px, style);
    }
}

void shearColumnsInPlace(const Canvas &canvas, double s, const ShearStyle &style) {
    const int centre = canvas.width >> 1;
    std::vector<Shift> shifts(canvas.width);
    for (int x = 0; x < canvas.width; ++x)
        shifts[x] = splitShift(-s * (x - centre), style.bilinear);
    const int samples = canvas.pixelBytes / style.sampleBytes;
    if (style.sampleBytes == 2) {
        switch (samples) {
        case 1:
            return shearColumnsOf<std::uint16_t, 1>(canvas, shifts, style, 1);
        case 3:
            return shearColumnsOf<std::uint16_t, 3>(canvas, shifts, style, 3);
        case 4:
            return shearColumnsOf<std::uint16_t, 4>(canvas, shifts, style, 4);
        default:
            return shearColumnsOf<std::uint16_t, 0>(canvas, shifts, style, samples);
        }
    }
    switch (samples) {
    case 1:
        return shearColumnsOf<std::uint8_t, 1>(canvas, shifts, style, 1);
    case 3:
        return shearColumnsOf<std::uint8_t, 3>(canvas, shifts, style, 3);
    case 4:
        return shearColumnsOf<std::uint8_t, 4>(canvas, shifts, style, 4);
    default:
        return shearColumnsOf<std::uint8_t, 0>(canvas, shifts, style, samples);
    }
}

} // namespace imaging
