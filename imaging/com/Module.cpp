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
    return com::get_class_object<vrnImaging2>(registration, usage, clsid, riid, object);
}

HRESULT DllCanUnloadNow() { return usage.can_unload_now(); }

HRESULT DllRegisterServer() {
    const void* self = reinterpret_cast<const void*>(&DllRegisterServer);
    return com::register_server(registration, vrnImagingTypeLibrary(), self);
}

HRESULT DllUnregisterServer() { return com::unregister_server(registration, vrnImagingTypeLibrary()); }

// Stands for the type-library resource (TYPELIB 1) of the module.
const com::TypeLibrary* ComTypeLibrary() { return &vrnImagingTypeLibrary(); }

} // extern "C"
