#include "BSPLVD.h"

#include <algorithm>

void BSPLVB(const double *t, int k, double x, int left, double *biatx) {
    // Order j+1 from order j by the Cox-de Boor recurrence, one order at a time.
    double deltal[BSPLMAXK], deltar[BSPLMAXK];
    biatx[0] = 1.0;
    for (int j = 0; j < k - 1; ++j) {
        deltar[j] = t[left + j + 1] - x;
        deltal[j] = x - t[left - j];
        double saved = 0.0;
        for (int i = 0; i <= j; ++i) {
            double term = biatx[i] / (deltar[i] + deltal[j - i]);
            biatx[i] = saved + deltar[i] * term;
            saved = deltal[j - i] * term;
        }
        biatx[j + 1] = saved;
    }
}

void BSPLVD(const double *t, int k, double x, int left, double *a, double *dbiatx, int nderiv) {
    const int mhigh = std::clamp(nderiv, 1, k);
    // Column m (rows m..k-1) gets the values of the k-m B-splines of order k-m nonzero at x.
    for (int m = 0; m < mhigh; ++m) {
        double *col = dbiatx + m * k;
        BSPLVB(t, k - m, x, left, col + m);
    }
    if (mhigh == 1)
        return;

    // a(., j) holds the B-coefficients of the j-th B-spline (unit vectors to begin with); each
    // pass differences them into the coefficients of the next derivative, which combined with the
    // lower-order values of column m give the m-th derivatives.
    for (int j = 0; j < k; ++j)
        for (int i = 0; i < k; ++i)
            a[i + j * k] = i == j ? 1.0 : 0.0;
    for (int m = 1; m < mhigh; ++m) {
        const int kmm = k - m;
        int il = left;
        for (int i = k - 1; i >= m; --i, --il) {
            const double factor = kmm / (t[il + kmm] - t[il]);
            for (int j = 0; j <= i; ++j)
                a[i + j * k] = (a[i + j * k] - a[i - 1 + j * k]) * factor;
        }
        double *col = dbiatx + m * k;
        for (int i = 0; i < k; ++i) {
            double sum = 0.0;
            for (int j = std::max(i, m); j < k; ++j)
                sum += a[j + i * k] * col[j];
            col[i] = sum;
        }
    }
}
