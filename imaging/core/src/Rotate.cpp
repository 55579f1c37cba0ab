#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <vector>

#include "PixelFill.h"
#include "Shear.h"
#include "TemplateCopy.h"
#include "imaging/EImageError.h"
#include "imaging/GeometryOperations.h"

namespace imaging {

namespace {

constexpr double kDegree = 0.017453292519943295;

// The angle brought into [0, 360) by one remainder, so that any finite angle ends quickly.
float reduceAngle(double angle) {
    double a = std::fmod(angle, 360.0);
    if (a < 0) a += 360.0;
    const float reduced = float(a);
    return reduced >= 360.0f ? 0.0f : reduced;
}

// Writes the source turned by quarter turns counter-clockwise (as displayed) into the canvas
// with its top left at (left, top); pixels falling outside the canvas are skipped.
void placeTurned(const Image &source, int quarters, const Canvas &canvas, int left, int top) {
    const ImageHeader &h = source.header();
    const int px = h.storedPixelBytes();
    const int tw = quarters % 2 ? h.height() : h.width();
    const int th = quarters % 2 ? h.width() : h.height();
    const int k0 = std::max(0, -top), k1 = std::min(th, canvas.height - top);
    const int j0 = std::max(0, -left), j1 = std::min(tw, canvas.width - left);
    if (k0 >= k1 || j0 >= j1) return;
    auto target = [&](int k, int j) {
        return canvas.data + std::size_t(top + k) * canvas.stride() + std::size_t(left + j) * px;
    };
    if (quarters == 0) {
        for (int k = k0; k < k1; ++k)
            std::memcpy(target(k, j0), source.line(k) + std::size_t(j0) * px, std::size_t(j1 - j0) * px);
        return;
    }
    // Block row k, column j comes from source row sr, column sc; tiles keep both sides in cache.
    constexpr int kTile = 64;
    for (int kt = k0; kt < k1; kt += kTile)
        for (int jt = j0; jt < j1; jt += kTile)
            for (int k = kt; k < std::min(k1, kt + kTile); ++k)
                for (int j = jt; j < std::min(j1, jt + kTile); ++j) {
                    int sr, sc;
                    if (quarters == 1) {
                        sr = j;
                        sc = h.width() - 1 - k;
                    } else if (quarters == 2) {
                        sr = h.height() - 1 - k;
                        sc = h.width() - 1 - j;
                    } else {
                        sr = h.height() - 1 - j;
                        sc = k;
                    }
                    std::memcpy(target(k, j), source.line(sr) + std::size_t(sc) * px, px);
                }
}

} // namespace

RotateOperation::RotateOperation(double angle, int interpolate) : angle_(angle), interpolate_(interpolate) {}

std::unique_ptr<Image> RotateOperation::createDestination() {
    const ImageHeader &h = source().header();
    if (interpolate_ != iiNearest && interpolate_ != iiBilinear)
        throw EImageError("Unknown interpolation mode", errInvalidArgument);
    if (!std::isfinite(angle_))
        throw EImageError("The rotation angle must be a finite number", errInvalidArgument);
    if (interpolate_ == iiBilinear && h.hasPalette())
        throw EImageError("This function does not support interpolation of palette based images",
                          errNotSupported);
    if (h.bitDepth() == 1) throw EImageError("This function does not support 1 bit images", errNotSupported);

    // The canvas holds the rotated corners (single precision, as the size is defined).
    const float radians = float(reduceAngle(angle_) * kDegree);
    const float c = std::cos(radians), s = std::sin(radians);
    const std::array<float, 4> xs{0.0f, float(h.width()), float(h.width()), 0.0f};
    const std::array<float, 4> ys{0.0f, 0.0f, float(h.height()), float(h.height())};
    float minX = 0, maxX = 0, minY = 0, maxY = 0;
    for (int i = 0; i < 4; ++i) {
        const float x = xs[i] * c - ys[i] * s, y = xs[i] * s + ys[i] * c;
        minX = std::min(minX, x), maxX = std::max(maxX, x), minY = std::min(minY, y),
        maxY = std::max(maxY, y);
    }
    const int width = std::max(1, checkedLength(std::int64_t(maxX - minX)));
    const int height = std::max(1, checkedLength(std::int64_t(maxY - minY)));
    return std::make_unique<Image>(resizedCopy(h, width, height));
}

void RotateOperation::process() {
    const Image &src = source();
    Image &dst = result();
    const int px = src.header().storedPixelBytes();
    const int width = dst.header().width(), height = dst.header().height();
    const std::vector<std::uint8_t> fill(src.line(0), src.line(0) + px); // the first pixel

    // Quarter turns first, so that the shears turn by at most 45 degrees either way.
    const float a = reduceAngle(angle_);
    const int quarters = a < 45 ? 0 : a < 135 ? 1 : a < 225 ? 2 : a < 315 ? 3 : 0;
    const float residual = a < 315 ? a - 90.0f * quarters : a - 360.0f;
    const double theta = residual * kDegree;
    const int tw = quarters % 2 ? src.header().height() : src.header().width();
    const int th = quarters % 2 ? src.header().width() : src.header().height();
    const int left = (width - tw) / 2, top = (height - th) / 2;

    const Canvas out{dst.data().data(), width, height, px};
    if (std::fabs(theta) <= 0.00001) {
        fillPixels(out.data, fill.data(), px, width * height);
        placeTurned(src, quarters, out, left, top);
        return;
    }

    // Rotation counter-clockwise by theta as three shears: rows by tan(theta / 2), columns by
    // -sin(theta), rows again. The shapes in between can reach beyond the result (a 100 × 10 image
    // at 45 degrees puts a 10 × 100 block into 77 × 77), so the middle shear runs on a work canvas
    // padded to hold every intermediate corner and centred like the result; the last shear writes
    // the result's window of it.
    const double rowShear = std::tan(theta / 2), columnShear = -std::sin(theta);
    const double cx = width >> 1, cy = height >> 1;
    std::array<double, 4> xs{double(left), double(left + tw), double(left + tw), double(left)};
    std::array<double, 4> ys{double(top), double(top), double(top + th), double(top + th)};
    double minX = left, maxX = left + tw, minY = top, maxY = top + th;
    for (int i = 0; i < 4; ++i)
        xs[i] += rowShear * (ys[i] - cy);
    for (int i = 0; i < 4; ++i)
        ys[i] += columnShear * (xs[i] - cx);
    for (int i = 0; i < 4; ++i)
        minX = std::min(minX, xs[i]), maxX = std::max(maxX, xs[i]), minY = std::min(minY, ys[i]),
        maxY = std::max(maxY, ys[i]);
    const int padX = int(std::ceil(std::max({0.0, -minX, maxX - width}))) + 2;
    const int padY = int(std::ceil(std::max({0.0, -minY, maxY - height}))) + 2;
    // The work canvas obeys the same size limit as images.
    Image work(resizedCopy(dst.header(), checkedLength(std::int64_t(width) + 2 * padX),
                           checkedLength(std::int64_t(height) + 2 * padY)));
    const Canvas canvas{work.data().data(), work.header().width(), work.header().height(), px};

    // The turned block is the source itself, or a copy turned by the quarter turns.
    std::unique_ptr<Image> turned;
    ConstCanvas block{src.data().data(), tw, th, px};
    if (quarters != 0) {
        turned = std::make_unique<Image>(resizedCopy(src.header(), tw, th));
        placeTurned(src, quarters, Canvas{turned->data().data(), tw, th, px}, 0, 0);
        block.data = turned->data().data();
    }

    const ShearStyle style{fill.data(), src.header().bytesPerSample(), interpolate_ == iiBilinear};
    shearRows(block, canvas, -(padX + left), -(padY + top), cy + padY, rowShear, style);
    shearColumnsInPlace(canvas, columnShear, style);
    shearRows(ConstCanvas{canvas.data, canvas.width, canvas.height, px}, out, padX, padY, cy, rowShear,
              style);
}

} // namespace imaging
