#include "com/activation.h"

#include "com/bstr.h"
#include "com/errorinfo.h"
#include "com/registry.h"

#include <dlfcn.h>
#include <map>
#include <mutex>
#include <optional>

namespace {

thread_local int apartment_depth = 0;  // CoInitialize calls not yet balanced on this thread

struct LoadedModule {
    void* handle;
    com::DllGetClassObjectFn get_class_object;
    com::DllCanUnloadNowFn can_unload_now;
};

std::mutex modules_mutex;
std::map<std::string, LoadedModule>& loaded_modules() {
    static auto* modules = new std::map<std::string, LoadedModule>;  // lives as long as the process
    return *modules;
}

HRESULT load_module(const std::string& path, LoadedModule* module) {
    std::lock_guard lock(modules_mutex);
    auto& modules = loaded_modules();
    if (auto it = modules.find(path); it != modules.end()) {
        *module = it->second;
        return S_OK;
    }
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) return CO_E_DLLNOTFOUND;
    LoadedModule m{handle, reinterpret_cast<com::DllGetClassObjectFn>(dlsym(handle, "DllGetClassObject")),
                   reinterpret_cast<com::DllCanUnloadNowFn>(dlsym(handle, "DllCanUnloadNow"))};
    if (!m.get_class_object) {
        dlclose(handle);
        return CO_E_ERRORINDLL;
    }
    modules.emplace(path, m);
    *module = m;
    return S_OK;
}

} // namespace

HRESULT CoInitialize(void*) {
    return apartment_depth++ == 0 ? S_OK : S_FALSE;
}

void CoUninitialize() {
    if (apartment_depth == 0) return;
    if (--apartment_depth == 0) {
        SetErrorInfo(0, nullptr);
        CoFreeUnusedLibraries();
    }
}

HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid) {
    if (!text || !clsid) return E_INVALIDARG;
    auto guid = com::parse_guid(com::utf16_to_utf8(text));
    if (!guid) return CO_E_CLASSSTRING;
    *clsid = *guid;
    return S_OK;
}

HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid) {
    if (!progId || !clsid) return E_INVALIDARG;
    std::string name = com::utf16_to_utf8(progId);
    try {
        auto value = com::Registry::load().value(name + "\\CLSID");
        if (!value || name.empty()) return CO_E_CLASSSTRING;
        auto guid = com::parse_guid(*value);
        if (!guid) return CO_E_CLASSSTRING;
        *clsid = *guid;
        return S_OK;
    } catch (const com::RegistryError&) {
        return REGDB_E_READREGDB;
    }
}

HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, void*, REFIID riid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (apartment_depth == 0) return CO_E_NOTINITIALIZED;
    if (!(context & CLSCTX_INPROC_SERVER)) return REGDB_E_CLASSNOTREG;
    std::optional<std::string> path;
    try {
        path = com::Registry::load().value("CLSID\\" + com::format_guid(clsid) + "\\InprocServer32");
    } catch (const com::RegistryError&) {
        return REGDB_E_READREGDB;
    }
    if (!path || path->empty()) return REGDB_E_CLASSNOTREG;
    LoadedModule module;
    HRESULT hr = load_module(*path, &module);
    if (FAILED(hr)) return hr;
    return module.get_class_object(clsid, riid, object);
}

HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID riid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    IClassFactory* factory = nullptr;
    HRESULT hr = CoGetClassObject(clsid, context, nullptr, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(hr)) return hr;
    hr = factory->CreateInstance(outer, riid, object);
    factory->Release();
    return hr;
}

void CoFreeUnusedLibraries() {
    std::lock_guard lock(modules_mutex);
    auto& modules = loaded_modules();
    for (auto it = modules.begin(); it != modules.end();) {
        if (it->second.can_unload_now && it->second.can_unload_now() == S_OK) {
            dlclose(it->second.handle);
            it = modules.erase(it);
        } else {
            ++it;
        }
    }
}

namespace com {

HRESULT register_module(const char* path, bool unregister, std::string* message) {
    void* handle = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        if (message) *message = dlerror();
        return CO_E_DLLNOTFOUND;
    }
    const char* name = unregister ? "DllUnregisterServer" : "DllRegisterServer";
    auto entry = reinterpret_cast<DllRegisterServerFn>(dlsym(handle, name));
    HRESULT hr = CO_E_ERRORINDLL;
    if (!entry) {
        if (message) *message = std::string(path) + " does not export " + name;
    } else {
        hr = entry();
        if (FAILED(hr) && message) *message = std::string(name) + " failed";
    }
    dlclose(handle);
    return hr;
}

HRESULT create_object(const std::string& name, REFIID riid, void** object) {
    std::u16string wide = utf8_to_utf16(name);
    CLSID clsid;
    HRESULT hr = name.starts_with('{') ? CLSIDFromString(wide.c_str(), &clsid) : CLSIDFromProgID(wide.c_str(), &clsid);
    if (FAILED(hr)) return hr;
    return CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, riid, object);
}

} // namespace com
