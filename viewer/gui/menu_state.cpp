#include "menu_state.h"

#include "cells.h"
#include "command_ids.h"
#include "settings.h"
#include "view_commands.h"

namespace commands {
namespace {

using namespace settings;

struct MeasureItem {
    int id, measure;
    bool dichotomous;
};
const MeasureItem measure_items[] = {
    {cmd::PETO_OR, MEASURE_PETO_OR, true},
    {cmd::ODDS_RATIO, MEASURE_OR, true},
    {cmd::RELATIVE_RISK, MEASURE_RR, true},
    {cmd::RISK_DIFFERENCE, MEASURE_RD, true},
    {cmd::WEIGHTED_MEAN_DIFFERENCE, MEASURE_WMD, false},
    {cmd::STANDARDISED_MEAN_DIFFERENCE, MEASURE_SMD, false},
};

const std::pair<int, int> flag_items[] = {
    {cmd::SHOW_RAW, FLAG_RAW}, {cmd::SHOW_WEIGHT, FLAG_WEIGHT}, {cmd::SHOW_GRAPH, FLAG_GRAPH},
    {cmd::SHOW_CI, FLAG_CI},   {cmd::SHOW_YEAR, FLAG_YEAR},     {cmd::SHOW_QUALITY, FLAG_QUALITY},
    {cmd::SHOW_OE, FLAG_OE},   {cmd::SHOW_USER, FLAG_USER},
};

bool has_measure(const outcomeDef &record, int measure) {
    return record.Find(measure, MODEL_FIXED) || record.Find(measure, MODEL_RANDOM);
}

// Three radio items for a CI code: 0 checks 90%, 2 checks 95%, any other 99%.
void check_ci(MenuState &s, int code, int id90, int id95, int id99) {
    s.checked[id90] = code == CI_90;
    s.checked[id95] = code == CI_95;
    s.checked[id99] = code != CI_90 && code != CI_95;
}

} // namespace

bool known_measure(int measure) {
    return measure >= MEASURE_PETO_OR && measure <= MEASURE_SMD;
}

bool ratio_measure(int measure) {
    return measure == MEASURE_PETO_OR || measure == MEASURE_OR || measure == MEASURE_RR;
}

std::array<std::string, 6> scale_captions(bool ratio) {
    if (ratio) return {"0.001 --> 1000", "0.01 --> 100", "0.1 --> 10", "0.2 --> 5", "0.5 --> 2", ""};
    return {"-1000 --> 1000", "-100 --> 100", "-10 --> 10", "-4 --> 4", "-1 --> 1", "-0.5 --> 0.5"};
}

MenuState menu_state(const outcomeDef &record, analysis &data) {
    MenuState s;
    const int measure = record.measure;
    const bool peto = measure == MEASURE_PETO_OR;
    const bool fixed = peto || record.model == MODEL_FIXED;

    // Statistics: the record's measure and model checked; what the data type or the record lacks
    // greyed.
    const bool dichotomous = record.data_type == DICHOTOMOUS;
    for (const MeasureItem &m : measure_items) {
        s.checked[m.id] = m.measure == measure;
        s.enabled[m.id] = m.dichotomous == dichotomous && has_measure(record, m.measure);
    }
    s.checked[cmd::FIXED_MODEL] = fixed;
    s.checked[cmd::RANDOM_MODEL] = !fixed;
    s.enabled[cmd::FIXED_MODEL] = record.Find(measure, MODEL_FIXED) != nullptr;
    s.enabled[cmd::RANDOM_MODEL] = !peto && record.Find(measure, MODEL_RANDOM) != nullptr;
    s.enabled[cmd::FUNNEL_BUTTON] = fixed;

    // Display: scale, CI levels and flags from SETTINGS.
    plot::ViewSettings view(data);
    const bool ratio = ratio_measure(measure);
    s.scale_captions = scale_captions(ratio);
    for (int i = 0; i < 6; ++i) {
        s.checked[cmd::SCALE_FIRST + i] = view.integer(SCALE_INDEX) == i;
        s.enabled[cmd::SCALE_FIRST + i] = !s.scale_captions[i].empty();
    }
    check_ci(s, view.integer(STUDY_CI), cmd::STUDY_CI_90, cmd::STUDY_CI_95, cmd::STUDY_CI_99);
    check_ci(s, view.integer(TOTAL_CI), cmd::TOTAL_CI_90, cmd::TOTAL_CI_95, cmd::TOTAL_CI_99);
    for (auto [id, flag] : flag_items) {
        s.checked[id] = view.shows(flag);
        s.enabled[id] = true;
    }
    s.enabled[cmd::SHOW_OE] = peto;

    // Sort: keys 1..6; any other value checks "by Study" (key 4).
    int key = view.integer(SORT_KEY);
    if (key < 1 || key > SORT_KEYS) key = 4;
    for (int k = 1; k <= SORT_KEYS; ++k)
        s.checked[cmd::SORT_FIRST + k - 1] = k == key;
    return s;
}

} // namespace commands
