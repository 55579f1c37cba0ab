// Writes a claim-count data set and its lumifit model file into a folder: n policies with the
// driver's age, the vehicle's value and the yearly distance driven (three smooth predictors with
// a few thousand distinct values each), a region of five levels, and a Poisson number of claims
// whose log mean is a smooth function of each. Fixed seed, so every run writes the same data.
// Usage: bench_lumifit_rundata N FOLDER
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_lumifit_rundata N FOLDER\n");
        return 2;
    }
    const long n = std::strtol(argv[1], nullptr, 10);
    const std::string dir = argv[2];
    if (n < 10 || n > 99999999) {
        std::fprintf(stderr, "N must be from 10 to 99999999\n");
        return 2;
    }
    std::FILE *mod = std::fopen((dir + "/$.mod").c_str(), "w");
    std::FILE *dat = std::fopen((dir + "/claims.dat").c_str(), "w");
    if (!mod || !dat) {
        std::perror(dir.c_str());
        return 1;
    }
    std::fprintf(mod,
                 "DATA:          claims\nP:             5\nN:             %ld\nFORMAT:        free\n"
                 "MISSING-CODE:  99999\nINTERCEPT:     yes\n'VARIABLE NAME'   TYPE        DF\n"
                 "claims            response    0\nage               predictor   4\n"
                 "value             predictor   4\ndistance          predictor   4\n"
                 "region            factor      4\nFAMILY:        poisson\nLINK:          logarithm\n"
                 "THRESHOLDS:    0.0001  0.001\n'MAX ITERS:'   20  20\n",
                 n);
    std::mt19937_64 gen(20261210);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::gamma_distribution<double> km(4.0, 3500.0);
    const double regioneffect[5] = {0.0, 0.15, -0.1, 0.3, 0.05};
    for (long i = 0; i < n; ++i) {
        const double age = std::round((18.0 + 72.0 * std::pow(u(gen), 1.3)) * 40.0) / 40.0; // 2881 values
        const double value = std::round(std::exp(8.5 + 2.0 * u(gen)) / 25.0) * 25.0;  // about 3000 values
        const double distance = std::round(std::min(km(gen), 59990.0) / 10.0) * 10.0; // about 5000 values
        const int region = 1 + static_cast<int>(5.0 * u(gen));
        const double a = (age - 45.0) / 20.0;
        const double eta = -2.2 + 0.6 * a * a - 0.25 * a + 0.2 * std::log(value / 20000.0) +
                           0.35 * std::sqrt(distance / 14000.0) + regioneffect[region - 1];
        std::poisson_distribution<int> claims(std::exp(eta));
        std::fprintf(dat, "%d %.3f %.0f %.0f %d\n", claims(gen), age, value, distance, region);
    }
    if (std::fclose(dat) != 0 || std::fclose(mod) != 0) {
        std::perror(dir.c_str());
        return 1;
    }
    return 0;
}
