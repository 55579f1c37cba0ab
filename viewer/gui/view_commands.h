// The Display, Sort and Statistics commands as plain functions over an outcome's data sets. Each
// changes SETTINGS cells (a sort also reorders the study rows); the window then repaints and
// refreshes its menus from menu_state().
#pragma once

#include "analysis.h"
#include "outcome_record.h"

#include <string>
#include <vector>

namespace commands {

void set_scale(analysis &data, int index);   // SETTINGS 6
void set_study_ci(analysis &data, int code); // SETTINGS 10: settings::CI_90, CI_95 or CI_99
void set_total_ci(analysis &data, int code); // SETTINGS 11
// Toggles one display flag (SETTINGS 7) and scrolls back to the left edge (SETTINGS 23 = 0).
void toggle_display_flag(analysis &data, int flag);

// Sort keys 1..6: effect size, weight, year, study, user defined, quality.
inline constexpr int SORT_KEYS = 6;
// The vector names handed to SortDataSet for a key: the sort keys ("GROUP", the key vector, and
// "STUDY" for quality) followed by every other study vector, so that whole rows move.
// key_count receives the number of sort keys.
std::vector<std::string> sort_parameters(const analysis &data, int key, int &key_count);
// Sorts the study rows within their groups and stores the key in SETTINGS 36. False, changing
// nothing, for an unknown key or a data set without the vectors.
bool sort_studies(analysis &data, int key);

enum class MethodChange {
    unchanged, // the record already shows this measure and model
    changed,   // the record's current method is the new one
    not_found, // the record has no result for this measure and model
};
// Switches an outcome to another measure and model (the Peto odds ratio is fixed-effect only).
// The new data set takes the old one's SETTINGS 2, 3, 20, 25, 26 and 30, then 13 and 14.
MethodChange change_method(outcomeDef &record, int measure, int model);

} // namespace commands
