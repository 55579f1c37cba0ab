// Local scoring: the outer loop of the fit. Each outer iteration turns the current fit into a
// working response and working weights for the family and link, fits them by backfitting, maps
// the new linear predictor back to the mean scale and measures the deviance.
#pragma once
#include "FAMILY.h"

// The arrays of one fit, every one a view into the run's workspace. Matrices are column-major
// with n as the column stride; column numbers (ism, jpvt) and abscissa groups count from 1.
struct FIT {
    int n = 0, q = 0, nsm = 0;
    const double *x = nullptr;                             // x(n, q)    design matrix
    const double *y = nullptr, *w = nullptr, *d = nullptr; // y, w, d(n) response, prior weights, denominators
    const int *ism = nullptr;                              // ism(nsm)   design column of each smooth term
    const int *match = nullptr, *nef = nullptr;            // match(n, nsm), nef(nsm) abscissa groups
    double *df = nullptr, *spar = nullptr;   // df, spar(nsm) smoother df and smoothing parameter
    double *mu = nullptr, *eta = nullptr;    // mu, eta(n)  mean and linear predictor
    double *z = nullptr, *wz = nullptr;      // z, wz(n)    working response and weights of the last iteration
    double *s = nullptr, *lev = nullptr;     // s, lev(n, nsm) smooth fits, leverages per group
    double *pfit = nullptr, *beta = nullptr; // pfit(n), beta(q) parametric fit and coefficients
    double *qr = nullptr, *qraux = nullptr;  // qr(n, q), qraux(q) last decomposition
    int *jpvt = nullptr;                     // jpvt(q)    its column order
    double *cov = nullptr;                   // cov(q, q)  unscaled covariance K of beta (GAMCOV)
    double *var = nullptr;                   // var(n, nsm) pointwise variances V of the smooths (GAMCOV)
    double *work = nullptr;                  // work(LLOCSCO(n, q))

    int rank = 0;                 // numerical rank of the last decomposition
    double dev0 = 0.0, dev = 0.0; // null deviance and final deviance
    int iter = 0, inner = 0;      // outer iterations, backfitting sweeps over all of them
};

// Real work length of LOCSCO (and of the result routines, which reuse it as scratch).
long long LLOCSCO(long long n, long long q);

// LOCSCO: fits the model. t1, m1: outer threshold and iteration limit (one iteration for
// gauss/ident); t2, m2: those of backfitting. Prints one line per outer iteration; a deviance,
// weight or fit that is no longer a finite number ends the run. Ends with GAMCOV.
void LOCSCO(FIT &f, FAM family, LINK link, double t1, int m1, double t2, int m2);

// The outer-iteration line: ten blanks, the count and the deviance.
void ITERLINE(int iter, double dev);
