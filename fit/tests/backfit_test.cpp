// Backfitting against fits computed directly: weighted least squares from the normal equations,
// and the penalized least-squares solution of an additive model with one natural-spline term.
#include "BAKFIT.h"
#include "LINPACK.h"
#include "MSG.h"
#include "SPLSM.h"
#include "smoother_reference.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

// A backfitting problem and everything BAKFIT returns for it.
struct Model {
    int n = 0, q = 0;
    std::vector<double> x, z, w; // x(n, q) column-major
    std::vector<int> ism, match, nef;
    std::vector<double> df, spar;

    double &X(int i, int j) { return x[i + static_cast<std::size_t>(j) * n]; }
    void addColumn(const std::vector<double> &c) {
        x.insert(x.end(), c.begin(), c.end());
        ++q;
    }
};

struct Fit {
    std::vector<double> beta, eta, pfit, s, lev;
    int rank = 0, iter = 0;
    std::string output;
};

Fit runBakfit(Model &m, double t2, int m2) {
    const int n = m.n, q = m.q, nsm = static_cast<int>(m.ism.size());
    Fit f;
    f.beta.assign(q, NAN);
    f.eta.assign(n, NAN);
    f.pfit.assign(n, NAN);
    f.s.assign(static_cast<std::size_t>(n) * nsm, 0.0);
    f.lev.assign(static_cast<std::size_t>(n) * nsm, NAN);
    std::vector<double> qr(static_cast<std::size_t>(n) * q), qraux(q), work(LBAKFIT(n, q), NAN);
    std::vector<int> jpvt(q);
    std::FILE *sink = std::tmpfile();
    MSGSINK(sink);
    BAKFIT(m.x.data(), n, q, m.z.data(), m.w.data(), nsm, m.ism.data(), m.match.data(),
           m.nef.data(), m.df.data(), m.spar.data(), f.s.data(), f.lev.data(), f.pfit.data(),
           f.beta.data(), f.rank, qr.data(), qraux.data(), jpvt.data(), t2, m2, f.iter,
           f.eta.data(), work.data());
    MSGSINK(nullptr);
    std::rewind(sink);
    char buf[256];
    while (std::fgets(buf, sizeof buf, sink))
        f.output += buf;
    std::fclose(sink);
    return f;
}

// Weighted least squares of z on the given columns of x, from the normal equations.
std::vector<double> wls(Model &m, const std::vector<int> &cols) {
    const std::size_t p = cols.size();
    ref::Mat a(p, std::vector<double>(p, 0.0));
    std::vector<double> b(p, 0.0);
    for (int i = 0; i < m.n; ++i) {
        for (std::size_t j = 0; j < p; ++j) {
            b[j] += m.w[i] * m.X(i, cols[j]) * m.z[i];
            for (std::size_t k = 0; k < p; ++k)
                a[j][k] += m.w[i] * m.X(i, cols[j]) * m.X(i, cols[k]);
        }
    }
    return ref::solve(a, b);
}

// n observations: a predictor, a three-level factor (two indicator columns) and the intercept.
Model linearModel(int n, double unit, bool weighted, int zeroRows) {
    std::mt19937 gen(11);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    Model m;
    m.n = n;
    std::vector<double> x1(n), d2(n), d3(n), one(n, 1.0);
    for (int i = 0; i < n; ++i) {
        x1[i] = unit * (1.0 + 9.0 * u(gen));
        d2[i] = i % 3 == 1;
        d3[i] = i % 3 == 2;
        m.z.push_back(2.0 + 0.7 * x1[i] / unit - 1.5 * d2[i] + 0.5 * d3[i] + (u(gen) - 0.5));
        m.w.push_back(i < zeroRows ? 0.0 : weighted ? 0.2 + 3.0 * u(gen) : 1.0);
        if (i < zeroRows)
            m.z.back() = 1e6; // must not influence anything
    }
    m.addColumn(x1);
    m.addColumn(d2);
    m.addColumn(d3);
    m.addColumn(one);
    return m;
}

TEST(Backfit, LinearColumnsGiveWeightedLeastSquaresInOneSweep) {
    struct Case {
        const char *name;
        double unit;
        bool weighted;
        int zeroRows;
    };
    const Case cases[] = {
        {"unitWeights", 1.0, false, 0},
        {"weightsWithZeroRows", 1.0, true, 3},
        {"smallUnits", 1e-4, true, 0}, // column norm far below 0.01: still independent
    };
    for (const Case &c : cases) {
        Model m = linearModel(60, c.unit, c.weighted, c.zeroRows);
        const Fit f = runBakfit(m, 1e-6, 25);
        ASSERT_EQ(f.rank, m.q) << c.name;
        EXPECT_EQ(f.iter, 1) << c.name;
        EXPECT_EQ(f.output, "") << c.name;
        const std::vector<double> beta = wls(m, {0, 1, 2, 3});
        for (int j = 0; j < m.q; ++j)
            EXPECT_NEAR(f.beta[j], beta[j], 1e-9 * std::fabs(beta[j])) << c.name << " " << j;
        for (int i = 0; i < m.n; ++i) {
            double xb = 0;
            for (int j = 0; j < m.q; ++j)
                xb += m.X(i, j) * beta[j];
            EXPECT_NEAR(f.eta[i], xb, 1e-9 * std::fabs(xb)) << c.name << " " << i;
            EXPECT_EQ(f.eta[i], f.pfit[i]) << c.name << " " << i;
        }
    }
}

TEST(Backfit, IdenticalColumnsAreAliasedWithWarning) {
    Model m = linearModel(40, 1.0, true, 0);
    std::vector<double> copy(m.x.begin(), m.x.begin() + m.n);
    m.addColumn(copy); // column 4 repeats column 0
    const Fit f = runBakfit(m, 1e-6, 25);
    EXPECT_EQ(f.rank, m.q - 1);
    EXPECT_EQ(f.output, " WARNING: design matrix is ill-conditioned\n"
                        " Numerical rank is    4 rather than    5 , and estimates are aliased\n");
    EXPECT_EQ(f.beta[4], 0.0);
    const std::vector<double> beta = wls(m, {0, 1, 2, 3});
    for (int j = 0; j < 4; ++j)
        EXPECT_NEAR(f.beta[j], beta[j], 1e-9 * std::fabs(beta[j])) << j;
}

// One smooth term (whose linear part is design column 0) with a linear predictor, a factor and
// the intercept. At convergence backfitting reaches the minimiser of
// sum w (z - U gamma - f)^2 + lambda f'K f over the other columns U and the spline values f.
Model additiveModel() {
    std::mt19937 gen(5);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    Model m;
    const int distinct = 35;
    std::vector<double> xs(distinct);
    for (int g = 0; g < distinct; ++g)
        xs[g] = 10.0 * (g + 0.1 + 0.8 * u(gen)) / distinct;
    std::vector<double> x1, x2, d2, d3;
    for (int i = 0; i < 120; ++i) {
        const int g = (i * 8) % distinct; // every group, three or four times
        x1.push_back(xs[g]);
        m.match.push_back(g + 1);
        x2.push_back(u(gen));
        d2.push_back(i % 3 == 1);
        d3.push_back(i % 3 == 2);
        m.z.push_back(std::sin(xs[g]) + 2.0 * x2.back() - d2.back() + 0.3 * (u(gen) - 0.5));
        m.w.push_back(i == 17 ? 0.0 : 0.5 + u(gen));
    }
    m.n = 120;
    m.addColumn(x1);
    m.addColumn(x2);
    m.addColumn(d2);
    m.addColumn(d3);
    m.addColumn(std::vector<double>(m.n, 1.0));
    m.ism = {1};
    m.nef = {distinct};
    m.df = {4.0};
    m.spar = {0.0};
    return m;
}

TEST(Backfit, ConvergesToPenalizedLeastSquaresSolution) {
    Model m = additiveModel();
    const Fit f = runBakfit(m, 1e-13, 5000);
    ASSERT_GT(f.iter, 1);
    ASSERT_LT(f.iter, 5000);
    EXPECT_EQ(f.output, "");
    EXPECT_NEAR(m.df[0], 4.0, 0.05);

    // The term's smoother at the working weights has trace df + 1; find that lambda.
    std::vector<double> x1(m.x.begin(), m.x.begin() + m.n);
    const ref::Reduced red = ref::reduce(x1, m.z, m.w);
    const ref::Mat k = ref::penalty(red.x);
    const double lambda = ref::lambdaForTrace(k, red.w, m.df[0] + 1.0);

    // Normal equations in (gamma for columns 1..3, f at the groups); the intercept and the
    // linear part of x1 lie in f's unpenalized space.
    const int p = 3, g = static_cast<int>(red.x.size()), dim = p + g;
    ref::Mat a(dim, std::vector<double>(dim, 0.0));
    std::vector<double> b(dim, 0.0);
    for (int i = 0; i < m.n; ++i) {
        std::vector<double> row(dim, 0.0);
        for (int j = 0; j < p; ++j)
            row[j] = m.X(i, 1 + j);
        row[p + red.group[i]] = 1.0;
        for (int r = 0; r < dim; ++r) {
            b[r] += m.w[i] * row[r] * m.z[i];
            for (int c = 0; c < dim; ++c)
                a[r][c] += m.w[i] * row[r] * row[c];
        }
    }
    for (int r = 0; r < g; ++r)
        for (int c = 0; c < g; ++c)
            a[p + r][p + c] += lambda * k[r][c];
    const std::vector<double> sol = ref::solve(a, b);
    for (int i = 0; i < m.n; ++i) {
        double eta = sol[p + red.group[i]];
        for (int j = 0; j < p; ++j)
            eta += m.X(i, 1 + j) * sol[j];
        EXPECT_NEAR(f.eta[i], eta, 1e-7) << "observation " << i << (m.w[i] == 0 ? " (w = 0)" : "");
    }
    // The zero-weight observation's parametric fit is x beta.
    double xb = 0;
    for (int j = 0; j < m.q; ++j)
        xb += m.X(17, j) * f.beta[j];
    EXPECT_DOUBLE_EQ(f.pfit[17], xb);
}

TEST(Backfit, OneSweepWhenLimitIsOne) {
    Model m = additiveModel();
    const Fit f = runBakfit(m, 1e-13, 1);
    EXPECT_EQ(f.iter, 1);
}

TEST(Backfit, UnfittableSmoothWarnsOnceAndStaysLinear) {
    Model m = additiveModel();
    for (int i = 0; i < m.n; ++i) // weight only on the smallest and largest abscissae
        m.w[i] = m.match[i] == 1 || m.match[i] == m.nef[0] ? 1.0 : 0.0;
    const Fit f = runBakfit(m, 1e-13, 4);
    EXPECT_EQ(f.output, " WARNING: smooth term of design column 1 could not be factored on any"
                        " retry; it is fitted as linear\n");
    for (int i = 0; i < m.n; ++i) {
        EXPECT_EQ(f.s[i], 0.0) << i;
        EXPECT_TRUE(std::isfinite(f.eta[i])) << i;
    }
}

} // namespace

// The solve's other products, which the covariance step may ask for: Q'y and Q(Q'y) = y,
// residual + fit = y, and coefficients that reproduce the fit.
TEST(BackfitQr, SolveProductsAgree) {
    Model m = linearModel(25, 1.0, false, 0);
    const int n = m.n, q = m.q;
    std::vector<double> qr = m.x, qraux(q), work(2 * q);
    std::vector<int> jpvt = {1, 2, 3, 4};
    ASSERT_EQ(DQRDCA(qr.data(), n, n, q, QRTOL, qraux.data(), jpvt.data(), work.data()), q);
    EXPECT_EQ(jpvt, (std::vector<int>{1, 2, 3, 4}));
    std::vector<double> qy(n), qty(n), b(q), rsd(n), xb(n), back(n);
    ASSERT_EQ(DQRSL(qr.data(), n, n, q, qraux.data(), m.z.data(), nullptr, qty.data(), b.data(),
                    rsd.data(), xb.data(), 111),
              0);
    DQRSL(qr.data(), n, n, q, qraux.data(), qty.data(), back.data(), nullptr, nullptr, nullptr,
          nullptr, 10000);
    const std::vector<double> beta = wls(m, {0, 1, 2, 3});
    for (int j = 0; j < q; ++j)
        EXPECT_NEAR(b[j], beta[j], 1e-10 * std::fabs(beta[j])) << j;
    for (int i = 0; i < n; ++i) {
        double fit = 0;
        for (int j = 0; j < q; ++j)
            fit += m.X(i, j) * beta[j];
        EXPECT_NEAR(back[i], m.z[i], 1e-12 * std::fabs(m.z[i])) << i;
        EXPECT_NEAR(xb[i], fit, 1e-10) << i;
        EXPECT_NEAR(rsd[i] + xb[i], m.z[i], 1e-12 * std::fabs(m.z[i])) << i;
    }
}
