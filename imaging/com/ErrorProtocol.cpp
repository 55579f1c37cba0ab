#include "ErrorProtocol.h"

#include "vrnImagingGuids.h"

#include "com/errorinfo.h"
#include "cp1252.h"
#include "imaging/EImageError.h"

namespace {

constexpr const char* kProgId = "VrnImagingCom2.vrnImaging2.1";

HRESULT report(int code, const std::string& ansiMessage) {
    HRESULT hr = static_cast<HRESULT>(0x80040000u + static_cast<unsigned>(code));
    return com::report_error(hr, IID_IvrnImaging2, kProgId, cp1252::to_utf8(ansiMessage).c_str());
}

} // namespace

HRESULT runMember(const char* unknownMessage, const std::function<void()>& body) {
    try {
        body();
        return S_OK;
    } catch (const imaging::EImageError& e) {
        return report(e.code(), e.what());
    } catch (...) {
        return report(imaging::errUnknown, unknownMessage);
    }
}

HRESULT notImplemented() { return report(imaging::errUnknown, "Not implemented"); }
