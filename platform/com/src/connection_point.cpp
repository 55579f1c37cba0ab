#include "com/connection_point.h"

#include <algorithm>

namespace com {

ConnectionPoint::ConnectionPoint(IConnectionPointContainer& owner, REFIID events) : owner_(owner), events_(events) {}

ConnectionPoint::~ConnectionPoint() {
    for (auto& [cookie, sink] : sinks_) sink->Release();
}

HRESULT ConnectionPoint::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IConnectionPoint) {
        *object = static_cast<IConnectionPoint*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG ConnectionPoint::AddRef() { return owner_.AddRef(); }
ULONG ConnectionPoint::Release() { return owner_.Release(); }

HRESULT ConnectionPoint::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = events_;
    return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (!container) return E_POINTER;
    owner_.AddRef();
    *container = &owner_;
    return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!sink || !cookie) return E_POINTER;
    *cookie = 0;
    void* events = nullptr;
    if (FAILED(sink->QueryInterface(events_, &events)) &&
        FAILED(sink->QueryInterface(IID_IDispatch, &events)))
        return CONNECT_E_CANNOTCONNECT;
    *cookie = next_cookie_++;
    sinks_.emplace_back(*cookie, static_cast<IDispatch*>(events));
    return S_OK;
}

HRESULT ConnectionPoint::Unadvise(DWORD cookie) {
    auto it = std::find_if(sinks_.begin(), sinks_.end(), [&](const auto& s) { return s.first == cookie; });
    if (it == sinks_.end()) return CONNECT_E_NOCONNECTION;
    IDispatch* sink = it->second;
    sinks_.erase(it);
    sink->Release();
    return S_OK;
}

HRESULT ConnectionPoint::EnumConnections(IEnumConnections** connections) {
    if (connections) *connections = nullptr;
    return E_NOTIMPL;
}

void ConnectionPoint::fire(DISPID id, std::vector<VARIANT> args) {
    std::reverse(args.begin(), args.end());  // DISPPARAMS holds arguments last to first
    DISPPARAMS params{args.data(), nullptr, static_cast<UINT>(args.size()), 0};
    // A sink may unadvise while it handles the event: call a held copy of the list.
    std::vector<IDispatch*> sinks;
    for (auto& [cookie, sink] : sinks_) {
        sink->AddRef();
        sinks.push_back(sink);
    }
    for (IDispatch* sink : sinks) {
        VARIANT result;
        VariantInit(&result);
        sink->Invoke(id, GUID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr);
        VariantClear(&result);
        sink->Release();
    }
}

} // namespace com
