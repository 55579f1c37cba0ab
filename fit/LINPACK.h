// Householder QR decomposition with limited column pivoting, and least-squares solves with it.
// Matrices are column-major with leading dimension ldx.
#pragma once

// x(ldx, p): the n x p matrix; on return R in the upper triangle and the Householder vectors
// below it, with qraux(p) their leading elements (LINPACK layout). jpvt(p): on entry the column
// numbers carried along, on return in pivoted order. Columns are taken left to right; a column
// whose norm below the rows already reduced falls under tol times its initial norm (or whose
// initial norm is 0) depends on the ones before it and is moved to the end. work(2p): scratch.
// Returns the rank, the number of independent columns, which come first.
int DQRDCA(double *x, int ldx, int n, int p, double tol, double *qraux, int *jpvt, double *work);

// Using the first k columns of a decomposition from DQRDCA (x, qraux), computes for y(n) what
// job asks, as LINPACK's routine of this name: job decimal digits abcde, a: qy = Q y; b: qty =
// Q'y; c: b(k), the least-squares coefficients; d: rsd = y - X b; e: xb = X b. qty is needed
// (and filled) whenever c, d or e is asked. Returns 0, or the 1-based index of a zero diagonal
// element of R met while computing b.
int DQRSL(const double *x, int ldx, int n, int k, const double *qraux, const double *y,
          double *qy, double *qty, double *b, double *rsd, double *xb, int job);
