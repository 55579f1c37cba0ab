// VARIANT: a tagged value of one of the automation types, and its conversions.
#pragma once

#include "com/interfaces.h"
#include "com/safearray.h"
#include "com/types.h"

enum VARENUM : VARTYPE {
    VT_EMPTY = 0,
    VT_NULL = 1,
    VT_I2 = 2,
    VT_I4 = 3,
    VT_R4 = 4,
    VT_R8 = 5,
    VT_BSTR = 8,
    VT_DISPATCH = 9,
    VT_ERROR = 10,
    VT_BOOL = 11,
    VT_VARIANT = 12,  // only with VT_BYREF, or as a parameter type meaning "any"
    VT_UNKNOWN = 13,
    VT_UI1 = 17,
    VT_ARRAY = 0x2000,
    VT_BYREF = 0x4000,
    VT_TYPEMASK = 0x0FFF,
};

struct VARIANT {
    VARTYPE vt;
    WORD wReserved1;
    WORD wReserved2;
    WORD wReserved3;
    union {
        BYTE bVal;
        SHORT iVal;
        LONG lVal;
        FLOAT fltVal;
        DOUBLE dblVal;
        VARIANT_BOOL boolVal;
        SCODE scode;
        BSTR bstrVal;
        IUnknown* punkVal;
        IDispatch* pdispVal;
        SAFEARRAY* parray;
        BYTE* pbVal;
        SHORT* piVal;
        LONG* plVal;
        FLOAT* pfltVal;
        DOUBLE* pdblVal;
        VARIANT_BOOL* pboolVal;
        SCODE* pscode;
        BSTR* pbstrVal;
        IUnknown** ppunkVal;
        IDispatch** ppdispVal;
        SAFEARRAY** pparray;
        VARIANT* pvarVal;
    };
};
using VARIANTARG = VARIANT;

constexpr USHORT VARIANT_ALPHABOOL = 0x2;  // accepted; booleans always become "True"/"False"

void VariantInit(VARIANT* v);
HRESULT VariantClear(VARIANT* v);                        // frees what the variant owns, then VT_EMPTY
HRESULT VariantCopy(VARIANT* dest, const VARIANT* src);  // deep copy; dest is cleared first
// Converts among VT_EMPTY, VT_I2, VT_I4, VT_R4, VT_R8, VT_BOOL, VT_BSTR, VT_UI1 (and
// VT_DISPATCH -> VT_UNKNOWN). Out of range: DISP_E_OVERFLOW; not a number: DISP_E_TYPEMISMATCH.
// A by-reference source is read through. dest may be src.
HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, USHORT flags, VARTYPE vt);

namespace com {

// Owns one VARIANT and clears it.
class Variant : public VARIANT {
public:
    Variant() { VariantInit(this); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { VariantClear(this); }
};

} // namespace com
