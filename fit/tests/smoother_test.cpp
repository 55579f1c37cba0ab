// The smoothing-spline smoother against independent mathematics: with fewer than 50 distinct
// abscissae every abscissa is a knot, so the fit is the natural cubic smoothing spline, computed
// here in Reinsch form with dense linear algebra.
#include "BSPLVD.h"
#include "BVALUE.h"
#include "MSG.h"
#include "SBART.h"
#include "SKNOTL.h"
#include "SPLSM.h"
#include "smoother_reference.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace {

// One smooth term: observations, their groups (1-based, nef + 1 for missing codes).
struct Term {
    std::vector<double> x, r, w;
    std::vector<int> match;
    int nef = 0;
};

struct TermSpec {
    const char *name;
    int distinct;   // fitted groups
    int maxTies;    // observations per group cycle through 1..maxTies
    bool weighted;  // random weights, else 1
    bool zeroGroup; // all weights of group 6 are 0
    int missing;    // observations in the group of missing codes
    double df;      // target
};

void PrintTo(const TermSpec &c, std::ostream *os) { *os << c.name; }

Term makeTerm(const TermSpec &c, unsigned seed = 7) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::vector<double> xs(c.distinct);
    for (int g = 0; g < c.distinct; ++g)
        xs[g] = 2.0 + 10.0 * (g + 0.2 + 0.6 * u(gen)) / c.distinct; // ascending, distinct
    Term t;
    t.nef = c.distinct;
    for (int g = 0; g < c.distinct; ++g) {
        for (int k = 0; k <= g % c.maxTies; ++k) {
            t.x.push_back(xs[g]);
            t.r.push_back(std::sin(xs[g]) + 0.1 * xs[g] + 0.3 * (u(gen) - 0.5));
            t.w.push_back(c.zeroGroup && g == 6 ? 0.0 : c.weighted ? 0.5 + 2.5 * u(gen) : 1.0);
            t.match.push_back(g + 1);
        }
    }
    for (int k = 0; k < c.missing; ++k) {
        t.x.push_back(99999.0);
        t.r.push_back(5.0 * u(gen));
        t.w.push_back(1.0);
        t.match.push_back(c.distinct + 1);
    }
    // Observation order must not matter.
    std::vector<std::size_t> order(t.x.size());
    std::iota(order.begin(), order.end(), 0);
    std::shuffle(order.begin(), order.end(), gen);
    Term s = t;
    for (std::size_t i = 0; i < order.size(); ++i) {
        s.x[i] = t.x[order[i]];
        s.r[i] = t.r[order[i]];
        s.w[i] = t.w[order[i]];
        s.match[i] = t.match[order[i]];
    }
    return s;
}

struct Smooth {
    std::vector<double> s, lev;
    double df = 0, spar = 0, mean = 0;
    int info = -1;
};

Smooth runSplsm(const Term &t, double df, double spar) {
    const int n = static_cast<int>(t.x.size());
    Smooth out;
    out.s.assign(n, NAN);
    out.lev.assign(t.nef, NAN);
    out.df = df;
    out.spar = spar;
    std::vector<double> work(LSPLSM(n), NAN);
    out.info = SPLSM(t.x.data(), t.r.data(), t.w.data(), n, t.match.data(), t.nef, out.df,
                     out.spar, out.s.data(), out.mean, out.lev.data(), work.data());
    return out;
}

class SmootherReinsch : public testing::TestWithParam<TermSpec> {};

TEST_P(SmootherReinsch, MatchesNaturalSplineAndHitsTargetDf) {
    const TermSpec &c = GetParam();
    const Term t = makeTerm(c);
    const double target = c.df;
    const Smooth sm = runSplsm(t, target, 0.0);
    ASSERT_EQ(sm.info, SPLOK);

    // Reduce the fitted observations independently and find the Reinsch lambda whose smoother
    // has the trace the code reached (df counts the trace minus one).
    std::vector<double> fx, fy, fw;
    for (std::size_t i = 0; i < t.x.size(); ++i) {
        if (t.match[i] <= t.nef) {
            fx.push_back(t.x[i]);
            fy.push_back(t.r[i]);
            fw.push_back(t.w[i]);
        }
    }
    const ref::Reduced red = ref::reduce(fx, fy, fw);
    ASSERT_EQ(static_cast<int>(red.x.size()), t.nef);
    const ref::Mat k = ref::penalty(red.x);
    const double lambda = ref::lambdaForTrace(k, red.w, sm.df + 1.0);
    const ref::Mat smat = ref::smoother(k, red.w, lambda);
    std::vector<double> g(t.nef, 0.0);
    for (int a = 0; a < t.nef; ++a)
        for (int b = 0; b < t.nef; ++b)
            g[a] += smat[a][b] * red.y[b];
    const std::vector<double> nl = ref::nonlinear(red.x, red.w, g);
    double scale = 0.0;
    for (double v : g)
        scale = std::max(scale, std::fabs(v));

    for (std::size_t i = 0; i < t.x.size(); ++i) {
        if (t.match[i] > t.nef) {
            EXPECT_EQ(sm.s[i], 0.0) << "missing-code observation " << i;
            continue;
        }
        int gi = 0;
        while (red.x[gi] != t.x[i])
            ++gi;
        EXPECT_NEAR(sm.s[i], nl[gi], 1e-8 * scale) << "observation " << i;
    }

    // Leverages of the nonlinear part: diagonal of the smoother minus that of the weighted
    // straight-line fit, per unit weight.
    double sw = 0, xb = 0, sxx = 0;
    for (int a = 0; a < t.nef; ++a) {
        sw += red.w[a];
        xb += red.w[a] * red.x[a];
    }
    xb /= sw;
    for (int a = 0; a < t.nef; ++a)
        sxx += red.w[a] * (red.x[a] - xb) * (red.x[a] - xb);
    for (int a = 0; a < t.nef; ++a) {
        const double hlin = red.w[a] * (1.0 / sw + (red.x[a] - xb) * (red.x[a] - xb) / sxx);
        EXPECT_NEAR(sm.lev[a] * red.w[a], smat[a][a] - hlin, 1e-8) << "group " << a + 1;
    }
    double swr = 0, sw_all = 0;
    for (std::size_t i = 0; i < t.x.size(); ++i) {
        swr += t.w[i] * t.r[i];
        sw_all += t.w[i];
    }
    EXPECT_NEAR(sm.mean, swr / sw_all, 1e-12);

    // The search stops within its tolerance of the spar whose df is the target, so the target
    // lies between the dfs of spar moved by that tolerance either way.
    const double delta = 4.0 * (0.000244 * sm.spar + SPARTOL / 3.0);
    const Smooth lower = runSplsm(t, target, sm.spar - delta);
    const Smooth upper = runSplsm(t, target, sm.spar + delta);
    EXPECT_GT(lower.df, target);
    EXPECT_LT(upper.df, target);

    // The spar returned reproduces the fit returned.
    const Smooth again = runSplsm(t, target, sm.spar);
    EXPECT_EQ(again.spar, sm.spar);
    for (std::size_t i = 0; i < t.x.size(); ++i)
        EXPECT_NEAR(again.s[i], sm.s[i], 1e-12 * scale);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SmootherReinsch,
    testing::Values(TermSpec{"distinct", 30, 1, false, false, 0, 4.0},
                    TermSpec{"weighted", 30, 1, true, false, 0, 6.5},
                    TermSpec{"ties", 25, 4, true, false, 0, 3.0},
                    TermSpec{"zeroWeightGroupAndMissing", 40, 3, true, true, 3, 5.0},
                    TermSpec{"fewAbscissae", 5, 2, true, false, 1, 2.2},
                    TermSpec{"threeAbscissae", 3, 3, true, false, 0, 1.5}),
    [](const auto &info) { return std::string(info.param.name); });

// With the fixed smoothing parameter the fit is the Reinsch spline at the lambda SBART reports,
// which pins down the scale of the penalty as well as its shape.
TEST(SmootherPenalty, FixedSparGivesReinschSplineAtReportedLambda) {
    const int m = 20;
    std::vector<double> xs(m), ys(m), ws(m);
    for (int g = 0; g < m; ++g) {
        xs[g] = std::pow(static_cast<double>(g) / (m - 1), 1.5); // uneven spacing on [0, 1]
        ys[g] = std::cos(4.0 * xs[g]) + 0.05 * (g % 3);
        ws[g] = 1.0 + 0.25 * (g % 4);
    }
    std::vector<double> knot(NKNOTS(m) + 6);
    const int nk = SKNOTL(xs.data(), m, knot.data());
    std::vector<double> coef(nk), sz(m), lev(m), work(LSBART(m, nk));
    double spar = 0.45, lambda = 0, crit = 0;
    ASSERT_EQ(SBART(xs.data(), ys.data(), ws.data(), m, knot.data(), nk, 5.0, spar, SPARHI, lambda,
                    coef.data(), sz.data(), lev.data(), crit, work.data()),
              0);
    EXPECT_EQ(spar, 0.45);
    const ref::Mat smat = ref::smoother(ref::penalty(xs), ws, lambda);
    double sumlev = 0;
    for (int a = 0; a < m; ++a) {
        double g = 0;
        for (int b = 0; b < m; ++b)
            g += smat[a][b] * ys[b];
        EXPECT_NEAR(sz[a], g, 1e-9) << a;
        EXPECT_NEAR(lev[a], smat[a][a], 1e-9) << a;
        sumlev += lev[a];
    }
    EXPECT_NEAR(sumlev, ref::trace(smat), 1e-9);
    EXPECT_NEAR(crit, 3.0 + (5.0 - sumlev) * (5.0 - sumlev), 1e-12);
}

// Cubic B-spline B(i) of order k at x by the defining recursion (the last interval closed on the
// right), and its d-th derivative: an evaluation independent of de Boor's algorithms.
double bspline(const std::vector<double> &t, int i, int k, double x) {
    if (k == 1)
        return (t[i] <= x && x < t[i + 1]) || (x == t.back() && t[i] < x && t[i + 1] == x) ? 1 : 0;
    double v = 0;
    if (t[i + k - 1] > t[i])
        v += (x - t[i]) / (t[i + k - 1] - t[i]) * bspline(t, i, k - 1, x);
    if (t[i + k] > t[i + 1])
        v += (t[i + k] - x) / (t[i + k] - t[i + 1]) * bspline(t, i + 1, k - 1, x);
    return v;
}

double bsplineDeriv(const std::vector<double> &t, int i, int k, int d, double x) {
    if (d == 0)
        return bspline(t, i, k, x);
    double v = 0;
    if (t[i + k - 1] > t[i])
        v += (k - 1) / (t[i + k - 1] - t[i]) * bsplineDeriv(t, i, k - 1, d - 1, x);
    if (t[i + k] > t[i + 1])
        v -= (k - 1) / (t[i + k] - t[i + 1]) * bsplineDeriv(t, i + 1, k - 1, d - 1, x);
    return v;
}

// With 50 or more distinct abscissae the spline has fewer knots than abscissae; the fit is then
// the penalized regression spline on the knots placed by rank, computed here densely with the
// penalty integrated by two-point Gauss quadrature (exact for the linear second derivatives).
TEST(SmootherRegressionSpline, FewerKnotsThanAbscissaeMatchesDenseFit) {
    const Term t = makeTerm({"regression", 120, 3, true, false, 2, 5.0}, 3);
    const Smooth sm = runSplsm(t, 5.0, 0.0);
    ASSERT_EQ(sm.info, SPLOK);
    std::vector<double> fx, fy, fw;
    for (std::size_t i = 0; i < t.x.size(); ++i) {
        if (t.match[i] <= t.nef) {
            fx.push_back(t.x[i]);
            fy.push_back(t.r[i]);
            fw.push_back(t.w[i]);
        }
    }
    const ref::Reduced red = ref::reduce(fx, fy, fw);
    const int m = static_cast<int>(red.x.size());
    const int nknots = 50.0 * std::pow(2.0, (m - 50) / 150.0); // 69 for 120 abscissae
    std::vector<double> knot(3, red.x.front());
    for (int j = 0; j < nknots; ++j)
        knot.push_back(red.x[j * (m - 1) / (nknots - 1)]);
    knot.insert(knot.end(), 3, red.x.back());
    const int nk = nknots + 2;

    ref::Mat xwx(nk, std::vector<double>(nk, 0.0)), omega = xwx;
    std::vector<double> xwy(nk, 0.0);
    std::vector<std::vector<double>> basis(m, std::vector<double>(nk));
    for (int g = 0; g < m; ++g) {
        for (int a = 0; a < nk; ++a)
            basis[g][a] = bspline(knot, a, 4, red.x[g]);
        for (int a = 0; a < nk; ++a) {
            xwy[a] += red.w[g] * basis[g][a] * red.y[g];
            for (int b = 0; b < nk; ++b)
                xwx[a][b] += red.w[g] * basis[g][a] * basis[g][b];
        }
    }
    for (std::size_t j = 3; j + 4 < knot.size(); ++j) {
        const double h = knot[j + 1] - knot[j], mid = 0.5 * (knot[j] + knot[j + 1]);
        for (double u : {-1.0, 1.0}) {
            const double x = mid + u * h / (2.0 * std::sqrt(3.0));
            for (int a = 0; a < nk; ++a)
                for (int b = 0; b < nk; ++b)
                    omega[a][b] += 0.5 * h * bsplineDeriv(knot, a, 4, 2, x) *
                                   bsplineDeriv(knot, b, 4, 2, x);
        }
    }
    auto inverseAt = [&](double lambda) {
        ref::Mat a = xwx;
        for (int r = 0; r < nk; ++r)
            for (int c = 0; c < nk; ++c)
                a[r][c] += lambda * omega[r][c];
        return ref::inverse(a);
    };
    auto traceAt = [&](double lambda) { // trace of X inv(A) X'W = trace of inv(A) X'WX
        const ref::Mat inv = inverseAt(lambda);
        double tr = 0;
        for (int r = 0; r < nk; ++r)
            for (int c = 0; c < nk; ++c)
                tr += inv[r][c] * xwx[c][r];
        return tr;
    };
    double lo = std::log(1e-14), hi = std::log(1e14);
    while (hi - lo > 1e-14) {
        const double mid = 0.5 * (lo + hi);
        (traceAt(std::exp(mid)) > sm.df + 1.0 ? lo : hi) = mid;
    }
    const ref::Mat inv = inverseAt(std::exp(0.5 * (lo + hi)));
    std::vector<double> coef(nk, 0.0), g(m, 0.0);
    for (int r = 0; r < nk; ++r)
        for (int c = 0; c < nk; ++c)
            coef[r] += inv[r][c] * xwy[c];
    double scale = 0;
    for (int a = 0; a < m; ++a) {
        for (int c = 0; c < nk; ++c)
            g[a] += basis[a][c] * coef[c];
        scale = std::max(scale, std::fabs(g[a]));
    }
    const std::vector<double> nl = ref::nonlinear(red.x, red.w, g);
    for (std::size_t i = 0; i < t.x.size(); ++i) {
        if (t.match[i] > t.nef)
            continue;
        EXPECT_NEAR(sm.s[i], nl[red.group[std::find(fx.begin(), fx.end(), t.x[i]) - fx.begin()]],
                    1e-8 * scale)
            << "observation " << i;
    }
}

TEST(SmootherKnots, CountsFollowTheTable) {
    struct { int m, nknots; } cases[] = {
        {2, 2}, {30, 30}, {49, 49}, {50, 50},
        {125, 70},   // 50 * 2^(1/2)
        {200, 100},  {500, 118}, // 100 * 1.4^(1/2)
        {800, 140},  {2000, 167}, // 140 * (200/140)^(1/2)
        {3200, 200}, {3300, 202}, // 200 + 100^0.2
    };
    for (const auto &c : cases)
        EXPECT_EQ(NKNOTS(c.m), c.nknots) << "m = " << c.m;
}

TEST(SmootherKnots, VectorSitsOnAbscissaRanks) {
    for (int m : {30, 3200}) {
        std::vector<double> xs(m);
        std::iota(xs.begin(), xs.end(), 0.0); // abscissa = rank
        std::vector<double> knot(NKNOTS(m) + 6);
        const int nk = SKNOTL(xs.data(), m, knot.data());
        const int nknots = m == 30 ? 30 : 200;
        EXPECT_EQ(nk, nknots + 2) << m;
        for (int j = 0; j < 4; ++j) {
            EXPECT_EQ(knot[j], 0.0);
            EXPECT_EQ(knot[nknots + 2 + j], m - 1.0);
        }
        for (int j = 0; j < nknots; ++j)
            EXPECT_EQ(knot[3 + j], std::floor(j * (m - 1.0) / (nknots - 1))) << m << " " << j;
    }
}

// A cubic spline with coefficients from the polar forms of 1, x and x^2 reproduces x^2 - 3x + 2
// exactly, with its derivatives, on uneven knots: checks the interval search, the values and the
// derivatives of both BVALUE and BSPLVD.
TEST(SmootherBsplines, ReproduceQuadraticWithDerivatives) {
    const std::vector<double> t = {0, 0, 0, 0, 0.1, 0.35, 0.4, 0.8, 1, 1, 1, 1};
    const int n = static_cast<int>(t.size()) - 4;
    std::vector<double> c(n);
    for (int j = 0; j < n; ++j) {
        const double a = t[j + 1], b = t[j + 2], d = t[j + 3];
        c[j] = (a * b + a * d + b * d) / 3.0 - (a + b + d) + 2.0;
    }
    for (double x : {0.0, 0.05, 0.1, 0.2, 0.37, 0.4, 0.79, 0.95, 1.0}) {
        const double f[3] = {x * x - 3 * x + 2, 2 * x - 3, 2};
        for (int d = 0; d < 3; ++d)
            EXPECT_NEAR(BVALUE(t.data(), c.data(), n, 4, x, d), f[d], 1e-12) << x << " " << d;
        EXPECT_EQ(BVALUE(t.data(), c.data(), n, 4, x, 4), 0.0);
        int left = 3;
        INTERV(t.data(), n, 4, x, left);
        double a[16], v[12];
        BSPLVD(t.data(), 4, x, left, a, v, 3);
        for (int d = 0; d < 3; ++d) {
            double s = 0;
            for (int i = 0; i < 4; ++i)
                s += c[left - 3 + i] * v[i + 4 * d];
            EXPECT_NEAR(s, f[d], 1e-12) << x << " " << d;
        }
    }
}

TEST(SmootherEdges, TargetDfOneLeavesAlmostNoNonlinearPart) {
    const Term t = makeTerm({"line", 30, 2, true, false, 0, 1.0});
    const Smooth sm = runSplsm(t, 1.0, 0.0);
    ASSERT_EQ(sm.info, SPLOK);
    double ymax = 0, smax = 0;
    for (std::size_t i = 0; i < t.x.size(); ++i) {
        ymax = std::max(ymax, std::fabs(t.r[i]));
        smax = std::max(smax, std::fabs(sm.s[i]));
    }
    EXPECT_LT(smax, 1e-3 * ymax);
    EXPECT_NEAR(sm.df, 1.0, 0.01);
}

// Data a spline cannot be fitted to leaves the term linear: nonlinear part 0, never NaN.
TEST(SmootherEdges, UnfittableTermsStayLinear) {
    struct Case {
        const char *name;
        std::vector<double> x, w;
        std::vector<int> match;
        int nef, info;
    };
    std::vector<double> x30(30), ends(30, 0.0);
    std::vector<int> m30(30);
    for (int i = 0; i < 30; ++i) {
        x30[i] = i;
        m30[i] = i + 1;
    }
    ends[0] = ends[29] = 1.0; // only the end abscissae carry weight: X'WX and r0 are singular
    const Case cases[] = {
        {"allWeightsZero", x30, std::vector<double>(30, 0.0), m30, 30, SPLFEW},
        {"oneWeightedGroup", {1, 1, 2, 3}, {1, 1, 0, 0}, {1, 1, 2, 3}, 3, SPLFEW},
        {"equalAbscissaeInSeparateGroups", {0, 0, 0, 0}, {1, 1, 1, 1}, {1, 2, 3, 4}, 4, SPLFEW},
        {"factorisationFailsOnEveryRetry", x30, ends, m30, 30, SPLFAIL},
    };
    for (const Case &c : cases) {
        Term t;
        t.x = c.x;
        t.w = c.w;
        t.match = c.match;
        t.nef = c.nef;
        for (std::size_t i = 0; i < c.x.size(); ++i)
            t.r.push_back(std::sin(static_cast<double>(i)));
        const Smooth sm = runSplsm(t, 3.0, 0.3);
        EXPECT_EQ(sm.info, c.info) << c.name;
        EXPECT_EQ(sm.df, 1.0) << c.name;
        EXPECT_EQ(sm.spar, 0.0) << c.name;
        for (double v : sm.s)
            EXPECT_EQ(v, 0.0) << c.name;
        for (double v : sm.lev)
            EXPECT_EQ(v, 0.0) << c.name;
        EXPECT_FALSE(std::isnan(sm.mean)) << c.name;
    }
}

TEST(SmootherCheck, RefusesPredictorWithoutRangeNamingIt) {
    struct Case {
        std::vector<double> x;
        std::vector<int> match;
        int nef;
        bool refused;
    };
    const Case cases[] = {
        {{3, 3, 3, 3}, {1, 1, 1, 1}, 1, true},               // one group
        {{0, 0, 0}, {1, 2, 3}, 3, true},                     // all zero: groups but no range
        {{5, 5, 99999}, {1, 1, 2}, 1, true},                 // one value besides missing codes
        {{1, 2, 2, 99999}, {1, 2, 2, 3}, 2, false},
    };
    for (const Case &c : cases) {
        std::FILE *sink = std::tmpfile();
        MSGSINK(sink);
        bool threw = false;
        try {
            SPLCHK(c.x.data(), static_cast<int>(c.x.size()), c.match.data(), c.nef, "age       ");
        } catch (const RUNSTOP &stop) {
            threw = true;
            EXPECT_NE(stop.message.find("smooth predictor age has fewer than two distinct values"),
                      std::string::npos)
                << stop.message;
        }
        MSGSINK(nullptr);
        std::rewind(sink);
        char line[300] = {};
        const bool printed = std::fgets(line, sizeof line, sink) != nullptr;
        std::fclose(sink);
        EXPECT_EQ(threw, c.refused);
        EXPECT_EQ(printed, c.refused);
        if (printed) {
            EXPECT_EQ(std::string(line).rfind(" Error: smooth predictor age ", 0), 0u) << line;
        }
    }
}

} // namespace
