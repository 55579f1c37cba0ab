#include "test_lines.h"

#include "cells.h"

namespace plot {
namespace {

bool zero_or_missing(double v) {
    return v == 0 || v == ANALYSIS_MISSING;
}

} // namespace

std::string heterogeneity_line(const SummaryTests &t) {
    int df = truncated(t.df);
    if (zero_or_missing(t.chi_square)) {
        if (df == 0) return "Test for heterogeneity chi-square=0.0  df=0";
        return format("Test for heterogeneity chi-square=0.0  df=%d  p=1", df);
    }
    if (t.p_heterogeneity < 0.00001)
        return format("Test for heterogeneity chi-square=%0.2f  df=%d  p<0.00001", t.chi_square, df);
    return format("Test for heterogeneity chi-square=%0.2f  df=%d  p=%g", t.chi_square, df,
                  t.p_heterogeneity);
}

std::string overall_effect_line(const SummaryTests &t) {
    if (zero_or_missing(t.z)) return "Test for overall effect  z=0.0  p=1";
    std::string p = text_of(t.p_text);
    const char *prefix = !p.empty() && (p[0] == '<' || p[0] == '>') ? "p" : "p=";
    return format("Test for overall effect  z=%0.2f  %s%s", t.z, prefix, p.c_str());
}

} // namespace plot
