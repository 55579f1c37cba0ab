#include "LINPACK.h"

#include "BAKFIT.h"
#include "blas.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {
constexpr int ONE = 1;

double *col(double *x, int ldx, int j) { return x + static_cast<std::size_t>(j) * ldx; }
const double *col(const double *x, int ldx, int j) {
    return x + static_cast<std::size_t>(j) * ldx;
}

// Applies the Householder reflection j of the decomposition to v(l..n-1), l = j: the vector is
// u = (qraux[j], x(j+1.., j)), H = I - u u' / u[0].
void reflect(const double *x, int ldx, int n, const double *qraux, int j, double *v) {
    const double *u = col(x, ldx, j) + j;
    const int len = n - j - 1;
    const double t = -(qraux[j] * v[j] + ddot_(&len, u + 1, &ONE, v + j + 1, &ONE)) / qraux[j];
    v[j] += t * qraux[j];
    daxpy_(&len, &t, u + 1, &ONE, v + j + 1, &ONE);
}
} // namespace

int DQRDCA(double *x, int ldx, int n, int p, double tol, double *qraux, int *jpvt, double *work) {
    double *run = work;      // running norm of each column below the reduced rows
    double *init = work + p; // initial norm of each column
    for (int j = 0; j < p; ++j) {
        qraux[j] = run[j] = init[j] = dnrm2_(&n, col(x, ldx, j), &ONE);
    }
    const int lup = std::min(n, p);
    int k = p; // columns not set aside
    int l = 0;
    for (; l < lup; ++l) {
        // Set aside negligible columns until an independent one stands at position l.
        while (l < k && !(run[l] >= tol * init[l] && init[l] > 0.0)) {
            DSHIFT(x, ldx, n, l, p - 1);
            std::rotate(jpvt + l, jpvt + l + 1, jpvt + p);
            std::rotate(run + l, run + l + 1, run + p);
            std::rotate(init + l, init + l + 1, init + p);
            --k;
        }
        if (l >= k)
            break;
        if (l == n - 1) { // last row: nothing left to reflect
            qraux[l] = 0.0;
            continue;
        }
        double *xl = col(x, ldx, l) + l;
        const int len = n - l;
        double nrmxl = dnrm2_(&len, xl, &ONE);
        if (nrmxl == 0.0) {
            qraux[l] = 0.0;
            continue;
        }
        if (xl[0] != 0.0)
            nrmxl = std::copysign(nrmxl, xl[0]);
        const double scale = 1.0 / nrmxl;
        dscal_(&len, &scale, xl, &ONE);
        xl[0] += 1.0;
        // Reflect the remaining columns and bring their running norms down.
        for (int j = l + 1; j < p; ++j) {
            double *xj = col(x, ldx, j) + l;
            const double t = -ddot_(&len, xl, &ONE, xj, &ONE) / xl[0];
            daxpy_(&len, &t, xl, &ONE, xj, &ONE);
            if (run[j] == 0.0)
                continue;
            const double ratio = std::fabs(xj[0]) / run[j];
            const double tt = std::max(0.0, 1.0 - ratio * ratio);
            const double rel = run[j] / init[j];
            if (1.0 + 0.05 * tt * rel * rel == 1.0) {
                const int below = len - 1; // too much cancellation: recompute
                run[j] = dnrm2_(&below, xj + 1, &ONE);
            } else {
                run[j] *= std::sqrt(tt);
            }
        }
        qraux[l] = xl[0];
        xl[0] = -nrmxl;
    }
    for (int j = std::min(l, k); j < p; ++j)
        qraux[j] = 0.0;
    return std::min(k, lup);
}

int DQRSL(const double *x, int ldx, int n, int k, const double *qraux, const double *y,
          double *qy, double *qty, double *b, double *rsd, double *xb, int job) {
    const bool cqy = job / 10000 != 0, cqty = job % 10000 != 0, cb = job % 1000 / 100 != 0,
               cr = job % 100 / 10 != 0, cxb = job % 10 != 0;
    const int ju = std::min(k, n - 1); // reflections in use
    if (cqy) {
        std::copy(y, y + n, qy);
        for (int j = ju - 1; j >= 0; --j)
            if (qraux[j] != 0.0)
                reflect(x, ldx, n, qraux, j, qy);
    }
    if (!cqty)
        return 0;
    std::copy(y, y + n, qty);
    for (int j = 0; j < ju; ++j)
        if (qraux[j] != 0.0)
            reflect(x, ldx, n, qraux, j, qty);

    if (cb)
        std::copy(qty, qty + k, b);
    if (cxb) {
        std::copy(qty, qty + k, xb);
        std::fill(xb + k, xb + n, 0.0);
    }
    if (cr) {
        std::fill(rsd, rsd + k, 0.0);
        std::copy(qty + k, qty + n, rsd + k);
    }
    int info = 0;
    if (cb) { // back substitution with R
        for (int j = k - 1; j >= 0; --j) {
            const double *xj = col(x, ldx, j);
            if (xj[j] == 0.0) {
                info = j + 1;
                break;
            }
            b[j] /= xj[j];
            const double t = -b[j];
            daxpy_(&j, &t, xj, &ONE, b, &ONE);
        }
    }
    if (cr || cxb) {
        for (int j = ju - 1; j >= 0; --j) {
            if (qraux[j] == 0.0)
                continue;
            if (cr)
                reflect(x, ldx, n, qraux, j, rsd);
            if (cxb)
                reflect(x, ldx, n, qraux, j, xb);
        }
    }
    return info;
}
