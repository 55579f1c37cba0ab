#include "GETVRS.h"

#include "MSG.h"
#include "MYSORT.h"
#include "TERMLAB.h"

#include <algorithm>
#include <numeric>

void GETDUM(int i, double df, const double *x, const double *wprior, double missing, DESIGN &dc, int *role,
            double *scr, int *idx) {
    int n = dc.n;
    std::copy(x, x + n, scr);
    std::iota(idx, idx + n, 1);
    MYSORT(scr, idx, n, scr + n, idx + n);

    // Categories in ascending order. A value opens one only when its own observation has a
    // positive prior weight.
    double cat[MAXCATS];
    int ncat = 1;
    cat[0] = scr[0];
    for (int k = 1; k < n; ++k) {
        if (scr[k] > cat[ncat - 1] && wprior[idx[k] - 1] > 0) {
            if (ncat == MAXCATS) STOPRUN("more than 20 categories");
            cat[ncat++] = scr[k];
        }
    }

    int m = static_cast<int>(df);
    bool misscat = cat[ncat - 1] == missing;
    if (misscat)
        MSG("For missing data in var " + IFMT(i, 4) + " , creating new category #" + IFMT(ncat, 4) +
            " , labelled \"mi: \"");
    if (m != ncat - 1)
        STOPRUN("Error: for variable " + IFMT(i, 3) + ", the number of distinct values is " + IFMT(ncat, 6) +
                "; the degrees of freedom should be " + IFMT(ncat - 1, 6));
    role[i - 1] = KFACTOR + ncat;

    // Category 1 is the reference and gets no column.
    for (int k = 2; k <= ncat; ++k) {
        int c = dc.append(i, KFACTOR + ncat, 1.0, n, k - 1);
        double *col = dc.column(c);
        for (int j = 0; j < n; ++j)
            col[j] = x[j] == cat[k - 1] ? 1.0 : 0.0;
        if (misscat && k == ncat) dc.label[c - 1] = LABMISS;
    }
}
