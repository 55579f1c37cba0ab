#include "com/dispatch.h"

#include "com/bstr.h"
#include "com/errorinfo.h"

#include <cstring>
#include <vector>

using com::MemberInfo;
using com::MemberKind;
using com::ParamDirection;

HRESULT DispGetIDsOfNames(const com::InterfaceInfo& iface, LPOLESTR* names, UINT count, DISPID* ids) {
    if (!names || !ids) return E_POINTER;
    if (count == 0) return S_OK;
    const MemberInfo* m = names[0] ? iface.find(names[0]) : nullptr;
    HRESULT hr = m ? S_OK : DISP_E_UNKNOWNNAME;
    ids[0] = m ? m->dispid : DISPID_UNKNOWN;
    for (UINT i = 1; i < count; ++i) {
        ids[i] = DISPID_UNKNOWN;
        for (std::size_t k = 0; m && names[i] && k < m->params.size(); ++k)
            if (com::same_name(names[i], m->params[k].name)) ids[i] = static_cast<DISPID>(k);
        if (ids[i] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

namespace {

// An [in] argument as the parameter's type; a VARIANT parameter takes the argument as given.
HRESULT convert_in(const VARIANT& arg, VARTYPE vt, VARIANT* value) {
    if (vt != VT_VARIANT) return VariantChangeType(value, &arg, 0, vt);
    const VARIANT* given = &arg;
    while (given->vt == (VT_BYREF | VT_VARIANT) && given->pvarVal) given = given->pvarVal;
    return VariantCopy(value, given);
}

// Moves an [out] value into the caller's by-reference argument.
HRESULT store_out(VARIANT& target, VARIANT& value) {
    if (target.vt == (VT_BYREF | VT_VARIANT)) {
        VariantClear(target.pvarVal);
        *target.pvarVal = value;
        VariantInit(&value);
        return S_OK;
    }
    VARTYPE vt = target.vt & ~VT_BYREF;
    com::Variant converted;
    HRESULT hr = VariantChangeType(&converted, &value, 0, vt);
    if (FAILED(hr)) return hr;
    switch (vt) {
    case VT_UI1: *target.pbVal = converted.bVal; break;
    case VT_I2: *target.piVal = converted.iVal; break;
    case VT_I4: *target.plVal = converted.lVal; break;
    case VT_R4: *target.pfltVal = converted.fltVal; break;
    case VT_R8: *target.pdblVal = converted.dblVal; break;
    case VT_BOOL: *target.pboolVal = converted.boolVal; break;
    case VT_BSTR:
        SysFreeString(*target.pbstrVal);
        *target.pbstrVal = converted.bstrVal;
        VariantInit(&converted);
        break;
    default: return DISP_E_TYPEMISMATCH;
    }
    return S_OK;
}

// A failed member: its error object, if it left one, becomes the exception information.
HRESULT report_failure(HRESULT hr, EXCEPINFO* exception) {
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) != S_OK) return hr;
    if (!exception) {
        SetErrorInfo(0, info);  // left for the caller to take
        info->Release();
        return hr;
    }
    std::memset(exception, 0, sizeof *exception);
    info->GetSource(&exception->bstrSource);
    info->GetDescription(&exception->bstrDescription);
    exception->scode = hr;
    info->Release();
    return DISP_E_EXCEPTION;
}

const MemberInfo* find_member(const com::InterfaceInfo& iface, DISPID id, WORD flags) {
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) return iface.find(id, MemberKind::PropertyPut);
    const MemberInfo* m = nullptr;
    if (flags & DISPATCH_METHOD) m = iface.find(id, MemberKind::Method);
    if (!m && (flags & DISPATCH_PROPERTYGET)) m = iface.find(id, MemberKind::PropertyGet);
    return m;
}

struct Values {
    std::vector<VARIANT> items;
    explicit Values(std::size_t n) : items(n) {
        for (VARIANT& v : items) VariantInit(&v);
    }
    ~Values() {
        for (VARIANT& v : items) VariantClear(&v);
    }
};

} // namespace

HRESULT DispInvoke(void* object, const com::InterfaceInfo& iface, DISPID id, WORD flags, DISPPARAMS* params,
                   VARIANT* result, EXCEPINFO* exception, UINT* argError) {
    if (!params || (params->cArgs && !params->rgvarg)) return E_INVALIDARG;
    const MemberInfo* m = find_member(iface, id, flags);
    if (!m || !m->call) return DISP_E_MEMBERNOTFOUND;
    if (m->kind == MemberKind::PropertyPut) {
        if (params->cNamedArgs != 1 || !params->rgdispidNamedArgs || params->rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            return DISP_E_PARAMNOTFOUND;
    } else if (params->cNamedArgs != 0) {
        return DISP_E_NONAMEDARGS;
    }

    // The caller passes every [in] argument, and either all [out] ones (by reference) or none.
    std::size_t ins = 0, outs = 0;
    for (const com::ParamInfo& p : m->params) {
        ins += p.direction == ParamDirection::In;
        outs += p.direction == ParamDirection::Out;
    }
    bool with_outs = params->cArgs == ins + outs;
    if (!with_outs && params->cArgs != ins) return DISP_E_BADPARAMCOUNT;

    std::size_t n = m->params.size();
    Values values(n);
    std::vector<VARIANT*> caller_out(n, nullptr);
    UINT next = 0;
    for (std::size_t k = 0; k < n; ++k) {
        const com::ParamInfo& p = m->params[k];
        if (p.direction == ParamDirection::RetVal || (p.direction == ParamDirection::Out && !with_outs)) continue;
        UINT slot = params->cArgs - 1 - next++;
        VARIANT& arg = params->rgvarg[slot];
        HRESULT hr = S_OK;
        if (p.direction == ParamDirection::Out) {
            if (arg.vt & VT_BYREF) caller_out[k] = &arg;
            else hr = DISP_E_TYPEMISMATCH;
        } else {
            hr = convert_in(arg, p.vt, &values.items[k]);
        }
        if (FAILED(hr)) {
            if (argError) *argError = slot;
            return hr;
        }
    }

    SetErrorInfo(0, nullptr);  // a stale error object must not be taken for this call's
    HRESULT hr = m->call(object, values.items.data());
    if (FAILED(hr)) return report_failure(hr, exception);

    for (std::size_t k = 0; k < n; ++k) {
        const com::ParamInfo& p = m->params[k];
        if (p.direction == ParamDirection::In) continue;
        VARIANT& value = values.items[k];
        if (p.vt != VT_VARIANT && value.vt != p.vt && FAILED(hr = VariantChangeType(&value, &value, 0, p.vt)))
            return hr;
        if (p.direction == ParamDirection::RetVal && result) {
            *result = value;
            VariantInit(&value);
        } else if (caller_out[k] && FAILED(hr = store_out(*caller_out[k], value))) {
            return hr;
        }
    }
    return S_OK;
}
