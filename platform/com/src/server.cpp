#include "com/server.h"

#include "com/registry.h"
#include "com/typelib.h"

#include <dlfcn.h>
#include <filesystem>

namespace com {

std::string module_path(const void* address) {
    Dl_info info{};
    if (!dladdr(address, &info) || !info.dli_fname) return {};
    std::error_code ec;
    auto path = std::filesystem::canonical(info.dli_fname, ec);
    return ec ? std::string(info.dli_fname) : path.string();
}

void register_class(Registry& registry, const ClassRegistration& entry, const std::string& module_path) {
    std::string clsid = format_guid(entry.clsid);
    registry.set_value(entry.prog_id, "", entry.description);
    registry.set_value(entry.prog_id + "\\CLSID", "", clsid);
    registry.set_value(entry.version_independent_prog_id, "", entry.description);
    registry.set_value(entry.version_independent_prog_id + "\\CLSID", "", clsid);
    registry.set_value(entry.version_independent_prog_id + "\\CurVer", "", entry.prog_id);
    std::string key = "CLSID\\" + clsid;
    registry.set_value(key, "", entry.description);
    registry.set_value(key + "\\ProgID", "", entry.prog_id);
    registry.set_value(key + "\\VersionIndependentProgID", "", entry.version_independent_prog_id);
    registry.create_key(key + "\\Programmable");
    registry.set_value(key + "\\InprocServer32", "", module_path);
    registry.set_value(key + "\\InprocServer32", "ThreadingModel", entry.threading_model);
    registry.set_value(key + "\\TypeLib", "", format_guid(entry.libid));
}

void unregister_class(Registry& registry, const ClassRegistration& entry) {
    registry.delete_tree("CLSID\\" + format_guid(entry.clsid));
    registry.delete_tree(entry.prog_id);
    registry.delete_tree(entry.version_independent_prog_id);
}

HRESULT update_registry(const std::function<void(Registry&)>& change) {
    try {
        Registry::update(change);
        return S_OK;
    } catch (const RegistryError&) {
        return REGDB_E_WRITEREGDB;
    }
}

HRESULT register_server(const ClassRegistration& entry, const TypeLibrary& library, const void* address) {
    std::string path = module_path(address);
    return update_registry([&](Registry& registry) {
        register_class(registry, entry, path);
        register_type_library(registry, library, path);
    });
}

HRESULT unregister_server(const ClassRegistration& entry, const TypeLibrary& library) {
    return update_registry([&](Registry& registry) {
        unregister_class(registry, entry);
        unregister_type_library(registry, library);
    });
}

} // namespace com
