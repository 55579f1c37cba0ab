#include "DUMPGF.h"

#include "RESFILE.h"

#include <cmath>
#include <cstddef>

std::string GRANAME(const std::string &name) {
    std::string s = name.substr(0, name.find(' '));
    for (char &c : s)
        if (c == '/') c = '_';
    return s + ".gra";
}

namespace {
void BLOCK(RESFILE &out, const RESULTS &r, int j) {
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
    for (std::size_t i = 0; i < n; ++i) {
        const double dx = x[i] - xbar;
        const double fi = k >= 0 ? s[i] + b * dx : b * dx;
        const double band = k >= 0 ? 1.96 * std::sqrt(r.phi * v[i]) : 1.96 * sek * std::fabs(dx);
        out.free(x[i]).free(fi).free(fi - band).free(fi + band).free(f.z[i] - f.eta[i] + fi).endline();
    }
}
} // namespace

void DUMPGF(const RESULTS &r) {
    const int q = r.f->q;
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
            BLOCK(out, r, c);
        }
        out.commit();
    }
}
