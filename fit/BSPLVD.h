// B-spline values and derivatives at one point (de Boor's algorithms). Knots t are
// nondecreasing; left is the 0-based interval index with t[left] < t[left+1], and x is evaluated on
// the polynomial piece of that interval (so x = t[left+1] gives the limit from the left).
#pragma once

// Highest spline order the routines accept.
constexpr int BSPLMAXK = 20;

// biatx(k): values of the k B-splines of order k that are nonzero on interval left, that is
// B(left-k+1) .. B(left), at x. Needs left >= k-1 and left+k-1 within t.
void BSPLVB(const double *t, int k, double x, int left, double *biatx);

// dbiatx(k, nderiv), column-major: column d holds the d-th derivative (d = 0..nderiv-1) of the k
// B-splines of order k nonzero on interval left, at x. a(k, k) is scratch. 1 <= nderiv <= k.
void BSPLVD(const double *t, int k, double x, int left, double *a, double *dbiatx, int nderiv);
