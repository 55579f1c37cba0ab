#include "PCHIS.h"

#include "MSG.h"

#include <cmath>

bool PCHIS(double x, double nu, double &p) {
    if (!(x > 0.0)) {
        MSG("ERROR  Quantile ( for nl p-value) not positive");
        return false;
    }
    if (!(nu / 2.0 > 0.0)) {
        MSG("ERROR probability variable from chi-square less than quant Parameter ETA not positive");
        return false;
    }
    p = PGAMM(x / 2.0, nu / 2.0);
    return true;
}

double PGAMM(double x, double a) {
    if (x < 7.0 || x < a) {
        // sum of x^k / (a+1)...(a+k); stop once the terms fall and are negligible
        double u = a, t = 1.0, s = 1.0;
        do {
            u += 1.0;
            t *= x / u;
            s += t;
        } while (x / u > 0.5 || t / s > 1e-06);
        return std::exp(std::log(s) + a * std::log(x) - x - GAMLOG(a)) / a;
    }
    // 1 + (a-1)/x + (a-1)(a-2)/x^2 + ..., closed by one term of the continued fraction
    const int m = x >= 11.0 ? static_cast<int>(a) + 10 : static_cast<int>(a + x) - 1;
    double u = a, t = 1.0, s = 1.0;
    for (int k = 0; k < m; ++k) {
        u -= 1.0;
        t *= u / x;
        s += t;
    }
    s += (u - 1.0) * t / (x - u + 2.0);
    return 1.0 - std::exp(std::log(s) + (a - 1.0) * std::log(x) - x - GAMLOG(a));
}

double GAM(double a) {
    if (!(a > 0.0)) STOPRUN("etal ess than or equal zero");
    if (a > 33.0) STOPRUN("eta greater than 33");
    // Taylor coefficients of 1/gamma(z) around 0
    static constexpr double C[26] = {
        1.0000000000000000,  0.5772156649015329,  -0.6558780715202538, -0.0420026350340952,
        0.1665386113822915,  -0.0421977345555443, -0.0096219715278770, 0.0072189432466630,
        -0.0011651675918591, -0.0002152416741149, 0.0001280502823882,  -0.0000201348547807,
        -0.0000012504934821, 0.0000011330272320,  -0.0000002056338417, 0.0000000061160950,
        0.0000000050020075,  -0.0000000011812746, 0.0000000001043427,  0.0000000000077823,
        -0.0000000000036968, 0.0000000000005100,  -0.0000000000000206, -0.0000000000000054,
        0.0000000000000014,  0.0000000000000001};
    double z = a, f = 1.0;
    while (z > 1.0) {
        z -= 1.0;
        f *= z;
    }
    double r = 0.0;
    for (int k = 25; k >= 0; --k)
        r = r * z + C[k];
    return f / (r * z);
}

double GAMLOG(double a) {
    if (!(a > 0.0)) STOPRUN("ERROR eta less than or equal zero");
    if (a <= 10.0) return std::log(GAM(a));
    const double r = 1.0 / (a * a);
    return (a - 0.5) * std::log(a) - a + 0.9189385332046728 +
           (1.0 / 12.0 - r * (1.0 / 360.0 - r * (1.0 / 1260.0 - r / 1680.0))) / a;
}
