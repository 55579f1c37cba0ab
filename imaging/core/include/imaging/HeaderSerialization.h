// The serialized header: how a header travels between two imaging objects (packed,
// little-endian; layout in the README).
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "imaging/ImageHeader.h"

namespace imaging {

// The serialized bytes, exactly as many as the header needs.
std::vector<std::uint8_t> serializeHeader(const ImageHeader &header);

// Rebuilds a header from untrusted bytes; anything malformed is an EImageError (0x201).
ImageHeader deserializeHeader(std::span<const std::uint8_t> bytes);

} // namespace imaging
