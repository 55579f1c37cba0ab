#include "SGRAM.h"

#include "BSPLVD.h"

#include <algorithm>

void SGRAM(const double *knot, int nk, double *sg) {
    std::fill(sg, sg + 4 * nk, 0.0);
    double a[16], vl[12], vr[12];
    for (int i = 3; i < nk; ++i) {
        const double h = knot[i + 1] - knot[i];
        if (h <= 0.0)
            continue;
        // The second derivatives of B(i-3) .. B(i) are linear on this interval: value p at the
        // left end, slope s across it; integral of (p_a + s_a u)(p_b + s_b u) h du over [0, 1].
        BSPLVD(knot, 4, knot[i], i, a, vl, 3);
        BSPLVD(knot, 4, knot[i + 1], i, a, vr, 3);
        const double *p = vl + 8, *q = vr + 8; // column 2: second derivatives
        for (int ia = 0; ia < 4; ++ia) {
            const double pa = p[ia], sa = q[ia] - p[ia];
            for (int ib = ia; ib < 4; ++ib) {
                const double pb = p[ib], sb = q[ib] - p[ib];
                sg[(ib - ia) + 4 * (i - 3 + ia)] +=
                    h * (pa * pb + (pa * sb + sa * pb) / 2.0 + sa * sb / 3.0);
            }
        }
    }
}
