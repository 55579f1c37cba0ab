#include "TERMLAB.h"

#include <array>
#include <cstdio>

namespace {
std::array<char[5], 50> table() {
    std::array<char[5], 50> t{};
    std::snprintf(t[0], 5, "    ");
    for (int k = 1; k <= 46; ++k)
        std::snprintf(t[k], 5, k + 1 < 10 ? "d%d: " : "d%d:", k + 1);
    std::snprintf(t[47], 5, "cv: ");
    std::snprintf(t[48], 5, "lin:");
    std::snprintf(t[49], 5, "mi: ");
    return t;
}
} // namespace

const char *TERMLABEL(int k) {
    static const std::array<char[5], 50> labels = table();
    return labels[k];
}
