// Fixed-width text fields: model-file texts (names, types, family, link, keywords) are kept padded
// with blanks or cut to the width of their field, and compared character by character with a
// keyword padded the same way.
#pragma once
#include <algorithm>
#include <string>
#include <string_view>

// s padded with blanks or cut to exactly width characters.
inline std::string PADTXT(std::string_view s, std::size_t width) {
    std::string r(s.substr(0, width));
    r.resize(width, ' ');
    return r;
}

// True when the field (of any width) equals the keyword padded with blanks to that width.
inline bool SAMETXT(std::string_view field, std::string_view keyword) {
    return keyword.size() <= field.size() && field.substr(0, keyword.size()) == keyword &&
           std::all_of(field.begin() + keyword.size(), field.end(), [](char c) { return c == ' '; });
}

// The field without its trailing blanks.
inline std::string_view TRIMTXT(std::string_view field) {
    std::size_t end = field.find_last_not_of(' ');
    return end == std::string_view::npos ? std::string_view() : field.substr(0, end + 1);
}
