#include "distributions.h"

#include <cmath>

namespace meta {

double normal_two_sided_p(double z) { return std::erfc(std::fabs(z) / std::sqrt(2.0)); }

namespace {

// Regularized lower incomplete gamma P(a, x) by its power series (converges fast for x < a + 1).
double gamma_p_series(double a, double x)
{
    double term = 1.0 / a, sum = term;
    for (int n = 1; n < 10000 && std::fabs(term) > std::fabs(sum) * 1e-17; ++n) {
        term *= x / (a + n);
        sum += term;
    }
    return sum * std::exp(-x + a * std::log(x) - std::lgamma(a));
}

// Regularized upper incomplete gamma Q(a, x) by Lentz's continued fraction (for x >= a + 1).
double gamma_q_fraction(double a, double x)
{
    const double tiny = 1e-300;
    double b = x + 1.0 - a, c = 1.0 / tiny, d = 1.0 / b, h = d;
    for (int i = 1; i < 10000; ++i) {
        double an = -i * (i - a);
        b += 2.0;
        d = an * d + b;
        if (std::fabs(d) < tiny)
            d = tiny;
        c = b + an / c;
        if (std::fabs(c) < tiny)
            c = tiny;
        d = 1.0 / d;
        double step = d * c;
        h *= step;
        if (std::fabs(step - 1.0) < 1e-16)
            break;
    }
    return std::exp(-x + a * std::log(x) - std::lgamma(a)) * h;
}

} // namespace

double chi_square_upper_p(double x, int df)
{
    if (!(x > 0))
        return 1.0;
    double a = df / 2.0, half = x / 2.0;
    return half < a + 1.0 ? 1.0 - gamma_p_series(a, half) : gamma_q_fraction(a, half);
}

double normal_critical(int percent)
{
    switch (percent) {
    case 90: return 1.6448536269514715;  // upper 5% point
    case 95: return 1.9599639845400536;  // upper 2.5% point
    default: return 2.5758293035488999;  // upper 0.5% point
    }
}

} // namespace meta
