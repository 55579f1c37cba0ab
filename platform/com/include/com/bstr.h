// BSTR: a UTF-16 string preceded by its 32-bit byte length and followed by a zero character.
// A null BSTR is the empty string.
#pragma once

#include "com/types.h"

#include <string>
#include <string_view>

BSTR SysAllocString(LPCOLESTR text);
BSTR SysAllocStringLen(const OLECHAR* text, UINT length);  // text may be null: zero-filled
void SysFreeString(BSTR text);
UINT SysStringLen(BSTR text);

namespace com {

// UTF-8 <-> UTF-16 for hosts and files; malformed input becomes U+FFFD.
std::u16string utf8_to_utf16(std::string_view utf8);
std::string utf16_to_utf8(std::u16string_view utf16);

BSTR bstr_from_utf8(std::string_view utf8);
std::string bstr_to_utf8(BSTR text);
inline std::u16string_view bstr_view(BSTR text) { return {text ? text : u"", SysStringLen(text)}; }

// Owns one BSTR and frees it.
class Bstr {
public:
    Bstr() = default;
    explicit Bstr(std::string_view utf8) : text_(bstr_from_utf8(utf8)) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    ~Bstr() { SysFreeString(text_); }

    BSTR get() const { return text_; }
    BSTR* out() { SysFreeString(text_); text_ = nullptr; return &text_; }
    BSTR release() { BSTR t = text_; text_ = nullptr; return t; }
    std::string utf8() const { return bstr_to_utf8(text_); }

private:
    BSTR text_ = nullptr;
};

} // namespace com
