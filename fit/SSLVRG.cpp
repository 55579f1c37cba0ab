#include "SSLVRG.h"

#include "BSPLVD.h"
#include "BVALUE.h"
#include "DPBFA.h"
#include "DPBSL.h"
#include "SINERP.h"

#include <algorithm>
#include <cmath>

double SPLLAM(double spar, double r0) { return r0 * std::pow(256.0, 3.0 * spar - 1.0); }

int SSLVRG(double spar, double r0, const double *xs, const double *ws, int nef,
           const double *knot, int nk, const double *xwy, const double *hs, const double *sg,
           double dofoff, double *coef, double *sz, double *lev, double &crit, double *abd,
           double *p1ip) {
    const double lambda = SPLLAM(spar, r0);
    std::fill(abd, abd + 4 * nk, 0.0);
    for (int i = 0; i < nk; ++i)
        for (int d = 0; d < 4 && i + d < nk; ++d)
            abd[3 - d + 4 * (i + d)] = hs[d + 4 * i] + lambda * sg[d + 4 * i];
    if (int info = DPBFA(abd, 4, nk, 3))
        return info;
    std::copy(xwy, xwy + nk, coef);
    DPBSL(abd, 4, nk, 3, coef);
    for (int g = 0; g < nef; ++g)
        sz[g] = BVALUE(knot, coef, nk, 4, xs[g], 0);

    // Leverage of abscissa g: the quadratic form of its four B-spline values with the 4 x 4 block
    // of the inverse, which lies inside the band.
    SINERP(abd, nk, p1ip);
    double sumlev = 0.0;
    int left = 3;
    double b[4];
    for (int g = 0; g < nef; ++g) {
        INTERV(knot, nk, 4, xs[g], left);
        BSPLVB(knot, 4, xs[g], left, b);
        const int j = left - 3;
        double q = 0.0;
        for (int a = 0; a < 4; ++a) {
            q += b[a] * b[a] * p1ip[4 * (j + a)];
            for (int c = a + 1; c < 4; ++c)
                q += 2.0 * b[a] * b[c] * p1ip[(c - a) + 4 * (j + a)];
        }
        lev[g] = ws[g] * q;
        sumlev += lev[g];
    }
    crit = 3.0 + (dofoff - sumlev) * (dofoff - sumlev);
    return 0;
}
