// Shorthand for the template copies that geometry operations make.
#pragma once

#include "imaging/ImageHeader.h"

namespace imaging {

// The header h with a new size and every other attribute kept.
inline ImageHeader resizedCopy(const ImageHeader &h, int width, int height) {
    return ImageHeader::Create(&h, width, height, h.bitDepth(), h.colorModel(), h.paletteFlag(),
                               h.paletteEntries(), h.extraChannels());
}

} // namespace imaging

#include <climits>
#include <cstdint>

#include "imaging/EImageError.h"

namespace imaging {

// A width or height computed in 64 bits; past the int range it is refused like any other size
// that is too large.
inline int checkedLength(std::int64_t length) {
    if (length > INT_MAX)
        throw EImageError("Image too large: the pixel buffer would exceed 2147483647 bytes",
                          errInvalidArgument);
    return static_cast<int>(length);
}

} // namespace imaging
