// The module exports of the in-process server libvrnImagingCom2.so.
#include "TypeLibrary.h"
#include "vrnImaging2.h"
#include "vrnImagingGuids.h"

#include "com/registry.h"
#include "com/server.h"

#include <new>

namespace {

com::ModuleUsage usage;  // live objects and server locks

const com::ClassRegistration registration{CLSID_vrnImaging2,
                                          "vrnImaging2 Class",
                                          "VrnImagingCom2.vrnImaging2.1",
                                          "VrnImagingCom2.vrnImaging2",
                                          "Apartment",
                                          LIBID_VRNIMAGINGCOM2Lib};

// The version resource of the module file.
[[gnu::used]] const char versionResource[] =
    "FileVersion=2.0.0.3 ProductVersion=2.0.0.3 FileDescription=vrnImagingCom2 Module OLESelfRegister";

} // namespace

extern "C" {

HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (clsid != CLSID_vrnImaging2) return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new (std::nothrow) com::ClassFactory<vrnImaging2>(usage);
    if (!factory) return E_OUTOFMEMORY;
    HRESULT hr = factory->QueryInterface(riid, object);
    factory->Release();
    return hr;
}

HRESULT DllCanUnloadNow() { return usage.can_unload_now(); }

HRESULT DllRegisterServer() {
    std::string path = com::module_path(reinterpret_cast<const void*>(&DllRegisterServer));
    return com::update_registry([&](com::Registry& registry) {
        com::register_class(registry, registration, path);
        com::register_type_library(registry, vrnImagingTypeLibrary(), path);
    });
}

HRESULT DllUnregisterServer() {
    return com::update_registry([](com::Registry& registry) {
        com::unregister_class(registry, registration);
        com::unregister_type_library(registry, vrnImagingTypeLibrary());
    });
}

// Stands for the type-library resource (TYPELIB 1) of the module.
const com::TypeLibrary* ComTypeLibrary() { return &vrnImagingTypeLibrary(); }

} // extern "C"
