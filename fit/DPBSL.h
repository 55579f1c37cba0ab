// Solves A x = b with the band Cholesky factor of A from DPBFA.
#pragma once

// abd(lda, n): the factor R from DPBFA; b(n): the right-hand side, overwritten by x.
void DPBSL(const double *abd, int lda, int n, int m, double *b);
