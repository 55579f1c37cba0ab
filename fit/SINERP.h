// Band of the inverse of a symmetric band matrix from its Cholesky factor.
#pragma once

// abd(4, nk): the factor R (A = R'R) from DPBFA with three super-diagonals. Receives
// p1ip(4, nk) with p1ip[d + 4*i] = inverse(A)(i, i+d), d = 0..3 (0 where i+d >= nk).
void SINERP(const double *abd, int nk, double *p1ip);
