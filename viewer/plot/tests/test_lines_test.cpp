#include "test_lines.h"

#include "analysis.h"

#include <gtest/gtest.h>

using namespace plot;

TEST(TestLines, Heterogeneity) {
    struct Case {
        double chi_square, df, p;
        const char *line;
    };
    const Case cases[] = {
        {0, 0, 1, "Test for heterogeneity chi-square=0.0  df=0"},
        {0, 3, 0.5, "Test for heterogeneity chi-square=0.0  df=3  p=1"},
        {ANALYSIS_MISSING, 2.9, 0.5, "Test for heterogeneity chi-square=0.0  df=2  p=1"},
        {31.456, 4, 0.000002, "Test for heterogeneity chi-square=31.46  df=4  p<0.00001"},
        {3.2, 2, 0.2019, "Test for heterogeneity chi-square=3.20  df=2  p=0.2019"},
        {1.5, 1, 0.00001, "Test for heterogeneity chi-square=1.50  df=1  p=1e-05"},
    };
    for (const Case &k : cases)
        EXPECT_EQ(heterogeneity_line({k.chi_square, k.df, k.p, 0, nullptr}), k.line);
}

TEST(TestLines, OverallEffect) {
    struct Case {
        double z;
        const char *p_text;
        const char *line;
    };
    const Case cases[] = {
        {0, "0.5", "Test for overall effect  z=0.0  p=1"},
        {ANALYSIS_MISSING, "<0.00001", "Test for overall effect  z=0.0  p=1"},
        {4.567, "<0.00001", "Test for overall effect  z=4.57  p<0.00001"},
        {1.2, ">0.9", "Test for overall effect  z=1.20  p>0.9"},
        {1.96, "0.05", "Test for overall effect  z=1.96  p=0.05"},
        {-2.5, nullptr, "Test for overall effect  z=-2.50  p="},
    };
    for (const Case &k : cases)
        EXPECT_EQ(overall_effect_line({0, 0, 0, k.z, k.p_text}), k.line);
}
