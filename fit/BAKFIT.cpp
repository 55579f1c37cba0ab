#include "BAKFIT.h"

#include "LINPACK.h"
#include "MSG.h"
#include "SPLSM.h"

#include <cmath>
#include <cstddef>
#include <string>

long long LBAKFIT(long long n, long long q) { return 7 * n + 3 * q + LSPLSM(n); }

void BAKFIT(const double *x, int n, int q, const double *z, const double *w, int nsm,
            const int *ism, const int *match, const int *nef, double *df, double *spar, double *s,
            double *lev, double *pfit, double *beta, int &rank, double *qr, double *qraux,
            int *jpvt, double t2, int m2, int &iter, double *eta, double *work) {
    double *sw = work, *rsw = sw + n, *sum = rsw + n, *r = sum + n, *old = r + n;
    double *qty = old + n, *xb = qty + n, *coef = xb + n, *qrwork = coef + q;
    double *smwork = qrwork + 2 * q;
    BACKF1(x, n, q, z, w, nsm, ism, match, nef, df, spar, s, lev, pfit, beta, rank, qr, qraux,
           jpvt, t2, m2, iter, eta, sw, rsw, sum, r, old, qty, xb, coef, qrwork, smwork);
}

void BACKF1(const double *x, int n, int q, const double *z, const double *w, int nsm,
            const int *ism, const int *match, const int *nef, double *df, double *spar, double *s,
            double *lev, double *pfit, double *beta, int &rank, double *qr, double *qraux,
            int *jpvt, double t2, int m2, int &iter, double *eta, double *sw, double *rsw,
            double *sum, double *r, double *old, double *qty, double *xb, double *coef,
            double *qrwork, double *smwork) {
    const std::size_t nn = n;
    if (nsm == 0 || m2 < 1)
        m2 = 1; // without smooth terms one least-squares pass is the whole fit
    bool zeros = false;
    for (int i = 0; i < n; ++i) {
        if (w[i] > 0.0) {
            sw[i] = std::sqrt(w[i]);
            rsw[i] = 1.0 / sw[i];
        } else {
            sw[i] = rsw[i] = 0.0;
            zeros = true;
        }
    }
    if (rank == 0) {
        for (int j = 0; j < q; ++j) {
            for (int i = 0; i < n; ++i)
                qr[i + j * nn] = sw[i] * x[i + j * nn];
            jpvt[j] = j + 1;
        }
        rank = DQRDCA(qr, n, n, q, QRTOL, qraux, jpvt, qrwork);
        if (rank < q) {
            MSG("WARNING: design matrix is ill-conditioned");
            MSG("Numerical rank is " + IFMT(rank, 4) + " rather than " + IFMT(q, 4) +
                " , and estimates are aliased");
        }
    }

    for (int i = 0; i < n; ++i) {
        sum[i] = 0.0;
        for (int k = 0; k < nsm; ++k)
            sum[i] += s[i + k * nn];
    }
    double ratio = 1.0;
    iter = 0;
    while (iter < m2 && ratio > t2) {
        ++iter;
        double delta = 0.0;
        for (int i = 0; i < n; ++i)
            r[i] = (z[i] - sum[i]) * sw[i];
        DQRSL(qr, n, n, rank, qraux, r, nullptr, qty, coef, nullptr, xb, 101);
        for (int i = 0; i < n; ++i)
            pfit[i] = xb[i] * rsw[i];

        for (int k = 0; k < nsm; ++k) {
            double *sk = s + k * nn;
            for (int i = 0; i < n; ++i) {
                old[i] = sk[i];
                r[i] = z[i] - pfit[i] - sum[i] + old[i];
            }
            double mean = 0.0;
            const int info = SPLSM(x + (ism[k] - 1) * nn, r, w, n, match + k * nn, nef[k], df[k],
                                   spar[k], sk, mean, lev + k * nn, smwork);
            if (info != SPLOK && iter == 1) // the weights decide it, so it holds for every sweep
                MSG("WARNING: smooth term of design column " + std::to_string(ism[k]) +
                    (info == SPLFEW ? " has fewer than two distinct values with positive weight"
                                    : " could not be factored on any retry") +
                    "; it is fitted as linear");
            for (int i = 0; i < n; ++i) {
                sum[i] += sk[i] - old[i];
                pfit[i] += mean;
            }
            delta += DWRSS(n, old, sk, w);
        }
        // The change of the smooths against their size, both as weighted means: a weighted sum
        // in the denominator would shrink the ratio by the root of the weight total and stop
        // large fits long before they settle.
        double norm = 0.0, wsum = 0.0;
        for (int i = 0; i < n; ++i) {
            norm += w[i] * sum[i] * sum[i];
            wsum += w[i];
        }
        norm = wsum > 0.0 ? norm / wsum : 0.0;
        ratio = norm > 0.0 ? std::sqrt(delta / norm) : 0.0;
    }

    // Coefficients back into column order; dependent columns get 0, so that x beta is the fit.
    for (int j = 0; j < q; ++j)
        beta[jpvt[j] - 1] = j < rank ? coef[j] : 0.0;
    if (zeros) {
        for (int i = 0; i < n; ++i) {
            if (w[i] > 0.0)
                continue;
            double f = 0.0;
            for (int j = 0; j < q; ++j)
                f += x[i + j * nn] * beta[j];
            pfit[i] = f;
        }
    }
    for (int i = 0; i < n; ++i)
        eta[i] = pfit[i] + sum[i];
}

double DWRSS(int n, const double *a, const double *b, const double *w) {
    double sw = 0.0, s = 0.0;
    for (int i = 0; i < n; ++i) {
        sw += w[i];
        s += w[i] * (a[i] - b[i]) * (a[i] - b[i]);
    }
    return sw > 0.0 ? s / sw : 0.0;
}

void DSHIFT(double *x, int ldx, int n, int j, int k) {
    for (int i = 0; i < n; ++i) {
        const double t = x[i + static_cast<std::size_t>(j) * ldx];
        for (int c = j; c < k; ++c)
            x[i + static_cast<std::size_t>(c) * ldx] = x[i + static_cast<std::size_t>(c + 1) * ldx];
        x[i + static_cast<std::size_t>(k) * ldx] = t;
    }
}
