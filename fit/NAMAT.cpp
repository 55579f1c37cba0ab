#include "NAMAT.h"

#include "MYSORT.h"

#include <algorithm>
#include <cmath>
#include <numeric>

int NAMAT(const double *x, int n, double missing, int *match, double *scr, int *idx, double &tol) {
    // Range over the values that are not the missing code.
    double xmin = 0, xmax = 0;
    bool any = false;
    for (int j = 0; j < n; ++j) {
        if (x[j] == missing) continue;
        xmin = any ? std::min(xmin, x[j]) : x[j];
        xmax = any ? std::max(xmax, x[j]) : x[j];
        any = true;
    }
    double range = xmax > xmin ? xmax - xmin : std::fabs(xmax);
    tol = 0.001 * range;

    std::copy(x, x + n, scr);
    std::iota(idx, idx + n, 1);
    MYSORT(scr, idx, n, scr + n, idx + n);
    int group = 0;
    double first = 0; // value that opened the current group
    for (int k = 0; k < n; ++k) {
        if (scr[k] == missing) continue;
        if (group == 0 || !(scr[k] - first < tol)) {
            first = scr[k];
            ++group;
        }
        match[idx[k] - 1] = group;
    }
    for (int j = 0; j < n; ++j)
        if (x[j] == missing) match[j] = group + 1;
    return group;
}

void NAMATR(const DESIGN &dc, int nsm, const int *smlist, double missing, int *match, int *nef, double *scr,
            int *idx, double &tol) {
    tol = 0;
    for (int k = 0; k < nsm; ++k)
        nef[k] = NAMAT(dc.column(smlist[k]), dc.n, missing, match + static_cast<std::size_t>(k) * dc.n, scr,
                       idx, tol);
}
