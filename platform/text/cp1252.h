// Windows-1252 ("ANSI") text, the 8-bit encoding the engines keep internally, and its conversions
// at the boundaries (UTF-8 files and Qt strings, UTF-16 BSTRs). A character that has no
// Windows-1252 byte becomes '?'; malformed UTF-8 or UTF-16 input also becomes '?'.
#pragma once

#include <string>
#include <string_view>

namespace cp1252 {

// The Unicode code point of a Windows-1252 byte (the five unassigned bytes map to U+FFFD).
char32_t to_unicode(unsigned char byte);
// The Windows-1252 byte of a code point, or '?' when it has none.
unsigned char from_unicode(char32_t cp);

std::string to_utf8(std::string_view ansi);
std::string from_utf8(std::string_view utf8);
std::u16string to_utf16(std::string_view ansi);
std::string from_utf16(std::u16string_view utf16);

} // namespace cp1252
