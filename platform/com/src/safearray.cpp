#include "com/safearray.h"

#include "com/variant.h"

#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

ULONG element_size(VARTYPE vt) {
    switch (vt) {
    case VT_UI1: return 1;
    case VT_I2: return 2;
    case VT_I4: return 4;
    case VT_R4: return 4;
    case VT_R8: return 8;
    default: return 0;
    }
}

// Element count and byte size, refusing anything that does not fit 2^31 - 1 bytes.
bool data_size(const SAFEARRAY* a, std::size_t* bytes) {
    constexpr std::size_t limit = std::numeric_limits<std::int32_t>::max();
    std::size_t total = a->cbElements;
    for (USHORT d = 0; d < a->cDims; ++d) {
        std::size_t n = a->rgsabound[d].cElements;
        if (n != 0 && total > limit / n) return false;
        total *= n;
    }
    *bytes = total;
    return true;
}

SAFEARRAY* allocate_descriptor(UINT dims) {
    std::size_t size = sizeof(SAFEARRAY) + (dims - 1) * sizeof(SAFEARRAYBOUND);
    return static_cast<SAFEARRAY*>(std::calloc(1, size));
}

} // namespace

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT dims, const SAFEARRAYBOUND* bounds) {
    ULONG size = element_size(vt);
    if (size == 0 || dims == 0 || dims > 64 || !bounds) return nullptr;
    SAFEARRAY* a = allocate_descriptor(dims);
    if (!a) return nullptr;
    a->cDims = static_cast<USHORT>(dims);
    a->cbElements = size;
    for (UINT d = 0; d < dims; ++d) a->rgsabound[dims - 1 - d] = bounds[d];  // stored last-to-first
    std::size_t bytes;
    if (!data_size(a, &bytes) || !(a->pvData = std::calloc(bytes ? bytes : 1, 1))) {
        std::free(a);
        return nullptr;
    }
    return a;
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lowerBound, ULONG elements) {
    SAFEARRAYBOUND bound{elements, lowerBound};
    return SafeArrayCreate(vt, 1, &bound);
}

HRESULT SafeArrayDestroy(SAFEARRAY* a) {
    if (!a) return S_OK;
    if (a->cLocks) return DISP_E_ARRAYISLOCKED;
    std::free(a->pvData);
    std::free(a);
    return S_OK;
}

HRESULT SafeArrayCopy(SAFEARRAY* a, SAFEARRAY** copy) {
    if (!copy) return E_POINTER;
    *copy = nullptr;
    if (!a) return S_OK;
    std::size_t bytes;
    if (!data_size(a, &bytes)) return E_INVALIDARG;
    SAFEARRAY* c = allocate_descriptor(a->cDims);
    if (!c) return E_OUTOFMEMORY;
    std::memcpy(c, a, sizeof(SAFEARRAY) + (a->cDims - 1) * sizeof(SAFEARRAYBOUND));
    c->cLocks = 0;
    c->pvData = std::malloc(bytes ? bytes : 1);
    if (!c->pvData) {
        std::free(c);
        return E_OUTOFMEMORY;
    }
    std::memcpy(c->pvData, a->pvData, bytes);
    *copy = c;
    return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* a) { return a ? a->cDims : 0; }
UINT SafeArrayGetElemsize(SAFEARRAY* a) { return a ? a->cbElements : 0; }

HRESULT SafeArrayGetLBound(SAFEARRAY* a, UINT dim, LONG* lower) {
    if (!a || !lower) return E_INVALIDARG;
    if (dim < 1 || dim > a->cDims) return DISP_E_BADINDEX;
    *lower = a->rgsabound[a->cDims - dim].lLbound;
    return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* a, UINT dim, LONG* upper) {
    if (!a || !upper) return E_INVALIDARG;
    if (dim < 1 || dim > a->cDims) return DISP_E_BADINDEX;
    const SAFEARRAYBOUND& b = a->rgsabound[a->cDims - dim];
    *upper = static_cast<LONG>(static_cast<std::int64_t>(b.lLbound) + b.cElements - 1);
    return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* a, void** data) {
    if (!a || !data) return E_INVALIDARG;
    ++a->cLocks;
    *data = a->pvData;
    return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* a) {
    if (!a) return E_INVALIDARG;
    if (a->cLocks == 0) return E_UNEXPECTED;
    --a->cLocks;
    return S_OK;
}
