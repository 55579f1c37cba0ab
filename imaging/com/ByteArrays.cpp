#include "ByteArrays.h"

#include "imaging/EImageError.h"

#include <cstring>

using imaging::EImageError;

void makeByteArray(std::span<const std::uint8_t> bytes, VARIANT* out) {
    VariantInit(out);
    SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(bytes.size()));
    if (!array) throw EImageError("Not enough memory for the byte array", imaging::errUnknown);
    if (!bytes.empty()) std::memcpy(array->pvData, bytes.data(), bytes.size());
    out->vt = VT_ARRAY | VT_UI1;
    out->parray = array;
}

std::span<const std::uint8_t> bytesOf(const VARIANT& data) {
    if (data.vt != (VT_ARRAY | VT_UI1) || (data.parray && SafeArrayGetElemsize(data.parray) != 1)) throw EImageError("Invalid data - byte array required", imaging::errInvalidArgument);
    if (SafeArrayGetDim(data.parray) != 1)
        throw EImageError("Invalid data - one dimensional array required", imaging::errInvalidArgument);
    return {static_cast<const std::uint8_t*>(data.parray->pvData), data.parray->rgsabound[0].cElements};
}

std::span<const std::uint8_t> byteArrayOf(const VARIANT& data, std::int64_t expected, const char* lengthMessage) {
    std::span<const std::uint8_t> bytes = bytesOf(data);
    LONG lower = 0, upper = 0;
    SafeArrayGetLBound(data.parray, 1, &lower);
    SafeArrayGetUBound(data.parray, 1, &upper);
    if (lower != 0 || std::int64_t(upper) + 1 != expected) throw EImageError(lengthMessage, imaging::errInvalidArgument);
    return bytes;
}
