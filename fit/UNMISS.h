// UNMISS: missing predictor values replaced by the weighted mean of their design column.
#pragma once
#include "DESIGN.h"

// For each design column read from the data (not the intercept, not a factor indicator): the
// w-weighted mean of the entries farther than tol from the missing code (0 when their weights sum
// to 0 or less) replaces every entry equal to the missing code, when any entry lies within tol of
// it. w(n) are the prior weights.
void UNMISS(DESIGN &dc, const double *w, double missing, double tol);
