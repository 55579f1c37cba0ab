#include "UNMISS.h"

#include <cmath>

void UNMISS(DESIGN &dc, const double *w, double missing, double tol) {
    for (int c = 1; c <= dc.used; ++c) {
        // Columns the program built itself hold 0 and 1, never a missing value, even when the
        // missing code happens to be 0 or 1.
        if (dc.var[c - 1] == 0 || dc.kind[c - 1] > KFACTOR) continue;
        double *x = dc.column(c);
        double sw = 0, swx = 0;
        bool near = false;
        for (int j = 0; j < dc.n; ++j) {
            if (std::fabs(x[j] - missing) > tol) {
                sw += w[j];
                swx += w[j] * x[j];
            } else {
                near = true;
            }
        }
        if (!near) continue;
        double mean = sw > 0 ? swx / sw : 0;
        for (int j = 0; j < dc.n; ++j)
            if (x[j] == missing) x[j] = mean;
    }
}
