// GETVRS and GETDUM: the design columns of a predictor or factor of the model.
#pragma once
#include "DESIGN.h"

#include <string_view>

// GETVRS: appends the design column(s) of variable i (1-based) of the given type ("predictor" or
// "factor", 10 characters) and df (not 0). x(n) is the variable's data column, wprior(n) the prior
// weights (the weight variable's values, else 1.0), role(p) the role codes; scr(2n) and idx(2n)
// are scratch.
void GETVRS(int i, double df, std::string_view type, const double *x, const double *wprior, double missing,
            DESIGN &dc, int *role, double *scr, int *idx);

// GETDUM: appends the indicator columns of factor variable i, one per category after the first;
// arrays as for GETVRS.
void GETDUM(int i, double df, const double *x, const double *wprior, double missing, DESIGN &dc, int *role,
            double *scr, int *idx);

constexpr int MAXCATS = 20; // most categories of a factor
