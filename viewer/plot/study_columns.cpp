#include "study_columns.h"

#include "cells.h"

namespace plot {
namespace {

int text_rows(const analysis &data, const _vectordef *vector) {
    int rows = 0;
    while (rows < analysis::MAX_ROWS && data.GetCellString(vector, rows + 1))
        ++rows;
    return rows;
}

} // namespace

_vectordef *StudyColumns::lower(int ci_code) const {
    return ci_code == settings::CI_90 ? lower90 : ci_code == settings::CI_95 ? lower95 : lower99;
}

_vectordef *StudyColumns::upper(int ci_code) const {
    return ci_code == settings::CI_90 ? upper90 : ci_code == settings::CI_95 ? upper95 : upper99;
}

double StudyColumns::group_of(const analysis &data, int row) const {
    return group ? data.GetCellDouble(group, row) : 0;
}

StudyColumns look_up_study_columns(analysis &data) {
    bool continuous = data.IsVector("WMD") != nullptr;
    auto v = [&](const char *name) { return data.IsVector(name); };
    StudyColumns c;
    c.study = v("STUDY");
    c.year = v("YEAR");
    if (continuous) {
        c.expt_events = v("EXPT");
        c.expt_total = v("EXPTN");
        c.expt_mean = v("EXPTX");
        c.expt_sd = v("EXPTSD");
        c.ctrl_events = v("CTRL");
        c.ctrl_total = v("CTRLN");
        c.ctrl_sd = v("CTRLSD");
        c.ctrl_mean = v("CTRLX");
        c.effect = v("WMD");
    } else {
        c.expt_events = v("EXPTN");
        c.expt_total = v("EXPTT");
        c.ctrl_events = v("CTRLN");
        c.ctrl_total = v("CTRLT");
        c.effect = v("OR");
        c.o_e = v("O-E");
        c.v = v("V");
    }
    c.group = v("GROUP");
    c.group_names = v("GROUPNAMES");
    c.lower90 = v("CIL90");
    c.upper90 = v("CIH90");
    c.lower95 = v("CIL95");
    c.upper95 = v("CIH95");
    c.lower99 = v("CIL99");
    c.upper99 = v("CIH99");
    c.weight = v("WEIGHT");
    c.quality = v("QUALITY");
    c.user = v("USER");
    c.studies = text_rows(data, c.study);
    c.group_count = text_rows(data, c.group_names);
    ViewSettings(data).set(settings::STUDY_COUNT, c.studies);
    return c;
}

} // namespace plot
