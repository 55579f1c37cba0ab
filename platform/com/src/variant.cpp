#include "com/variant.h"

#include "com/bstr.h"

#include <cctype>
#include <cfloat>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

void VariantInit(VARIANT* v) {
    std::memset(v, 0, sizeof *v);
    v->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANT* v) {
    if (!v) return E_INVALIDARG;
    if (v->vt & VT_ARRAY && !(v->vt & VT_BYREF)) {
        HRESULT hr = SafeArrayDestroy(v->parray);
        if (FAILED(hr)) return hr;
    } else if (v->vt == VT_BSTR) {
        SysFreeString(v->bstrVal);
    } else if ((v->vt == VT_UNKNOWN || v->vt == VT_DISPATCH) && v->punkVal) {
        v->punkVal->Release();
    }
    VariantInit(v);
    return S_OK;
}

HRESULT VariantCopy(VARIANT* dest, const VARIANT* src) {
    if (!dest || !src) return E_INVALIDARG;
    if (dest == src) return S_OK;
    VARIANT copy = *src;
    if (src->vt & VT_ARRAY && !(src->vt & VT_BYREF)) {
        HRESULT hr = SafeArrayCopy(src->parray, &copy.parray);
        if (FAILED(hr)) return hr;
    } else if (src->vt == VT_BSTR && src->bstrVal) {
        copy.bstrVal = SysAllocStringLen(src->bstrVal, SysStringLen(src->bstrVal));
        if (!copy.bstrVal) return E_OUTOFMEMORY;
    } else if ((src->vt == VT_UNKNOWN || src->vt == VT_DISPATCH) && src->punkVal) {
        src->punkVal->AddRef();
    }
    VariantClear(dest);
    *dest = copy;
    return S_OK;
}

namespace {

// A by-reference variant read through, as a non-owning view; false for an unknown type.
bool dereference(const VARIANT& v, VARIANT* view) {
    if (!(v.vt & VT_BYREF)) { *view = v; return true; }
    VARTYPE vt = v.vt & ~VT_BYREF;
    if (vt == VT_VARIANT) {
        if (v.pvarVal) return dereference(*v.pvarVal, view);
        VariantInit(view);
        return true;
    }
    VARIANT& out = *view;
    VariantInit(&out);
    out.vt = vt;
    if (vt & VT_ARRAY) { out.parray = *v.pparray; return true; }
    switch (vt) {
    case VT_UI1: out.bVal = *v.pbVal; break;
    case VT_I2: out.iVal = *v.piVal; break;
    case VT_I4: out.lVal = *v.plVal; break;
    case VT_R4: out.fltVal = *v.pfltVal; break;
    case VT_R8: out.dblVal = *v.pdblVal; break;
    case VT_BOOL: out.boolVal = *v.pboolVal; break;
    case VT_ERROR: out.scode = *v.pscode; break;
    case VT_BSTR: out.bstrVal = *v.pbstrVal; break;
    case VT_UNKNOWN: case VT_DISPATCH: out.punkVal = *v.ppunkVal; break;
    default: return false;
    }
    return true;
}

// The scalar a source variant holds: an integer, a real or a text.
struct Scalar {
    enum Kind { Integer, Real, Text } kind = Integer;
    std::int64_t integer = 0;
    double real = 0;
    std::u16string text;
    bool boolean = false;  // a VT_BOOL source: it prints as True/False
    bool empty = false;    // a VT_EMPTY source: 0, or the empty string
};

HRESULT read_scalar(const VARIANT& v, Scalar* s) {
    switch (v.vt) {
    case VT_EMPTY: s->empty = true; return S_OK;
    case VT_UI1: s->integer = v.bVal; return S_OK;
    case VT_I2: s->integer = v.iVal; return S_OK;
    case VT_I4: s->integer = v.lVal; return S_OK;
    case VT_BOOL: s->integer = v.boolVal ? -1 : 0; s->boolean = true; return S_OK;
    case VT_R4: s->kind = Scalar::Real; s->real = v.fltVal; return S_OK;
    case VT_R8: s->kind = Scalar::Real; s->real = v.dblVal; return S_OK;
    case VT_BSTR: s->kind = Scalar::Text; s->text = std::u16string(com::bstr_view(v.bstrVal)); return S_OK;
    default: return DISP_E_TYPEMISMATCH;
    }
}

bool equals_ignoring_case(const std::string& a, const char* b) {
    if (a.size() != std::strlen(b)) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

// A text as a number: surrounding blanks allowed, then an integer or a real in C notation.
HRESULT parse_number(const std::u16string& text, Scalar* s) {
    std::string narrow = com::utf16_to_utf8(text);
    std::size_t first = narrow.find_first_not_of(" \t"), last = narrow.find_last_not_of(" \t");
    if (first == std::string::npos) return DISP_E_TYPEMISMATCH;
    const char* begin = narrow.data() + first;
    const char* end = narrow.data() + last + 1;
    if (*begin == '+') ++begin;
    std::int64_t i;
    auto [p, ec] = std::from_chars(begin, end, i);
    if (ec == std::errc() && p == end) {
        s->kind = Scalar::Integer;
        s->integer = i;
        return S_OK;
    }
    double d;
    auto [q, ec2] = std::from_chars(begin, end, d);
    if (ec2 == std::errc::result_out_of_range) return DISP_E_OVERFLOW;
    if (ec2 != std::errc() || q != end || std::isnan(d) || std::isinf(d)) return DISP_E_TYPEMISMATCH;
    s->kind = Scalar::Real;
    s->real = d;
    return S_OK;
}

// An integer within [low, high]; reals round half to even, as automation does.
HRESULT to_integer(const Scalar& s, std::int64_t low, std::int64_t high, std::int64_t* out) {
    std::int64_t value;
    if (s.kind == Scalar::Real) {
        if (std::isnan(s.real)) return DISP_E_OVERFLOW;
        double r = std::nearbyint(s.real);
        if (r < static_cast<double>(low) || r > static_cast<double>(high)) return DISP_E_OVERFLOW;
        value = static_cast<std::int64_t>(r);
    } else {
        value = s.integer;
    }
    if (value < low || value > high) return DISP_E_OVERFLOW;
    *out = value;
    return S_OK;
}

std::u16string format_scalar(const Scalar& s, bool single) {
    if (s.kind == Scalar::Text) return s.text;
    if (s.empty) return u"";
    if (s.boolean) return s.integer ? u"True" : u"False";
    char buffer[64];
    std::to_chars_result r;
    if (s.kind == Scalar::Integer) r = std::to_chars(buffer, buffer + sizeof buffer, s.integer);
    else if (single) r = std::to_chars(buffer, buffer + sizeof buffer, static_cast<float>(s.real));
    else r = std::to_chars(buffer, buffer + sizeof buffer, s.real);
    return com::utf8_to_utf16(std::string(buffer, r.ptr));
}

HRESULT convert_scalar(const VARIANT& src, VARTYPE vt, VARIANT* out) {
    Scalar s;
    HRESULT hr = read_scalar(src, &s);
    if (FAILED(hr)) return hr;
    if (vt == VT_BSTR) {
        std::u16string text = format_scalar(s, src.vt == VT_R4);
        out->bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        if (!out->bstrVal) return E_OUTOFMEMORY;
        out->vt = VT_BSTR;
        return S_OK;
    }
    if (vt == VT_BOOL && s.kind == Scalar::Text) {
        std::string word = com::utf16_to_utf8(s.text);
        if (equals_ignoring_case(word, "True") || equals_ignoring_case(word, "False")) {
            out->vt = VT_BOOL;
            out->boolVal = equals_ignoring_case(word, "True") ? VARIANT_TRUE : VARIANT_FALSE;
            return S_OK;
        }
    }
    if (s.kind == Scalar::Text && FAILED(hr = parse_number(s.text, &s))) return hr;
    std::int64_t i = 0;
    switch (vt) {
    case VT_UI1:
        if (FAILED(hr = to_integer(s, 0, 255, &i))) return hr;
        out->bVal = static_cast<BYTE>(i);
        break;
    case VT_I2:
        if (FAILED(hr = to_integer(s, INT16_MIN, INT16_MAX, &i))) return hr;
        out->iVal = static_cast<SHORT>(i);
        break;
    case VT_I4:
        if (FAILED(hr = to_integer(s, INT32_MIN, INT32_MAX, &i))) return hr;
        out->lVal = static_cast<LONG>(i);
        break;
    case VT_R4: {
        double d = s.kind == Scalar::Real ? s.real : static_cast<double>(s.integer);
        if (std::isnan(d) || std::fabs(d) > FLT_MAX) return DISP_E_OVERFLOW;
        out->fltVal = static_cast<float>(d);
        break;
    }
    case VT_R8:
        out->dblVal = s.kind == Scalar::Real ? s.real : static_cast<double>(s.integer);
        break;
    case VT_BOOL:
        out->boolVal = (s.kind == Scalar::Real ? s.real != 0 : s.integer != 0) ? VARIANT_TRUE : VARIANT_FALSE;
        break;
    default:
        return DISP_E_TYPEMISMATCH;
    }
    out->vt = vt;
    return S_OK;
}

HRESULT convert_interface(const VARIANT& src, VARTYPE vt, VARIANT* out) {
    if (src.vt != VT_UNKNOWN && src.vt != VT_DISPATCH) return DISP_E_TYPEMISMATCH;
    out->vt = vt;
    out->punkVal = nullptr;
    if (!src.punkVal) return S_OK;
    void* p = nullptr;
    if (FAILED(src.punkVal->QueryInterface(vt == VT_DISPATCH ? IID_IDispatch : IID_IUnknown, &p)))
        return DISP_E_TYPEMISMATCH;
    out->punkVal = static_cast<IUnknown*>(p);
    return S_OK;
}

} // namespace

HRESULT VariantChangeType(VARIANT* dest, const VARIANT* src, USHORT, VARTYPE vt) {
    if (!dest || !src) return E_INVALIDARG;
    VARIANT view;
    if (!dereference(*src, &view)) return DISP_E_BADVARTYPE;
    VARIANT result;
    VariantInit(&result);
    HRESULT hr;
    if (vt == view.vt) {
        hr = VariantCopy(&result, &view);
    } else if (vt == VT_EMPTY) {
        hr = S_OK;
    } else if (vt == VT_UNKNOWN || vt == VT_DISPATCH) {
        hr = convert_interface(view, vt, &result);
    } else if ((vt & VT_ARRAY) || (view.vt & VT_ARRAY) || view.vt == VT_NULL || vt == VT_NULL) {
        hr = DISP_E_TYPEMISMATCH;
    } else {
        hr = convert_scalar(view, vt, &result);
    }
    if (FAILED(hr)) {
        VariantClear(&result);
        return hr;
    }
    VariantClear(dest);  // when dest is src, the source is no longer needed
    *dest = result;
    return S_OK;
}
