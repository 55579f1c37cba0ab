// Cubic smoothing spline on distinct abscissae, with the smoothing parameter either given or
// searched for so that the trace of the smoother matrix matches a target.
#pragma once

// Search interval of spar and its tolerance.
constexpr double SPARLO = 1e-10;
constexpr double SPARHI = 1.5;
constexpr double SPARTOL = 0.001;

// Real work length SBART needs for nef abscissae and nk coefficients.
constexpr long long LSBART(long long nef, long long nk) { return nef + 17 * nk; }

// xs(nef): abscissae scaled to [0, 1], strictly ascending; ys(nef), ws(nef): responses and
// weights (ws >= 0); knot(nk+4) from SKNOTL. dofoff: target trace of the smoother matrix.
// spar: 0 asks for a search over [SPARLO, upper] minimising 3 + (dofoff - trace)^2 (Brent's
// golden-section and parabolic search); otherwise the fit uses it as given. On return spar and
// lambda are the values used and coef(nk), sz(nef), lev(nef), crit belong to that fit.
// work(LSBART(nef, nk)). Returns 0, or the DPBFA code of a band matrix that could not be factored
// (the outputs are then unusable).
int SBART(const double *xs, const double *ys, const double *ws, int nef, const double *knot,
          int nk, double dofoff, double &spar, double upper, double &lambda, double *coef,
          double *sz, double *lev, double &crit, double *work);
