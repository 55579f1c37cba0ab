#include "DPBSL.h"

#include <algorithm>
#include <cstddef>

void DPBSL(const double *abd, int lda, int n, int m, double *b) {
    // R' y = b, forward.
    for (int k = 0; k < n; ++k) {
        const double *col = abd + static_cast<std::size_t>(k) * lda;
        const int lm = std::min(k, m);
        double t = 0.0;
        for (int l = 0; l < lm; ++l)
            t += col[m - lm + l] * b[k - lm + l];
        b[k] = (b[k] - t) / col[m];
    }
    // R x = y, backward.
    for (int k = n - 1; k >= 0; --k) {
        const double *col = abd + static_cast<std::size_t>(k) * lda;
        const int lm = std::min(k, m);
        b[k] /= col[m];
        for (int l = 0; l < lm; ++l)
            b[k - lm + l] -= b[k] * col[m - lm + l];
    }
}
