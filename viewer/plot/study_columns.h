// The study vectors of an outcome, looked up by name once per drawing.
#pragma once

#include "analysis.h"

namespace plot {

// Slots a data type lacks are null. Continuous data keep the participants in the "total" slots.
struct StudyColumns {
    _vectordef *study = nullptr;
    _vectordef *year = nullptr;
    _vectordef *expt_events = nullptr; // "EXPTN" (dichotomous) or "EXPT" (continuous)
    _vectordef *expt_total = nullptr;  // "EXPTT" or "EXPTN"
    _vectordef *expt_mean = nullptr;
    _vectordef *expt_sd = nullptr;
    _vectordef *ctrl_events = nullptr; // "CTRLN" or "CTRL"
    _vectordef *ctrl_total = nullptr;  // "CTRLT" or "CTRLN"
    _vectordef *ctrl_sd = nullptr;
    _vectordef *ctrl_mean = nullptr;
    _vectordef *group = nullptr;
    _vectordef *group_names = nullptr;
    _vectordef *effect = nullptr; // "OR" or "WMD"
    _vectordef *lower90 = nullptr;
    _vectordef *upper90 = nullptr;
    _vectordef *lower95 = nullptr;
    _vectordef *upper95 = nullptr;
    _vectordef *lower99 = nullptr;
    _vectordef *upper99 = nullptr;
    _vectordef *weight = nullptr;
    _vectordef *o_e = nullptr;
    _vectordef *quality = nullptr;
    _vectordef *user = nullptr;
    _vectordef *v = nullptr;

    int studies = 0;     // rows until "STUDY" has no text
    int group_count = 0; // rows until "GROUPNAMES" has no text

    // The limits at a confidence-interval code: 0 = 90%, 2 = 95%, any other = 99%.
    _vectordef *lower(int ci_code) const;
    _vectordef *upper(int ci_code) const;
    // A study's 0-based group; every study is in group 0 when the outcome has no "GROUP" vector.
    double group_of(const analysis &data, int row) const;
};

// Looks the vectors up and writes the number of studies into SETTINGS 20.
StudyColumns look_up_study_columns(analysis &data);

} // namespace plot
