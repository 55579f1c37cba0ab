// How a C++ member function is called through IDispatch: each parameter type knows the VARIANT
// type it travels as and whether it is [in] or [out]. call_member<&Class::Method> receives one
// VARIANT per parameter in declaration order, [in] ones already converted to that type, calls
// the method, and on success stores each [out] value into its VARIANT.
// Enumerations are declared LONG in signatures: a caller may pass any 32-bit value, and a C++
// enum without a fixed underlying type cannot hold every one.
#pragma once

#include "com/variant.h"

#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace com {

enum class ParamDirection { In, Out, RetVal };

struct ParamInfo {
    std::string name;
    VARTYPE vt = VT_EMPTY;  // VT_VARIANT: any type
    ParamDirection direction = ParamDirection::In;
    std::string type_name = {};  // an enumeration's name, for an enumeration passed as a LONG
};

using MemberCall = HRESULT (*)(void* object, VARIANT* values);

void mark_retval(std::vector<ParamInfo>& params);

namespace detail {

template <class T, VARTYPE Vt, T VARIANT::*Field>
struct InArg {
    static constexpr VARTYPE vt = Vt;
    static constexpr bool out = false;
    VARIANT& v;
    T get() const { return v.*Field; }
    void store() {}
};

template <class T, VARTYPE Vt, T VARIANT::*Field>
struct OutArg {
    static constexpr VARTYPE vt = Vt;
    static constexpr bool out = true;
    VARIANT& v;
    T value{};
    T* get() { return &value; }
    void store() { v.vt = Vt; v.*Field = value; }
};

template <class T>
struct Arg;
template <> struct Arg<LONG> : InArg<LONG, VT_I4, &VARIANT::lVal> {};
template <> struct Arg<SHORT> : InArg<SHORT, VT_I2, &VARIANT::iVal> {};
template <> struct Arg<BYTE> : InArg<BYTE, VT_UI1, &VARIANT::bVal> {};
template <> struct Arg<FLOAT> : InArg<FLOAT, VT_R4, &VARIANT::fltVal> {};
template <> struct Arg<DOUBLE> : InArg<DOUBLE, VT_R8, &VARIANT::dblVal> {};
template <> struct Arg<BSTR> : InArg<BSTR, VT_BSTR, &VARIANT::bstrVal> {};
template <> struct Arg<IUnknown*> : InArg<IUnknown*, VT_UNKNOWN, &VARIANT::punkVal> {};
template <> struct Arg<IDispatch*> : InArg<IDispatch*, VT_DISPATCH, &VARIANT::pdispVal> {};
template <> struct Arg<LONG*> : OutArg<LONG, VT_I4, &VARIANT::lVal> {};
template <> struct Arg<SHORT*> : OutArg<SHORT, VT_I2, &VARIANT::iVal> {};
template <> struct Arg<FLOAT*> : OutArg<FLOAT, VT_R4, &VARIANT::fltVal> {};
template <> struct Arg<DOUBLE*> : OutArg<DOUBLE, VT_R8, &VARIANT::dblVal> {};
template <> struct Arg<BSTR*> : OutArg<BSTR, VT_BSTR, &VARIANT::bstrVal> {};
template <> struct Arg<IDispatch**> : OutArg<IDispatch*, VT_DISPATCH, &VARIANT::pdispVal> {};

// VARIANT_BOOL is a SHORT and travels as VT_I2; a table marks boolean parameters by setting
// their ParamInfo::vt to VT_BOOL, and the dispatcher converts in both directions.

template <> struct Arg<VARIANT> {  // [in] VARIANT, passed as a view the callee must not clear
    static constexpr VARTYPE vt = VT_VARIANT;
    static constexpr bool out = false;
    VARIANT& v;
    VARIANT get() const { return v; }
    void store() {}
};
template <> struct Arg<VARIANT*> {  // [out] VARIANT: the callee initialises it
    static constexpr VARTYPE vt = VT_VARIANT;
    static constexpr bool out = true;
    VARIANT& v;
    VARIANT* get() const { return &v; }
    void store() {}
};

} // namespace detail

template <class M>
struct MemberTraits;

template <class C, class... A>
struct MemberTraits<HRESULT (C::*)(A...)> {
    static constexpr std::size_t arity = sizeof...(A);
    static std::vector<ParamInfo> params() {
        return {ParamInfo{"", detail::Arg<A>::vt,
                          detail::Arg<A>::out ? ParamDirection::Out : ParamDirection::In}...};
    }
    template <std::size_t... I>
    static HRESULT call(HRESULT (C::*method)(A...), void* object, VARIANT* values, std::index_sequence<I...>) {
        std::tuple<detail::Arg<A>...> args{detail::Arg<A>{values[I]}...};
        HRESULT hr = (static_cast<C*>(object)->*method)(std::get<I>(args).get()...);
        if (SUCCEEDED(hr)) (std::get<I>(args).store(), ...);
        return hr;
    }
};

template <auto Method>
HRESULT call_member(void* object, VARIANT* values) {
    using Traits = MemberTraits<decltype(Method)>;
    return Traits::call(Method, object, values, std::make_index_sequence<Traits::arity>{});
}

} // namespace com
