#include "MYSORT.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>

namespace {
// A least-significant-digit radix sort on the bits of the doubles: linear in the length, and
// stable, so equal values keep the order they came in. Eleven bits a digit: six passes at most,
// and the counts of all digits (48 KB) stay in the cache.
constexpr int BITS = 11, NDIGIT = (64 + BITS - 1) / BITS, RADIX = 1 << BITS;

// The bits of a double turned so that their unsigned order is the numeric order: a negative
// number has all its bits flipped, any other only its sign bit.
std::uint64_t TOKEY(double v) {
    const auto b = std::bit_cast<std::uint64_t>(v);
    return b >> 63 ? ~b : b | std::uint64_t{1} << 63;
}

double FROMKEY(std::uint64_t k) {
    return std::bit_cast<double>(k >> 63 ? k & ~(std::uint64_t{1} << 63) : ~k);
}

// Keys live in the double arrays while they are sorted; memcpy moves their bits unchanged.
std::uint64_t GETKEY(const double *a, std::size_t k) {
    std::uint64_t u;
    std::memcpy(&u, a + k, sizeof u);
    return u;
}

void PUTKEY(double *a, std::size_t k, std::uint64_t u) {
    std::memcpy(a + k, &u, sizeof u);
}

unsigned DIGIT(std::uint64_t key, int d) {
    return static_cast<unsigned>(key >> (d * BITS)) & (RADIX - 1);
}
} // namespace

void SORTDI(double *x, int *idx, int i, int j, double *xw, int *iw) {
    if (j <= i) return;
    const std::size_t m = static_cast<std::size_t>(j - i) + 1;
    x += i - 1;
    idx += i - 1;
    std::uint32_t count[NDIGIT][RADIX] = {};
    for (std::size_t k = 0; k < m; ++k) {
        const std::uint64_t key = TOKEY(x[k]);
        PUTKEY(x, k, key);
        for (int d = 0; d < NDIGIT; ++d)
            ++count[d][DIGIT(key, d)];
    }
    double *from = x, *to = xw;
    int *ifrom = idx, *ito = iw;
    for (int d = 0; d < NDIGIT; ++d) {
        std::uint32_t *start = count[d];
        if (start[DIGIT(GETKEY(from, 0), d)] == m) continue; // a digit all keys share orders nothing
        std::uint32_t pos = 0;
        for (int r = 0; r < RADIX; ++r)
            pos += std::exchange(start[r], pos);
        for (std::size_t k = 0; k < m; ++k) {
            const std::uint64_t key = GETKEY(from, k);
            const std::uint32_t p = start[DIGIT(key, d)]++;
            PUTKEY(to, p, key);
            ito[p] = ifrom[k];
        }
        std::swap(from, to);
        std::swap(ifrom, ito);
    }
    if (from != x) {
        std::memcpy(x, from, m * sizeof *x);
        std::memcpy(idx, ifrom, m * sizeof *idx);
    }
    for (std::size_t k = 0; k < m; ++k)
        x[k] = FROMKEY(GETKEY(x, k));
}
