#include "REPORT.h"

#include "MSG.h"
#include "PCHIS.h"
#include "RESFILE.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

RESULTS RESPREP(const FIT &f, const DESIGN &dc, const char *names, FAM family, LINK link, int intercept) {
    RESULTS r;
    r.f = &f;
    r.dc = &dc;
    r.names = names;
    r.family = family;
    r.link = link;
    r.icol = intercept == 1 ? f.q : 0;
    r.icptrep = r.icol > 0 && family != FAM::COX;
    for (int j = 1; j <= f.q; ++j)
        if (j != r.icol) r.totdf += COLDF(f, j);
    if (r.icptrep) r.totdf += 1.0;
    int zero = 0;
    for (int i = 0; i < f.n; ++i)
        zero += f.w[i] == 0.0;
    r.rdf = f.n - r.totdf - zero;
    const bool scaled = family == FAM::GAUSS || family == FAM::GAMMA;
    r.phi = scaled ? f.dev / r.rdf : 1.0;
    if (scaled && !(r.rdf > 0.0)) {
        // A saturated model: no estimate of the scale, and nothing that is not a number may reach
        // the files.
        MSG("Warning: the model leaves no residual degrees of freedom, so the scale cannot be estimated;");
        MSG("it is set to 0, and standard errors, bands and nonlinearity tests are written as 0");
        r.phi = 0.0;
    }
    return r;
}

int SMTERM(const FIT &f, int j) {
    for (int k = 0; k < f.nsm; ++k)
        if (f.ism[k] == j) return k;
    return -1;
}

double COLDF(const FIT &f, int j) {
    const int k = SMTERM(f, j);
    return k >= 0 ? f.df[k] : 1.0;
}

std::string VARNAME(const RESULTS &r, int v) {
    return v >= 1 ? std::string(r.names + static_cast<std::size_t>(v - 1) * 20, 20) : std::string(20, ' ');
}

namespace {
// The nonlinearity test of smooth term k: chi = (deviance without its nonlinear part - deviance)
// / scale, and the chi-square tail probability with df - 1 degrees of freedom (1 when there is
// none to compute: chi not positive, or no nonlinear df).
void NLTEST(const RESULTS &r, int k, double &chi, double &p) {
    const FIT &f = *r.f;
    const std::size_t n = f.n;
    double *eta = f.work, *mu = f.work + n;
    const double *s = f.s + k * n;
    for (std::size_t i = 0; i < n; ++i)
        eta[i] = f.eta[i] - s[i];
    LINV(f.n, eta, mu, r.link);
    const double dev = DEV(f.n, mu, f.y, f.w, f.d, r.family);
    chi = r.phi > 0.0 ? (dev - f.dev) / r.phi : 0.0;
    double cdf = 0.0;
    p = PCHIS(chi, f.df[k] - 1.0, cdf) ? std::clamp(1.0 - cdf, 0.0, 1.0) : 1.0;
}

void SUMLINE(RESFILE &out, double df, double beta, double se, double z) {
    out.text(" ").real(df, 7, 3);
    out.text(" ").real(beta, 13, 6).text(" ").real(se, 13, 6).text(" ").real(z, 13, 6);
}
} // namespace

void REPORT(const RESULTS &r) {
    const FIT &f = *r.f;
    MSGBLANK();
    MSG("Final deviance= " + FFMT(f.dev, 10, 5) + " Residual degrees of freedom= " + FFMT(r.rdf, 10, 5));

    RESFILE sum("$.sum");
    auto coef = [&](int j, double &se, double &z) {
        const double v = f.cov[(j - 1) + static_cast<std::size_t>(j - 1) * f.q] * r.phi;
        se = std::sqrt(v);
        z = v > 0.0 ? f.beta[j - 1] / se : 0.0;
    };
    for (int j = 1; j <= f.q; ++j) {
        if (j == r.icol) continue;
        double se, z;
        coef(j, se, z);
        const int k = SMTERM(f, j);
        SUMLINE(sum, COLDF(f, j), f.beta[j - 1], se, z);
        if (k >= 0) {
            double chi, p;
            NLTEST(r, k, chi, p);
            sum.text(" ").real(chi, 13, 6).text(" ").real(p, 13, 6);
        } else {
            sum.text(" . .");
        }
        sum.endline();
    }
    if (r.icptrep) {
        double se, z;
        coef(r.icol, se, z);
        SUMLINE(sum, 1.0, f.beta[r.icol - 1], se, z);
        sum.text(" . .").endline();
    }
    sum.commit();

    RESFILE out("$.out");
    out.text(" ").integer(0, 2).endline();
    out.text(" ").integer(f.n, 8).endline();
    out.text(" ").real(r.rdf, 13, 6).endline();
    out.text(" ").real(f.dev, 13, 6).endline();
    out.text(" ").real(r.phi, 13, 6).endline();
    out.commit();
}
