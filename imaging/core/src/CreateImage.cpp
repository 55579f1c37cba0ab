#include <cstring>

#include "imaging/EImageError.h"
#include "imaging/GeometryOperations.h"

namespace imaging {

CreateImageOperation::CreateImageOperation(int width, int height, int bitDepth, int colorModel)
    : width_(width), height_(height), bitDepth_(bitDepth), colorModel_(colorModel) {}

std::unique_ptr<Image> CreateImageOperation::createDestination() {
    if (bitDepth_ == 1 && colorModel_ != icGray)
        throw EImageError("Bit depth of 1 is only supported for Gray images", errInvalidArgument);
    return std::make_unique<Image>(
        ImageHeader::Create(nullptr, width_, height_, bitDepth_, colorModel_, 0, 0, 0));
}

void CreateImageOperation::process() {
    // The buffer starts at 0 (black for gray, no ink for CMY and CMYK); RGB starts white.
    if (result().header().whiteFill()) std::memset(result().data().data(), 255, result().data().size());
}

} // namespace imaging
