// Penalty matrix of the cubic smoothing spline.
#pragma once

// knot(nk+4): cubic B-spline knots with distinct interior knots. sg(4, nk) receives the four
// bands of Omega(i, j) = integral of B_i''(t) B_j''(t) dt over the knot range:
// sg[d + 4*i] = Omega(i, i+d), d = 0..3 (entries with i+d >= nk are 0).
void SGRAM(const double *knot, int nk, double *sg);
