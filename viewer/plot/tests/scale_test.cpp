#include "scale.h"

#include <gtest/gtest.h>

using namespace plot;

TEST(Scale, RatioScalesAreLogarithmicAndDifferenceScalesLinear) {
    Scale ratio = scale_at(true, 2, 440); // 0.1 .. 10
    EXPECT_EQ(ratio.x(1), 440);
    EXPECT_EQ(ratio.x(10), 540);
    EXPECT_EQ(ratio.x(0.1), 340);
    EXPECT_EQ(ratio.x(2), 470); // log10(2) x 100 = 30.1
    EXPECT_STREQ(ratio.ticks[1].label, ".2");

    Scale difference = scale_at(false, 5, 500); // -0.5 .. 0.5
    EXPECT_EQ(difference.x(0), 500);
    EXPECT_EQ(difference.x(-0.25), 450);
    EXPECT_EQ(difference.x(0.5), 600);
    EXPECT_STREQ(difference.ticks[1].label, "-.25");
}

TEST(Scale, StoredIndexOutsideTheTableTakesTheNearestValidIndex) {
    struct Case {
        bool ratio;
        double stored;
        int index;
    };
    for (Case k : {Case{true, 5, 4}, Case{true, 99, 4}, Case{true, -3, 0}, Case{false, 5, 5},
                   Case{false, 6, 5}, Case{false, ANALYSIS_MISSING, 0}, Case{true, 3.9, 3}}) {
        Scale s = scale_at(k.ratio, k.stored, 0);
        EXPECT_EQ(s.index, k.index) << k.stored;
    }
    EXPECT_EQ(scale_at(true, 7, 0).maximum(), 2);
    EXPECT_EQ(scale_at(false, 7, 0).maximum(), 0.5);
}

TEST(Scale, ValuesOffALogAxisStillMapToAnX) {
    Scale s = scale_at(true, 1, 0);
    EXPECT_EQ(s.x(0), -1000000); // log10(0) is -inf
    EXPECT_EQ(s.x(-2), 0);       // NaN
}

TEST(Scale, RiskDifferenceAndContinuousDataUseDifferenceScales) {
    EXPECT_TRUE(uses_ratio_scale(settings::DICHOTOMOUS, settings::MEASURE_OR));
    EXPECT_TRUE(uses_ratio_scale(settings::DICHOTOMOUS, settings::MEASURE_PETO_OR));
    EXPECT_FALSE(uses_ratio_scale(settings::DICHOTOMOUS, settings::MEASURE_RD));
    EXPECT_FALSE(uses_ratio_scale(settings::CONTINUOUS, settings::MEASURE_WMD));
}
