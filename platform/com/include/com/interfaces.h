// The COM interfaces this layer offers, as abstract classes whose virtual functions follow
// COM's slot order, with the standard interface identifiers.
#pragma once

#include "com/guid.h"
#include "com/types.h"

struct VARIANT;
struct ITypeInfo;             // not offered: type information comes from com/typelib.h
struct IEnumConnections;      // enumerators are not offered; their slots answer E_NOTIMPL
struct IEnumConnectionPoints;
struct IErrorLog;

struct IUnknown {
    STDMETHOD(QueryInterface)(REFIID riid, void** object) = 0;
    STDMETHOD_(ULONG, AddRef)() = 0;
    STDMETHOD_(ULONG, Release)() = 0;

protected:
    ~IUnknown() = default;  // objects are destroyed by Release, never by delete through an interface
};

struct DISPPARAMS {
    VARIANT* rgvarg;              // arguments in reverse order
    DISPID* rgdispidNamedArgs;
    UINT cArgs;
    UINT cNamedArgs;
};

struct EXCEPINFO {
    WORD wCode;
    WORD wReserved;
    BSTR bstrSource;
    BSTR bstrDescription;
    BSTR bstrHelpFile;
    DWORD dwHelpContext;
    void* pvReserved;
    HRESULT (*pfnDeferredFillIn)(EXCEPINFO*);
    SCODE scode;
};

struct IDispatch : IUnknown {
    STDMETHOD(GetTypeInfoCount)(UINT* count) = 0;
    STDMETHOD(GetTypeInfo)(UINT index, LCID lcid, ITypeInfo** info) = 0;
    STDMETHOD(GetIDsOfNames)(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) = 0;
    STDMETHOD(Invoke)(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params,
                      VARIANT* result, EXCEPINFO* exception, UINT* argError) = 0;
};

struct IClassFactory : IUnknown {
    STDMETHOD(CreateInstance)(IUnknown* outer, REFIID riid, void** object) = 0;
    STDMETHOD(LockServer)(BOOL lock) = 0;
};

struct IErrorInfo : IUnknown {
    STDMETHOD(GetGUID)(GUID* guid) = 0;
    STDMETHOD(GetSource)(BSTR* source) = 0;
    STDMETHOD(GetDescription)(BSTR* description) = 0;
    STDMETHOD(GetHelpFile)(BSTR* helpFile) = 0;
    STDMETHOD(GetHelpContext)(DWORD* helpContext) = 0;
};

struct ICreateErrorInfo : IUnknown {
    STDMETHOD(SetGUID)(REFGUID guid) = 0;
    STDMETHOD(SetSource)(LPOLESTR source) = 0;
    STDMETHOD(SetDescription)(LPOLESTR description) = 0;
    STDMETHOD(SetHelpFile)(LPOLESTR helpFile) = 0;
    STDMETHOD(SetHelpContext)(DWORD helpContext) = 0;
};

struct ISupportErrorInfo : IUnknown {
    STDMETHOD(InterfaceSupportsErrorInfo)(REFIID riid) = 0;
};

struct IConnectionPoint;

struct IConnectionPointContainer : IUnknown {
    STDMETHOD(EnumConnectionPoints)(IEnumConnectionPoints** points) = 0;
    STDMETHOD(FindConnectionPoint)(REFIID riid, IConnectionPoint** point) = 0;
};

struct IConnectionPoint : IUnknown {
    STDMETHOD(GetConnectionInterface)(IID* iid) = 0;
    STDMETHOD(GetConnectionPointContainer)(IConnectionPointContainer** container) = 0;
    STDMETHOD(Advise)(IUnknown* sink, DWORD* cookie) = 0;
    STDMETHOD(Unadvise)(DWORD cookie) = 0;
    STDMETHOD(EnumConnections)(IEnumConnections** connections) = 0;
};

struct IPropertyBag : IUnknown {
    STDMETHOD(Read)(LPCOLESTR name, VARIANT* value, IErrorLog* log) = 0;
    STDMETHOD(Write)(LPCOLESTR name, VARIANT* value) = 0;
};

struct IPersist : IUnknown {
    STDMETHOD(GetClassID)(CLSID* clsid) = 0;
};

struct IPersistPropertyBag : IPersist {
    STDMETHOD(InitNew)() = 0;
    STDMETHOD(Load)(IPropertyBag* bag, IErrorLog* log) = 0;
    STDMETHOD(Save)(IPropertyBag* bag, BOOL clearDirty, BOOL saveAllProperties) = 0;
};

constexpr IID IID_IUnknown{0x00000000, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IID_IClassFactory{0x00000001, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IID_IPersist{0x0000010C, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IID_IDispatch{0x00020400, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr IID IID_IErrorInfo{0x1CF2B120, 0x547D, 0x101B, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};
constexpr IID IID_ICreateErrorInfo{0x22F03340, 0x547D, 0x101B, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};
constexpr IID IID_ISupportErrorInfo{0xDF0B3D60, 0x548F, 0x101B, {0x8E, 0x65, 0x08, 0x00, 0x2B, 0x2B, 0xD1, 0x19}};
constexpr IID IID_IConnectionPointContainer{0xB196B284, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
constexpr IID IID_IConnectionPoint{0xB196B286, 0xBAB4, 0x101A, {0xB6, 0x9C, 0x00, 0xAA, 0x00, 0x34, 0x1D, 0x07}};
constexpr IID IID_IPropertyBag{0x55272A00, 0x42CB, 0x11CE, {0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};
constexpr IID IID_IPersistPropertyBag{0x37D84F60, 0x42CB, 0x11CE, {0x81, 0x35, 0x00, 0xAA, 0x00, 0x4B, 0xB8, 0x51}};
