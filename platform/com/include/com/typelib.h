// Type libraries: tables of each interface's members (name, DISPID, kind, parameters with types
// and directions), of enumerations and of classes, compiled into a module. The table drives
// IDispatch (com/dispatch.h), is registered under TypeLib\{LIBID}, and prints as text.
//
// A module hands its library out through the C export ComTypeLibrary, which stands for the
// type-library resource of the module file.
#pragma once

#include "com/member_call.h"
#include "com/types.h"

#include <string>
#include <utility>
#include <vector>

namespace com {

class Registry;

enum class MemberKind { Method, PropertyGet, PropertyPut };

struct MemberInfo {
    std::string name;
    DISPID dispid = 0;
    MemberKind kind = MemberKind::Method;
    std::vector<ParamInfo> params;  // an [out] parameter that is the only and last one is the retval
    MemberCall call = nullptr;      // null in source (event) interfaces: sinks implement them

    const ParamInfo* retval() const;
};

// A member implemented by the C++ member function Method; the parameter names are given, the
// types and directions come from the function's signature. A name written "mode:CounterMode"
// names a LONG parameter's enumeration.
template <auto Method, std::size_t N>
MemberInfo member(const char* name, DISPID dispid, MemberKind kind, const char* const (&names)[N]) {
    static_assert(N == MemberTraits<decltype(Method)>::arity, "one name per parameter");
    MemberInfo m{name, dispid, kind, MemberTraits<decltype(Method)>::params(), &call_member<Method>};
    name_params(m.params, names, N);
    return m;
}
template <auto Method>
MemberInfo member(const char* name, DISPID dispid, MemberKind kind = MemberKind::Method) {
    static_assert(MemberTraits<decltype(Method)>::arity == 0, "name the parameters");
    return {name, dispid, kind, {}, &call_member<Method>};
}

// Sets the names (and enumeration names) of params and marks the retval.
void name_params(std::vector<ParamInfo>& params, const char* const* names, std::size_t count);

struct EnumInfo {
    std::string name;
    std::vector<std::pair<std::string, LONG>> values;
};

struct InterfaceInfo {
    std::string name;
    IID iid;
    std::string description;
    bool dual = false;  // a vtable interface deriving from IDispatch; else a dispinterface
    std::vector<MemberInfo> members;

    const MemberInfo* find(DISPID dispid, MemberKind kind) const;
    const MemberInfo* find(std::u16string_view name) const;  // any kind, ASCII case ignored
};

struct CoClassInfo {
    std::string name;
    CLSID clsid;
    std::string description;
    const InterfaceInfo* default_interface = nullptr;
    const InterfaceInfo* source_interface = nullptr;  // events, or null
};

struct TypeLibrary {
    std::string name;
    GUID libid;
    WORD major = 1;
    WORD minor = 0;
    LCID lcid = 0;
    std::string description;
    std::vector<EnumInfo> enums;
    std::vector<const InterfaceInfo*> interfaces;
    std::vector<CoClassInfo> coclasses;

    const CoClassInfo* find_class(REFCLSID clsid) const;
    const LONG* find_enum_value(std::string_view name) const;  // an enumeration constant, any case
    std::string text() const;
};

// Writes TypeLib\{LIBID}\<major>.<minor> (the description), its <lcid in hex>\linux value
// (the module path), FLAGS and HELPDIR; unregistering removes the version key, and the LIBID
// key when it is empty.
void register_type_library(Registry& registry, const TypeLibrary& library, const std::string& module_path);
void unregister_type_library(Registry& registry, const TypeLibrary& library);

// The library exported by the module at path (which stays loaded), or null.
const TypeLibrary* load_type_library(const std::string& module_path);
// The library registered for libid, or null when it is not registered or cannot be loaded.
const TypeLibrary* load_registered_type_library(REFGUID libid);
// The library of a registered class (CLSID\{...}\TypeLib), or null.
const TypeLibrary* load_class_type_library(REFCLSID clsid);

// Compares a wide name with a table name, ignoring ASCII case as automation names do.
bool same_name(std::u16string_view wide, const std::string& name);

using ComTypeLibraryFn = const TypeLibrary* (*)();

} // namespace com
