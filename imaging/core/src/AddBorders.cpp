#include <cstring>

#include "BitRows.h"
#include "PixelFill.h"
#include "TemplateCopy.h"
#include "imaging/EImageError.h"
#include "imaging/GeometryOperations.h"

namespace imaging {

AddBordersOperation::AddBordersOperation(int left, int top, int right, int bottom)
    : left_(left), top_(top), right_(right), bottom_(bottom) {}

std::unique_ptr<Image> AddBordersOperation::createDestination() {
    if (left_ < 0 || top_ < 0 || right_ < 0 || bottom_ < 0)
        throw EImageError("Border sizes must not be negative", errInvalidArgument);
    const ImageHeader &h = source().header();
    return std::make_unique<Image>(resizedCopy(h, checkedLength(std::int64_t(h.width()) + left_ + right_),
                                               checkedLength(std::int64_t(h.height()) + top_ + bottom_)));
}

void AddBordersOperation::process() {
    const ImageHeader &h = source().header();
    const int px = h.storedPixelBytes();
    const int width = result().header().width();
    const std::uint8_t *first = source().line(0);

    // One row of border colour, copied for the top and bottom rows and cut for the sides.
    std::vector<std::uint8_t> border(result().header().bytesPerLine());
    if (px == 0) {
        std::memset(border.data(), bits::get(first, 0) ? 0xFF : 0, border.size());
        if (width % 8) border.back() &= std::uint8_t(0xFF << (8 - width % 8)); // padding stays 0
    } else
        fillPixels(border.data(), first, px, width);

    for (int y = 0; y < result().header().height(); ++y) {
        std::uint8_t *dst = result().line(y);
        const int sy = y - top_;
        if (sy < 0 || sy >= h.height()) {
            std::memcpy(dst, border.data(), border.size());
        } else if (px == 0) {
            std::memcpy(dst, border.data(), border.size());
            bits::copy(dst, left_, source().line(sy), 0, h.width());
        } else {
            std::memcpy(dst, border.data(), std::size_t(left_) * px);
            std::memcpy(dst + std::size_t(left_) * px, source().line(sy), h.bytesPerLine());
            std::memcpy(dst + std::size_t(left_ + h.width()) * px, border.data(), std::size_t(right_) * px);
        }
    }
}

} // namespace imaging
