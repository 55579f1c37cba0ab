#include "RESFILE.h"

#include "MSG.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Powers of ten that doubles hold exactly.
constexpr double POW10[23] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                              1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// "00" to "99": two digits per division.
constexpr char PAIRS[] = "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
                         "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
                         "8081828384858687888990919293949596979899";

// The decimal digits of m into out; returns their count.
int DIGITS(unsigned long long m, char *out) {
    char t[24];
    int k = 24;
    while (m >= 100) {
        const unsigned r = static_cast<unsigned>(m % 100);
        m /= 100;
        t[--k] = PAIRS[2 * r + 1];
        t[--k] = PAIRS[2 * r];
    }
    if (m >= 10) {
        t[--k] = PAIRS[2 * m + 1];
        t[--k] = PAIRS[2 * m];
    } else {
        t[--k] = static_cast<char>('0' + m);
    }
    std::memcpy(out, t + k, 24 - k);
    return 24 - k;
}

// v in fixed-point with d decimals into out (at least 350 bytes); returns the length. The result
// files write millions of numbers, so the common case (|v| 10^d below 2^53) is edited here with
// integers; the rest goes to the library.
int FIXEDTXT(double v, int d, char *out, std::size_t size) {
    const double a = std::fabs(v);
    if (!(d >= 0 && d <= 9 && a * POW10[d] < 9007199254740992.0))
        return static_cast<int>(std::to_chars(out, out + size, v, std::chars_format::fixed, d).ptr - out);
    const unsigned long long m = static_cast<unsigned long long>(std::llrint(a * POW10[d]));
    const unsigned long long scale = static_cast<unsigned long long>(POW10[d]);
    int len = 0;
    if (std::signbit(v)) out[len++] = '-';
    len += DIGITS(m / scale, out + len);
    if (d > 0) {
        out[len++] = '.';
        unsigned long long f = m % scale;
        for (int k = d - 1; k >= 0; --k, f /= 10)
            out[len + k] = static_cast<char>('0' + f % 10);
        len += d;
    }
    return len;
}

// v with 7 significant digits, the shorter of fixed and exponent form as printf's %.7g, into
// out (at least 64 bytes); returns the length.
int GENERALTXT(double v, char *out, std::size_t size) {
    const double a = std::fabs(v);
    if (a == 0.0 || !std::isfinite(v) || a < 1e-15 || a >= 1e15)
        return static_cast<int>(std::to_chars(out, out + size, v, std::chars_format::general, 7).ptr - out);
    // floor(log10 2 * binary exponent): the decimal exponent, or one below it
    const int b2 = static_cast<int>(std::bit_cast<unsigned long long>(a) >> 52) - 1023;
    int e = b2 * 78913 >> 18;
    auto scaled = [&](int e) { // a with 7 digits before the point, rounded
        const int k = 6 - e;
        return static_cast<unsigned long long>(std::llrint(k >= 0 ? a * POW10[k] : a / POW10[-k]));
    };
    unsigned long long m = scaled(e);
    if (m >= 10000000ULL)
        m = scaled(++e);
    else if (m < 1000000ULL)
        m = scaled(--e);
    if (m >= 10000000ULL) { // 9999999.5 rounded up
        m /= 10;
        ++e;
    }
    char dig[7]; // the 7 digits of m
    for (int k = 5; k >= 1; k -= 2, m /= 100) {
        const unsigned r = static_cast<unsigned>(m % 100);
        dig[k] = PAIRS[2 * r];
        dig[k + 1] = PAIRS[2 * r + 1];
    }
    dig[0] = static_cast<char>('0' + m);
    int nd = 7;
    while (nd > 1 && dig[nd - 1] == '0')
        --nd; // %g drops trailing zeros
    int len = 0;
    if (v < 0) out[len++] = '-';
    if (e < -4 || e >= 7) {
        out[len++] = dig[0];
        if (nd > 1) {
            out[len++] = '.';
            for (int k = 1; k < nd; ++k)
                out[len++] = dig[k];
        }
        out[len++] = 'e';
        out[len++] = e < 0 ? '-' : '+';
        const int ae = e < 0 ? -e : e;
        if (ae >= 100) out[len++] = static_cast<char>('0' + ae / 100);
        out[len++] = static_cast<char>('0' + ae / 10 % 10);
        out[len++] = static_cast<char>('0' + ae % 10);
    } else if (e < 0) {
        out[len++] = '0';
        out[len++] = '.';
        for (int k = e; k < -1; ++k)
            out[len++] = '0';
        for (int k = 0; k < nd; ++k)
            out[len++] = dig[k];
    } else {
        for (int k = 0; k <= e; ++k)
            out[len++] = k < nd ? dig[k] : '0';
        if (nd > e + 1) {
            out[len++] = '.';
            for (int k = e + 1; k < nd; ++k)
                out[len++] = dig[k];
        }
    }
    return len;
}

// The field text of RFIELD into out (at least 400 bytes); returns its length before padding.
int FIELDTXT(double v, int w, int d, char *out, std::size_t size) {
    int len = FIXEDTXT(v, d, out, size);
    if (len <= w || !std::isfinite(v)) return len;
    for (int p = w; p >= 0; --p) { // fewest decimals last
        len = static_cast<int>(std::to_chars(out, out + size, v, std::chars_format::scientific, p).ptr - out);
        if (len <= w) return len;
    }
    return len;
}
} // namespace

std::string RFIELD(double v, int w, int d) {
    char b[400];
    const int len = FIELDTXT(v, w, d, b, sizeof b);
    std::string s(len < w ? w - len : 0, ' ');
    return s.append(b, len);
}

RESFILE::RESFILE(std::string name) : name_(std::move(name)) {
    tmp_ = name_ + ".tmpXXXXXX";
    fd_ = mkstemp(tmp_.data());
    if (fd_ < 0) {
        tmp_.clear();
        fail("cannot create a temporary file for it");
    }
    // mkstemp makes the file private; a result file gets the mode any new file would get.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd_, 0666 & ~mask);
}

RESFILE::~RESFILE() {
    if (fd_ >= 0) close(fd_);
    if (!tmp_.empty()) unlink(tmp_.c_str());
}

void RESFILE::fail(const char *what) {
    const std::string why = errno ? std::string(": ") + std::strerror(errno) : std::string();
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    if (!tmp_.empty()) unlink(tmp_.c_str());
    tmp_.clear();
    STOPRUN("Error: result file " + name_ + ": " + what + why);
}

void RESFILE::flush() {
    std::size_t done = 0;
    while (done < used_) {
        errno = 0; // a short write sets none
        const ssize_t got = write(fd_, buf_ + done, used_ - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) fail("cannot write it");
        done += static_cast<std::size_t>(got);
    }
    used_ = 0;
}

RESFILE &RESFILE::text(std::string_view s) {
    while (!s.empty()) {
        if (used_ == sizeof buf_) flush();
        const std::size_t k = std::min(s.size(), sizeof buf_ - used_);
        std::memcpy(buf_ + used_, s.data(), k);
        used_ += k;
        s.remove_prefix(k);
    }
    return *this;
}

RESFILE &RESFILE::real(double v, int w, int d) {
    char b[400];
    const int len = FIELDTXT(v, w, d, b, sizeof b);
    if (sizeof buf_ - used_ < sizeof b + 64) flush();
    for (int k = len; k < w; ++k)
        buf_[used_++] = ' ';
    std::memcpy(buf_ + used_, b, len);
    used_ += len;
    return *this;
}

RESFILE &RESFILE::integer(long long v, int w) {
    char b[32];
    const int len = static_cast<int>(std::to_chars(b, b + sizeof b, v).ptr - b);
    if (sizeof buf_ - used_ < sizeof b + 64) flush();
    for (int k = len; k < w; ++k)
        buf_[used_++] = ' ';
    std::memcpy(buf_ + used_, b, len);
    used_ += len;
    return *this;
}

RESFILE &RESFILE::free(double v) {
    if (sizeof buf_ - used_ < 64) flush();
    buf_[used_++] = ' ';
    used_ += GENERALTXT(v, buf_ + used_, sizeof buf_ - used_);
    return *this;
}

RESFILE &RESFILE::endline() {
    if (used_ == sizeof buf_) flush();
    buf_[used_++] = '\n';
    return *this;
}

void RESFILE::commit() {
    flush();
    if (close(fd_) != 0) {
        fd_ = -1;
        fail("cannot close it");
    }
    fd_ = -1;
    if (std::rename(tmp_.c_str(), name_.c_str()) != 0) fail("cannot replace it");
    tmp_.clear();
}
