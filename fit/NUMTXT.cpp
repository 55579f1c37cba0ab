#include "NUMTXT.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace {
using U64 = std::uint64_t;
// Digits are assembled as the bytes of 64-bit words, first digit in the lowest byte.
static_assert(std::endian::native == std::endian::little);

// Powers of ten that doubles hold exactly, and as integers.
constexpr double POW10[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                              1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr U64 IPOW10[20] = {1ULL,
                            10ULL,
                            100ULL,
                            1000ULL,
                            10000ULL,
                            100000ULL,
                            1000000ULL,
                            10000000ULL,
                            100000000ULL,
                            1000000000ULL,
                            10000000000ULL,
                            100000000000ULL,
                            1000000000000ULL,
                            10000000000000ULL,
                            100000000000000ULL,
                            1000000000000000ULL,
                            10000000000000000ULL,
                            100000000000000000ULL,
                            1000000000000000000ULL,
                            10000000000000000000ULL};

// "00" to "99": two digits per division.
constexpr char PAIRS[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                         "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                         "8081828384858687888990919293949596979899";

U64 PAIR(unsigned r) {
    std::uint16_t p;
    std::memcpy(&p, PAIRS + 2 * r, 2);
    return p;
}

// The four digits of x < 10^4 and the eight of x < 10^8, leading zeros included, as the bytes
// of a word.
U64 FOURDIGITS(unsigned x) {
    return PAIR(x / 100) | PAIR(x % 100) << 16;
}
U64 EIGHTDIGITS(unsigned x) {
    return FOURDIGITS(x / 10000) | FOURDIGITS(x % 10000) << 32;
}

// The number of decimal digits of m (1 for 0).
int NDIGITS(U64 m) {
    const int t = (64 - std::countl_zero(m | 1)) * 1233 >> 12; // about log10 of the next power of 2
    return t - ((m | 1) < IPOW10[t]) + 1;
}

// The integer nearest to a * 10^k (a >= 0, -22 <= k <= 22), as printf rounds the exact decimal
// value of a. The product p in doubles lies within half an ulp of the exact one, and p + 1/2
// within half an ulp of its sum, so p + 1/2 rounded down is that integer unless p's fraction lies
// within about an ulp of one half; those rare cases (and p at or above 2^52) return false and are
// left to the library. The test is off the path of the digits.
bool SCALED(double a, int k, U64 &m) {
    const double p = k >= 0 ? a * POW10[k] : a / POW10[-k];
    if (!(p < 0x1p52)) return false;
    m = static_cast<U64>(static_cast<std::int64_t>(p + 0.5));
    const double frac = p - static_cast<double>(static_cast<std::int64_t>(p)); // exact below 2^52
    return std::fabs(frac - 0.5) > (p + 1.0) * 0x1p-52;
}

// The field text by the library, unpadded: fixed point when it fits, else the exponent form.
int LIBFIELD(double v, int w, int d, char *out) {
    int len = static_cast<int>(std::to_chars(out, out + NUMTXTMAX, v, std::chars_format::fixed, d).ptr - out);
    if (len <= w || !std::isfinite(v)) return len;
    for (int p = w; p >= 0; --p) { // fewest decimals last
        len = static_cast<int>(std::to_chars(out, out + NUMTXTMAX, v, std::chars_format::scientific, p).ptr -
                               out);
        if (len <= w) return len;
    }
    return len;
}
} // namespace

int GENERALTXT(double v, char *out) {
    const double a = std::fabs(v);
    U64 m = 0;
    int e = 0; // decimal exponent of a as rounded to 7 digits
    bool fast = a >= 1e-15 && a < 1e15;
    if (fast) {
        // floor(log10 2 * binary exponent): the decimal exponent of a, or one below it
        const int b2 = static_cast<int>(std::bit_cast<U64>(a) >> 52) - 1023;
        e = b2 * 78913 >> 18;
        // Seven digits: one more exponent when there are eight, as also when 9999999.5 or more
        // rounds up to 10000000 (which becomes 1000000).
        while ((fast = SCALED(a, 6 - e, m)) && m >= 10000000)
            ++e;
    }
    if (!fast)
        return static_cast<int>(std::to_chars(out, out + NUMTXTMAX, v, std::chars_format::general, 7).ptr -
                                out);

    // The 7 digits in bytes 0 to 6; %g keeps them up to the last one that is not 0.
    const unsigned hi = static_cast<unsigned>(m / 10000), lo = static_cast<unsigned>(m % 10000);
    const U64 dig = ('0' + hi / 100) | PAIR(hi % 100) << 8 | PAIR(lo / 100) << 24 | PAIR(lo % 100) << 40;
    const int nd = 7 - ((std::countl_zero(dig ^ 0x0030303030303030) - 8) >> 3);

    char *o = out;
    *o = '-';
    o += v < 0;
    if (e < -4 || e >= 7) { // d.dddddde+XX
        const U64 t = (dig & 0xff) | U64{'.'} << 8 | (dig & ~U64{0xff}) << 8;
        std::memcpy(o, &t, 8);
        o += nd > 1 ? nd + 1 : 1;
        o[0] = 'e';
        o[1] = e < 0 ? '-' : '+';
        std::memcpy(o + 2, PAIRS + 2 * (e < 0 ? -e : e), 2); // |e| < 100 here
        o += 4;
    } else if (e < 0) { // 0.000ddddddd
        std::memcpy(o, "0.000000", 8);
        o += 1 - e;
        std::memcpy(o, &dig, 8);
        o += nd;
    } else { // ddd.dddd
        const U64 low = (U64{1} << 8 * (e + 1)) - 1;
        const U64 t = (dig & low) | U64{'.'} << 8 * (e + 1) | (dig & ~low) << 8;
        std::memcpy(o, &t, 8);
        o += nd > e + 1 ? nd + 1 : e + 1;
    }
    return static_cast<int>(o - out);
}

namespace {
// REALFIELD in fixed point for D decimals (a constant, so that splitting m costs no division);
// returns 0 when the library has to edit the field.
template <int D> int FIXEDFIELD(double v, int w, char *out) {
    static_assert(D >= 0 && D <= 7);
    U64 m;
    if (!SCALED(std::fabs(v), D, m)) return 0;
    const U64 ip = m / IPOW10[D];
    if (ip >= 100000000) return 0;
    const int k = NDIGITS(ip), neg = std::signbit(v), len = neg + k + (D > 0) + D;
    if (len > w) return 0;
    if (w <= 16)
        std::memcpy(out, "                ", 16);
    else
        std::memset(out, ' ', w - len);
    char *o = out + (w - len);
    *o = '-';
    o += neg;
    const U64 idig = EIGHTDIGITS(static_cast<unsigned>(ip)) >> 8 * (8 - k); // its k digits
    std::memcpy(o, &idig, 8);
    if constexpr (D > 0) { // the point and the last D of the 8 digits of the fraction
        const auto f = static_cast<unsigned>(m % IPOW10[D]);
        const U64 fdig = D <= 4 ? FOURDIGITS(f) >> 8 * (4 - D) : EIGHTDIGITS(f) >> 8 * (8 - D);
        const U64 pfdig = U64{'.'} | fdig << 8;
        std::memcpy(o + k, &pfdig, 8);
    }
    return w;
}
} // namespace

int REALFIELD(double v, int w, int d, char *out) {
    int len = 0;
    switch (d) { // the decimals of the result files' fields
    case 2:
        len = FIXEDFIELD<2>(v, w, out);
        break;
    case 3:
        len = FIXEDFIELD<3>(v, w, out);
        break;
    case 4:
        len = FIXEDFIELD<4>(v, w, out);
        break;
    case 6:
        len = FIXEDFIELD<6>(v, w, out);
        break;
    }
    if (len > 0) return len;
    char b[NUMTXTMAX];
    len = LIBFIELD(v, w, d, b);
    const int pad = std::max(w - len, 0);
    std::memset(out, ' ', pad);
    std::memcpy(out + pad, b, len);
    return pad + len;
}

std::string RFIELD(double v, int w, int d) {
    std::string s(static_cast<std::size_t>(std::max(w, 0)) + NUMTXTMAX, ' ');
    s.resize(REALFIELD(v, w, d, s.data()));
    return s;
}
