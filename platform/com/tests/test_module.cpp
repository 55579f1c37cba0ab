// A small in-process server for the COM layer's tests: class ComTest.Counter with a dual
// interface, an event interface and an error object on failure.
#include "com/com.h"

#include <new>

namespace {

constexpr CLSID CLSID_Counter{0x63AB35F3, 0x1356, 0x41DC, {0xB5, 0x22, 0xE3, 0x1E, 0xAE, 0xAF, 0x0A, 0xA1}};
constexpr IID IID_ICounter{0xAAA1A2E3, 0x6E00, 0x443B, {0x8D, 0x70, 0x52, 0x33, 0xEE, 0xC2, 0x02, 0x5F}};
constexpr IID DIID_ICounterEvents{0x42BF3054, 0x5211, 0x4A4E, {0x9A, 0x2D, 0x46, 0x18, 0x06, 0xE7, 0x09, 0x18}};
constexpr GUID LIBID_CounterLib{0x2E602DC4, 0xED45, 0x4521, {0x8B, 0x82, 0xF8, 0xF2, 0xB1, 0xA5, 0x2A, 0xF5}};

constexpr LONG cmUp = 0;  // the enumeration CounterMode

struct ICounter : IDispatch {
    STDMETHOD(Add)(LONG amount) = 0;
    STDMETHOD(get_Value)(LONG* value) = 0;
    STDMETHOD(get_Name)(BSTR* name) = 0;
    STDMETHOD(put_Name)(BSTR name) = 0;
    STDMETHOD(get_Ratio)(DOUBLE* ratio) = 0;
    STDMETHOD(put_Ratio)(DOUBLE ratio) = 0;
    STDMETHOD(Echo)(VARIANT value, VARIANT* copy) = 0;
    STDMETHOD(Split)(LONG value, LONG* half, LONG* rest) = 0;
    STDMETHOD(get_Mode)(LONG* mode) = 0;
    STDMETHOD(put_Mode)(LONG mode) = 0;
    STDMETHOD(get_Flag)(VARIANT_BOOL* flag) = 0;
    STDMETHOD(put_Flag)(VARIANT_BOOL flag) = 0;
};

com::MemberInfo boolean(com::MemberInfo m) {
    for (com::ParamInfo& p : m.params) p.vt = VT_BOOL;
    return m;
}

const com::InterfaceInfo counter_interface{
    "ICounter", IID_ICounter, "ICounter Interface", true,
    {com::member<&ICounter::Add>("Add", 1, com::MemberKind::Method, {"amount"}),
     com::member<&ICounter::get_Value>("Value", 2, com::MemberKind::PropertyGet, {"value"}),
     com::member<&ICounter::get_Name>("Name", 3, com::MemberKind::PropertyGet, {"name"}),
     com::member<&ICounter::put_Name>("Name", 3, com::MemberKind::PropertyPut, {"name"}),
     com::member<&ICounter::get_Ratio>("Ratio", 4, com::MemberKind::PropertyGet, {"ratio"}),
     com::member<&ICounter::put_Ratio>("Ratio", 4, com::MemberKind::PropertyPut, {"ratio"}),
     com::member<&ICounter::Echo>("Echo", 5, com::MemberKind::Method, {"value", "copy"}),
     com::member<&ICounter::Split>("Split", 6, com::MemberKind::Method, {"value", "half", "rest"}),
     com::member<&ICounter::get_Mode>("Mode", 7, com::MemberKind::PropertyGet, {"mode:CounterMode"}),
     com::member<&ICounter::put_Mode>("Mode", 7, com::MemberKind::PropertyPut, {"mode:CounterMode"}),
     boolean(com::member<&ICounter::get_Flag>("Flag", 8, com::MemberKind::PropertyGet, {"flag"})),
     boolean(com::member<&ICounter::put_Flag>("Flag", 8, com::MemberKind::PropertyPut, {"flag"}))}};

const com::InterfaceInfo counter_events{
    "_ICounterEvents", DIID_ICounterEvents, "Counter events", false,
    {{"Changed", 1, com::MemberKind::Method, {{"value", VT_I4}, {"name", VT_BSTR}}, nullptr}}};

const com::TypeLibrary library{
    "COUNTERLib", LIBID_CounterLib, 1, 0, 0x409, "Counter 1.0 Type Library",
    {{"CounterMode", {{"cmUp", 0}, {"cmDown", 1}}}},
    {&counter_interface, &counter_events},
    {{"Counter", CLSID_Counter, "Counter Class", &counter_interface, &counter_events}}};

const com::ClassRegistration registration{CLSID_Counter, "Counter Class", "ComTest.Counter.1", "ComTest.Counter",
                                          "Apartment", LIBID_CounterLib};

com::ModuleUsage usage;

class Counter final : public ICounter, public IConnectionPointContainer, public ISupportErrorInfo {
public:
    explicit Counter(com::ModuleUsage& module) : module_(module) { module_.add_object(); }

    STDMETHOD(QueryInterface)(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_ICounter) *object = static_cast<ICounter*>(this);
        else if (riid == IID_IConnectionPointContainer) *object = static_cast<IConnectionPointContainer*>(this);
        else if (riid == IID_ISupportErrorInfo) *object = static_cast<ISupportErrorInfo*>(this);
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

    STDMETHOD(GetTypeInfoCount)(UINT* count) override { return count ? (*count = 0, S_OK) : E_POINTER; }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        return DispGetIDsOfNames(counter_interface, names, count, ids);
    }
    STDMETHOD(Invoke)(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* exception,
                      UINT* argError) override {
        return DispInvoke(static_cast<ICounter*>(this), counter_interface, id, flags, params, result, exception,
                          argError);
    }

    STDMETHOD(Add)(LONG amount) override {
        if (amount < 0)
            return com::report_error(MAKE_HRESULT(1, 4, 0x201), IID_ICounter, "ComTest.Counter.1", "Negative amount");
        value_ += mode_ == cmUp ? amount : -amount;
        VARIANT args[2];
        args[0].vt = VT_I4;
        args[0].lVal = value_;
        args[1].vt = VT_BSTR;
        args[1].bstrVal = name_.get();
        events_.fire(1, {args[0], args[1]});
        return S_OK;
    }
    STDMETHOD(get_Value)(LONG* value) override { return value ? (*value = value_, S_OK) : E_POINTER; }
    STDMETHOD(get_Name)(BSTR* name) override {
        if (!name) return E_POINTER;
        *name = SysAllocStringLen(name_.get(), SysStringLen(name_.get()));
        return S_OK;
    }
    STDMETHOD(put_Name)(BSTR name) override {
        *name_.out() = SysAllocStringLen(name, SysStringLen(name));
        return S_OK;
    }
    STDMETHOD(get_Ratio)(DOUBLE* ratio) override { return ratio ? (*ratio = ratio_, S_OK) : E_POINTER; }
    STDMETHOD(put_Ratio)(DOUBLE ratio) override { ratio_ = ratio; return S_OK; }
    STDMETHOD(Echo)(VARIANT value, VARIANT* copy) override {
        if (!copy) return E_POINTER;
        VariantInit(copy);
        return VariantCopy(copy, &value);
    }
    STDMETHOD(Split)(LONG value, LONG* half, LONG* rest) override {
        if (!half || !rest) return E_POINTER;
        *half = value / 2;
        *rest = value - value / 2;
        return S_OK;
    }
    STDMETHOD(get_Mode)(LONG* mode) override { return mode ? (*mode = mode_, S_OK) : E_POINTER; }
    STDMETHOD(put_Mode)(LONG mode) override { mode_ = mode; return S_OK; }
    STDMETHOD(get_Flag)(VARIANT_BOOL* flag) override { return flag ? (*flag = flag_, S_OK) : E_POINTER; }
    STDMETHOD(put_Flag)(VARIANT_BOOL flag) override { flag_ = flag ? VARIANT_TRUE : VARIANT_FALSE; return S_OK; }

    STDMETHOD(EnumConnectionPoints)(IEnumConnectionPoints** points) override {
        if (points) *points = nullptr;
        return E_NOTIMPL;
    }
    STDMETHOD(FindConnectionPoint)(REFIID riid, IConnectionPoint** point) override {
        if (!point) return E_POINTER;
        *point = nullptr;
        if (riid != DIID_ICounterEvents) return CONNECT_E_NOCONNECTION;
        *point = &events_;
        events_.AddRef();
        return S_OK;
    }
    STDMETHOD(InterfaceSupportsErrorInfo)(REFIID riid) override { return riid == IID_ICounter ? S_OK : S_FALSE; }

private:
    ~Counter() { module_.remove_object(); }

    com::ModuleUsage& module_;
    com::RefCount refs_;
    com::ConnectionPoint events_{*this, DIID_ICounterEvents};
    LONG value_ = 0;
    com::Bstr name_;
    DOUBLE ratio_ = 0;
    LONG mode_ = cmUp;
    VARIANT_BOOL flag_ = VARIANT_FALSE;
};

} // namespace

extern "C" {

HRESULT DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
    return com::get_class_object<Counter>(registration, usage, clsid, riid, object);
}

HRESULT DllCanUnloadNow() { return usage.can_unload_now(); }

HRESULT DllRegisterServer() {
    const void* self = reinterpret_cast<const void*>(&DllRegisterServer);
    return com::register_server(registration, library, self);
}

HRESULT DllUnregisterServer() { return com::unregister_server(registration, library); }

const com::TypeLibrary* ComTypeLibrary() { return &library; }

} // extern "C"
