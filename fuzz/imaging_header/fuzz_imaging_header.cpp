// Any bytes given to deserializeHeader either make a header that serializes back to the same
// bytes, or are refused with an EImageError. Small images built from an accepted header also go
// through a few operations, so that unusual layouts (1-bit indexed, many channels) are exercised.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "imaging/EImageError.h"
#include "imaging/GeometryOperations.h"
#include "imaging/HeaderSerialization.h"

using namespace imaging;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    try {
        const ImageHeader header = deserializeHeader(bytes);
        const std::vector<std::uint8_t> again = serializeHeader(header);
        if (again.size() != size || !std::equal(again.begin(), again.end(), data)) std::abort();
        if (header.pixelBytes() > 65536) return 0;
        Image image(header);
        for (std::size_t i = 0; i < image.data().size(); ++i)
            image.data()[i] = std::uint8_t(i * 37);
        FlipXOperation().apply(&image);
        CropOperation(header.width() / 3, header.height() / 3, (header.width() + 1) / 2,
                      (header.height() + 1) / 2)
            .apply(&image);
        ResizeOperation(header.width() / 2 + 1, header.height() + 1, iiNearest).apply(&image);
        try {
            RotateOperation(double(header.width() % 360) + 0.5, iiBilinear).apply(&image);
        } catch (const EImageError &) { // 1-bit and indexed images are refused
        }
    } catch (const EImageError &) {
    }
    return 0;
}
