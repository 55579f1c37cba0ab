// The workspace of a run: its printed lengths and capacity check, and the one allocation that
// every array of the set-up and the fit is carved from. Routines after this point allocate nothing.
#pragma once
#include "GETDIM.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

// Workspace lengths in reals, integers and characters.
struct WSLEN {
    std::int64_t real = 0, integer = 0, character = 0;
};

// Capacities of the workspace (reals, integers, characters).
constexpr std::int64_t LWORKR = 36000000, LWORKI = 5580000, LWORKC = 720000;

// The lengths the program's workspace formula gives for the problem sizes.
WSLEN WSLENGTHS(const DIMS &d);

// Prints the two workspace lines, and for each length above its capacity the two error lines;
// ends the run when any length is above its capacity.
void WSCHECK(const DIMS &d);

// The partition of the workspace. Matrices are column-major with n as the column stride; all
// indices stored in the integer arrays (variables, observations, groups) count from 1.
//
// To give a later step of the fit its arrays, add the pointers here and one line each to
// WSLAYOUT in WORKSP.cpp; nothing else changes.
struct WORK {
    // reals
    double *X = nullptr;      // X(n, p)       data matrix, one column per variable line
    double *DESIGN = nullptr; // DESIGN(n, q)  design matrix, one column per model term
    double *COLDF = nullptr;  // COLDF(q)      df of each design column
    double *VARDF = nullptr;  // VARDF(p)      requested df of each variable line
    double *Y = nullptr;      // Y(n)          response
    double *W = nullptr;      // W(n)          prior weights
    double *D = nullptr;      // D(n)          binomial denominators
    double *SMDF = nullptr;   // SMDF(nsm)     smoother target df of each smooth term
    double *SCR = nullptr;    // SCR(2n)       scratch: sorted copies and their work, permutations
    double *SPAR = nullptr;   // SPAR(nsm)     smoothing parameter of each smooth term
    double *MU = nullptr;     // MU(n)         fitted means
    double *ETA = nullptr;    // ETA(n)        linear predictor
    double *Z = nullptr;      // Z(n)          working response
    double *WZ = nullptr;     // WZ(n)         working weights
    double *S = nullptr;      // S(n, nsm)     smooth fits
    double *LEV = nullptr;    // LEV(n, nsm)   leverages per abscissa group
    double *VAR = nullptr;    // VAR(n, nsm)   pointwise variances of the smooths
    double *PFIT = nullptr;   // PFIT(n)       fit of the parametric part
    double *BETA = nullptr;   // BETA(q)       coefficients of the design columns
    double *QR = nullptr;     // QR(n, q)      decomposition of the weighted design
    double *QRAUX = nullptr;  // QRAUX(q)
    double *COV = nullptr;    // COV(q, q)     unscaled covariance of the coefficients
    double *FWORK = nullptr;  // FWORK(LLOCSCO(n, q)) work of the fit and the result files
    // integers
    int *ROLE = nullptr;    // ROLE(p)       variable role codes
    int *STATUS = nullptr;  // STATUS(n)     censoring status 0/1
    int *COLVAR = nullptr;  // COLVAR(q)     source variable of each design column (0: intercept)
    int *COLKIND = nullptr; // COLKIND(q)    1 smooth, 2 linear, 100 + categories factor indicator
    int *COLNOBS = nullptr; // COLNOBS(q)    non-missing values of each design column
    int *COLLAB = nullptr;  // COLLAB(q)     term label number (TERMLAB.h) of each design column
    int *SMLIST = nullptr;  // SMLIST(nsm)   design column of each smooth term
    int *NEF = nullptr;     // NEF(nsm)      fitted distinct-abscissa groups of each smooth term
    int *MATCH = nullptr;   // MATCH(n, nsm) distinct-abscissa group of each observation, per term
    int *INDEX = nullptr;   // INDEX(2n)     scratch: observation numbers carried by sorts, their work
    int *ISCR = nullptr;    // ISCR(n)       scratch: integer permutations
    int *JPVT = nullptr;    // JPVT(q)       column order of the decomposition
    // characters
    char *NAMES = nullptr; // NAMES(20, p)  variable names, blank-padded
    char *TYPES = nullptr; // TYPES(10, p)  variable types, blank-padded

    // The one allocation, zero-filled. calloc, because a block this large comes fresh from the
    // system already zeroed, and its pages are touched only when the arrays are used (huge pages
    // where the system gives them).
    struct FREE {
        void operator()(void *p) const { std::free(p); }
    };
    std::size_t reals = 0, integers = 0, characters = 0; // lengths of the three parts
    std::unique_ptr<std::byte, FREE> block;
};

// Allocates the workspace for the sizes and points every array of WORK into it.
void WSALLOC(const DIMS &d, WORK &w);
