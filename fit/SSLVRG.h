// One penalized least-squares fit of the cubic smoothing spline for a given smoothing parameter.
#pragma once

// Smoothing parameter lambda of search value spar: r0 * 256^(3 spar - 1).
double SPLLAM(double spar, double r0);

// xs(nef): abscissae inside the knot range, ws(nef): their weights; knot(nk+4); xwy(nk) = X'Wy
// and hs(4, nk) = bands of X'WX (STXWX); sg(4, nk) = bands of the penalty (SGRAM); r0 scales
// spar to lambda (SPLLAM). Solves (X'WX + lambda Omega) coef = X'Wy and returns in sz(nef) the
// fitted values at xs, in lev(nef) the leverages ws * b'inverse(X'WX + lambda Omega)b, and
// crit = 3 + (dofoff - sum of lev)^2. abd(4, nk), p1ip(4, nk): scratch. Returns 0, or the DPBFA
// code when the band matrix cannot be factored (then nothing else is computed).
int SSLVRG(double spar, double r0, const double *xs, const double *ws, int nef,
           const double *knot, int nk, const double *xwy, const double *hs, const double *sg,
           double dofoff, double *coef, double *sz, double *lev, double &crit, double *abd,
           double *p1ip);
