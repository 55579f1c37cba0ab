// Backfitting: fits one weighted additive model to a working response, a weighted least-squares
// fit of all design columns plus one smoothing spline per smooth term, alternated until the
// smooths settle.
//
// Work a caller provides: LBAKFIT(n, q) = 7n + 3q + LSPLSM(n) reals (at most 31n + 3q + 42),
// plus the arrays named below. Matrices are
// column-major with n as the column stride. Column numbers (smooth list, jpvt) and abscissa
// groups (match, SPLSM.h) count from 1.
#pragma once

// Real work length of BAKFIT for n observations and q design columns.
long long LBAKFIT(long long n, long long q);

// Tolerance of the QR dependence test, relative to each column's own norm.
constexpr double QRTOL = 0.01;

// x(n, q): design matrix. z(n), w(n): working response and weights.
// ism(nsm): design column of each smooth term; match(n, nsm), nef(nsm): its abscissa groups.
// df(nsm), spar(nsm): in/out per term, as for SPLSM.
// s(n, nsm): in/out, the smooth fits, kept from one call to the next; lev(n, nsm): out, the
// leverages per group (first nef(k) entries of column k).
// pfit(n): out, the fit of the parametric part; beta(q): out, the coefficients in column order
// (0 for columns set aside as dependent).
// rank: 0 on entry asks for a new decomposition of sqrt(w) x into qr(n, q), qraux(q) and jpvt(q)
// (the column numbers in pivoted order, the first rank of them independent); otherwise those are
// reused. On return, the rank.
// t2, m2: threshold and limit of the sweeps; iter: sweeps done; eta(n) = pfit + the smooths.
// work(LBAKFIT(n, q)).
void BAKFIT(const double *x, int n, int q, const double *z, const double *w, int nsm,
            const int *ism, const int *match, const int *nef, double *df, double *spar, double *s,
            double *lev, double *pfit, double *beta, int &rank, double *qr, double *qraux,
            int *jpvt, double t2, int m2, int &iter, double *eta, double *work);

// BAKFIT with its work laid out: sw, rsw(n): square roots of the weights and their reciprocals
// (0 for weights not above 0); sum(n): total of the smooths; r(n): residual; old(n): previous
// smooth; qty, xb(n), coef(q): the least-squares solve; qrwork(2q); smwork(LSPLSM(n)).
void BACKF1(const double *x, int n, int q, const double *z, const double *w, int nsm,
            const int *ism, const int *match, const int *nef, double *df, double *spar, double *s,
            double *lev, double *pfit, double *beta, int &rank, double *qr, double *qraux,
            int *jpvt, double t2, int m2, int &iter, double *eta, double *sw, double *rsw,
            double *sum, double *r, double *old, double *qty, double *xb, double *coef,
            double *qrwork, double *smwork);

// Weighted mean squared difference of a(n) and b(n), sum w (a-b)^2 / sum w; 0 when the weights
// do not sum above 0.
double DWRSS(int n, const double *a, const double *b, const double *w);

// Moves column j of x(ldx, .) to position k > j; columns j+1..k move one place left.
void DSHIFT(double *x, int ldx, int n, int j, int k);
