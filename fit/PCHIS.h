// The chi-square distribution function, for the p-values of the nonlinearity tests: PCHIS over
// the regularised lower incomplete gamma function PGAMM, with the gamma function GAM and its
// logarithm GAMLOG.
#pragma once

// PCHIS: P(chi-square with nu degrees of freedom <= x) = PGAMM(x / 2, nu / 2) into p. When x or
// nu / 2 is not positive there is no probability: the error line is printed, p is left alone
// and the result is false.
bool PCHIS(double x, double nu, double &p);

// PGAMM: the regularised lower incomplete gamma function P(a, x), x > 0, a > 0: a series for
// small x, otherwise the complement from the expansion of the upper function.
double PGAMM(double x, double a);

// GAM: the gamma function for 0 < a <= 33 (a polynomial in 1/gamma on (0, 1], then the
// recurrence gamma(a + 1) = a gamma(a)); GAMLOG: its logarithm for a > 0 (a Stirling series above
// 10). Arguments outside those ranges end the run with their error line.
double GAM(double a);
double GAMLOG(double a);
