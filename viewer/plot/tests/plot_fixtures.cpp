#include "plot_fixtures.h"

namespace plot_test {

void DataSet::number(const char *vector, int row, double value) {
    data->SetCellDouble(data->AddVector(vector), row, value);
}

void DataSet::text(const char *vector, int row, const char *value) {
    if (value) data->SetCellString(data->AddVector(vector), row, value);
}

void screen_settings(DataSet &d, int data_type, int measure, int scale_index, int flags, int totals) {
    using namespace settings;
    d.setting(SCALED_OUTPUT, 0);
    d.setting(SCALE_INDEX, scale_index);
    d.setting(DISPLAY_FLAGS, flags);
    d.setting(TOTALS_OPTION, totals);
    d.setting(STUDY_CI, CI_95);
    d.setting(TOTAL_CI, CI_95);
    d.setting(DATA_TYPE, data_type);
    d.setting(MEASURE, measure);
    d.setting(MODEL, MODEL_FIXED);
    d.setting(OUTPUT_MODE, 0);
    d.setting(H_SCROLL, 0);
    d.setting(V_SCROLL, 0);
}

namespace {

void interval(DataSet &d, int row, const char *effect_vector, Interval ci, double weight) {
    d.number(effect_vector, row, ci.effect);
    d.number("CIL95", row, ci.lower);
    d.number("CIH95", row, ci.upper);
    d.number("WEIGHT", row, weight);
}

} // namespace

void dichotomous_study(DataSet &d, int row, const char *name, int group, Counts n, Interval ci,
                       double weight) {
    d.text("STUDY", row, name);
    d.number("GROUP", row, group);
    d.number("EXPTN", row, n.expt_events);
    d.number("EXPTT", row, n.expt_total);
    d.number("CTRLN", row, n.ctrl_events);
    d.number("CTRLT", row, n.ctrl_total);
    interval(d, row, "OR", ci, weight);
}

void dichotomous_summary(DataSet &d, const char *vector, Counts n, Interval ci, double weight, Tests t) {
    d.number(vector, 1, n.expt_events);
    d.number(vector, 2, n.expt_total);
    d.number(vector, 3, n.ctrl_events);
    d.number(vector, 4, n.ctrl_total);
    d.number(vector, 5, ci.effect);
    d.number(vector, 8, ci.upper);
    d.number(vector, 9, ci.lower);
    d.number(vector, 13, weight);
    d.number(vector, 16, t.chi_square);
    d.number(vector, 17, t.df);
    d.number(vector, 20, t.z);
    d.text(vector, 21, t.p_text);
    d.number(vector, 22, t.p_heterogeneity);
}

void continuous_study(DataSet &d, int row, const char *name, int group, int expt_n, double expt_mean,
                      double expt_sd, int ctrl_n, double ctrl_mean, double ctrl_sd, Interval ci,
                      double weight) {
    d.text("STUDY", row, name);
    d.number("GROUP", row, group);
    d.number("EXPTN", row, expt_n);
    d.number("EXPTX", row, expt_mean);
    d.number("EXPTSD", row, expt_sd);
    d.number("CTRLN", row, ctrl_n);
    d.number("CTRLX", row, ctrl_mean);
    d.number("CTRLSD", row, ctrl_sd);
    interval(d, row, "WMD", ci, weight);
}

void continuous_summary(DataSet &d, const char *vector, int expt_n, int ctrl_n, Interval ci, double weight,
                        Tests t) {
    d.number(vector, 1, ci.effect);
    d.number(vector, 4, ci.upper);
    d.number(vector, 5, ci.lower);
    d.number(vector, 8, t.z);
    d.text(vector, 9, t.p_text);
    d.number(vector, 10, t.chi_square);
    d.number(vector, 11, t.df);
    d.number(vector, 12, t.p_heterogeneity);
    d.number(vector, 13, expt_n);
    d.number(vector, 14, ctrl_n);
    d.number(vector, 15, weight);
}

} // namespace plot_test
