#include "LOCSCO.h"

#include "BAKFIT.h"
#include "GAMCOV.h"
#include "INIT.h"
#include "MSG.h"
#include "RESFILE.h"

#include <cmath>
#include <string>

long long LLOCSCO(long long n, long long q) {
    return LBAKFIT(n, q) + q * q;
}

void ITERLINE(int iter, double dev) {
    MSGBLANK();
    MSG(std::string(9, ' ') + "(outer loop of local scoring, iteration= " + IFMT(iter, 3) +
        " deviance=" + FFMT(dev, 10, 5));
    MSGBLANK();
}

namespace {
// Whether every a(i), i < n, is a finite number.
bool ALLFINITE(int n, const double *a) {
    for (int i = 0; i < n; ++i)
        if (!std::isfinite(a[i])) return false;
    return true;
}

[[noreturn]] void DIVERGED(int iter, const char *what) {
    STOPRUN("Error: the fit diverged in outer iteration " + std::to_string(iter) + ": " + what +
            " not a finite number; no result files were written");
}
} // namespace

void LOCSCO(FIT &f, FAM family, LINK link, double t1, int m1, double t2, int m2) {
    if (family == FAM::COX) STOPRUN("Error: the Cox model cannot be fitted by this version of lumifit");
    const int n = f.n;
    if (family == FAM::GAUSS && link == LINK::IDENT) m1 = 1; // one weighted least-squares fit is exact

    double sdw = 0.0, sdwy = 0.0;
    for (int i = 0; i < n; ++i) {
        sdw += f.d[i] * f.w[i];
        sdwy += f.d[i] * f.w[i] * f.y[i];
    }
    const double mu0 = sdw > 0.0 ? sdwy / sdw : 0.0;
    for (int i = 0; i < n; ++i)
        f.mu[i] = mu0;
    double dev = DEV(n, f.mu, f.y, f.w, f.d, family);
    f.dev0 = dev;
    INIT(f, link);

    double dold = 10.0 * dev + 10.0;
    f.iter = f.inner = 0;
    while (f.iter < m1) {
        // Relative change of the deviance; two zero deviances in a row are converged.
        const double change = dold != 0.0 ? std::fabs((dold - dev) / dold) : std::fabs(dev);
        if (change <= t1) break;
        ++f.iter;
        for (int i = 0; i < n; ++i) {
            f.z[i] = f.eta[i] + (f.y[i] - f.mu[i]) * DIRIV(f.mu[i], link);
            f.wz[i] = WEIGHT(f.w[i], f.mu[i], f.d[i], family, link);
        }
        if (!ALLFINITE(n, f.z) || !ALLFINITE(n, f.wz)) DIVERGED(f.iter, "a working response or weight is");

        f.rank = 0; // the weights changed: decompose again
        int sweeps = 0;
        BAKFIT(f.x, n, f.q, f.z, f.wz, f.nsm, f.ism, f.match, f.nef, f.df, f.spar, f.s, f.lev, f.pfit, f.beta,
               f.rank, f.qr, f.qraux, f.jpvt, t2, m2, sweeps, f.eta, f.work);
        f.inner += sweeps;
        if (!ALLFINITE(n, f.eta)) DIVERGED(f.iter, "the fitted linear predictor is");
        LINV(n, f.eta, f.mu, link);
        dold = dev;
        dev = DEV(n, f.mu, f.y, f.w, f.d, family);
        if (!std::isfinite(dev)) DIVERGED(f.iter, "the deviance is");
        ITERLINE(f.iter, dev);
    }
    f.dev = dev;
    GAMCOV(f);
}
