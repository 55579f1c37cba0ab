// Time per observation of one SPLSM call and of one BAKFIT call (three smooth terms and a
// four-level factor) at n = 100,000 and 500,000 with 10,000 distinct abscissae per smooth term.
// The smoother's band work depends on the distinct abscissae only, so the time per observation
// must not grow with n. Usage: bench_lumifit_smoother [repeats] (best of repeats, default 3).
#include "BAKFIT.h"
#include "SPLSM.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

namespace {

constexpr int DISTINCT = 10000;

// A smooth predictor: each observation on one of DISTINCT unevenly spaced abscissae.
struct Term {
    std::vector<double> x;
    std::vector<int> match;
};

Term makeTerm(int n, std::mt19937 &gen) {
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::vector<double> xs(DISTINCT);
    double v = 0.0;
    for (double &x : xs)
        x = v += 0.5 + u(gen);
    std::uniform_int_distribution<int> pick(0, DISTINCT - 1);
    Term t;
    t.x.resize(n);
    t.match.resize(n);
    for (int i = 0; i < n; ++i) {
        const int g = i < DISTINCT ? i : pick(gen); // every abscissa occurs
        t.x[i] = xs[g];
        t.match[i] = g + 1;
    }
    return t;
}

template <class F> double bestSeconds(int repeats, F &&run) {
    double best = 1e300;
    for (int r = 0; r < repeats; ++r) {
        const auto t0 = std::chrono::steady_clock::now();
        run();
        const auto t1 = std::chrono::steady_clock::now();
        best = std::min(best, std::chrono::duration<double>(t1 - t0).count());
    }
    return best;
}

struct Times {
    double search, fixed, backfit;
    int sweeps;
};

Times measure(int n, int repeats) {
    std::mt19937 gen(42);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    Term terms[3] = {makeTerm(n, gen), makeTerm(n, gen), makeTerm(n, gen)};
    std::vector<double> z(n), w(n);
    for (int i = 0; i < n; ++i) {
        z[i] = std::sin(terms[0].x[i] / 800.0) + std::cos(terms[1].x[i] / 1500.0) +
               0.1 * (i % 4) + 0.3 * (u(gen) - 0.5);
        w[i] = 0.5 + u(gen);
    }
    Times t{};

    // One smoother call: with the search for spar (first sweep) and with spar fixed (later ones).
    std::vector<double> s(n), lev(DISTINCT), work(LSPLSM(n));
    double df = 4.0, spar = 0.0, mean = 0.0;
    t.search = bestSeconds(repeats, [&] {
        df = 4.0, spar = 0.0;
        SPLSM(terms[0].x.data(), z.data(), w.data(), n, terms[0].match.data(), DISTINCT, df, spar,
              s.data(), mean, lev.data(), work.data());
    });
    const double found = spar;
    t.fixed = bestSeconds(repeats, [&] {
        df = 4.0, spar = found;
        SPLSM(terms[0].x.data(), z.data(), w.data(), n, terms[0].match.data(), DISTINCT, df, spar,
              s.data(), mean, lev.data(), work.data());
    });

    // Backfitting: columns x1, x2, x3 (linear parts of the smooth terms), three indicators of a
    // four-level factor, intercept; a fixed number of sweeps so that the sizes compare.
    const int q = 7, nsm = 3;
    const std::size_t nn = n;
    std::vector<double> x(nn * q), smooth(nn * nsm), levs(nn * nsm), pfit(n), eta(n), beta(q);
    std::vector<double> qr(nn * q), qraux(q), bwork(LBAKFIT(n, q));
    std::vector<int> match(nn * nsm), jpvt(q), ism = {1, 2, 3}, nef(nsm, DISTINCT);
    for (int k = 0; k < nsm; ++k) {
        std::copy(terms[k].x.begin(), terms[k].x.end(), x.begin() + k * nn);
        std::copy(terms[k].match.begin(), terms[k].match.end(), match.begin() + k * nn);
    }
    for (int i = 0; i < n; ++i) {
        for (int l = 1; l < 4; ++l)
            x[i + (2 + l) * nn] = i % 4 == l;
        x[i + 6 * nn] = 1.0;
    }
    std::vector<double> dfs(nsm), spars(nsm);
    t.backfit = bestSeconds(repeats, [&] {
        std::fill(smooth.begin(), smooth.end(), 0.0);
        std::fill(dfs.begin(), dfs.end(), 4.0);
        std::fill(spars.begin(), spars.end(), 0.0);
        int rank = 0;
        BAKFIT(x.data(), n, q, z.data(), w.data(), nsm, ism.data(), match.data(), nef.data(),
               dfs.data(), spars.data(), smooth.data(), levs.data(), pfit.data(), beta.data(),
               rank, qr.data(), qraux.data(), jpvt.data(), 0.0, 10, t.sweeps, eta.data(),
               bwork.data());
    });
    return t;
}

} // namespace

int main(int argc, char **argv) {
    const int repeats = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const int sizes[2] = {100000, 500000};
    Times t[2];
    std::printf("%-28s %12s %12s %10s\n", "step (best of repeats)", "n", "seconds", "ns/obs");
    for (int k = 0; k < 2; ++k) {
        const int n = sizes[k];
        t[k] = measure(n, repeats);
        std::printf("%-28s %12d %12.4f %10.1f\n", "SPLSM, spar searched", n, t[k].search,
                    1e9 * t[k].search / n);
        std::printf("%-28s %12d %12.4f %10.1f\n", "SPLSM, spar fixed", n, t[k].fixed,
                    1e9 * t[k].fixed / n);
        std::printf("%-28s %12d %12.4f %10.1f\n", "BAKFIT, 3 smooths + factor", n, t[k].backfit,
                    1e9 * t[k].backfit / n);
    }
    // Ratio of the time per observation at the larger size to that at the smaller.
    auto ratio = [&](double Times::*f) { return (t[1].*f / sizes[1]) / (t[0].*f / sizes[0]); };
    std::printf("per-observation ratio 500,000 / 100,000: SPLSM searched %.2f, fixed %.2f, "
                "BAKFIT %.2f (%d sweeps)\n",
                ratio(&Times::search), ratio(&Times::fixed), ratio(&Times::backfit), t[1].sweeps);
    return 0;
}
