#include "STXWX.h"

#include "BSPLVD.h"
#include "BVALUE.h"

#include <algorithm>

void STXWX(const double *x, const double *z, const double *w, int k, const double *knot, int nk,
           double *y, double *hs) {
    std::fill(y, y + nk, 0.0);
    std::fill(hs, hs + 4 * nk, 0.0);
    int left = 3;
    double v[4];
    for (int g = 0; g < k; ++g) {
        if (INTERV(knot, nk, 4, x[g], left) == 1 && x[g] > knot[nk] + 1e-10)
            break;
        BSPLVB(knot, 4, x[g], left, v);
        const double w2 = w[g] * w[g];
        const int j = left - 3;
        for (int a = 0; a < 4; ++a) {
            y[j + a] += w2 * z[g] * v[a];
            for (int b = a; b < 4; ++b)
                hs[(b - a) + 4 * (j + a)] += w2 * v[a] * v[b];
        }
    }
}
