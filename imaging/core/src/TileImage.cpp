#include <algorithm>
#include <cstring>

#include "BitRows.h"
#include "TemplateCopy.h"
#include "imaging/EImageError.h"
#include "imaging/GeometryOperations.h"

namespace imaging {

TileImageOperation::TileImageOperation(int width, int height) : width_(width), height_(height) {}

std::unique_ptr<Image> TileImageOperation::createDestination() {
    if (width_ < 1 || height_ < 1) throw EImageError("Tile cannot have negative size values", errOutOfBounds);
    return std::make_unique<Image>(resizedCopy(source().header(), width_, height_));
}

void TileImageOperation::process() {
    const ImageHeader &h = source().header();
    const int px = h.storedPixelBytes();
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t *src = source().line(y % h.height());
        std::uint8_t *dst = result().line(y);
        for (std::int64_t x = 0; x < width_; x += h.width()) { // 64 bits: x + width may pass INT_MAX
            const int n = int(std::min<std::int64_t>(h.width(), width_ - x));
            if (px == 0)
                bits::copy(dst, int(x), src, 0, n);
            else
                std::memcpy(dst + std::size_t(x) * px, src, std::size_t(n) * px);
        }
    }
}

} // namespace imaging
