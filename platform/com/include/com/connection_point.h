// A connection point for one outgoing (event) dispinterface, embedded in the object that fires
// the events. Sinks are IDispatch objects that the host advises; firing an event calls Invoke
// on every sink with the event's DISPID.
#pragma once

#include "com/interfaces.h"
#include "com/variant.h"

#include <utility>
#include <vector>

namespace com {

class ConnectionPoint final : public IConnectionPoint {
public:
    // The owner keeps this object alive; AddRef and Release are forwarded to it.
    ConnectionPoint(IConnectionPointContainer& owner, REFIID events);
    ~ConnectionPoint();  // releases the sinks still advised
    ConnectionPoint(const ConnectionPoint&) = delete;
    ConnectionPoint& operator=(const ConnectionPoint&) = delete;

    STDMETHOD(QueryInterface)(REFIID riid, void** object) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    STDMETHOD(GetConnectionInterface)(IID* iid) override;
    STDMETHOD(GetConnectionPointContainer)(IConnectionPointContainer** container) override;
    STDMETHOD(Advise)(IUnknown* sink, DWORD* cookie) override;
    STDMETHOD(Unadvise)(DWORD cookie) override;
    STDMETHOD(EnumConnections)(IEnumConnections** connections) override;

    REFIID events() const { return events_; }
    bool has_sinks() const { return !sinks_.empty(); }
    // Calls every sink; args are in declaration order and stay owned by the caller.
    void fire(DISPID id, std::vector<VARIANT> args = {});

private:
    IConnectionPointContainer& owner_;
    IID events_;
    std::vector<std::pair<DWORD, IDispatch*>> sinks_;
    DWORD next_cookie_ = 1;
};

} // namespace com
