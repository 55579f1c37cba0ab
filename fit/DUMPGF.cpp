#include "DUMPGF.h"

#include "RESFILE.h"

#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

std::string GRANAME(const std::string &name) {
    std::string s = name.substr(0, name.find(' '));
    for (char &c : s)
        if (c == '/') c = '_';
    return s + ".gra";
}

namespace {
// The start of a plot-file line, its first four numbers (x, f, f - b, f + b), is decided by the
// observation's x, S and V alone. Observations share them often (a factor's indicators take two
// values, abscissae are recorded to a few digits), so each block keeps the texts of recent starts
// in a direct-mapped table keyed by those bits, and edits a start only once while it stays there.
struct LINESTART {
    std::uint64_t key[3];
    int len = 0;       // 0: empty
    char text[4 * 15]; // four times a blank and "%.7g" (at most 14 characters)
};
constexpr int STARTSLOTS = 4096;

void BLOCK(RESFILE &out, const RESULTS &r, int j, std::vector<LINESTART> &starts) {
    const FIT &f = *r.f;
    const std::size_t n = f.n;
    const double *x = f.x + (j - 1) * n;
    double sw = 0.0, swx = 0.0;
    for (std::size_t i = 0; i < n; ++i) {
        sw += f.w[i];
        swx += f.w[i] * x[i];
    }
    const double xbar = sw > 0.0 ? swx / sw : 0.0, b = f.beta[j - 1];
    const int k = SMTERM(f, j);
    const double *s = k >= 0 ? f.s + k * n : nullptr, *v = k >= 0 ? f.var + k * n : nullptr;
    const double sek = std::sqrt(f.cov[(j - 1) * (static_cast<std::size_t>(f.q) + 1)] * r.phi);
    starts.assign(STARTSLOTS, LINESTART{});
    char t[4 * NUMTXTMAX];
    for (std::size_t i = 0; i < n; ++i) {
        const double dx = x[i] - xbar;
        const double fi = k >= 0 ? s[i] + b * dx : b * dx;
        const std::uint64_t key[3] = {std::bit_cast<std::uint64_t>(x[i]),
                                      k >= 0 ? std::bit_cast<std::uint64_t>(s[i]) : 0,
                                      k >= 0 ? std::bit_cast<std::uint64_t>(v[i]) : 0};
        LINESTART &st = starts[key[0] * 0x9e3779b97f4a7c15 >> 52]; // the top 12 bits of a mixed key
        if (st.len == 0 || std::memcmp(st.key, key, sizeof key) != 0) {
            const double band = k >= 0 ? 1.96 * std::sqrt(r.phi * v[i]) : 1.96 * sek * std::fabs(dx);
            int len = 0;
            for (double u : {x[i], fi, fi - band, fi + band}) {
                t[len++] = ' ';
                len += GENERALTXT(u, t + len);
            }
            std::memcpy(st.key, key, sizeof key);
            std::memcpy(st.text, t, len);
            st.len = len;
        }
        out.text({st.text, static_cast<std::size_t>(st.len)}).free(f.z[i] - f.eta[i] + fi).endline();
    }
}
} // namespace

void DUMPGF(const RESULTS &r) {
    const int q = r.f->q;
    std::vector<LINESTART> starts(STARTSLOTS);
    for (int j = 1; j <= q; ++j) {
        if (j == r.icol) continue;
        const std::string name = GRANAME(VARNAME(r, r.dc->var[j - 1]));
        bool done = false; // an earlier column wrote this file with all its blocks
        for (int c = 1; c < j && !done; ++c)
            done = c != r.icol && GRANAME(VARNAME(r, r.dc->var[c - 1])) == name;
        if (done) continue;
        RESFILE out(name);
        bool first = true;
        for (int c = j; c <= q; ++c) {
            if (c == r.icol || GRANAME(VARNAME(r, r.dc->var[c - 1])) != name) continue;
            if (!first) out.endline();
            first = false;
            BLOCK(out, r, c, starts);
        }
        out.commit();
    }
}
