// Runs comhost scripts: keeps the named objects, calls them through IDispatch by name, prints
// results and errors, and writes the events the objects fire.
#pragma once

#include "script.h"

#include "com/com.h"

#include <iosfwd>
#include <map>
#include <string>
#include <vector>

namespace comhost {

class EventSink;

class Host {
public:
    Host(std::ostream& out, std::ostream& errors);
    ~Host();  // releases every object
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    // Runs every line of a script; false when any statement failed.
    bool run(std::istream& script);
    // Runs one statement; false when it failed (the error is written).
    bool execute(const Statement& statement, int line);

private:
    struct Object {
        IDispatch* dispatch = nullptr;
        const com::InterfaceInfo* iface = nullptr;  // null when no type library describes it
        EventSink* sink = nullptr;
        IConnectionPoint* point = nullptr;
        DWORD cookie = 0;
    };

    bool create(const Statement& s, int line);
    bool assign(const Statement& s, int line);
    // Calls a member; values receives the [out] values in declaration order (the retval last).
    bool call(const Call& c, WORD flags, std::vector<com::Variant>& values, int line);
    bool to_variant(const Value& v, VARIANT* out, int line);
    void set_object(const std::string& name, Object object);
    void release(Object& object);
    void connect_events(const std::string& name, Object& object, const com::TypeLibrary* library, REFCLSID clsid);
    bool report(HRESULT hr, const EXCEPINFO* exception);
    bool script_error(int line, const std::string& message);

    std::ostream& out_;
    std::ostream& errors_;
    std::map<std::string, Object> objects_;  // by lower-case name
    std::vector<const com::TypeLibrary*> libraries_;
};

// Formats a value as Print writes it: integers in decimal, reals with enough digits to read back
// the same number, strings as UTF-8, True/False, byte arrays in lower-case hex.
std::string format_value(const VARIANT& v);

} // namespace comhost
