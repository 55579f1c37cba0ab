// The design columns of a model, as views into the workspace: x(n, q) column-major and per
// column c (1-based) its source variable var(c) (0 for the intercept), kind(c), df(c), non-missing
// count nobs(c) and term-label number label(c) (TERMLAB.h). Columns 1..used are filled.
#pragma once
#include <cstddef>

constexpr int KSMOOTH = 1, KLINEAR = 2, KFACTOR = 100; // a factor indicator's kind is 100 + categories

struct DESIGN {
    int n = 0, q = 0, used = 0;
    double *x = nullptr;
    int *var = nullptr, *kind = nullptr;
    double *df = nullptr;
    int *nobs = nullptr, *label = nullptr;

    // Column c (1-based) of x.
    double *column(int c) const { return x + static_cast<std::size_t>(c - 1) * n; }
    // Takes the next column and records its attributes; returns its number. Ends the run if the
    // first pass counted fewer columns.
    int append(int source, int kind, double df, int nobs, int label);
};
