// GUIDs: class, interface and type-library identifiers, parsed from and formatted as
// "{xxxxxxxx-xxxx-xxxx-xxxx-xxxxxxxxxxxx}" (upper-case hex when formatted).
#pragma once

#include "com/types.h"

#include <optional>
#include <string>
#include <string_view>

struct GUID {
    std::uint32_t Data1;
    std::uint16_t Data2;
    std::uint16_t Data3;
    std::uint8_t Data4[8];

    friend bool operator==(const GUID&, const GUID&) = default;
};
using IID = GUID;
using CLSID = GUID;
using REFIID = const IID&;
using REFCLSID = const CLSID&;
using REFGUID = const GUID&;

constexpr GUID GUID_NULL{0, 0, 0, {0, 0, 0, 0, 0, 0, 0, 0}};

namespace com {
std::optional<GUID> parse_guid(std::string_view text);
std::string format_guid(const GUID& guid);
} // namespace com
