// The two test lines under a summary line: heterogeneity and overall effect.
#pragma once

#include <string>

namespace plot {

// The numbers as read from the summary vector; p_text may be null.
struct SummaryTests {
    double chi_square;
    double df;
    double p_heterogeneity;
    double z;
    const char *p_text;
};

std::string heterogeneity_line(const SummaryTests &t);
std::string overall_effect_line(const SummaryTests &t);

} // namespace plot
