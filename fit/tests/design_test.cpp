// Design set-up: factor coding, predictor columns, distinct-abscissa groups, missing values, sorts.
#include "FIXTXT.h"
#include "GETVRS.h"
#include "MYSORT.h"
#include "NAMAT.h"
#include "TERMLAB.h"
#include "UNMISS.h"
#include "lumifit_testutil.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

using namespace lumifit_test;

namespace {

// Design columns for n observations and up to q columns, with their own storage.
struct COLUMNS {
    COLUMNS(int n, int q) : x(n * q), df(q), var(q), kind(q), nobs(q), label(q), scr(2 * n), idx(2 * n), role(5, -1) {
        dc.n = n, dc.q = q;
        dc.x = x.data(), dc.df = df.data(), dc.var = var.data(), dc.kind = kind.data();
        dc.nobs = nobs.data(), dc.label = label.data();
    }
    std::vector<double> col(int c) const { return {dc.column(c), dc.column(c) + dc.n}; }
    std::string lab(int c) const { return TERMLABEL(label[c - 1]); }
    std::vector<double> x, df;
    std::vector<int> var, kind, nobs, label;
    std::vector<double> scr;
    std::vector<int> idx, role;
    DESIGN dc;
};

const std::vector<double> ONES(6, 1.0);

TEST(Factor, ThreeValuesWithDfTwo) {
    COLUMNS c(5, 2);
    std::vector<double> x{2, 1, 3, 3, 1};
    GETDUM(1, 2.0, x.data(), ONES.data(), 99999, c.dc, c.role.data(), c.scr.data(), c.idx.data());
    ASSERT_EQ(c.dc.used, 2);
    EXPECT_EQ(c.col(1), (std::vector<double>{1, 0, 0, 0, 0}));
    EXPECT_EQ(c.col(2), (std::vector<double>{0, 0, 1, 1, 0}));
    EXPECT_EQ(c.lab(1), "d2: ");
    EXPECT_EQ(c.lab(2), "d3: ");
    EXPECT_EQ(c.role[0], 103);
    EXPECT_EQ(c.kind[0], 103);
    EXPECT_EQ(c.var[1], 1);
    EXPECT_EQ(c.df[1], 1.0);
    EXPECT_EQ(c.nobs[1], 5);
}

TEST(Factor, ThreeValuesWithDfThreeStops) {
    COLUMNS c(3, 3);
    std::vector<double> x{1, 2, 3};
    CAPTURE out;
    EXPECT_EQ(stopmessage([&] {
                  GETDUM(4, 3.0, x.data(), ONES.data(), 99999, c.dc, c.role.data(), c.scr.data(),
                         c.idx.data());
              }),
              "Error: for variable   4, the number of distinct values is      3; the degrees of freedom "
              "should be      2");
}

TEST(Factor, MissingCodeAsLargestValueBecomesTheLastCategory) {
    COLUMNS c(4, 2);
    std::vector<double> x{1, 99999, 2, 1};
    CAPTURE out;
    GETDUM(2, 2.0, x.data(), ONES.data(), 99999, c.dc, c.role.data(), c.scr.data(), c.idx.data());
    EXPECT_EQ(out.text(),
              " For missing data in var    2 , creating new category #   3 , labelled \"mi: \"\n");
    ASSERT_EQ(c.dc.used, 2);
    EXPECT_EQ(c.lab(1), "d2: ");
    EXPECT_EQ(c.lab(2), "mi: ");
    EXPECT_EQ(c.col(2), (std::vector<double>{0, 1, 0, 0}));
}

TEST(Factor, CategoryNeedsAPositiveWeightOnTheObservationHoldingTheValue) {
    // Sorted, the values are 1 (obs 2), 2 (obs 3), 3 (obs 1). Only obs 1 has weight 0, so 3 opens no
    // category; the weight at sorted position 3 (obs 3) would wrongly let it open one.
    COLUMNS c(3, 1);
    std::vector<double> x{3, 1, 2}, w{0, 1, 1};
    GETDUM(1, 1.0, x.data(), w.data(), 99999, c.dc, c.role.data(), c.scr.data(), c.idx.data());
    EXPECT_EQ(c.role[0], 102);
    EXPECT_EQ(c.col(1), (std::vector<double>{0, 0, 1}));
}

TEST(Factor, TwentyOneCategoriesStop) {
    std::vector<double> x(21), w(21, 1.0);
    for (int j = 0; j < 21; ++j)
        x[j] = j;
    COLUMNS c(21, 20);
    CAPTURE out;
    EXPECT_EQ(stopmessage([&] {
                  GETDUM(1, 20.0, x.data(), w.data(), 99999, c.dc, c.role.data(), c.scr.data(), c.idx.data());
              }),
              "more than 20 categories");
}

TEST(Predictor, DfExactlyOneIsLinearAndAnyOtherSmooth) {
    COLUMNS c(3, 2);
    std::vector<double> x{1, 2, 3};
    GETVRS(1, 1.0, PADTXT("predictor", 10), x.data(), ONES.data(), 99999, c.dc, c.role.data(), c.scr.data(),
           c.idx.data());
    GETVRS(2, 1.0001, PADTXT("predictor", 10), x.data(), ONES.data(), 99999, c.dc, c.role.data(),
           c.scr.data(), c.idx.data());
    EXPECT_EQ(c.kind[0], KLINEAR);
    EXPECT_EQ(c.lab(1), "lin:");
    EXPECT_EQ(c.kind[1], KSMOOTH);
    EXPECT_EQ(c.lab(2), "    ");
    EXPECT_EQ(c.df[1], 1.0001);
    EXPECT_EQ(c.col(2), x);
    EXPECT_EQ(c.role[1], 1);
}

TEST(Predictor, MissingValuesAreCountedAndAnnounced) {
    COLUMNS c(4, 1);
    std::vector<double> x{1, 99999, 3, 99999.0000001};
    CAPTURE out;
    GETVRS(3, 2.0, PADTXT("predictor", 10), x.data(), ONES.data(), 99999, c.dc, c.role.data(), c.scr.data(),
           c.idx.data());
    EXPECT_EQ(c.nobs[0], 2);
    EXPECT_EQ(out.text(), "\n\n variable  3 has   2 missing observations\n"
                          "  they will receive a fitted value of 0 for this variable\n\n");
}

TEST(Abscissae, GroupsWithinTheTolerance) {
    struct {
        std::vector<double> x;
        std::vector<int> match;
        int nef;
    } cases[] = {
        {{0, 1.0, 1.0004}, {1, 2, 2}, 2},        // range ~1, tolerance ~0.001: one group
        {{0, 1.0, 1.002}, {1, 2, 3}, 3},         // 0.002 apart: two groups
        {{2, 99999, 1, 99999}, {2, 3, 1, 3}, 2}, // missing codes form the last group
        {{2, -9, 1}, {2, 3, 1}, 2},              // also when the code sorts first
        {{2e6, 3e6, 2.0015e6}, {1, 3, 2}, 3},    // range from the data, not from a sentinel
        {{5, 5, 5}, {1, 1, 1}, 1},               // equal values: range |x|
    };
    for (auto &t : cases) {
        int n = static_cast<int>(t.x.size());
        std::vector<int> match(n), idx(2 * n);
        std::vector<double> scr(2 * n);
        double tol = -1;
        int nef = NAMAT(t.x.data(), n, t.x[1] == -9 ? -9 : 99999, match.data(), scr.data(), idx.data(), tol);
        EXPECT_EQ(match, t.match) << t.x[2];
        EXPECT_EQ(nef, t.nef) << t.x[2];
    }
}

TEST(Abscissae, SharedToleranceIsTheLastTerms) {
    COLUMNS c(3, 2);
    std::vector<double> a{0, 1, 2}, b{0, 10, 20};
    std::copy(a.begin(), a.end(), c.dc.column(1));
    std::copy(b.begin(), b.end(), c.dc.column(2));
    c.dc.used = 2;
    int smlist[2] = {1, 2}, nef[2];
    std::vector<int> match(6);
    double tol = -1;
    NAMATR(c.dc, 2, smlist, 99999, match.data(), nef, c.scr.data(), c.idx.data(), tol);
    EXPECT_DOUBLE_EQ(tol, 0.02);
    NAMATR(c.dc, 0, smlist, 99999, match.data(), nef, c.scr.data(), c.idx.data(), tol);
    EXPECT_EQ(tol, 0.0);
}

TEST(Missing, ReplacedByTheWeightedMeanOfTheColumnOnly) {
    COLUMNS c(4, 3);
    double pred[] = {1, 0, 3, 10}, ind[] = {1, 0, 0, 1};
    std::copy(pred, pred + 4, c.dc.column(1));
    std::copy(ind, ind + 4, c.dc.column(2));
    std::fill(c.dc.column(3), c.dc.column(3) + 4, 1.0);
    c.var = {1, 2, 0}, c.kind = {KLINEAR, KFACTOR + 2, KLINEAR};
    c.dc.used = 3;
    std::vector<double> w{1, 1, 3, 0}; // obs 4: a missing response, weight 0
    UNMISS(c.dc, w.data(), 0.0, 0.0);  // missing code 0
    EXPECT_EQ(c.col(1), (std::vector<double>{1, 2.5, 3, 10}));
    EXPECT_EQ(c.col(2), (std::vector<double>{1, 0, 0, 1})) << "indicator columns hold no missing values";
}

TEST(Sort, AscendingWithIndexWholeAndSubRange) {
    std::vector<double> x{3, 1, 2, 1, 0}, xw(5);
    std::vector<int> idx{1, 2, 3, 4, 5}, iw(5);
    SORTDI(x.data(), idx.data(), 2, 4, xw.data(), iw.data());
    EXPECT_EQ(x, (std::vector<double>{3, 1, 1, 2, 0}));
    EXPECT_EQ(idx, (std::vector<int>{1, 2, 4, 3, 5}));
    MYSORT(x.data(), idx.data(), 5, xw.data(), iw.data());
    EXPECT_EQ(x, (std::vector<double>{0, 1, 1, 2, 3}));
    EXPECT_EQ(idx, (std::vector<int>{5, 2, 4, 3, 1}));
}

TEST(Sort, LargeInputsMatchAPairSortWithTiesOrderedByIndex) {
    // Ties, sorted, reversed and constant inputs; small integers, whose low digits all keys share
    // (so passes are skipped and the result may end in the work arrays); and doubles of both signs
    // over the whole range of exponents, zeros of both signs, subnormals and infinities.
    std::mt19937_64 rng(7);
    const double specials[] = {0.0, -0.0, 5e-324, -5e-324, 2.2e-308, -1e308, HUGE_VAL, -HUGE_VAL};
    for (int pattern = 0; pattern < 6; ++pattern) {
        int n = 5000;
        std::vector<double> x(n), xw(n);
        for (int k = 0; k < n; ++k) {
            const double wide = std::ldexp(double(rng() % 2000) - 1000, int(rng() % 2000) - 1000);
            x[k] = pattern == 0   ? double(rng() % 50)
                   : pattern == 1 ? k
                   : pattern == 2 ? n - k
                   : pattern == 3 ? 1.5
                   : pattern == 4 ? double(rng() % 5) + 1
                                  : (k % 10 == 0 ? specials[rng() % 8] : wide);
        }
        // Expected: ascending, -0 before +0, equal values by index.
        std::vector<std::pair<double, int>> expect(n);
        std::vector<int> idx(n), iw(n);
        for (int k = 0; k < n; ++k)
            idx[k] = k + 1, expect[k] = {x[k], k + 1};
        std::sort(expect.begin(), expect.end(), [](auto &a, auto &b) {
            if (a.first != b.first) return a.first < b.first;
            if (std::signbit(a.first) != std::signbit(b.first)) return std::signbit(a.first);
            return a.second < b.second;
        });
        MYSORT(x.data(), idx.data(), n, xw.data(), iw.data());
        for (int k = 0; k < n; ++k) {
            ASSERT_EQ(std::bit_cast<std::uint64_t>(x[k]), std::bit_cast<std::uint64_t>(expect[k].first))
                << "pattern " << pattern << " at " << k;
            ASSERT_EQ(idx[k], expect[k].second) << "pattern " << pattern << " at " << k;
        }
    }
}

} // namespace
