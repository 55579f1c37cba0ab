#include "GAMCOV.h"

#include <algorithm>
#include <cstddef>

void GAMCOV(FIT &f) {
    const std::size_t n = f.n, q = f.q;
    const int r = f.rank;
    // Rinv(r, r) = R^-1, upper triangular, by back substitution column by column.
    double *rinv = f.work;
    std::fill(rinv, rinv + q * q, 0.0);
    auto R = [&](int i, int j) { return f.qr[i + j * n]; };
    for (int j = 0; j < r; ++j) {
        rinv[j + j * q] = 1.0 / R(j, j);
        for (int i = j - 1; i >= 0; --i) {
            double t = 0.0;
            for (int l = i + 1; l <= j; ++l)
                t += R(i, l) * rinv[l + j * q];
            rinv[i + j * q] = -t / R(i, i);
        }
    }
    // K = Rinv Rinv', entry (a, b) of the pivoted order goes to (jpvt(a), jpvt(b)).
    std::fill(f.cov, f.cov + q * q, 0.0);
    for (int a = 0; a < r; ++a) {
        for (int b = 0; b <= a; ++b) {
            double t = 0.0;
            for (int l = a; l < r; ++l)
                t += rinv[a + l * q] * rinv[b + l * q];
            const std::size_t ja = f.jpvt[a] - 1, jb = f.jpvt[b] - 1;
            f.cov[ja + jb * q] = f.cov[jb + ja * q] = t;
        }
    }

    for (int k = 0; k < f.nsm; ++k) {
        const std::size_t j = f.ism[k] - 1;
        const double *x = f.x + j * n;
        double sw = 0.0, swx = 0.0;
        for (std::size_t i = 0; i < n; ++i) {
            sw += f.wz[i];
            swx += f.wz[i] * x[i];
        }
        const double xbar = sw > 0.0 ? swx / sw : 0.0, kjj = f.cov[j + j * q];
        const int *match = f.match + k * n;
        const double *lev = f.lev + k * n;
        double *v = f.var + k * n;
        for (std::size_t i = 0; i < n; ++i) {
            const int g = match[i];
            const double lg = g >= 1 && g <= f.nef[k] ? lev[g - 1] : 0.0;
            // The nonlinear part's leverage is a difference and may come out a rounding below 0.
            v[i] = std::max(0.0, lg + (x[i] - xbar) * (x[i] - xbar) * kjj);
        }
    }
}
