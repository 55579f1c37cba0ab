#include "MAINGA.h"

#include "DUMPGF.h"
#include "DUMPS.h"
#include "LOCSCO.h"
#include "NAMAT.h"
#include "REPORT.h"
#include "SPLSM.h"
#include "TERMLAB.h"
#include "UNMISS.h"

#include <algorithm>

void MODSET(MODFILE &mod, const DIMS &dims, WORK &w, MODSPEC &m, DESIGN &dc) {
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
    const std::size_t n = dims.n;
    for (int t = 0; t < dims.nsm; ++t) {
        const int c = w.SMLIST[t];
        SPLCHK(dc.column(c), dims.n, w.MATCH + t * n, w.NEF[t],
               std::string_view(w.NAMES + (dc.var[c - 1] - 1) * 20, 20));
    }
    UNMISS(dc, w.W, m.missing, m.tol);
}

void MAINGA(MODFILE &mod, const DIMS &dims, WORK &w, MODSPEC &m, DESIGN &dc) {
    MODSET(mod, dims, w, m, dc);

    FIT f;
    f.n = dims.n, f.q = dims.q, f.nsm = dims.nsm;
    f.x = w.DESIGN, f.y = w.Y, f.w = w.W, f.d = w.D;
    f.ism = w.SMLIST, f.match = w.MATCH, f.nef = w.NEF, f.df = w.SMDF, f.spar = w.SPAR;
    f.mu = w.MU, f.eta = w.ETA, f.z = w.Z, f.wz = w.WZ, f.s = w.S, f.lev = w.LEV;
    f.pfit = w.PFIT, f.beta = w.BETA, f.qr = w.QR, f.qraux = w.QRAUX, f.jpvt = w.JPVT;
    f.cov = w.COV, f.var = w.VAR, f.work = w.FWORK;
    const FAM family = FAMCODE(m.family);
    const LINK link = LINKCODE(m.link);
    LOCSCO(f, family, link, m.thresh[0], m.maxit[0], m.thresh[1], m.maxit[1]);
    for (int t = 0; t < dims.nsm; ++t)
        w.SMDF[t] = 1.25 * w.SMDF[t] - 0.5; // back from the smoother's target scale

    const RESULTS r = RESPREP(f, dc, w.NAMES, family, link, m.intercept);
    REPORT(r);
    DUMPS(r);
    DUMPGF(r);
}
