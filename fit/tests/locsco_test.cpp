// Local scoring on whole runs inside the test process: the number of outer iterations, the
// starting values under a single backfitting sweep, convergence to the likelihood equations,
// and the stop of a diverging fit.
#include "FAMILY.h"
#include "locsco_testutil.h"

#include <cmath>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <vector>

using namespace lumifit_test;

namespace {

// A model file over the data file "d.dat" with free format.
std::string modtext(int p, const std::vector<std::string> &vars, const std::string &family,
                    const std::string &link, const std::string &thresholds, const std::string &maxiters) {
    std::ostringstream s;
    s << "DATA: d\nP: " << p
      << "\nN: -1\nFORMAT: free\nMISSING-CODE: 99999\nINTERCEPT: yes\n'VARIABLE NAME' TYPE DF\n";
    for (const auto &v : vars)
        s << v << "\n";
    s << "FAMILY: " << family << "\nLINK: " << link << "\nTHRESHOLDS: " << thresholds << "\n'MAX ITERS:' "
      << maxiters << "\n";
    return s.str();
}

int iterlines(const std::string &out) {
    static const std::regex line(
        R"(\n {10}\(outer loop of local scoring, iteration= +\d+ deviance= *[0-9.]+\n)");
    return static_cast<int>(
        std::distance(std::sregex_iterator(out.begin(), out.end(), line), std::sregex_iterator()));
}

// y = 3x + sin(8x) + noise at 60 abscissae in [0, 1].
std::string curvedata() {
    std::mt19937 gen(7);
    std::normal_distribution<double> noise(0.0, 0.1);
    std::ostringstream s;
    s.precision(17);
    for (int i = 0; i < 60; ++i) {
        const double x = i / 59.0;
        s << 3 * x + std::sin(8 * x) + noise(gen) << " " << x << "\n";
    }
    return s.str();
}

TEST(Locsco, GaussIdentityRunsOneOuterIterationAndOneSweepKeepsTheLinearPart) {
    TEMPDIR dir(true);
    dir.write("d.dat", curvedata());
    dir.write("$.mod",
              modtext(2, {"y response 0", "x predictor 4"}, "gaussian", "identity", "0.0001 0.0001", "10 1"));
    INRUN r;
    runinprocess(r);
    ASSERT_EQ(r.stop, "") << r.out;
    EXPECT_EQ(iterlines(r.out), 1) << r.out;
    // The one sweep starts with the least-squares fit of the design columns: the slope of x
    // is the ordinary least-squares slope (a start with the fit in the smooths leaves it 0).
    const int n = r.dims.n;
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (int i = 0; i < n; ++i) {
        const double x = r.dc.column(1)[i], y = r.w.Y[i];
        sx += x, sy += y, sxx += x * x, sxy += x * y;
    }
    const double slope = (n * sxy - sx * sy) / (n * sxx - sx * sx);
    EXPECT_NEAR(r.beta(1), slope, 1e-10);
    EXPECT_GT(slope, 2.0);
    // and the smooth took up most of the curvature that the line leaves
    const double icpt = (sy - slope * sx) / n;
    double rss = 0.0, rssline = 0.0;
    for (int i = 0; i < n; ++i) {
        const double x = r.dc.column(1)[i], y = r.w.Y[i];
        rss += (y - r.w.MU[i]) * (y - r.w.MU[i]);
        rssline += (y - icpt - slope * x) * (y - icpt - slope * x);
    }
    EXPECT_LT(rss, 0.25 * rssline);
}

TEST(Locsco, OuterLimitStopsTheLoop) {
    TEMPDIR dir(true);
    dir.write("d.dat", "1 1\n0 2\n3 3\n2 4\n5 5\n4 6\n9 7\n");
    dir.write("$.mod",
              modtext(2, {"y response 0", "x predictor 1"}, "poisson", "logarithm", "1e-12 0.001", "1 10"));
    INRUN r;
    runinprocess(r);
    ASSERT_EQ(r.stop, "") << r.out;
    EXPECT_EQ(iterlines(r.out), 1);
    dir.write("$.mod",
              modtext(2, {"y response 0", "x predictor 1"}, "poisson", "logarithm", "1e-12 0.001", "40 10"));
    INRUN more;
    runinprocess(more);
    EXPECT_GT(iterlines(more.out), 2) << more.out;
    EXPECT_LT(iterlines(more.out), 40) << "converges before the limit";
}

// At convergence the fit solves the likelihood equations of the parametric part: for the log
// link, sum w (y - mu) x_j = 0 for every design column j (the smooths are orthogonal to them
// only once backfitting has settled).
TEST(Locsco, PoissonFitSolvesTheLikelihoodEquations) {
    std::mt19937 gen(11);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::ostringstream data;
    data.precision(10);
    for (int i = 0; i < 3000; ++i) {
        const double a = u(gen), b = 0.6 * a + 0.4 * u(gen);
        const int g = 1 + static_cast<int>(3 * u(gen));
        std::poisson_distribution<int> y(std::exp(0.5 + std::sin(5 * a) + b * b + 0.3 * g));
        data << y(gen) << " " << a << " " << b << " " << g << "\n";
    }
    TEMPDIR dir(true);
    dir.write("d.dat", data.str());
    dir.write("$.mod", modtext(4, {"y response 0", "a predictor 4", "b predictor 3", "g factor 2"}, "poisson",
                               "logarithm", "1e-10 1e-8", "50 200"));
    INRUN r;
    runinprocess(r);
    ASSERT_EQ(r.stop, "") << r.out;
    for (int j = 1; j <= r.dims.q; ++j) {
        const double *x = r.dc.column(j);
        double score = 0.0, scale = 0.0;
        for (int i = 0; i < r.dims.n; ++i) {
            score += r.w.W[i] * (r.w.Y[i] - r.w.MU[i]) * x[i];
            scale += r.w.W[i] * r.w.Y[i] * std::fabs(x[i]);
        }
        EXPECT_LT(std::fabs(score), 1e-6 * scale) << "column " << j;
    }
}

// Backfitting stops when the smooths have settled, whatever the number of observations: a
// gauss/ident fit (one outer iteration) with the usual inner threshold comes out as the fit
// with a threshold far below it.
TEST(Locsco, LargeFitsSettleAtTheUsualInnerThreshold) {
    std::mt19937 gen(3);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::normal_distribution<double> noise(0.0, 0.3);
    std::ostringstream data;
    data.precision(10);
    for (int i = 0; i < 20000; ++i) {
        const double a = u(gen), b = 0.7 * a + 0.3 * u(gen);
        data << std::sin(6 * a) + std::cos(5 * b) + 2 * a + noise(gen) << " " << a << " " << b << "\n";
    }
    TEMPDIR dir(true);
    dir.write("d.dat", data.str());
    double dev[2];
    const char *inner[2] = {"0.001 0.001", "0.001 1e-10"};
    for (int t = 0; t < 2; ++t) {
        dir.write("$.mod", modtext(3, {"y response 0", "a predictor 4", "b predictor 4"}, "gauss", "ident",
                                   inner[t], "20 500"));
        INRUN r;
        runinprocess(r);
        ASSERT_EQ(r.stop, "") << r.out;
        dev[t] = DEV(r.dims.n, r.w.MU, r.w.Y, r.w.W, r.w.D, FAM::GAUSS);
    }
    EXPECT_LT(std::fabs(dev[0] - dev[1]), 1e-3 * dev[1]) << dev[0] << " against " << dev[1];
}

// A column that repeats another is set aside by the decomposition: its coefficient and its row
// and column of the covariance are 0, and the other columns get what the model without it gives.
TEST(Locsco, DependentColumnIsSetAsideInTheCovariance) {
    const std::string data = "1 1 1\n0 2 2\n3 3 3\n2 4 4\n5 5 5\n4 6 6\n9 7 7\n";
    TEMPDIR dir(true);
    dir.write("d.dat", data);
    dir.write("$.mod", modtext(3, {"y response 0", "x predictor 1", "xx predictor 0"}, "poisson", "logarithm",
                               "1e-12 0.001", "50 10"));
    INRUN one;
    runinprocess(one);
    ASSERT_EQ(one.stop, "") << one.out;
    dir.write("$.mod", modtext(3, {"y response 0", "x predictor 1", "xx predictor 1"}, "poisson", "logarithm",
                               "1e-12 0.001", "50 10"));
    INRUN two;
    runinprocess(two);
    ASSERT_EQ(two.stop, "") << two.out;
    EXPECT_NE(two.out.find(" WARNING: design matrix is ill-conditioned"), std::string::npos);
    // columns: one x, icpt; two x, xx, icpt
    EXPECT_EQ(two.beta(2), 0.0);
    for (int j = 1; j <= 3; ++j) {
        EXPECT_EQ(two.k(2, j), 0.0);
        EXPECT_EQ(two.k(j, 2), 0.0);
    }
    EXPECT_NEAR(two.beta(1), one.beta(1), 1e-9);
    EXPECT_NEAR(two.beta(3), one.beta(2), 1e-9);
    EXPECT_NEAR(two.k(1, 1), one.k(1, 1), 1e-9 * one.k(1, 1));
    EXPECT_NEAR(two.k(3, 3), one.k(2, 2), 1e-9 * one.k(2, 2));
    EXPECT_NEAR(two.k(1, 3), one.k(1, 2), 1e-9 * std::fabs(one.k(1, 2)));
}

TEST(Locsco, DivergingFitStopsWithAMessage) {
    TEMPDIR dir(true);
    dir.write("d.dat", "1e300 1\n-1e300 2\n1e300 3\n");
    dir.write("$.mod",
              modtext(2, {"y response 0", "x predictor 1"}, "gauss", "ident", "0.001 0.001", "10 10"));
    INRUN r;
    runinprocess(r);
    EXPECT_EQ(r.stop,
              "Error: the fit diverged in outer iteration 1: the deviance is not a finite number; no result "
              "files were written");
}

} // namespace
