// Time to read a data file of 500,000 observations of 6 values with READD, in free format and in
// a record format. The target for free format is well under a second.
// Usage: bench_lumifit_input [observations] [repeats] (best of repeats, default 500000 and 3).
#include "FIXTXT.h"
#include "READD.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int P = 6;

// Writes n observations: a 0/1 response, a count, four reals of various sizes and signs.
std::string writedata(const std::filesystem::path &path, int n, bool fixed) {
    std::mt19937 gen(42);
    std::uniform_real_distribution<double> u(-1000.0, 1000.0);
    std::FILE *f = std::fopen(path.c_str(), "w");
    if (!f) std::exit(2);
    for (int j = 0; j < n; ++j) {
        int y = static_cast<int>(gen() % 2), c = static_cast<int>(gen() % 50);
        double a = u(gen), b = u(gen) / 1000, d = u(gen) * 100, e = u(gen);
        if (fixed)
            std::fprintf(f, "%2d%4d%12.5f%12.7f%14.4f%12.5f\n", y, c, a, b, d, e);
        else
            std::fprintf(f, "%d %d %.5f %.7f,%.4f %.5f\n", y, c, a, b, d, e);
    }
    std::fclose(f);
    return path.string();
}

// Best wall-clock and processor time of the repeats (the processor time shows the reading's own
// cost on a machine that others share).
struct TIMES {
    double wall = 1e30, cpu = 1e30;
};

TIMES seconds(const std::string &path, int n, const std::string &format, std::vector<double> &x,
              int repeats) {
    TIMES best;
    for (int r = 0; r < repeats; ++r) {
        auto t0 = std::chrono::steady_clock::now();
        std::clock_t c0 = std::clock();
        READD(path, n, P, PADTXT(format, 80), x.data());
        std::clock_t c1 = std::clock();
        auto t1 = std::chrono::steady_clock::now();
        best.wall = std::min(best.wall, std::chrono::duration<double>(t1 - t0).count());
        best.cpu = std::min(best.cpu, double(c1 - c0) / CLOCKS_PER_SEC);
    }
    return best;
}

void report(const char *what, TIMES t, int n, const std::string &file) {
    std::printf("%-14s %.3f s wall, %.3f s processor (%.1f ns per value), %.1f MB\n", what, t.wall, t.cpu,
                t.cpu * 1e9 / (double(n) * P), std::filesystem::file_size(file) / 1e6);
}

} // namespace

int main(int argc, char **argv) {
    int n = argc > 1 ? std::atoi(argv[1]) : 500000;
    int repeats = argc > 2 ? std::atoi(argv[2]) : 3;
    if (n < 1 || repeats < 1) return 2;
    std::filesystem::path dir = std::filesystem::temp_directory_path();
    std::string freefile = writedata(dir / "bench_lumifit_free.dat", n, false);
    std::string fixedfile = writedata(dir / "bench_lumifit_fixed.dat", n, true);
    std::vector<double> x(static_cast<std::size_t>(n) * P);

    TIMES tfree = seconds(freefile, n, "free", x, repeats);
    std::vector<double> xfree = x;
    TIMES tfixed = seconds(fixedfile, n, "(F2.0, I4, F12.5, F12.7, F14.4, F12.5)", x, repeats);
    double maxdiff = 0;
    for (std::size_t k = 0; k < x.size(); ++k)
        maxdiff = std::max(maxdiff, std::abs(x[k] - xfree[k]));

    std::printf("observations %d, values per observation %d, best of %d\n", n, P, repeats);
    report("free format:", tfree, n, freefile);
    report("record format:", tfixed, n, fixedfile);
    std::printf("largest difference between the two readings of the same values: %.3g\n", maxdiff);
    std::filesystem::remove(freefile);
    std::filesystem::remove(fixedfile);
    return 0;
}
