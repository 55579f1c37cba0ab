#include <cstring>

#include "BitRows.h"
#include "TemplateCopy.h"
#include "imaging/EImageError.h"
#include "imaging/GeometryOperations.h"

namespace imaging {

CropOperation::CropOperation(int left, int top, int width, int height)
    : left_(left), top_(top), width_(width), height_(height) {}

std::unique_ptr<Image> CropOperation::createDestination() {
    const ImageHeader &h = source().header();
    // Each coordinate and size on its own: no sum may wrap a negative value into range.
    if (width_ < 1 || height_ < 1 || left_ < 0 || top_ < 0 || left_ > h.width() - width_ ||
        top_ > h.height() - height_)
        throw EImageError("Crop box outside image boundary", errOutOfBounds);
    return std::make_unique<Image>(resizedCopy(h, width_, height_));
}

void CropOperation::process() {
    const int px = source().header().storedPixelBytes();
    for (int i = 0; i < height_; ++i) {
        const std::uint8_t *src = source().line(top_ + i);
        std::uint8_t *dst = result().line(i);
        if (px == 0)
            bits::copy(dst, 0, src, left_, width_);
        else
            std::memcpy(dst, src + std::size_t(left_) * px, std::size_t(width_) * px);
    }
}

} // namespace imaging
