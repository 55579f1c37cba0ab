#include "GETVRS.h"

#include "FIXTXT.h"
#include "MSG.h"
#include "TERMLAB.h"

#include <algorithm>
#include <cmath>

void GETVRS(int i, double df, std::string_view type, const double *x, const double *wprior, double missing,
            DESIGN &dc, int *role, double *scr, int *idx) {
    if (SAMETXT(type, "factor")) {
        // Missing values of a factor need no notice: they form a category of their own.
        GETDUM(i, df, x, wprior, missing, dc, role, scr, idx);
        return;
    }
    role[i - 1] = 1;
    int n = dc.n;
    int k =
        static_cast<int>(std::count_if(x, x + n, [&](double v) { return std::fabs(v - missing) < 1e-6; }));
    bool linear = df == 1.0;
    int c = dc.append(i, linear ? KLINEAR : KSMOOTH, df, n - k, linear ? LABLIN : LABSMOOTH);
    std::copy(x, x + n, dc.column(c));
    if (k > 0) {
        MSGBLANK();
        MSGBLANK();
        MSG("variable " + IFMT(i, 2) + " has " + IFMT(k, 3) + " missing observations");
        MSG(" they will receive a fitted value of 0 for this variable");
        MSGBLANK();
    }
}
