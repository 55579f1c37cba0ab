#include "MAINGA.h"

#include "NAMAT.h"
#include "TERMLAB.h"
#include "UNMISS.h"

#include <algorithm>

void MAINGA(MODFILE &mod, const DIMS &dims, WORK &w, MODSPEC &m, DESIGN &dc) {
    dc = DESIGNVIEW(dims, w);
    MODEL(mod, dims, w, m, dc);

    if (m.intercept == 1) {
        int c = dc.append(0, KLINEAR, 1.0, dims.n, LABSMOOTH);
        std::fill(dc.column(c), dc.column(c) + dims.n, 1.0);
    }

    // Smooth-term list: every column asking for more than one df, with its smoother target.
    int k = 0;
    for (int c = 1; c <= dc.used; ++c) {
        if (!(dc.df[c - 1] > 1.0)) continue;
        w.SMLIST[k] = c;
        w.SMDF[k] = (dc.df[c - 1] + 0.5) * 0.8;
        ++k;
    }

    NAMATR(dc, dims.nsm, w.SMLIST, m.missing, w.MATCH, w.NEF, w.SCR, w.INDEX, m.tol);
    UNMISS(dc, w.W, m.missing, m.tol);
}
