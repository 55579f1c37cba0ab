// The results of a finished fit: what the result routines share (RESULTS), and REPORT, which
// prints the summary line and writes $.sum (coefficients and nonlinearity tests) and $.out.
#pragma once
#include "DESIGN.h"
#include "LOCSCO.h"

#include <string>

struct RESULTS {
    const FIT *f = nullptr;
    const DESIGN *dc = nullptr;
    const char *names = nullptr; // names(20, p): variable names, blank-padded
    FAM family = FAM::GAUSS;
    LINK link = LINK::IDENT;
    int icol = 0;         // design column of the intercept (the last one), 0 without intercept
    bool icptrep = false; // whether the intercept is reported as such (not for the Cox model)
    double totdf = 0.0, rdf = 0.0, phi = 1.0; // total and residual df, scale
};

// RESULTS of fit f; intercept is the model's intercept flag (its column is the last).
// Residual df = n - total df - observations of prior weight 0; scale = 1 for binom, poiss and
// cox, else deviance / residual df.
RESULTS RESPREP(const FIT &f, const DESIGN &dc, const char *names, FAM family, LINK link, int intercept);

// The smooth term (0-based) of design column j (1-based), or -1.
int SMTERM(const FIT &f, int j);
// The df of design column j: that of its smooth term, else 1.
double COLDF(const FIT &f, int j);
// Name of variable v (1-based), blank-padded to 20 characters.
std::string VARNAME(const RESULTS &r, int v);

// REPORT: the summary line on standard output, the nonlinearity test of each smooth term, $.sum
// and $.out. Uses f.work as scratch.
void REPORT(const RESULTS &r);
