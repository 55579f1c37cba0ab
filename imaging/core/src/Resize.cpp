#include <array>
#include <bit>
#include <cstring>
#include <limits>

#include "BitRows.h"
#include "ResampleTaps.h"
#include "TemplateCopy.h"
#include "imaging/EImageError.h"
#include "imaging/GeometryOperations.h"

namespace imaging {

static_assert(std::endian::native == std::endian::little, "16-bit samples are read in place");

namespace {

// ---- nearest ----

template <int N>
void gatherPixels(std::uint8_t *dst, const std::uint8_t *src, const std::vector<int> &offsets) {
    for (std::size_t x = 0; x < offsets.size(); ++x)
        std::memcpy(dst + x * N, src + offsets[x], N);
}

void gatherPixels(std::uint8_t *dst, const std::uint8_t *src, const std::vector<int> &offsets, int n) {
    for (std::size_t x = 0; x < offsets.size(); ++x)
        std::memcpy(dst + x * n, src + offsets[x], n);
}

// Result pixel (x, y) is source pixel (trunc((x + 0.5) × sx), trunc((y + 0.5) × sy)).
void resizeNearest(const Image &source, Image &result) {
    const ImageHeader &s = source.header();
    const ImageHeader &d = result.header();
    const int px = s.storedPixelBytes();
    const double sx = double(s.width()) / d.width(), sy = double(s.height()) / d.height();
    std::vector<int> columns(d.width()); // source column, or its byte offset for byte pixels
    for (int x = 0; x < d.width(); ++x)
        columns[x] = std::min(int((x + 0.5) * sx), s.width() - 1) * std::max(px, 1);

    int previous = -1;
    for (int y = 0; y < d.height(); ++y) {
        const int row = std::min(int((y + 0.5) * sy), s.height() - 1);
        std::uint8_t *dst = result.line(y);
        if (row == previous) { // enlarging repeats rows: copy the one just built
            std::memcpy(dst, result.line(y - 1), d.bytesPerLine());
            continue;
        }
        previous = row;
        const std::uint8_t *src = source.line(row);
        switch (px) {
        case 0:
            for (int x = 0; x < d.width(); ++x)
                bits::set(dst, x, bits::get(src, columns[x]));
            break;
        case 1:
            gatherPixels<1>(dst, src, columns);
            break;
        case 2:
            gatherPixels<2>(dst, src, columns);
            break;
        case 3:
            gatherPixels<3>(dst, src, columns);
            break;
        case 4:
            gatherPixels<4>(dst, src, columns);
            break;
        case 6:
            gatherPixels<6>(dst, src, columns);
            break;
        case 8:
            gatherPixels<8>(dst, src, columns);
            break;
        default:
            gatherPixels(dst, src, columns, px);
        }
    }
}

// ---- bilinear ----
// 8-bit samples accumulate in float, 16-bit samples in double (float cannot hold 16-bit sums
// exactly enough). Values are truncated after adding a small bias, so that rounding in the
// weights never turns an exact level into the one below (a flat area stays flat).

template <typename T, typename Acc> inline T toSample(Acc v) {
    constexpr Acc kBias = Acc(1e-3);
    constexpr Acc kMax = Acc(std::numeric_limits<T>::max());
    v += kBias;
    return T(int(v < kMax ? v : kMax));
}

// One line along x: samples of C interleaved channels (C = 0: channels given at run time) and
// K taps (K = 0: t.taps at run time). Tap indices are pre-multiplied by the channel count.
template <typename T, typename Acc, int C, int K>
void resampleRow(T *out, const T *src, const ResampleTaps<Acc> &t, int m, int channels) {
    const int nc = C ? C : channels;
    const int nk = K ? K : t.taps;
    for (int i = 0; i < m; ++i) {
        const int *index = &t.index[std::size_t(i) * nk];
        const Acc *weight = &t.weight[std::size_t(i) * nk];
        for (int c = 0; c < nc; ++c) {
            Acc acc = 0;
            for (int k = 0; k < nk; ++k)
                acc += weight[k] * Acc(src[index[k] + c]);
            out[std::size_t(i) * nc + c] = toSample<T>(acc / t.divisor);
        }
    }
}

template <typename T, typename Acc>
void resampleRow(T *out, const T *src, const ResampleTaps<Acc> &t, int m, int channels) {
    const bool two = t.taps == 2;
    switch (channels) {
    case 1:
        return two ? resampleRow<T, Acc, 1, 2>(out, src, t, m, 1)
                   : resampleRow<T, Acc, 1, 0>(out, src, t, m, 1);
    case 3:
        return two ? resampleRow<T, Acc, 3, 2>(out, src, t, m, 3)
                   : resampleRow<T, Acc, 3, 0>(out, src, t, m, 3);
    case 4:
        return two ? resampleRow<T, Acc, 4, 2>(out, src, t, m, 4)
                   : resampleRow<T, Acc, 4, 0>(out, src, t, m, 4);
    default:
        return resampleRow<T, Acc, 0, 0>(out, src, t, m, channels);
    }
}

// Rows of the intermediate image (new width × source height), each built when first needed.
// Output rows need nondecreasing source rows, so two slots, refilling the lower one, suffice.
template <typename T, typename Acc> class IntermediateRows {
  public:
    IntermediateRows(const Image &source, const ResampleTaps<Acc> &taps, int width, int channels)
        : source_(source), taps_(taps), width_(width), channels_(channels) {
        for (auto &s : slots_)
            s.assign(std::size_t(width) * channels, 0);
    }
    const T *row(int y) {
        for (int i = 0; i < 2; ++i)
            if (rows_[i] == y) return slots_[i].data();
        const int i = rows_[0] < rows_[1] ? 0 : 1;
        resampleRow<T, Acc>(slots_[i].data(), reinterpret_cast<const T *>(source_.line(y)), taps_, width_,
                            channels_);
        rows_[i] = y;
        return slots_[i].data();
    }

  private:
    const Image &source_;
    const ResampleTaps<Acc> &taps_;
    int width_, channels_;
    std::array<std::vector<T>, 2> slots_;
    std::array<int, 2> rows_{-1, -1};
};

template <typename T, typename Acc> void resizeBilinear(const Image &source, Image &result) {
    const ImageHeader &d = result.header();
    const int channels = d.totalChannels();
    ResampleTaps<Acc> across = bilinearTaps<Acc>(source.header().width(), d.width());
    for (int &i : across.index)
        i *= channels;
    const ResampleTaps<Acc> down = bilinearTaps<Acc>(source.header().height(), d.height());
    IntermediateRows<T, Acc> rows(source, across, d.width(), channels);

    // The pass along columns runs a whole row at a time, which the compiler vectorises.
    const std::size_t count = std::size_t(d.width()) * channels;
    std::vector<Acc> acc(count);
    for (int y = 0; y < d.height(); ++y) {
        T *out = reinterpret_cast<T *>(result.line(y));
        const int *index = &down.index[std::size_t(y) * down.taps];
        const Acc *weight = &down.weight[std::size_t(y) * down.taps];
        if (down.taps == 2) {
            const T *r0 = rows.row(index[0]);
            const T *r1 = rows.row(index[1]);
            const Acc w0 = weight[0], w1 = weight[1], divisor = down.divisor;
            for (std::size_t s = 0; s < count; ++s)
                out[s] = toSample<T>((w0 * Acc(r0[s]) + w1 * Acc(r1[s])) / divisor);
            continue;
        }
        std::fill(acc.begin(), acc.end(), Acc(0));
        for (int k = 0; k < down.taps; ++k) {
            if (weight[k] == 0) continue;
            const T *r = rows.row(index[k]);
            const Acc w = weight[k];
            for (std::size_t s = 0; s < count; ++s)
                acc[s] += w * Acc(r[s]);
        }
        for (std::size_t s = 0; s < count; ++s)
            out[s] = toSample<T>(acc[s] / down.divisor);
    }
}

} // namespace

ResizeOperation::ResizeOperation(int width, int height, int interpolate)
    : width_(width), height_(height), interpolate_(interpolate) {}

std::unique_ptr<Image> ResizeOperation::createDestination() {
    const ImageHeader &h = source().header();
    if (interpolate_ != iiNearest && interpolate_ != iiBilinear)
        throw EImageError("Unknown interpolation mode", errInvalidArgument);
    if (interpolate_ == iiBilinear && h.hasPalette())
        throw EImageError("This function does not support interpolation of palette based images",
                          errNotSupported);
    if (interpolate_ == iiBilinear && h.storedPixelBytes() == 0)
        throw EImageError("This function does not support interpolation of 1 bit images", errNotSupported);
    if (width_ < 1 || height_ < 1)
        throw EImageError("The new width and height must be 1 or greater", errInvalidArgument);
    return std::make_unique<Image>(resizedCopy(h, width_, height_));
}

void ResizeOperation::process() {
    if (interpolate_ == iiNearest)
        resizeNearest(source(), result());
    else if (source().header().bytesPerSample() == 1)
        resizeBilinear<std::uint8_t, float>(source(), result());
    else
        resizeBilinear<std::uint16_t, double>(source(), result());
}

} // namespace imaging
