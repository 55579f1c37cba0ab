#include "com/typelib.h"

#include "com/bstr.h"
#include "com/registry.h"

#include <cstdio>
#include <dlfcn.h>
#include <filesystem>

namespace com {

bool same_name(std::u16string_view wide, const std::string& name) {
    if (wide.size() != name.size()) return false;
    for (std::size_t i = 0; i < name.size(); ++i) {
        char16_t a = wide[i];
        char b = name[i];
        if (a >= u'A' && a <= u'Z') a = static_cast<char16_t>(a - u'A' + u'a');
        if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
        if (a != static_cast<unsigned char>(b)) return false;
    }
    return true;
}

namespace {

const char* type_name(VARTYPE vt) {
    switch (vt) {
    case VT_UI1: return "unsigned char";
    case VT_I2: return "short";
    case VT_I4: return "long";
    case VT_R4: return "float";
    case VT_R8: return "double";
    case VT_BSTR: return "BSTR";
    case VT_BOOL: return "VARIANT_BOOL";
    case VT_UNKNOWN: return "IUnknown*";
    case VT_DISPATCH: return "IDispatch*";
    case VT_VARIANT: return "VARIANT";
    default: return "?";
    }
}

std::string version_key(const TypeLibrary& library) {
    return "TypeLib\\" + format_guid(library.libid) + '\\' + std::to_string(library.major) + '.' +
           std::to_string(library.minor);
}

} // namespace

void mark_retval(std::vector<ParamInfo>& params) {
    int outs = 0;
    for (const ParamInfo& p : params) outs += p.direction != ParamDirection::In;
    if (outs == 1 && params.back().direction == ParamDirection::Out) params.back().direction = ParamDirection::RetVal;
}

void name_params(std::vector<ParamInfo>& params, const char* const* names, std::size_t count) {
    for (std::size_t i = 0; i < count && i < params.size(); ++i) {
        std::string name = names[i];
        std::size_t colon = name.find(':');
        params[i].name = name.substr(0, colon);
        if (colon != std::string::npos) params[i].type_name = name.substr(colon + 1);
    }
    mark_retval(params);
}

const ParamInfo* MemberInfo::retval() const {
    return !params.empty() && params.back().direction == ParamDirection::RetVal ? &params.back() : nullptr;
}

const MemberInfo* InterfaceInfo::find(DISPID dispid, MemberKind kind) const {
    for (const MemberInfo& m : members)
        if (m.dispid == dispid && m.kind == kind) return &m;
    return nullptr;
}

const MemberInfo* InterfaceInfo::find(std::u16string_view name) const {
    for (const MemberInfo& m : members)
        if (same_name(name, m.name)) return &m;
    return nullptr;
}

const CoClassInfo* TypeLibrary::find_class(REFCLSID clsid) const {
    for (const CoClassInfo& c : coclasses)
        if (c.clsid == clsid) return &c;
    return nullptr;
}

const LONG* TypeLibrary::find_enum_value(std::string_view name) const {
    for (const EnumInfo& e : enums)
        for (const auto& [constant, value] : e.values)
            if (same_name(utf8_to_utf16(name), constant)) return &value;
    return nullptr;
}

std::string TypeLibrary::text() const {
    char lcid_text[16];
    std::snprintf(lcid_text, sizeof lcid_text, "0x%04X", lcid);
    std::string out = "library " + name + ' ' + format_guid(libid) + " version " + std::to_string(major) + '.' +
                      std::to_string(minor) + " lcid " + lcid_text + " \"" + description + "\"\n";
    for (const EnumInfo& e : enums) {
        out += "\nenum " + e.name + '\n';
        for (const auto& [constant, value] : e.values) out += "  " + constant + " = " + std::to_string(value) + '\n';
    }
    for (const InterfaceInfo* i : interfaces) {
        out += '\n' + std::string(i->dual ? "interface " : "dispinterface ") + i->name + ' ' + format_guid(i->iid) +
               " \"" + i->description + "\"\n";
        for (const MemberInfo& m : i->members) {
            const char* kind = m.kind == MemberKind::PropertyGet ? "propget "
                               : m.kind == MemberKind::PropertyPut ? "propput "
                                                                   : "";
            out += "  [" + std::to_string(m.dispid) + "] " + kind + m.name + '(';
            for (std::size_t k = 0; k < m.params.size(); ++k) {
                const ParamInfo& p = m.params[k];
                const char* direction = p.direction == ParamDirection::In    ? "[in] "
                                        : p.direction == ParamDirection::Out ? "[out] "
                                                                             : "[out, retval] ";
                out += (k ? ", " : "") + std::string(direction) + (p.type_name.empty() ? type_name(p.vt) : p.type_name) +
                       (p.direction == ParamDirection::In ? " " : "* ") + p.name;
            }
            out += ")\n";
        }
    }
    for (const CoClassInfo& c : coclasses) {
        out += "\ncoclass " + c.name + ' ' + format_guid(c.clsid) + " \"" + c.description + "\"\n";
        if (c.default_interface) out += "  [default] interface " + c.default_interface->name + '\n';
        if (c.source_interface) out += "  [default, source] dispinterface " + c.source_interface->name + '\n';
    }
    return out;
}

void register_type_library(Registry& registry, const TypeLibrary& library, const std::string& module_path) {
    std::string key = version_key(library);
    registry.set_value(key, "", library.description);
    char lcid[16];
    std::snprintf(lcid, sizeof lcid, "%X", library.lcid);
    registry.set_value(key + '\\' + lcid + "\\linux", "", module_path);
    registry.set_value(key + "\\FLAGS", "", "0");
    registry.set_value(key + "\\HELPDIR", "", std::filesystem::path(module_path).parent_path().string());
}

void unregister_type_library(Registry& registry, const TypeLibrary& library) {
    registry.delete_tree(version_key(library));
    std::string libid_key = "TypeLib\\" + format_guid(library.libid);
    if (registry.subkeys(libid_key).empty()) registry.delete_tree(libid_key);
}

const TypeLibrary* load_type_library(const std::string& module_path) {
    void* handle = dlopen(module_path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) return nullptr;
    auto entry = reinterpret_cast<ComTypeLibraryFn>(dlsym(handle, "ComTypeLibrary"));
    if (!entry) {
        dlclose(handle);
        return nullptr;
    }
    return entry();  // the handle stays open: the table lives in the module
}

const TypeLibrary* load_registered_type_library(REFGUID libid) {
    try {
        Registry registry = Registry::load();
        std::string libid_key = "TypeLib\\" + format_guid(libid);
        for (const std::string& version : registry.subkeys(libid_key)) {
            std::string version_key = libid_key + '\\' + version;
            for (const std::string& lcid : registry.subkeys(version_key)) {
                if (auto path = registry.value(version_key + '\\' + lcid + "\\linux")) return load_type_library(*path);
            }
        }
    } catch (const RegistryError&) {
    }
    return nullptr;
}

const TypeLibrary* load_class_type_library(REFCLSID clsid) {
    try {
        auto libid = Registry::load().value("CLSID\\" + format_guid(clsid) + "\\TypeLib");
        auto guid = libid ? parse_guid(*libid) : std::nullopt;
        return guid ? load_registered_type_library(*guid) : nullptr;
    } catch (const RegistryError&) {
        return nullptr;
    }
}

} // namespace com
