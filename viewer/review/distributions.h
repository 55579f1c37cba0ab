// Tail probabilities and critical values of the normal and chi-square distributions.
#pragma once

namespace meta {

// P(|Z| >= |z|) for a standard normal Z.
double normal_two_sided_p(double z);
// P(X >= x) for a chi-square X with df degrees of freedom (df >= 1).
double chi_square_upper_p(double x, int df);
// The two-sided normal critical value of a 90, 95 or 99 percent interval.
double normal_critical(int percent);

} // namespace meta
