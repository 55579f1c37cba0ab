#include "host.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <istream>
#include <ostream>

namespace comhost {

namespace {

std::string lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

template <class T>
std::string shortest(T value) {
    char buffer[64];
    auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, r.ptr);
}

std::string hex_bytes(SAFEARRAY* array) {
    LONG lower_bound = 0, upper_bound = -1;
    if (!array || SafeArrayGetDim(array) != 1 || FAILED(SafeArrayGetLBound(array, 1, &lower_bound)) ||
        FAILED(SafeArrayGetUBound(array, 1, &upper_bound)))
        return "(array)";
    static const char digits[] = "0123456789abcdef";
    std::string text;
    const auto* bytes = static_cast<const std::uint8_t*>(array->pvData);
    for (std::int64_t i = 0; i <= std::int64_t(upper_bound) - lower_bound; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text;
}

} // namespace

std::string format_value(const VARIANT& given) {
    const VARIANT& v = given.vt == (VT_BYREF | VT_VARIANT) && given.pvarVal ? *given.pvarVal : given;
    switch (v.vt) {
    case VT_EMPTY: return "";
    case VT_NULL: return "Null";
    case VT_UI1: return std::to_string(v.bVal);
    case VT_I2: return std::to_string(v.iVal);
    case VT_I4: return std::to_string(v.lVal);
    case VT_R4: return shortest(v.fltVal);
    case VT_R8: return shortest(v.dblVal);
    case VT_BOOL: return v.boolVal ? "True" : "False";
    case VT_BSTR: return com::bstr_to_utf8(v.bstrVal);
    case VT_ERROR: {
        char text[16];
        std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(v.scode));
        return text;
    }
    case VT_UNKNOWN:
    case VT_DISPATCH: return v.punkVal ? "Object" : "Nothing";
    case VT_ARRAY | VT_UI1: return hex_bytes(v.parray);
    default: return "(unprintable value)";
    }
}

// Writes each event an object fires as "event NAME.EVENTNAME(arguments)".
class EventSink final : public IDispatch {
public:
    EventSink(std::ostream& out, std::string name, const com::InterfaceInfo& events)
        : out_(out), name_(std::move(name)), events_(events) {}

    STDMETHOD(QueryInterface)(REFIID riid, void** object) override {
        if (!object) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == events_.iid) {
            *object = static_cast<IDispatch*>(this);
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
    STDMETHOD(GetTypeInfoCount)(UINT* count) override { return count ? (*count = 0, S_OK) : E_POINTER; }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        return DispGetIDsOfNames(events_, names, count, ids);
    }
    STDMETHOD(Invoke)(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*, UINT*) override {
        if (!params) return E_INVALIDARG;
        const com::MemberInfo* event = events_.find(id, com::MemberKind::Method);
        std::string text = "event " + name_ + '.' + (event ? event->name : "#" + std::to_string(id)) + '(';
        for (UINT i = 0; i < params->cArgs; ++i)
            text += (i ? ", " : "") + format_value(params->rgvarg[params->cArgs - 1 - i]);
        out_ << text << ")\n";
        return S_OK;
    }

private:
    ~EventSink() = default;
    com::RefCount refs_;
    std::ostream& out_;
    std::string name_;
    const com::InterfaceInfo& events_;
};

Host::Host(std::ostream& out, std::ostream& errors) : out_(out), errors_(errors) {}

Host::~Host() {
    for (auto& [name, object] : objects_) release(object);
}

bool Host::run(std::istream& script) {
    bool ok = true;
    std::string text;
    for (int line = 1; std::getline(script, text); ++line) {
        ParseResult parsed = parse_statement(text);
        if (!parsed.statement) ok = script_error(line, parsed.error) && ok;
        else ok = execute(*parsed.statement, line) && ok;
        out_.flush();
    }
    return ok;
}

bool Host::execute(const Statement& s, int line) {
    switch (s.kind) {
    case Statement::Empty: return true;
    case Statement::Create: return create(s, line);
    case Statement::Assign: return assign(s, line);
    case Statement::Invoke: {
        std::vector<com::Variant> values;
        return call(s.call, DISPATCH_METHOD | DISPATCH_PROPERTYGET, values, line);
    }
    case Statement::Put: {
        std::vector<com::Variant> values;
        return call(s.call, DISPATCH_PROPERTYPUT, values, line);
    }
    case Statement::Print: {
        std::vector<com::Variant> values;
        if (s.is_call) {
            if (!call(s.call, DISPATCH_METHOD | DISPATCH_PROPERTYGET, values, line)) return false;
        } else {
            values = std::vector<com::Variant>(1);
            if (!to_variant(s.value, &values[0], line)) return false;
        }
        std::string text;
        for (std::size_t i = 0; i < values.size(); ++i) text += (i ? " " : "") + format_value(values[i]);
        out_ << text << '\n';
        return true;
    }
    }
    return false;
}

bool Host::create(const Statement& s, int) {
    Object object;
    HRESULT hr = com::create_object(s.prog_id, IID_IDispatch, reinterpret_cast<void**>(&object.dispatch));
    if (FAILED(hr)) return report(hr, nullptr);
    // The type library tells the members' [out] parameters, the enumerations and the events.
    CLSID clsid{};
    std::u16string wide = com::utf8_to_utf16(s.prog_id);
    bool known = SUCCEEDED(s.prog_id.starts_with('{') ? CLSIDFromString(wide.c_str(), &clsid)
                                                      : CLSIDFromProgID(wide.c_str(), &clsid));
    const com::TypeLibrary* library = known ? com::load_class_type_library(clsid) : nullptr;
    if (library) {
        if (std::find(libraries_.begin(), libraries_.end(), library) == libraries_.end()) libraries_.push_back(library);
        if (const com::CoClassInfo* coclass = library->find_class(clsid)) object.iface = coclass->default_interface;
    }
    connect_events(s.target, object, library, clsid);
    set_object(s.target, object);
    return true;
}

void Host::connect_events(const std::string& name, Object& object, const com::TypeLibrary* library, REFCLSID clsid) {
    const com::CoClassInfo* coclass = library ? library->find_class(clsid) : nullptr;
    if (!coclass || !coclass->source_interface) return;
    IConnectionPointContainer* container = nullptr;
    if (FAILED(object.dispatch->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container))))
        return;
    if (SUCCEEDED(container->FindConnectionPoint(coclass->source_interface->iid, &object.point))) {
        object.sink = new EventSink(out_, name, *coclass->source_interface);
        if (FAILED(object.point->Advise(object.sink, &object.cookie))) {
            object.point->Release();
            object.point = nullptr;
        }
    }
    container->Release();
}

bool Host::assign(const Statement& s, int line) {
    std::vector<com::Variant> values(1);
    if (s.is_call) {
        values.clear();
        if (!call(s.call, DISPATCH_METHOD | DISPATCH_PROPERTYGET, values, line)) return false;
    } else if (!to_variant(s.value, &values[0], line)) {
        return false;
    }
    if (values.size() != 1) return script_error(line, "Set needs exactly one object value");
    VARIANT& v = values[0];
    if (v.vt == VT_EMPTY || ((v.vt == VT_DISPATCH || v.vt == VT_UNKNOWN) && !v.punkVal)) {
        set_object(s.target, Object{});  // Set x = Nothing
        return true;
    }
    if (v.vt != VT_DISPATCH && v.vt != VT_UNKNOWN) return script_error(line, "Set needs an object");
    Object object;
    if (FAILED(v.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&object.dispatch))))
        return script_error(line, "the object does not support IDispatch");
    // A second name for a known object shares its description.
    for (auto& [name, known] : objects_) {
        if (known.dispatch == object.dispatch) object.iface = known.iface;
    }
    set_object(s.target, object);
    return true;
}

void Host::set_object(const std::string& name, Object object) {
    std::string key = lower(name);
    auto it = objects_.find(key);
    if (it != objects_.end()) {
        release(it->second);
        objects_.erase(it);
    }
    if (object.dispatch) objects_.emplace(key, object);
}

void Host::release(Object& object) {
    if (object.point) {
        object.point->Unadvise(object.cookie);
        object.point->Release();
    }
    if (object.sink) object.sink->Release();
    if (object.dispatch) object.dispatch->Release();
    object = Object{};
}

bool Host::to_variant(const Value& v, VARIANT* out, int line) {
    VariantInit(out);
    switch (v.kind) {
    case Value::Integer:
        if (v.integer >= INT32_MIN && v.integer <= INT32_MAX) {
            out->vt = VT_I4;
            out->lVal = static_cast<LONG>(v.integer);
        } else {
            out->vt = VT_R8;
            out->dblVal = static_cast<double>(v.integer);
        }
        return true;
    case Value::Real:
        out->vt = VT_R8;
        out->dblVal = v.real;
        return true;
    case Value::String:
        out->vt = VT_BSTR;
        out->bstrVal = com::bstr_from_utf8(v.text);
        return true;
    case Value::Boolean:
        out->vt = VT_BOOL;
        out->boolVal = v.boolean ? VARIANT_TRUE : VARIANT_FALSE;
        return true;
    case Value::Nothing:
        out->vt = VT_DISPATCH;
        out->pdispVal = nullptr;
        return true;
    case Value::Bytes:
        out->parray = SafeArrayCreateVector(VT_UI1, 0, static_cast<ULONG>(v.bytes.size()));
        if (!out->parray) return script_error(line, "byte array too large");
        out->vt = VT_ARRAY | VT_UI1;
        std::copy(v.bytes.begin(), v.bytes.end(), static_cast<std::uint8_t*>(out->parray->pvData));
        return true;
    case Value::Name: {
        if (auto it = objects_.find(lower(v.text)); it != objects_.end()) {
            out->vt = VT_DISPATCH;
            out->pdispVal = it->second.dispatch;
            out->pdispVal->AddRef();
            return true;
        }
        for (const com::TypeLibrary* library : libraries_) {
            if (const LONG* value = library->find_enum_value(v.text)) {
                out->vt = VT_I4;
                out->lVal = *value;
                return true;
            }
        }
        return script_error(line, "unknown name '" + v.text + "'");
    }
    }
    return false;
}

bool Host::call(const Call& c, WORD flags, std::vector<com::Variant>& values, int line) {
    auto it = objects_.find(lower(c.object));
    if (it == objects_.end()) return script_error(line, "unknown object '" + c.object + "'");
    Object& object = it->second;

    std::u16string member = com::utf8_to_utf16(c.member);
    LPOLESTR names[] = {member.data()};
    DISPID id = DISPID_UNKNOWN;
    HRESULT hr = object.dispatch->GetIDsOfNames(GUID_NULL, names, 1, 0, &id);
    if (FAILED(hr)) return report(hr, nullptr);

    // Arguments in declaration order: the script's values for [in] parameters and, when the type
    // library is known, a by-reference slot for each [out] one (the retval comes back as result).
    const com::MemberInfo* info = nullptr;
    if (object.iface) {
        com::MemberKind kind = flags == DISPATCH_PROPERTYPUT ? com::MemberKind::PropertyPut : com::MemberKind::Method;
        info = object.iface->find(id, kind);
        if (!info && kind == com::MemberKind::Method) info = object.iface->find(id, com::MemberKind::PropertyGet);
    }
    std::vector<com::Variant> args(c.args.size());
    for (std::size_t i = 0; i < c.args.size(); ++i)
        if (!to_variant(c.args[i], &args[i], line)) return false;
    std::size_t out_count = 0;
    if (info) {
        for (const com::ParamInfo& p : info->params) out_count += p.direction == com::ParamDirection::Out;
    }
    std::vector<com::Variant> outs(out_count);
    std::vector<VARIANT> ordered;  // shallow views; args and outs own the contents
    std::size_t next_in = 0, next_out = 0;
    if (info && out_count) {
        for (const com::ParamInfo& p : info->params) {
            if (p.direction == com::ParamDirection::Out) {
                VARIANT ref;
                VariantInit(&ref);
                ref.vt = VT_BYREF | VT_VARIANT;
                ref.pvarVal = &outs[next_out++];
                ordered.push_back(ref);
            } else if (p.direction == com::ParamDirection::In && next_in < args.size()) {
                ordered.push_back(args[next_in++]);
            }
        }
    }
    for (; next_in < args.size(); ++next_in) ordered.push_back(args[next_in]);
    std::reverse(ordered.begin(), ordered.end());

    DISPID put = DISPID_PROPERTYPUT;
    bool is_put = flags == DISPATCH_PROPERTYPUT;
    DISPPARAMS params{ordered.data(), is_put ? &put : nullptr, static_cast<UINT>(ordered.size()), is_put ? 1u : 0u};
    com::Variant result;
    EXCEPINFO exception{};
    UINT arg_error = 0;
    hr = object.dispatch->Invoke(id, GUID_NULL, 0, flags, &params, is_put ? nullptr : &result, &exception, &arg_error);
    bool ok = SUCCEEDED(hr) || report(hr, &exception);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    if (!ok) return false;

    values = std::vector<com::Variant>(outs.size() + (result.vt != VT_EMPTY || outs.empty() ? 1 : 0));
    for (std::size_t i = 0; i < outs.size(); ++i) {
        static_cast<VARIANT&>(values[i]) = outs[i];
        VariantInit(&outs[i]);
    }
    if (values.size() > outs.size()) {
        static_cast<VARIANT&>(values.back()) = result;
        VariantInit(&result);
    }
    return true;
}

bool Host::report(HRESULT hr, const EXCEPINFO* exception) {
    std::string description;
    if (hr == DISP_E_EXCEPTION && exception) {
        hr = exception->scode;
        description = com::bstr_to_utf8(exception->bstrDescription);
    }
    if (description.empty()) description = com::describe(hr);
    if (description.empty()) description = "Unknown error";
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(hr));
    out_ << "error " << code << ": " << description << '\n';
    return false;
}

bool Host::script_error(int line, const std::string& message) {
    errors_ << "comhost: line " << line << ": " << message << '\n';
    return false;
}

} // namespace comhost
