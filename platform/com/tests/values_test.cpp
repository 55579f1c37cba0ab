// GUIDs, BSTRs, SAFEARRAYs and VARIANT conversions.
#include "com/com.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(Guid, ParsesAndFormatsTheBracedForm) {
    auto g = com::parse_guid("{63ab35f3-1356-41DC-B522-E31EAEAF0AA1}");
    ASSERT_TRUE(g);
    EXPECT_EQ(g->Data1, 0x63AB35F3u);
    EXPECT_EQ(g->Data4[7], 0xA1);
    EXPECT_EQ(com::format_guid(*g), "{63AB35F3-1356-41DC-B522-E31EAEAF0AA1}");
    for (const char* bad : {"", "{63AB35F3-1356-41DC-B522-E31EAEAF0AA}", "63AB35F3-1356-41DC-B522-E31EAEAF0AA1",
                            "{63AB35F3+1356-41DC-B522-E31EAEAF0AA1}", "{63AB35G3-1356-41DC-B522-E31EAEAF0AA1}"})
        EXPECT_FALSE(com::parse_guid(bad)) << bad;
}

TEST(Bstr, KeepsItsLengthAndEmbeddedZeros) {
    const OLECHAR text[] = {u'a', 0, u'b'};
    BSTR s = SysAllocStringLen(text, 3);
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(SysStringLen(s), 3u);
    EXPECT_EQ(s[1], 0);
    EXPECT_EQ(s[3], 0);  // terminated
    SysFreeString(s);
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    SysFreeString(nullptr);
    BSTR zeroed = SysAllocStringLen(nullptr, 2);
    EXPECT_EQ(zeroed[0], 0);
    SysFreeString(zeroed);
    EXPECT_EQ(SysAllocStringLen(nullptr, 0x7FFFFFFF), nullptr);  // more than a 32-bit byte length holds
}

TEST(Bstr, ConvertsUtf8BothWays) {
    com::Bstr s("caf\xC3\xA9 \xF0\x9F\x98\x80");
    EXPECT_EQ(SysStringLen(s.get()), 7u);  // the emoji is a surrogate pair
    EXPECT_EQ(s.utf8(), "caf\xC3\xA9 \xF0\x9F\x98\x80");
    EXPECT_EQ(com::utf16_to_utf8(com::utf8_to_utf16("a\xC3")), "a\xEF\xBF\xBD");  // truncated sequence
    EXPECT_EQ(com::utf16_to_utf8(std::u16string(1, char16_t(0xDC00))), "\xEF\xBF\xBD");
}

TEST(SafeArray, BoundsAndDimensions) {
    SAFEARRAYBOUND bounds[2] = {{3, 1}, {4, -2}};
    SAFEARRAY* a = SafeArrayCreate(VT_I4, 2, bounds);
    ASSERT_NE(a, nullptr);
    LONG lower = 0, upper = 0;
    EXPECT_EQ(SafeArrayGetDim(a), 2u);
    EXPECT_EQ(SafeArrayGetElemsize(a), 4u);
    ASSERT_EQ(SafeArrayGetLBound(a, 1, &lower), S_OK);
    ASSERT_EQ(SafeArrayGetUBound(a, 1, &upper), S_OK);
    EXPECT_EQ(lower, 1);
    EXPECT_EQ(upper, 3);
    ASSERT_EQ(SafeArrayGetLBound(a, 2, &lower), S_OK);
    ASSERT_EQ(SafeArrayGetUBound(a, 2, &upper), S_OK);
    EXPECT_EQ(lower, -2);
    EXPECT_EQ(upper, 1);
    EXPECT_EQ(SafeArrayGetLBound(a, 0, &lower), DISP_E_BADINDEX);
    EXPECT_EQ(SafeArrayGetUBound(a, 3, &upper), DISP_E_BADINDEX);

    void* data = nullptr;
    ASSERT_EQ(SafeArrayAccessData(a, &data), S_OK);
    static_cast<LONG*>(data)[11] = 7;  // the last of 12 elements
    EXPECT_EQ(SafeArrayDestroy(a), DISP_E_ARRAYISLOCKED);
    EXPECT_EQ(SafeArrayUnaccessData(a), S_OK);
    EXPECT_EQ(SafeArrayUnaccessData(a), E_UNEXPECTED);
    EXPECT_EQ(SafeArrayDestroy(a), S_OK);
}

TEST(SafeArray, RefusesUnsupportedTypesAndHugeSizes) {
    EXPECT_EQ(SafeArrayCreateVector(VT_BSTR, 0, 4), nullptr);
    EXPECT_EQ(SafeArrayCreate(VT_UI1, 0, nullptr), nullptr);
    SAFEARRAYBOUND huge[2] = {{0x10000, 0}, {0x10000, 0}};
    EXPECT_EQ(SafeArrayCreate(VT_UI1, 2, huge), nullptr);
    SAFEARRAY* empty = SafeArrayCreateVector(VT_UI1, 0, 0);
    ASSERT_NE(empty, nullptr);
    LONG upper = 0;
    SafeArrayGetUBound(empty, 1, &upper);
    EXPECT_EQ(upper, -1);
    SafeArrayDestroy(empty);
}

TEST(Variant, CopyIsDeepAndClearFreesEverything) {
    com::Variant bytes;
    bytes.vt = VT_ARRAY | VT_UI1;
    bytes.parray = SafeArrayCreateVector(VT_UI1, 0, 3);
    static_cast<BYTE*>(bytes.parray->pvData)[1] = 9;
    com::Variant copy;
    ASSERT_EQ(VariantCopy(&copy, &bytes), S_OK);
    EXPECT_NE(copy.parray, bytes.parray);
    EXPECT_EQ(static_cast<BYTE*>(copy.parray->pvData)[1], 9);

    com::Variant text;
    text.vt = VT_BSTR;
    text.bstrVal = com::bstr_from_utf8("abc");
    ASSERT_EQ(VariantCopy(&copy, &text), S_OK);  // the array in copy is freed first
    EXPECT_EQ(com::bstr_to_utf8(copy.bstrVal), "abc");
    EXPECT_NE(copy.bstrVal, text.bstrVal);
}

namespace {

VARIANT make(VARTYPE vt) {
    VARIANT v;
    VariantInit(&v);
    v.vt = vt;
    return v;
}
VARIANT i4(LONG x) { VARIANT v = make(VT_I4); v.lVal = x; return v; }
VARIANT r8(double x) { VARIANT v = make(VT_R8); v.dblVal = x; return v; }
VARIANT boolean(bool x) { VARIANT v = make(VT_BOOL); v.boolVal = x ? VARIANT_TRUE : VARIANT_FALSE; return v; }

// Converts and returns the result as text (or the failure code as "error").
std::string change(VARIANT source, VARTYPE vt) {
    com::Variant to;
    HRESULT hr = VariantChangeType(&to, &source, 0, vt);
    VariantClear(&source);
    if (FAILED(hr)) return hr == DISP_E_OVERFLOW ? "overflow" : hr == DISP_E_TYPEMISMATCH ? "mismatch" : "error";
    EXPECT_EQ(to.vt, vt);
    switch (vt) {
    case VT_UI1: return std::to_string(to.bVal);
    case VT_I2: return std::to_string(to.iVal);
    case VT_I4: return std::to_string(to.lVal);
    case VT_R4: return std::to_string(to.fltVal);
    case VT_R8: return std::to_string(to.dblVal);
    case VT_BOOL: return to.boolVal == VARIANT_TRUE ? "true" : to.boolVal == VARIANT_FALSE ? "false" : "bad bool";
    case VT_BSTR: return "'" + com::bstr_to_utf8(to.bstrVal) + "'";
    default: return "?";
    }
}

VARIANT text(const char* s) {
    VARIANT v = make(VT_BSTR);
    v.bstrVal = com::bstr_from_utf8(s);
    return v;
}

} // namespace

TEST(VariantChangeType, ConvertsAmongNumbersBooleansAndStrings) {
    struct Case {
        VARIANT from;
        VARTYPE to;
        const char* expected;
    };
    Case cases[] = {
        {i4(300), VT_UI1, "overflow"},
        {i4(255), VT_UI1, "255"},
        {i4(-1), VT_UI1, "overflow"},
        {i4(40000), VT_I2, "overflow"},
        {i4(-32768), VT_I2, "-32768"},
        {r8(2.5), VT_I4, "2"},  // halves round to even
        {r8(3.5), VT_I4, "4"},
        {r8(-2.5), VT_I4, "-2"},
        {r8(3e9), VT_I4, "overflow"},
        {r8(NAN), VT_I4, "overflow"},
        {r8(1e39), VT_R4, "overflow"},
        {i4(7), VT_R8, "7.000000"},
        {i4(0), VT_BOOL, "false"},
        {r8(0.25), VT_BOOL, "true"},
        {boolean(true), VT_I4, "-1"},
        {boolean(false), VT_BSTR, "'False'"},
        {boolean(true), VT_BSTR, "'True'"},
        {i4(-42), VT_BSTR, "'-42'"},
        {r8(0.1), VT_BSTR, "'0.1'"},  // shortest text that reads back the same double
        {text(" 12 "), VT_I4, "12"},
        {text("+7"), VT_I2, "7"},
        {text("1.5e2"), VT_I4, "150"},
        {text("2.5"), VT_I4, "2"},
        {text("12abc"), VT_I4, "mismatch"},
        {text(""), VT_I4, "mismatch"},
        {text("99999999999"), VT_I4, "overflow"},
        {text("1e999"), VT_R8, "overflow"},
        {text("true"), VT_BOOL, "true"},
        {text("FALSE"), VT_BOOL, "false"},
        {text("0"), VT_BOOL, "false"},
        {text("maybe"), VT_BOOL, "mismatch"},
        {make(VT_EMPTY), VT_I4, "0"},
        {make(VT_EMPTY), VT_BSTR, "''"},
        {make(VT_NULL), VT_I4, "mismatch"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(change(cases[i].from, cases[i].to), cases[i].expected) << "case " << i;
}

TEST(VariantChangeType, ReadsThroughReferencesAndConvertsInPlace) {
    LONG target = 41;
    VARIANT ref = make(VT_BYREF | VT_I4);
    ref.plVal = &target;
    EXPECT_EQ(change(ref, VT_BSTR), "'41'");

    com::Variant v;
    v.vt = VT_BSTR;
    v.bstrVal = com::bstr_from_utf8("17");
    ASSERT_EQ(VariantChangeType(&v, &v, 0, VT_I2), S_OK);  // the string is freed
    EXPECT_EQ(v.vt, VT_I2);
    EXPECT_EQ(v.iVal, 17);

    com::Variant bytes, out;
    bytes.vt = VT_ARRAY | VT_UI1;
    bytes.parray = SafeArrayCreateVector(VT_UI1, 0, 1);
    EXPECT_EQ(VariantChangeType(&out, &bytes, 0, VT_BSTR), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(out.vt, VT_EMPTY);  // a failed conversion leaves the target alone
}
