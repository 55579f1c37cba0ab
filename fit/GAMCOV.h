// GAMCOV: the covariances of a finished fit.
#pragma once
#include "LOCSCO.h"

// cov(q, q) = K, the unscaled covariance (R'R)^-1 of beta from the triangular factor R of the
// last decomposition: its first rank columns in pivoted order, mapped back to design-column
// order; the rows and columns of columns set aside as dependent are 0.
// var(n, nsm) = V: for smooth term k with design column j, the leverage of the nonlinear part at
// the observation's abscissa group (0 for the group of missing codes) plus (x - xbar)^2 K(j, j),
// xbar the mean of column j weighted by the working weights. Uses f.work as scratch.
void GAMCOV(FIT &f);
