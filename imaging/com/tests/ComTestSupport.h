// Shared by the class tests: a temporary registry with the component registered, and helpers
// to create objects and read the error object of the last failed call.
#pragma once

#include "IvrnImaging2.h"
#include "vrnImagingGuids.h"

#include "com/com.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

class RegisteredComponent : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "vrnimaging-XXXXXX").string();
        ASSERT_TRUE(mkdtemp(pattern.data()));
        folder = pattern;
        setenv("COM_REGISTRY", (folder + "/registry").c_str(), 1);
        std::string message;
        ASSERT_EQ(com::register_module(IMAGING_MODULE, false, &message), S_OK) << message;
        CoInitialize(nullptr);
    }
    void TearDown() override {
        CoUninitialize();
        unsetenv("COM_REGISTRY");
        std::filesystem::remove_all(folder);
    }

    std::string folder;
};

// Owns one reference to an IvrnImaging2 object.
class Imaging {
public:
    Imaging() {
        EXPECT_EQ(CoCreateInstance(CLSID_vrnImaging2, nullptr, CLSCTX_INPROC_SERVER, IID_IvrnImaging2,
                                   reinterpret_cast<void**>(&object_)),
                  S_OK);
    }
    ~Imaging() {
        if (object_) object_->Release();
    }
    Imaging(const Imaging&) = delete;
    Imaging& operator=(const Imaging&) = delete;
    IvrnImaging2* operator->() const { return object_; }
    IvrnImaging2* get() const { return object_; }

private:
    IvrnImaging2* object_ = nullptr;
};

// The failed call's HRESULT and its error object as "0x80040206 No image loaded", after
// checking the error object's GUID and source.
inline std::string failure(HRESULT hr) {
    char code[16];
    std::snprintf(code, sizeof code, "0x%08X", static_cast<unsigned>(hr));
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) != S_OK) return std::string(code) + " (no error object)";
    GUID guid;
    com::Bstr source, description;
    info->GetGUID(&guid);
    info->GetSource(source.out());
    info->GetDescription(description.out());
    info->Release();
    EXPECT_EQ(guid, IID_IvrnImaging2);
    EXPECT_EQ(source.utf8(), "VrnImagingCom2.vrnImaging2.1");
    return std::string(code) + " " + description.utf8();
}

inline VARIANT byteArray(std::vector<std::uint8_t> bytes, LONG lowerBound = 0) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_ARRAY | VT_UI1;
    v.parray = SafeArrayCreateVector(VT_UI1, lowerBound, static_cast<ULONG>(bytes.size()));
    std::copy(bytes.begin(), bytes.end(), static_cast<std::uint8_t*>(v.parray->pvData));
    return v;
}

inline std::vector<std::uint8_t> bytesIn(const VARIANT& v) {
    EXPECT_EQ(v.vt, VT_ARRAY | VT_UI1);
    if (v.vt != (VT_ARRAY | VT_UI1)) return {};
    LONG lower = -1;
    SafeArrayGetLBound(v.parray, 1, &lower);
    EXPECT_EQ(lower, 0);
    auto* data = static_cast<const std::uint8_t*>(v.parray->pvData);
    return {data, data + v.parray->rgsabound[0].cElements};
}
