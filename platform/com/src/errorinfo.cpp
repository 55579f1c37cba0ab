#include "com/errorinfo.h"

#include "com/bstr.h"
#include "com/server.h"

#include <new>
#include <string>

namespace {

class ErrorObject final : public IErrorInfo, public ICreateErrorInfo {
public:
    STDMETHOD(QueryInterface)(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IErrorInfo) *object = static_cast<IErrorInfo*>(this);
        else if (riid == IID_ICreateErrorInfo) *object = static_cast<ICreateErrorInfo*>(this);
        else { *object = nullptr; return E_NOINTERFACE; }
        AddRef();
        return S_OK;
    }
    STDMETHOD_(ULONG, AddRef)() override { return refs_.add(); }
    STDMETHOD_(ULONG, Release)() override {
        ULONG n = refs_.release();
        if (n == 0) delete this;
        return n;
    }

    STDMETHOD(GetGUID)(GUID* guid) override { return guid ? (*guid = guid_, S_OK) : E_POINTER; }
    STDMETHOD(GetSource)(BSTR* text) override { return copy_out(source_, text); }
    STDMETHOD(GetDescription)(BSTR* text) override { return copy_out(description_, text); }
    STDMETHOD(GetHelpFile)(BSTR* text) override { return copy_out(help_file_, text); }
    STDMETHOD(GetHelpContext)(DWORD* context) override {
        return context ? (*context = help_context_, S_OK) : E_POINTER;
    }

    STDMETHOD(SetGUID)(REFGUID guid) override { guid_ = guid; return S_OK; }
    STDMETHOD(SetSource)(LPOLESTR text) override { return copy_in(text, &source_); }
    STDMETHOD(SetDescription)(LPOLESTR text) override { return copy_in(text, &description_); }
    STDMETHOD(SetHelpFile)(LPOLESTR text) override { return copy_in(text, &help_file_); }
    STDMETHOD(SetHelpContext)(DWORD context) override { help_context_ = context; return S_OK; }

private:
    static HRESULT copy_out(const std::u16string& from, BSTR* to) {
        if (!to) return E_POINTER;
        *to = SysAllocStringLen(from.data(), static_cast<UINT>(from.size()));
        return *to ? S_OK : E_OUTOFMEMORY;
    }
    static HRESULT copy_in(LPOLESTR from, std::u16string* to) {
        *to = from ? from : u"";
        return S_OK;
    }

    com::RefCount refs_;
    GUID guid_ = GUID_NULL;
    std::u16string source_, description_, help_file_;
    DWORD help_context_ = 0;
};

// This thread's error object; released when the thread ends.
struct ThreadError {
    IErrorInfo* info = nullptr;
    ~ThreadError() {
        if (info) info->Release();
    }
};
thread_local ThreadError current;

} // namespace

HRESULT CreateErrorInfo(ICreateErrorInfo** info) {
    if (!info) return E_POINTER;
    *info = new (std::nothrow) ErrorObject;
    return *info ? S_OK : E_OUTOFMEMORY;
}

HRESULT SetErrorInfo(ULONG, IErrorInfo* info) {
    if (info) info->AddRef();
    if (current.info) current.info->Release();
    current.info = info;
    return S_OK;
}

HRESULT GetErrorInfo(ULONG, IErrorInfo** info) {
    if (!info) return E_POINTER;
    *info = current.info;
    current.info = nullptr;
    return *info ? S_OK : S_FALSE;
}

namespace com {

HRESULT report_error(HRESULT hr, REFGUID iid, const char* source, const char* description) {
    ICreateErrorInfo* create = nullptr;
    if (FAILED(CreateErrorInfo(&create))) return hr;
    std::u16string wide_source = utf8_to_utf16(source), wide_description = utf8_to_utf16(description);
    create->SetGUID(iid);
    create->SetSource(wide_source.data());
    create->SetDescription(wide_description.data());
    IErrorInfo* info = nullptr;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
        SetErrorInfo(0, info);
        info->Release();
    }
    create->Release();
    return hr;
}

} // namespace com
