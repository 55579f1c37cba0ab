#include "imaging/ImageOperation.h"

#include "imaging/EImageError.h"

namespace imaging {

std::unique_ptr<Image> ImageOperation::apply(const Image *source) {
    source_ = source;
    try {
        result_ = createDestination();
        prepare();
        process();
    } catch (...) {
        result_.reset();
        throw;
    }
    return std::move(result_);
}

const Image &ImageOperation::source() const {
    if (!source_) throw EImageError("No image loaded", errNoImage);
    return *source_;
}

std::unique_ptr<Image> ImageOperation::createDestination() {
    const ImageHeader &h = source().header();
    return std::make_unique<Image>(ImageHeader::Create(&h, h.width(), h.height(), h.bitDepth(),
                                                       h.colorModel(), h.paletteFlag(), h.paletteEntries(),
                                                       h.extraChannels()));
}

void ImageOperation::process() {
    for (int y = 0; y < result().header().height(); ++y)
        transformLine(result().line(y), source().line(y), y);
}

void ImageOperation::transformLine(std::uint8_t *, const std::uint8_t *, int) {}

} // namespace imaging
