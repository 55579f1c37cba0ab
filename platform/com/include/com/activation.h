// Creating objects of registered classes: the class is looked up in the registry, its module
// (InprocServer32) is loaded with dlopen and its class factory asked for the object.
// Each thread is an apartment: CoInitialize before any other call, CoUninitialize at the end.
#pragma once

#include "com/interfaces.h"

#include <string>

HRESULT CoInitialize(void* reserved);
void CoUninitialize();  // the last one on a thread also unloads modules that allow it

HRESULT CLSIDFromProgID(LPCOLESTR progId, CLSID* clsid);
HRESULT CLSIDFromString(LPCOLESTR text, CLSID* clsid);
HRESULT CoGetClassObject(REFCLSID clsid, DWORD context, void* reserved, REFIID riid, void** object);
HRESULT CoCreateInstance(REFCLSID clsid, IUnknown* outer, DWORD context, REFIID riid, void** object);
// Unloads every loaded module whose DllCanUnloadNow answers S_OK.
void CoFreeUnusedLibraries();

namespace com {

// The module exports every in-process server has, with C linkage.
using DllGetClassObjectFn = HRESULT (*)(REFCLSID, REFIID, void**);
using DllCanUnloadNowFn = HRESULT (*)();
using DllRegisterServerFn = HRESULT (*)();

// Calls DllRegisterServer (or DllUnregisterServer) of the module at path; a module that cannot
// be loaded or lacks the export gives CO_E_DLLNOTFOUND or CO_E_ERRORINDLL, with a message.
HRESULT register_module(const char* path, bool unregister, std::string* message);

// Creates an object by a ProgID or a "{CLSID}" string (UTF-8) and asks it for riid.
HRESULT create_object(const std::string& name, REFIID riid, void** object);

} // namespace com
