#include "SPLSM.h"

#include "FIXTXT.h"
#include "MSG.h"
#include "SBART.h"
#include "SKNOTL.h"

#include <algorithm>
#include <string>

namespace {
// Retries after a failed factorisation, each with a lower upper end of the spar search.
constexpr int SPLRETRY = 7;

// The term stays linear: no nonlinear part, df 1, and spar 0 so that the next call searches.
int SPLLIN(int n, int nef, double &df, double &spar, double *s, double *lev, int code) {
    std::fill(s, s + n, 0.0);
    std::fill(lev, lev + nef, 0.0);
    df = 1.0;
    spar = 0.0;
    return code;
}
} // namespace

long long LSPLSM(long long n) {
    const long long nk = NKNOTS(static_cast<int>(std::max(n, 2LL))) + 2;
    // xs, ys, ws, sz; knot; coef; SBART's work
    return 4 * n + (nk + 4) + nk + LSBART(n, nk);
}

int SPLSM(const double *x, const double *r, const double *w, int n, const int *match, int nef,
          double &df, double &spar, double *s, double &mean, double *lev, double *work) {
    mean = WMEAN(n, r, w);
    const int nk = NKNOTS(std::max(nef, 2)) + 2;
    double *xs = work, *ys = xs + nef, *ws = ys + nef, *sz = ws + nef;
    double *knot = sz + nef;
    double *coef = knot + nk + 4;
    double *rest = coef + nk;
    return SPLSM1(x, r, w, n, match, nef, df, spar, s, lev, xs, ys, ws, sz, knot, coef, rest);
}

int SPLSM1(const double *x, const double *r, const double *w, int n, const int *match, int nef,
           double &df, double &spar, double *s, double *lev, double *xs, double *ys, double *ws,
           double *sz, double *knot, double *coef, double *work) {
    SUFF(n, nef, match, x, r, w, xs, ys, ws);
    // A spline needs ascending abscissae (so a positive range to scale by) and weight on at
    // least two of them; without that the fit would be singular.
    int weighted = 0;
    for (int g = 0; g < nef; ++g) {
        if (g > 0 && !(xs[g] > xs[g - 1]))
            return SPLLIN(n, nef, df, spar, s, lev, SPLFEW);
        weighted += ws[g] > 0.0;
    }
    if (weighted < 2)
        return SPLLIN(n, nef, df, spar, s, lev, SPLFEW);

    const double x0 = xs[0], range = xs[nef - 1] - xs[0];
    for (int g = 0; g < nef; ++g)
        xs[g] = (xs[g] - x0) / range;
    const int nk = SKNOTL(xs, nef, knot);
    return SPLSM2(xs, ys, ws, nef, knot, nk, match, n, df, spar, s, lev, sz, coef, work);
}

int SPLSM2(const double *xs, const double *ys, const double *ws, int nef, const double *knot,
           int nk, const int *match, int n, double &df, double &spar, double *s, double *lev,
           double *sz, double *coef, double *work) {
    // The trace of the whole smoother counts the linear part's two degrees of freedom; df counts
    // one of them.
    const double dofoff = df + 1.0;
    double upper = SPARHI, lambda = 0.0, crit = 0.0;
    int info = SBART(xs, ys, ws, nef, knot, nk, dofoff, spar, upper, lambda, coef, sz, lev,
                     crit, work);
    for (int retry = 0; info != 0 && retry < SPLRETRY; ++retry) {
        spar = 0.0;
        upper -= (upper - 0.9) / 2.0;
        info = SBART(xs, ys, ws, nef, knot, nk, dofoff, spar, upper, lambda, coef, sz, lev, crit,
                     work);
    }
    if (info != 0)
        return SPLLIN(n, nef, df, spar, s, lev, SPLFAIL);

    // Take out the weighted mean and linear trend of the fit, and their share of the leverages.
    double sw = 0.0, xbar = 0.0, sbar = 0.0;
    for (int g = 0; g < nef; ++g) {
        sw += ws[g];
        xbar += ws[g] * xs[g];
        sbar += ws[g] * sz[g];
    }
    xbar /= sw;
    sbar /= sw;
    double cov = 0.0, var = 0.0;
    for (int g = 0; g < nef; ++g) {
        cov += ws[g] * (xs[g] - xbar) * sz[g];
        var += ws[g] * (xs[g] - xbar) * (xs[g] - xbar);
    }
    cov /= sw;
    var /= sw;
    double trace = 0.0;
    for (int g = 0; g < nef; ++g) {
        const double dx = xs[g] - xbar;
        lev[g] = ws[g] > 0.0 ? lev[g] / ws[g] - 1.0 / sw - dx * dx / (sw * var) : 0.0;
        trace += ws[g] * lev[g];
        sz[g] = sz[g] - sbar - dx * cov / var;
    }
    df = 1.0 + trace;
    UNPACK(n, nef, match, sz, s);
    return SPLOK;
}

void SUFF(int n, int nef, const int *match, const double *x, const double *y, const double *w,
          double *xs, double *ys, double *ws) {
    std::fill(xs, xs + nef, 0.0);
    std::fill(ys, ys + nef, 0.0);
    std::fill(ws, ws + nef, 0.0);
    for (int i = 0; i < n; ++i) {
        const int g = match[i] - 1;
        if (g < 0 || g >= nef)
            continue;
        ws[g] += w[i];
        ys[g] += w[i] * y[i];
        xs[g] = x[i];
    }
    for (int g = 0; g < nef; ++g) {
        if (ws[g] > 0.0) {
            ys[g] /= ws[g];
        } else {
            ys[g] = 0.0;
            ws[g] = 0.0;
        }
    }
}

void UNPACK(int n, int nef, const int *match, const double *fs, double *s) {
    for (int i = 0; i < n; ++i)
        s[i] = match[i] >= 1 && match[i] <= nef ? fs[match[i] - 1] : 0.0;
}

double WMEAN(int n, const double *y, const double *w) {
    double sw = 0.0, swy = 0.0;
    for (int i = 0; i < n; ++i) {
        sw += w[i];
        swy += w[i] * y[i];
    }
    return sw > 0.0 ? swy / sw : 0.0;
}

void SPLCHK(const double *x, int n, const int *match, int nef, std::string_view name) {
    double lo = 0.0, hi = 0.0;
    bool any = false;
    for (int i = 0; i < n; ++i) {
        if (match[i] < 1 || match[i] > nef)
            continue;
        lo = any ? std::min(lo, x[i]) : x[i];
        hi = any ? std::max(hi, x[i]) : x[i];
        any = true;
    }
    if (nef < 2 || !(hi > lo))
        STOPRUN("Error: smooth predictor " + std::string(TRIMTXT(name)) +
                " has fewer than two distinct values and cannot be smoothed;"
                " declare it with df 1 (linear) or leave it out");
}
