// Cholesky factor of a symmetric positive definite band matrix (LINPACK band storage).
#pragma once

// abd(lda, n), lda >= m+1: on entry the upper band, A(i, j) in abd[m + i - j + j*lda] for
// j-m <= i <= j; on return the factor R (A = R'R) in the same places. m: super-diagonals.
// Returns 0, or the 1-based order of the leading minor that is not positive definite (also when
// a pivot is not a number), in which case abd is left partly overwritten.
int DPBFA(double *abd, int lda, int n, int m);
