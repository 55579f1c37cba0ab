// Knots of the smoothing spline: how many interior knots m distinct abscissae get, and the knot
// vector placed on them.
#pragma once

// Number of interior knots for m >= 1 distinct abscissae: every abscissa below 50, then a slowly
// growing count (100 at 200, 140 at 800, 200 at 3200).
int NKNOTS(int m);

// xs(m): distinct abscissae, ascending; knot(NKNOTS(m) + 6) receives xs[0] four times, the
// interior knots spread evenly over the abscissa ranks, and xs[m-1] four times. m >= 2.
// Returns nk = NKNOTS(m) + 2, the number of cubic B-spline coefficients.
int SKNOTL(const double *xs, int m, double *knot);
