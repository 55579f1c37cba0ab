// Weighted cross-products of the cubic B-spline basis at the distinct abscissae.
#pragma once

// x(k), z(k), w(k): abscissae (ascending, inside the knot range), responses and square-root
// weights; knot(nk+4). Receives y(nk) = X'W z and hs(4, nk), the bands of X'W X with
// hs[d + 4*i] = (X'WX)(i, i+d), where X(g, j) = B_j(x_g) and W = diag(w^2). An abscissa on the
// last knot, or beyond it by at most 1e-10, counts in the last interval; one further beyond ends
// the accumulation.
void STXWX(const double *x, const double *z, const double *w, int k, const double *knot, int nk,
           double *y, double *hs);
