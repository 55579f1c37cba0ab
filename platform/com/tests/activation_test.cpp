// Registration, activation and late binding against the test module (a counter with events),
// with reference counts checked by LeakSanitizer in the sanitizer build.
#include "com/com.h"
#include "temp_registry.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <vector>

namespace {

const CLSID CLSID_Counter = *com::parse_guid("{63AB35F3-1356-41DC-B522-E31EAEAF0AA1}");
const IID DIID_ICounterEvents = *com::parse_guid("{42BF3054-5211-4A4E-9A2D-461806E70918}");

class Activation : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
        std::string message;
        ASSERT_EQ(com::register_module(TEST_MODULE, false, &message), S_OK) << message;
    }
    void TearDown() override {
        if (counter) counter->Release();
        CoUninitialize();
    }

    IDispatch* create() {
        EXPECT_EQ(com::create_object("ComTest.Counter", IID_IDispatch, reinterpret_cast<void**>(&counter)), S_OK);
        return counter;
    }

    DISPID id(const char* name) {
        std::u16string wide = com::utf8_to_utf16(name);
        LPOLESTR names[] = {wide.data()};
        DISPID dispid = DISPID_UNKNOWN;
        EXPECT_EQ(counter->GetIDsOfNames(GUID_NULL, names, 1, 0, &dispid), S_OK) << name;
        return dispid;
    }

    // Calls a member with arguments in natural order; fills result and exception.
    HRESULT call(const char* name, WORD flags, std::vector<VARIANT> args, VARIANT* result = nullptr) {
        std::reverse(args.begin(), args.end());
        DISPID put = DISPID_PROPERTYPUT;
        bool is_put = flags == DISPATCH_PROPERTYPUT;
        DISPPARAMS params{args.data(), is_put ? &put : nullptr, static_cast<UINT>(args.size()), is_put ? 1u : 0u};
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        exception = {};
        UINT arg_error = 0;
        return counter->Invoke(id(name), GUID_NULL, 0, flags, &params, result, &exception, &arg_error);
    }

    static VARIANT i4(LONG x) {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_I4;
        v.lVal = x;
        return v;
    }

    IDispatch* counter = nullptr;
    EXCEPINFO exception{};
    TempRegistry registry_file;

public:
    ~Activation() override {
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
    }
};

bool module_loaded() {
    void* handle = dlopen(TEST_MODULE, RTLD_NOW | RTLD_NOLOAD);
    if (handle) dlclose(handle);
    return handle != nullptr;
}

} // namespace

TEST_F(Activation, RegistrationWritesTheClassAndUnregistrationRemovesIt) {
    com::Registry r = com::Registry::load();
    std::string key = "CLSID\\{63AB35F3-1356-41DC-B522-E31EAEAF0AA1}";
    EXPECT_EQ(r.value(key), "Counter Class");
    EXPECT_EQ(r.value(key + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_TRUE(r.has_key(key + "\\Programmable"));
    EXPECT_EQ(r.value("ComTest.Counter\\CurVer"), "ComTest.Counter.1");
    EXPECT_EQ(r.value("TypeLib\\{2E602DC4-ED45-4521-8B82-F8F2B1A52AF5}\\1.0"), "Counter 1.0 Type Library");

    com::Registry::update([](com::Registry& reg) { reg.set_value("CLSID\\{other}", "", "kept"); });
    ASSERT_EQ(com::register_module(TEST_MODULE, true, nullptr), S_OK);
    r = com::Registry::load();
    EXPECT_FALSE(r.has_key(key));
    EXPECT_FALSE(r.has_key("ComTest.Counter"));
    EXPECT_FALSE(r.has_key("ComTest.Counter.1"));
    EXPECT_FALSE(r.has_key("TypeLib\\{2E602DC4-ED45-4521-8B82-F8F2B1A52AF5}"));
    EXPECT_EQ(r.value("CLSID\\{other}"), "kept");
    EXPECT_EQ(com::create_object("ComTest.Counter", IID_IDispatch, reinterpret_cast<void**>(&counter)),
              CO_E_CLASSSTRING);
}

TEST_F(Activation, FailuresToCreateHaveTheirCodes) {
    void* object = nullptr;
    EXPECT_EQ(com::create_object("No.Such.Class", IID_IUnknown, &object), CO_E_CLASSSTRING);
    EXPECT_EQ(com::create_object("{00000000-1111-2222-3333-444444444444}", IID_IUnknown, &object),
              REGDB_E_CLASSNOTREG);
    EXPECT_EQ(com::create_object("ComTest.Counter", IID_IClassFactory, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);
    com::Registry::update([](com::Registry& r) {
        r.set_value("CLSID\\{63AB35F3-1356-41DC-B522-E31EAEAF0AA1}\\InprocServer32", "", "/no/such/module.so");
    });
    EXPECT_EQ(com::create_object("ComTest.Counter", IID_IUnknown, &object), CO_E_DLLNOTFOUND);
    std::string message;
    EXPECT_EQ(com::register_module("/no/such/module.so", false, &message), CO_E_DLLNOTFOUND);
    EXPECT_FALSE(message.empty());

    CoUninitialize();
    EXPECT_EQ(CoCreateInstance(CLSID_Counter, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object),
              CO_E_NOTINITIALIZED);
    CoInitialize(nullptr);
}

TEST_F(Activation, LateBoundCallsConvertArgumentsAndReturnValues) {
    create();
    com::Variant text, result;
    text.vt = VT_BSTR;
    text.bstrVal = com::bstr_from_utf8("5");
    EXPECT_EQ(call("add", DISPATCH_METHOD, {text}), S_OK);  // names ignore case; "5" becomes a long
    EXPECT_EQ(call("Value", DISPATCH_PROPERTYGET, {}, &result), S_OK);
    EXPECT_EQ(result.vt, VT_I4);
    EXPECT_EQ(result.lVal, 5);

    com::Variant name, back;
    name.vt = VT_BSTR;
    name.bstrVal = com::bstr_from_utf8("z\xC3\xA4hler");
    EXPECT_EQ(call("Name", DISPATCH_PROPERTYPUT, {name}), S_OK);
    EXPECT_EQ(call("Name", DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, &back), S_OK);
    EXPECT_EQ(com::bstr_to_utf8(back.bstrVal), "z\xC3\xA4hler");

    VARIANT yes = i4(1);
    com::Variant flag;
    EXPECT_EQ(call("Flag", DISPATCH_PROPERTYPUT, {yes}), S_OK);
    EXPECT_EQ(call("Flag", DISPATCH_PROPERTYGET, {}, &flag), S_OK);
    EXPECT_EQ(flag.vt, VT_BOOL);  // the table marks it boolean
    EXPECT_EQ(flag.boolVal, VARIANT_TRUE);

    // Two [out] parameters come back through by-reference arguments.
    LONG half = 0;
    com::Variant rest;
    VARIANT out_half, out_rest;
    out_half.vt = VT_BYREF | VT_I4;
    out_half.plVal = &half;
    out_rest.vt = VT_BYREF | VT_VARIANT;
    out_rest.pvarVal = &rest;
    EXPECT_EQ(call("Split", DISPATCH_METHOD, {i4(7), out_half, out_rest}), S_OK);
    EXPECT_EQ(half, 3);
    EXPECT_EQ(rest.vt, VT_I4);
    EXPECT_EQ(rest.lVal, 4);

    // A VARIANT parameter takes any value; the retval is a deep copy.
    com::Variant bytes, echoed;
    bytes.vt = VT_ARRAY | VT_UI1;
    bytes.parray = SafeArrayCreateVector(VT_UI1, 0, 2);
    EXPECT_EQ(call("Echo", DISPATCH_METHOD, {bytes}, &echoed), S_OK);
    EXPECT_EQ(echoed.vt, VT_ARRAY | VT_UI1);
    EXPECT_NE(echoed.parray, bytes.parray);
}

TEST_F(Activation, BadCallsAreRefusedWithTheirCodes) {
    create();
    com::Variant text, result;
    text.vt = VT_BSTR;
    text.bstrVal = com::bstr_from_utf8("five");
    EXPECT_EQ(call("Add", DISPATCH_METHOD, {text}), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(call("Add", DISPATCH_METHOD, {}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(call("Add", DISPATCH_METHOD, {i4(1), i4(2)}), DISP_E_BADPARAMCOUNT);
    EXPECT_EQ(call("Value", DISPATCH_PROPERTYPUT, {i4(1)}), DISP_E_MEMBERNOTFOUND);  // read-only
    EXPECT_EQ(call("Split", DISPATCH_METHOD, {i4(1), i4(2), i4(3)}), DISP_E_TYPEMISMATCH);  // outs by value
    DISPPARAMS none{nullptr, nullptr, 0, 0};
    EXPECT_EQ(counter->Invoke(99, GUID_NULL, 0, DISPATCH_METHOD, &none, &result, nullptr, nullptr),
              DISP_E_MEMBERNOTFOUND);
    std::u16string unknown = u"Nope";
    LPOLESTR names[] = {unknown.data()};
    DISPID dispid = 0;
    EXPECT_EQ(counter->GetIDsOfNames(GUID_NULL, names, 1, 0, &dispid), DISP_E_UNKNOWNNAME);
    EXPECT_EQ(dispid, DISPID_UNKNOWN);
}

TEST_F(Activation, AMemberErrorBecomesAnExceptionWithTheErrorObject) {
    create();
    EXPECT_EQ(call("Add", DISPATCH_METHOD, {i4(-1)}), DISP_E_EXCEPTION);
    EXPECT_EQ(static_cast<unsigned>(exception.scode), 0x80040201u);
    EXPECT_EQ(com::bstr_to_utf8(exception.bstrDescription), "Negative amount");
    EXPECT_EQ(com::bstr_to_utf8(exception.bstrSource), "ComTest.Counter.1");

    // Without EXCEPINFO the error object stays for the caller to take.
    VARIANT arg = i4(-1);
    DISPPARAMS params{&arg, nullptr, 1, 0};
    EXPECT_EQ(counter->Invoke(id("Add"), GUID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr, nullptr),
              static_cast<HRESULT>(0x80040201));
    IErrorInfo* info = nullptr;
    ASSERT_EQ(GetErrorInfo(0, &info), S_OK);
    GUID guid;
    info->GetGUID(&guid);
    EXPECT_EQ(com::format_guid(guid), "{AAA1A2E3-6E00-443B-8D70-5233EEC2025F}");
    info->Release();
    EXPECT_EQ(GetErrorInfo(0, &info), S_FALSE);  // taken
}

namespace {

// Records the events it receives.
class Sink final : public IDispatch {
public:
    STDMETHOD(QueryInterface)(REFIID riid, void** object) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch) {
            *object = this;
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++refs; }
    STDMETHOD_(ULONG, Release)() override { return --refs; }  // lives on the test's stack
    STDMETHOD(GetTypeInfoCount)(UINT*) override { return E_NOTIMPL; }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHOD(Invoke)(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
        // arguments arrive last to first: (value, name)
        events.push_back(std::to_string(id) + ":" + std::to_string(params->rgvarg[1].lVal) + ":" +
                         com::bstr_to_utf8(params->rgvarg[0].bstrVal));
        return S_OK;
    }
    ULONG refs = 1;
    std::vector<std::string> events;
};

} // namespace

TEST_F(Activation, EventsReachAdvisedSinksUntilUnadvised) {
    create();
    IConnectionPointContainer* container = nullptr;
    ASSERT_EQ(counter->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container)), S_OK);
    IConnectionPoint* point = nullptr;
    EXPECT_EQ(container->FindConnectionPoint(IID_IDispatch, &point), CONNECT_E_NOCONNECTION);
    ASSERT_EQ(container->FindConnectionPoint(DIID_ICounterEvents, &point), S_OK);
    Sink sink;
    DWORD cookie = 0;
    ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
    EXPECT_EQ(sink.refs, 2u);
    call("Add", DISPATCH_METHOD, {i4(2)});
    call("Add", DISPATCH_METHOD, {i4(3)});
    EXPECT_EQ(sink.events, (std::vector<std::string>{"1:2:", "1:5:"}));
    EXPECT_EQ(point->Unadvise(cookie), S_OK);
    EXPECT_EQ(point->Unadvise(cookie), CONNECT_E_NOCONNECTION);
    EXPECT_EQ(sink.refs, 1u);
    call("Add", DISPATCH_METHOD, {i4(1)});
    EXPECT_EQ(sink.events.size(), 2u);
    point->Release();
    container->Release();
}

TEST_F(Activation, ModuleUnloadsOnlyWhenNoObjectOrLockRemains) {
    create();
    EXPECT_TRUE(module_loaded());
    CoFreeUnusedLibraries();
    EXPECT_TRUE(module_loaded());  // an object is alive

    IClassFactory* factory = nullptr;
    ASSERT_EQ(CoGetClassObject(CLSID_Counter, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&factory)),
              S_OK);
    factory->LockServer(TRUE);
    factory->Release();
    counter->Release();
    counter = nullptr;
    CoFreeUnusedLibraries();
    EXPECT_TRUE(module_loaded());  // locked

    ASSERT_EQ(CoGetClassObject(CLSID_Counter, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                               reinterpret_cast<void**>(&factory)),
              S_OK);
    factory->LockServer(FALSE);
    factory->Release();
    CoFreeUnusedLibraries();
    EXPECT_FALSE(module_loaded());
}

TEST_F(Activation, TheTypeLibraryIsFoundThroughTheRegistry) {
    const com::TypeLibrary* library = com::load_class_type_library(CLSID_Counter);
    ASSERT_NE(library, nullptr);
    EXPECT_EQ(library->name, "COUNTERLib");
    ASSERT_NE(library->find_enum_value("cmDown"), nullptr);
    EXPECT_EQ(*library->find_enum_value("cmDown"), 1);
    std::string text = library->text();
    EXPECT_NE(text.find("  [6] Split([in] long value, [out] long* half, [out] long* rest)\n"), std::string::npos)
        << text;
    EXPECT_NE(text.find("  [2] propget Value([out, retval] long* value)\n"), std::string::npos) << text;
    EXPECT_NE(text.find("  [7] propput Mode([in] CounterMode mode)\n"), std::string::npos) << text;
}
