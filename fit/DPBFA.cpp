#include "DPBFA.h"

#include <algorithm>
#include <cmath>

int DPBFA(double *abd, int lda, int n, int m) {
    for (int j = 0; j < n; ++j) {
        double *col = abd + static_cast<std::size_t>(j) * lda;
        const int ik0 = std::max(m - j, 0); // first band row of column j inside the matrix
        double s = 0.0;
        for (int k = ik0; k < m; ++k) {
            // Row i = j - m + k of R: its column i lies at abd(., i).
            const int i = j - m + k;
            const double *coli = abd + static_cast<std::size_t>(i) * lda;
            double t = col[k];
            // Dot product of the parts of columns i and j of R above row i.
            const int len = k - ik0;
            for (int l = 0; l < len; ++l)
                t -= coli[m - len + l] * col[ik0 + l];
            t /= coli[m];
            col[k] = t;
            s += t * t;
        }
        s = col[m] - s;
        if (!(s > 0.0))
            return j + 1;
        col[m] = std::sqrt(s);
    }
    return 0;
}
