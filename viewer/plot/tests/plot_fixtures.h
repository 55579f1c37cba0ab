// Small outcomes built cell by cell for the plot tests.
#pragma once

#include "analysis.h"
#include "settings.h"

#include <memory>
#include <string>

namespace plot_test {

inline constexpr double none = ANALYSIS_MISSING;

// An analysis with helpers to fill its vectors and its SETTINGS.
struct DataSet {
    std::unique_ptr<analysis> data = std::make_unique<analysis>();

    void number(const char *vector, int row, double value);
    void text(const char *vector, int row, const char *value);
    void setting(settings::cell cell, double value) { number("SETTINGS", cell, value); }
    void setting_text(settings::cell cell, const char *value) { text("SETTINGS", cell, value); }
};

struct Counts {
    int expt_events, expt_total, ctrl_events, ctrl_total;
};

struct Interval {
    double effect, lower, upper; // at 95%
};

struct Tests {
    double chi_square, df, p_heterogeneity, z;
    const char *p_text;
};

// SETTINGS of a screen view of a dichotomous (101) or continuous (102) outcome: scale index,
// display flags, totals option, measure; 95% intervals, fixed effect, no scroll.
void screen_settings(DataSet &d, int data_type, int measure, int scale_index, int flags, int totals);

// One dichotomous study row; texts may be null.
void dichotomous_study(DataSet &d, int row, const char *name, int group, Counts n, Interval ci,
                       double weight);
// A dichotomous summary vector ("GROUP %d" or "TOTAL").
void dichotomous_summary(DataSet &d, const char *vector, Counts n, Interval ci, double weight, Tests t);

// One continuous study row: participants, mean and SD of each arm.
void continuous_study(DataSet &d, int row, const char *name, int group, int expt_n, double expt_mean,
                      double expt_sd, int ctrl_n, double ctrl_mean, double ctrl_sd, Interval ci,
                      double weight);
void continuous_summary(DataSet &d, const char *vector, int expt_n, int ctrl_n, Interval ci, double weight,
                        Tests t);

} // namespace plot_test
