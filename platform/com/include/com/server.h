// Helpers for in-process server modules: reference counts, the count of live objects and server
// locks behind DllCanUnloadNow, a class factory, and the module's own path for registration.
#pragma once

#include "com/interfaces.h"

#include <atomic>
#include <functional>
#include <new>
#include <string>

namespace com {

class Registry;
struct TypeLibrary;

// Live objects and server locks of one module.
class ModuleUsage {
public:
    void add_object() { ++objects_; }
    void remove_object() { --objects_; }
    void lock(bool on) { on ? ++locks_ : --locks_; }
    bool in_use() const { return objects_ > 0 || locks_ > 0; }
    HRESULT can_unload_now() const { return in_use() ? S_FALSE : S_OK; }

private:
    std::atomic<long> objects_{0};
    std::atomic<long> locks_{0};
};

// A reference count starting at 1 for the creator's reference.
class RefCount {
public:
    ULONG add() { return ++count_; }
    ULONG release() { return --count_; }

private:
    std::atomic<ULONG> count_{1};
};

// Creates objects of T, which is constructed from the module's ModuleUsage (and counts itself
// there) and is queried for the requested interface. Aggregation is refused.
template <class T>
class ClassFactory final : public IClassFactory {
public:
    explicit ClassFactory(ModuleUsage& usage) : usage_(usage) { usage_.add_object(); }

    STDMETHOD(QueryInterface)(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *object = static_cast<IClassFactory*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return refs_.add(); }
    STDMETHOD_(ULONG, Release)() override {
        ULONG n = refs_.release();
        if (n == 0) delete this;
        return n;
    }
    STDMETHOD(CreateInstance)(IUnknown* outer, REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        T* instance = new (std::nothrow) T(usage_);
        if (!instance) return E_OUTOFMEMORY;
        HRESULT hr = instance->QueryInterface(riid, object);
        instance->Release();  // the creator's reference; the caller's one remains on success
        return hr;
    }
    STDMETHOD(LockServer)(BOOL lock) override {
        usage_.lock(lock != FALSE);
        return S_OK;
    }

private:
    ~ClassFactory() { usage_.remove_object(); }
    ModuleUsage& usage_;
    RefCount refs_;
};

// The absolute path of the loaded module that holds address (pass any function of the module).
std::string module_path(const void* address);

// The registry entries of one creatable class:
//   <prog_id> = description, with CLSID
//   <version_independent_prog_id> = description, with CLSID and CurVer = <prog_id>
//   CLSID\{clsid} = description, with ProgID, VersionIndependentProgID, the empty key
//   Programmable, InprocServer32 = module path (value ThreadingModel) and TypeLib = {libid}.
struct ClassRegistration {
    CLSID clsid;
    std::string description;
    std::string prog_id;
    std::string version_independent_prog_id;
    std::string threading_model;
    GUID libid;
};
void register_class(Registry& registry, const ClassRegistration& entry, const std::string& module_path);
// Removes the class key with everything below it and both ProgID keys; CLSID itself stays.
void unregister_class(Registry& registry, const ClassRegistration& entry);

// Runs one change of the registry file for DllRegisterServer or DllUnregisterServer:
// S_OK, or REGDB_E_WRITEREGDB when the file cannot be read or written.
HRESULT update_registry(const std::function<void(Registry&)>& change);

// The bodies of the exports of a module with one creatable class T, registered as `entry` with
// its type library. DllGetClassObject hands out a ClassFactory<T> for entry.clsid only.
template <class T>
HRESULT get_class_object(const ClassRegistration& entry, ModuleUsage& usage, REFCLSID clsid, REFIID riid,
                         void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (clsid != entry.clsid) return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new (std::nothrow) ClassFactory<T>(usage);
    if (!factory) return E_OUTOFMEMORY;
    HRESULT hr = factory->QueryInterface(riid, object);
    factory->Release();
    return hr;
}
// address: any function of the module, to find the module's file.
HRESULT register_server(const ClassRegistration& entry, const TypeLibrary& library, const void* address);
HRESULT unregister_server(const ClassRegistration& entry, const TypeLibrary& library);

} // namespace com
