#include "BVALUE.h"

#include "BSPLVD.h"

int INTERV(const double *t, int n, int k, double x, int &left) {
    const int lo = k - 1, hi = n - 1; // first and last polynomial piece
    if (x < t[lo]) {
        left = lo;
        return -1;
    }
    if (x >= t[n]) {
        left = hi;
        return x > t[n] ? 1 : 0;
    }
    if (left >= lo && left <= hi && t[left] <= x && x < t[left + 1])
        return 0;
    if (left >= lo && left < hi && t[left + 1] <= x && x < t[left + 2]) {
        ++left;
        return 0;
    }
    // Bisection: t[a] <= x < t[b] throughout.
    int a = lo, b = n;
    while (b - a > 1) {
        int mid = a + (b - a) / 2;
        if (t[mid] <= x)
            a = mid;
        else
            b = mid;
    }
    left = a;
    return 0;
}

double BVALUE(const double *t, const double *bcoef, int n, int k, double x, int jderiv) {
    if (jderiv >= k)
        return 0.0;
    int left = k - 1;
    INTERV(t, n, k, x, left);

    // The k coefficients that matter on this piece; c[j] belongs to B(left-k+1+j).
    double c[BSPLMAXK];
    for (int j = 0; j < k; ++j)
        c[j] = bcoef[left - k + 1 + j];

    // Each derivative lowers the order by one: c_m <- (kk-1)(c_m - c_{m-1}) / (t_{m+kk-1} - t_m).
    int kk = k;
    for (int d = 0; d < jderiv; ++d, --kk) {
        for (int j = k - 1; j > k - kk; --j) {
            const int m = left - k + 1 + j;
            c[j] = (kk - 1) * (c[j] - c[j - 1]) / (t[m + kk - 1] - t[m]);
        }
    }
    // De Boor's triangular scheme on the kk coefficients c[k-kk .. k-1] of order kk.
    for (int r = 1; r < kk; ++r) {
        for (int j = k - 1; j >= k - kk + r; --j) {
            const int m = left - k + 1 + j;
            const double alpha = (x - t[m]) / (t[m + kk - r] - t[m]);
            c[j] = alpha * c[j] + (1.0 - alpha) * c[j - 1];
        }
    }
    return c[k - 1];
}
