#include "DUMPS.h"

#include "RESFILE.h"
#include "SPLSM.h"

#include <cmath>
#include <cstddef>

namespace {
constexpr int PERLINE = 4 + 50; // values per line of the observation part

void OBSLINES(RESFILE &out, const RESULTS &r) {
    const FIT &f = *r.f;
    const std::size_t n = f.n;
    for (std::size_t i = 0; i < n; ++i) {
        const double res = f.z[i] - f.eta[i];
        const double wt = WEIGHT(f.w[i], f.mu[i], f.d[i], r.family, r.link);
        const double vals[4] = {f.y[i] * f.d[i], f.mu[i] * f.d[i], res, wt > 0.0 ? res * std::sqrt(wt) : 0.0};
        int onl = 0;
        auto put = [&](double v) {
            if (onl == PERLINE) {
                out.endline();
                onl = 0;
            }
            if (onl == 0) out.text(" ");
            out.real(v, 12, 4).text(" ");
            ++onl;
        };
        for (double v : vals)
            put(v);
        for (int j = 1; j <= f.q; ++j)
            if (j != r.icol) put(f.x[i + (j - 1) * n]);
        out.endline();
    }
}

// Slope line of a design column fitted linearly.
void SLOPE(RESFILE &out, const RESULTS &r, int j) {
    const FIT &f = *r.f;
    const std::size_t q = f.q, n = f.n;
    const double *x = f.x + (j - 1) * n;
    double lo = 10000000000.0, hi = -10000000000.0;
    for (std::size_t i = 0; i < n; ++i) {
        lo = std::fmin(lo, x[i]);
        hi = std::fmax(hi, x[i]);
    }
    const double se = std::sqrt(f.cov[(j - 1) * (q + 1)] * r.phi);
    const double cv = r.icptrep ? f.cov[(j - 1) + (r.icol - 1) * q] * r.phi : 0.0;
    out.text("variable number, slope,  standard-error, cov with intcp, min x, max x").endline();
    out.text(" ").integer(r.dc->var[j - 1], 3);
    for (double v : {f.beta[j - 1], se, cv, lo, hi})
        out.text(" ").real(v, 10, 4);
    out.endline();
}

// Curve of smooth term k (design column j) at its distinct abscissae, with the 95% band.
void CURVE(RESFILE &out, const RESULTS &r, int j, int k) {
    const FIT &f = *r.f;
    const std::size_t n = f.n;
    const double *x = f.x + (j - 1) * n, *s = f.s + k * n, *v = f.var + k * n;
    const int *match = f.match + k * n;
    const int nef = f.nef[k];
    double *xg = f.work, *sg = xg + nef, *vg = sg + nef;
    for (std::size_t i = 0; i < n; ++i) {
        const int g = match[i];
        if (g < 1 || g > nef) continue;
        xg[g - 1] = x[i];
        sg[g - 1] = s[i];
        vg[g - 1] = v[i];
    }
    const double xbar = WMEAN(f.n, x, f.w), b = f.beta[j - 1];
    out.text("abscissa, smooth, lower, upper").endline();
    for (int g = 0; g < nef; ++g) {
        const double fg = sg[g] + (xg[g] - xbar) * b, band = 1.96 * std::sqrt(r.phi * vg[g]);
        out.free(xg[g]).free(fg).free(fg - band).free(fg + band).endline();
    }
}
} // namespace

void DUMPS(const RESULTS &r) {
    const FIT &f = *r.f;
    const DESIGN &dc = *r.dc;
    RESFILE out("$.fit");
    OBSLINES(out, r);
    out.text("\x1a").endline();
    out.text("***PLOTTING INFORMATION***").endline().endline();
    out.text("y, muhat, res, stand res,  match matrix for smooth terms").endline();
    out.text("(partial res for jth smooth term is res+smooth(match(.,j),j)  )").endline();
    out.endline();
    const double b0 = r.icptrep ? f.beta[r.icol - 1] : 0.0;
    const double se0 = r.icptrep ? std::sqrt(f.cov[(r.icol - 1) * (f.q + 1)] * r.phi) : 0.0;
    out.text("intercept ").real(b0, 10, 4).text("  standard error ").real(se0, 10, 4).endline();

    int level = 1, lastfactor = 0;
    for (int j = 1; j <= f.q; ++j) {
        if (j == r.icol) continue;
        out.endline().text(VARNAME(r, dc.var[j - 1])).text("  ");
        const int kind = dc.kind[j - 1];
        if (kind > KFACTOR) {
            // The level is the category of the indicator: 2 for a factor's first column.
            level = dc.var[j - 1] == lastfactor ? level + 1 : 2;
            lastfactor = dc.var[j - 1];
            out.integer(level, 6).text("  ").integer(kind - KFACTOR, 6).text("  ");
        }
        const double df = COLDF(f, j);
        out.text("dof: ").real(df, 9, 2).endline();
        const int k = SMTERM(f, j);
        if (k < 0)
            SLOPE(out, r, j);
        else
            CURVE(out, r, j, k);
    }
    out.commit();
}
