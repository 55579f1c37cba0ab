// The smoothing-spline smoother of one smooth term: smooths a partial residual against the
// term's design column with a cubic smoothing spline of a requested number of degrees of
// freedom, and returns only its nonlinear part (the weighted mean and linear trend in x are the
// business of the parametric fit).
//
// Work a caller provides: LSPLSM(n) = 5n + 19 nk + 4 reals for a term of n observations, with
// nk = NKNOTS(n) + 2 <= n + 2, so at most 24n + 42 (and about 5n once n is in the thousands);
// no integers.
//
// Abscissa groups: match(n) gives each observation's group, 1-based in ascending x; groups
// 1..nef are fitted, anything else (the group of missing codes, nef+1) gets a smooth value of 0.
#pragma once

#include <string_view>

// Real work length of SPLSM for n observations (any nef <= n).
long long LSPLSM(long long n);

// Outcome of SPLSM: the spline was fitted, or the term is left linear (nonlinear part 0, leverage
// 0, df 1, spar 0) because it has fewer than two distinct abscissae with positive weight, or
// because the band matrix could not be factored on any retry.
enum { SPLOK = 0, SPLFEW = 1, SPLFAIL = 2 };

// x(n): design column; r(n): partial residual; w(n): working weights; match(n), nef as above.
// df: degrees of freedom of the term (trace of the smoother matrix minus one, so 1 is a straight
// line): in the target, out the value reached.
// spar: in 0 to search for the smoothing parameter, else the value to use; out the value used.
// Out: s(n) nonlinear part per observation, mean = weighted mean of r, lev(nef) leverages of the
// nonlinear part per group. work(LSPLSM(n)). Returns SPLOK, SPLFEW or SPLFAIL.
int SPLSM(const double *x, const double *r, const double *w, int n, const int *match, int nef,
          double &df, double &spar, double *s, double &mean, double *lev, double *work);

// The steps of SPLSM. SPLSM1 reduces to the groups, scales the abscissae to [0, 1] and places
// the knots; SPLSM2 fits (searching spar, retrying on failure) and keeps the nonlinear part.
// xs, ys, ws, sz(nef); knot(nk+4), coef(nk); work(LSBART(nef, nk)).
int SPLSM1(const double *x, const double *r, const double *w, int n, const int *match, int nef,
           double &df, double &spar, double *s, double *lev, double *xs, double *ys, double *ws,
           double *sz, double *knot, double *coef, double *work);
int SPLSM2(const double *xs, const double *ys, const double *ws, int nef, const double *knot,
           int nk, const int *match, int n, double &df, double &spar, double *s, double *lev,
           double *sz, double *coef, double *work);

// Group sums: ws = sum of w, ys = weighted mean of y (0 where ws is not above 0, and ws is then
// set to 0), xs = x of the group's last observation. x, y, w(n); xs, ys, ws(nef).
void SUFF(int n, int nef, const int *match, const double *x, const double *y, const double *w,
          double *xs, double *ys, double *ws);
// s(n) = fs(nef) of each observation's group; 0 for observations outside groups 1..nef.
void UNPACK(int n, int nef, const int *match, const double *fs, double *s);
// Weighted mean of y(n) with weights w(n); 0 when the weights do not sum above 0.
double WMEAN(int n, const double *y, const double *w);

// Ends the run with an error naming the variable when design column x(n) cannot be smoothed:
// fewer than two groups, or all values of groups 1..nef equal. The run driver calls it for every
// smooth term before the fit.
void SPLCHK(const double *x, int n, const int *match, int nef, std::string_view name);
