// Interval search in a knot sequence and the value of a spline or one of its derivatives at a
// point (de Boor's algorithms).
#pragma once

// t(n+k): knots of a spline of order k with n coefficients; its basic interval is
// [t[k-1], t[n]]. Sets left (0-based, in k-1..n-1) to the polynomial piece that holds x: t[left]
// <= x < t[left+1], the last piece when x is on or right of t[n], the first when x is left of
// t[k-1]. On entry left is a guess (the previous answer for ascending x makes the search O(1)).
// Returns 0 when x lies in the basic interval (right end included), -1 left of it, 1 right of it.
int INTERV(const double *t, int n, int k, double x, int &left);

// Value at x of the jderiv-th derivative of the spline with knots t(n+k) and coefficients
// bcoef(n), order k <= BSPLMAXK. x outside the basic interval is evaluated on the nearest piece.
double BVALUE(const double *t, const double *bcoef, int n, int k, double x, int jderiv);
