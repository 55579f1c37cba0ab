#include "NUMSCAN.h"

#include <charconv>
#include <cmath>

namespace {
// Drops one leading '+', which from_chars does not accept; a second sign is left to fail.
bool dropplus(std::string_view &s) {
    if (!s.empty() && s[0] == '+') {
        s.remove_prefix(1);
        return !s.empty() && s[0] != '+' && s[0] != '-';
    }
    return true;
}

bool whole(std::string_view s, double &v) {
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::general);
    return ec == std::errc() && ptr == s.data() + s.size() && std::isfinite(v);
}
} // namespace

bool SCANREAL(std::string_view s, double &v) {
    if (s.empty() || !dropplus(s) || s.empty()) return false;
    if (whole(s, v)) return true; // the words from_chars also takes ("inf", "nan") are not finite
    std::size_t dpos = s.find_first_of("dD");
    if (dpos == std::string_view::npos) return false;
    // A D exponent: rewrite it as E in a local copy (a longer text cannot be a sensible number).
    char buf[128];
    if (s.size() >= sizeof buf) return false;
    s.copy(buf, s.size());
    buf[dpos] = 'e';
    return whole(std::string_view(buf, s.size()), v);
}

bool SCANINT(std::string_view s, int &v) {
    if (s.empty() || !dropplus(s) || s.empty()) return false;
    auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    return ec == std::errc() && ptr == s.data() + s.size();
}
