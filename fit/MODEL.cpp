#include "MODEL.h"

#include "FIXTXT.h"
#include "GETVRS.h"
#include "MSG.h"
#include "READD.h"

#include <algorithm>
#include <numeric>

DESIGN DESIGNVIEW(const DIMS &dims, WORK &w) {
    DESIGN dc;
    dc.n = dims.n;
    dc.q = dims.q;
    dc.x = w.DESIGN;
    dc.var = w.COLVAR;
    dc.kind = w.COLKIND;
    dc.df = w.COLDF;
    dc.nobs = w.COLNOBS;
    dc.label = w.COLLAB;
    return dc;
}

namespace {
std::string_view field(const char *base, int width, int i) {
    return {base + (i - 1) * width, std::size_t(width)};
}

// Puts the observations in ascending order of survival time, failures before censored ones at
// equal times, and permutes y, status, w and the filled design columns alike.
void COXORDER(int n, WORK &w, DESIGN &dc) {
    int *idx = w.INDEX;
    std::iota(idx, idx + n, 1);
    const double *y = w.Y;
    const int *st = w.STATUS;
    std::sort(idx, idx + n, [&](int a, int b) {
        if (y[a - 1] != y[b - 1]) return y[a - 1] < y[b - 1];
        if (st[a - 1] != st[b - 1]) return st[a - 1] > st[b - 1];
        return a < b;
    });
    auto permute = [&](double *v) {
        for (int j = 0; j < n; ++j)
            w.SCR[j] = v[idx[j] - 1];
        std::copy(w.SCR, w.SCR + n, v);
    };
    permute(w.Y);
    permute(w.W);
    for (int c = 1; c <= dc.used; ++c)
        permute(dc.column(c));
    for (int j = 0; j < n; ++j)
        w.ISCR[j] = w.STATUS[idx[j] - 1];
    std::copy(w.ISCR, w.ISCR + n, w.STATUS);
}
} // namespace

void MODEL(MODFILE &mod, const DIMS &dims, WORK &w, MODSPEC &m, DESIGN &dc) {
    const int n = dims.n, p = dims.p;
    mod.rewind();
    m.dataname = mod.next("DATA: and the data name").text(1, 80);
    mod.next("P: and the number of variables").integer(1);
    mod.next("N: and the number of observations (an integer)").integer(1);
    m.format = mod.next("FORMAT: and the format").text(1, 80);
    m.missing = mod.next("MISSING-CODE: and the missing code").real(1);
    READD(DATNAME(m.dataname), n, p, m.format, w.X);
    auto column = [&](int i) { return w.X + static_cast<std::size_t>(i - 1) * n; };

    std::fill(w.ROLE, w.ROLE + p, -1);
    std::fill(w.W, w.W + n, 1.0);
    std::fill(w.D, w.D + n, 1.0);
    std::fill(w.STATUS, w.STATUS + n, 0);
    m.intercept = SAMETXT(mod.next("INTERCEPT: and yes or no").text(1, 10), "no") ? 0 : 1;
    mod.next("the VARIABLE NAME line");

    // All variable lines first, so that counting factor categories can look at the weight
    // variable's values whichever line declares it.
    int weightvar = 0;
    for (int i = 1; i <= p; ++i) {
        MODLINE l = mod.next("variable line " + std::to_string(i) + ": name, type and degrees of freedom");
        l.text(0, 20).copy(w.NAMES + (i - 1) * 20, 20);
        l.text(1, 10).copy(w.TYPES + (i - 1) * 10, 10);
        w.VARDF[i - 1] = l.real(2);
        if (SAMETXT(field(w.TYPES, 10, i), "weight")) weightvar = i;
    }
    const double *wprior = weightvar ? column(weightvar) : w.W; // w is all 1.0 until a weight line

    int nresp = 0, nweight = 0, ndenom = 0, ncens = 0, nterms = 0;
    for (int i = 1; i <= p; ++i) {
        std::string_view type = field(w.TYPES, 10, i);
        const double *x = column(i);
        if (SAMETXT(type, "response")) {
            ++nresp;
            w.ROLE[i - 1] = 2;
            std::copy(x, x + n, w.Y);
        } else if (SAMETXT(type, "weight")) {
            ++nweight;
            w.ROLE[i - 1] = 2;
            std::copy(x, x + n, w.W);
            if (std::any_of(x, x + n, [](double v) { return v < 0; })) STOPRUN("error: negative weight");
            if (std::accumulate(x, x + n, 0.0) == 0) STOPRUN("error: all weights are zero");
        } else if (SAMETXT(type, "denom")) {
            ++ndenom;
            w.ROLE[i - 1] = 4;
            std::copy(x, x + n, w.D);
            if (std::min(99999.0, *std::min_element(x, x + n)) <= 0) STOPRUN("error: denominator value le 0");
        } else if (SAMETXT(type, "censoring")) {
            ++ncens;
            w.ROLE[i - 1] = 5;
            for (int j = 0; j < n; ++j) {
                if (x[j] != 0 && x[j] != 1)
                    STOPRUN("Error: censoring variable ne 0 or 1 for obs " + IFMT(j + 1, 6));
                w.STATUS[j] = static_cast<int>(x[j]);
            }
        } else if (w.VARDF[i - 1] == 0) { // a predictor or factor left out of the model
            w.ROLE[i - 1] = 0;
        } else {
            ++nterms;
            GETVRS(i, w.VARDF[i - 1], type, x, wprior, m.missing, dc, w.ROLE, w.SCR, w.INDEX);
        }
    }

    // Missing responses are marked before anything looks at y: they are neither divided by the
    // denominator nor held against the response range of the family.
    int *missresp = w.ISCR;
    int nmiss = 0;
    double ymin = 99999;
    for (int j = 0; j < n; ++j) {
        missresp[j] = nresp > 0 && w.Y[j] == m.missing;
        nmiss += missresp[j];
        if (!missresp[j]) ymin = std::min(ymin, w.Y[j]);
    }

    MODLINE l = mod.next("FAMILY: and the family");
    m.family = l.text(1, 5);
    const bool binom = SAMETXT(m.family, "binom"), cox = SAMETXT(m.family, "cox");
    if (binom && ndenom > 0) {
        for (int j = 0; j < n; ++j) {
            if (missresp[j]) continue;
            w.Y[j] /= w.D[j];
            if (w.Y[j] > 1.0) STOPRUN("Error: binomial response > denominator for obs " + IFMT(j + 1, 6));
        }
    }
    m.link = mod.next("LINK: and the link").text(1, 5);
    l = mod.next("THRESHOLDS: and two numbers");
    m.thresh[0] = l.real(1);
    m.thresh[1] = l.real(2);
    l = mod.next("MAX ITERS: and two integers");
    m.maxit[0] = l.integer(1);
    m.maxit[1] = l.integer(2);
    if ((SAMETXT(m.family, "gamma") && !(ymin > 0)) || ((SAMETXT(m.family, "poiss") || binom) && ymin < 0))
        STOPRUN("error: illegal response value for family");
    if (cox) m.intercept = 1;

    if (nmiss > 0) {
        for (int j = 0; j < n; ++j) {
            if (!missresp[j]) continue;
            w.W[j] = 0;
            w.Y[j] = 0;
        }
        std::int64_t percent = 100 * static_cast<std::int64_t>(nmiss) / n;
        MSG(IFMT(nmiss, 4) + "  respons missing (=} 99999), or " + FFMT(static_cast<double>(percent), 4, 1) +
            "% of the data;");
        MSG("their weights will be set to 0");
    }

    if (cox) COXORDER(n, w, dc);

    if (cox && ncens == 0) STOPRUN("Error: no censoring variable specified for Cox model");
    if (nresp == 0) STOPRUN("Error: no response variable specified");
    if (cox && nterms == 0) STOPRUN("Error: Cox model requires at least one  factor or predictor");
    if (nterms == 0 && m.intercept == 0)
        STOPRUN("Error: model requires at least an intcpt, or factor or predictor");
    if (nresp > 1) STOPRUN("Error  more than one response variable specified");
    if (ncens > 1) STOPRUN("Error  more than one censoring variable specified");
    if (nweight > 1) STOPRUN("Error  more than one weight variable specified");
    if (ndenom > 1) STOPRUN("Error  more than one denominator  specified");

    if (ndenom > 0 && !binom) {
        MSG("Warning: Binomial model not specified so DENOM variable ignored");
        std::fill(w.D, w.D + n, 1.0); // ignored means ignored: no later step may use it
    }
    if (ncens > 0 && !cox) MSG("Warning: Cox model not specified so CENSORING variable ignored");
}
