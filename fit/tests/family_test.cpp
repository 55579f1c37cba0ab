// Families and links: the link and its inverse and derivative agree with each other, the guards
// of the tables hold at their edges, the deviances of single observations, and the messages for
// unknown codes.
#include "FAMILY.h"
#include "lumifit_testutil.h"

#include <cmath>
#include <vector>

using namespace lumifit_test;

namespace {

TEST(Family, LinkInverseAndDerivativeAgree) {
    struct CASE {
        LINK link;
        std::vector<double> mus;
    };
    const std::vector<CASE> cases = {{LINK::IDENT, {-3.5, 0.0, 2.0, 1e4}},
                                     {LINK::LOGIT, {0.001, 0.2, 0.5, 0.93}},
                                     {LINK::LOGAR, {0.01, 1.0, 37.5}},
                                     {LINK::INVER, {0.05, 1.0, 20.0}}};
    for (const CASE &c : cases) {
        for (double mu : c.mus) {
            const double eta = SLINC(mu, c.link);
            double back = 0.0;
            LINV(1, &eta, &back, c.link);
            EXPECT_NEAR(back, mu, 1e-12 * std::max(1.0, std::fabs(mu)))
                << static_cast<int>(c.link) << " " << mu;
            // d eta / d mu against a central difference of the link
            const double h = 1e-6 * std::max(std::fabs(mu), 1e-3);
            const double num = (SLINC(mu + h, c.link) - SLINC(mu - h, c.link)) / (2 * h);
            EXPECT_NEAR(DIRIV(mu, c.link), num, 1e-6 * std::fabs(num) + 1e-9)
                << static_cast<int>(c.link) << " " << mu;
        }
    }
}

TEST(Family, GuardsAtTheEdges) {
    double mu = 0.0, eta = 0.00005;
    LINV(1, &eta, &mu, LINK::INVER);
    EXPECT_EQ(mu, 10000.0); // eta below 0.0001
    eta = 800.0;
    LINV(1, &eta, &mu, LINK::LOGIT);
    EXPECT_EQ(mu, 1.0); // no overflow for a large eta
    EXPECT_EQ(DIRIV(0.00005, LINK::LOGAR), 10000.0);
    EXPECT_EQ(SLINC(0.0, LINK::LOGAR), std::log(0.0001));
    EXPECT_EQ(SLINC(1.0, LINK::LOGIT), std::log(9999.0));
    EXPECT_EQ(SLINC(0.0, LINK::LOGIT), std::log(0.0001));
    // Poisson variance floored at 0.0001, binomial variance kept finite at mu = 1
    EXPECT_DOUBLE_EQ(WEIGHT(2.0, 0.00001, 1.0, FAM::POISS, LINK::IDENT), 2.0 / 0.0001);
    EXPECT_TRUE(std::isfinite(WEIGHT(1.0, 1.0, 3.0, FAM::BINOM, LINK::LOGIT)));
}

TEST(Family, WorkingWeightsOfTheCanonicalLinks) {
    // Under the canonical links the working weight is the prior weight times the variance.
    EXPECT_DOUBLE_EQ(WEIGHT(2.0, 0.3, 5.0, FAM::BINOM, LINK::LOGIT), 5.0 * 2.0 * 0.3 * 0.7);
    EXPECT_DOUBLE_EQ(WEIGHT(1.5, 4.0, 1.0, FAM::POISS, LINK::LOGAR), 1.5 * 4.0);
    EXPECT_DOUBLE_EQ(WEIGHT(2.0, 0.25, 1.0, FAM::GAMMA, LINK::INVER), 2.0 * 0.25 * 0.25);
    EXPECT_DOUBLE_EQ(WEIGHT(3.0, 7.0, 1.0, FAM::GAUSS, LINK::IDENT), 3.0);
    // A small fitted probability keeps its true weight: the floor only guards mu = 0 and 1.
    EXPECT_DOUBLE_EQ(WEIGHT(1.0, 0.002, 10.0, FAM::BINOM, LINK::LOGIT), 10.0 * 0.002 * 0.998);
}

TEST(Family, DevianceOfSingleObservations) {
    const double one = 1.0;
    auto dev = [&](double y, double mu, double w, double d, FAM f) { return DEV(1, &mu, &y, &w, &d, f); };
    EXPECT_DOUBLE_EQ(dev(3.0, 1.0, 2.0, one, FAM::GAUSS), 2.0 * 4.0);
    EXPECT_DOUBLE_EQ(dev(0.0, 0.3, 2.0, 4.0, FAM::BINOM), -2.0 * 2.0 * 4.0 * std::log(0.7));
    EXPECT_DOUBLE_EQ(dev(1.0, 0.3, 1.0, 1.0, FAM::BINOM), -2.0 * std::log(0.3));
    EXPECT_NEAR(dev(0.25, 0.25, 1.0, 8.0, FAM::BINOM), 0.0, 1e-14);
    EXPECT_DOUBLE_EQ(dev(0.0, 0.167, 3.0, one, FAM::POISS), 2.0 * 3.0 * 0.167);
    EXPECT_DOUBLE_EQ(dev(4.0, 2.0, 1.0, one, FAM::POISS), 2.0 * (4.0 * std::log(2.0) - 2.0));
    EXPECT_DOUBLE_EQ(dev(2.0, 4.0, 1.0, one, FAM::GAMMA), 2.0 * (-0.5 - std::log(0.5)));
    EXPECT_EQ(dev(2.0, 4.0, 1.0, one, FAM::COX), 0.0);
    // Prior weight 0 takes the observation out, whatever its response.
    EXPECT_EQ(dev(0.0, 5.0, 0.0, one, FAM::GAMMA), 0.0);
}

TEST(Family, CodesAreComparedAsFixedWidthText) {
    EXPECT_EQ(FAMCODE("poiss"), FAM::POISS);
    EXPECT_EQ(FAMCODE("cox  "), FAM::COX);
    EXPECT_EQ(LINKCODE("inver"), LINK::INVER);
    CAPTURE quiet;
    EXPECT_EQ(stopmessage([] { FAMCODE("Poiss"); }), "error in family specification");
    EXPECT_EQ(stopmessage([] { LINKCODE("probi"); }), "error in link specification");
}

} // namespace
