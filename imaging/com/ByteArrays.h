// Pixel and palette bytes cross the interface as a VARIANT of type VT_ARRAY | VT_UI1 holding a
// one-dimensional SAFEARRAY of bytes with lower bound 0.
#pragma once

#include "com/variant.h"

#include <cstdint>
#include <span>

// Fills out (initialised first) with a byte array holding a copy of bytes.
void makeByteArray(std::span<const std::uint8_t> bytes, VARIANT* out);

// The bytes of data, which must be exactly VT_ARRAY | VT_UI1 (no by-reference form), one
// dimension, lower bound 0 and expected elements; otherwise an EImageError (0x201) with the
// matching message, lengthMessage for a wrong lower bound or count.
std::span<const std::uint8_t> byteArrayOf(const VARIANT& data, std::int64_t expected, const char* lengthMessage);

// All bytes of a one-dimensional byte array, whatever its length (the type and dimension checks
// of byteArrayOf).
std::span<const std::uint8_t> bytesOf(const VARIANT& data);
