// The error protocol on its own: what a member reports for each kind of exception.
#include "ErrorProtocol.h"
#include "vrnImagingGuids.h"

#include "com/com.h"
#include "imaging/EImageError.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>

namespace {

// "0x80040200 source: description" of the error object the last call left.
std::string reported(HRESULT hr) {
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) != S_OK) return "no error object";
    GUID guid;
    com::Bstr source, description;
    info->GetGUID(&guid);
    info->GetSource(source.out());
    info->GetDescription(description.out());
    info->Release();
    EXPECT_EQ(guid, IID_IvrnImaging2);
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(hr));
    return std::string(code) + " " + source.utf8() + ": " + description.utf8();
}

} // namespace

TEST(ErrorProtocol, EachKindOfFailureGetsItsCodeAndMessage) {
    EXPECT_EQ(runMember(kUnknownAccess, [] {}), S_OK);
    EXPECT_EQ(reported(runMember(kUnknownAccess, [] { throw imaging::EImageError("Crop box outside image boundary", 0x202); })),
              "0x80040202 VrnImagingCom2.vrnImaging2.1: Crop box outside image boundary");
    EXPECT_EQ(reported(runMember(kUnknownReading, [] { throw std::bad_alloc(); })),
              "0x80040200 VrnImagingCom2.vrnImaging2.1: Unknown error reading file");
    EXPECT_EQ(reported(runMember(kUnknownWriting, [] { throw std::runtime_error("disk"); })),
              "0x80040200 VrnImagingCom2.vrnImaging2.1: Unknown error writing file");
    EXPECT_EQ(reported(runMember(kUnknownAccess, [] { throw 42; })),
              "0x80040200 VrnImagingCom2.vrnImaging2.1: Unknown error accessing data");
    EXPECT_EQ(reported(notImplemented()), "0x80040200 VrnImagingCom2.vrnImaging2.1: Not implemented");
    // Messages are ANSI text; the description is the same text as Unicode.
    EXPECT_EQ(reported(runMember(kUnknownAccess, [] { throw imaging::EImageError("Gr\xFCn", 0x201); })),
              "0x80040201 VrnImagingCom2.vrnImaging2.1: Gr\xC3\xBCn");
}
