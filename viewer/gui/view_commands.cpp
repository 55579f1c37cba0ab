#include "view_commands.h"

#include "cells.h"
#include "settings.h"

#include <algorithm>

namespace commands {
namespace {

using namespace settings;

const char *const sort_key_vectors[SORT_KEYS] = {
    nullptr /* "OR" or "WMD" */, "WEIGHT", "YEAR", "STUDY", "USER", "QUALITY"};

bool dichotomous(const analysis &data) {
    return data.GetCellDouble(data.IsVector("SETTINGS"), DATA_TYPE) == DICHOTOMOUS;
}

} // namespace

void set_scale(analysis &data, int index) {
    plot::ViewSettings(data).set(SCALE_INDEX, index);
}

void set_study_ci(analysis &data, int code) {
    plot::ViewSettings(data).set(STUDY_CI, code);
}

void set_total_ci(analysis &data, int code) {
    plot::ViewSettings(data).set(TOTAL_CI, code);
}

void toggle_display_flag(analysis &data, int flag) {
    plot::ViewSettings view(data);
    view.set(H_SCROLL, 0);
    view.set(DISPLAY_FLAGS, view.integer(DISPLAY_FLAGS) ^ flag);
}

std::vector<std::string> sort_parameters(const analysis &data, int key, int &key_count) {
    key_count = 0;
    if (key < 1 || key > SORT_KEYS) return {};
    bool dich = dichotomous(data);
    std::string key_vector = key == 1 ? (dich ? "OR" : "WMD") : sort_key_vectors[key - 1];

    std::vector<std::string> names = {"GROUP", key_vector};
    if (key == 6) names.push_back("STUDY");
    key_count = static_cast<int>(names.size());

    // The study vectors are those numbered below the first summary vector.
    int first_summary = data.GetVectorNumber(data.IsVector(dich ? "GROUP 0" : "TOTAL"));
    for (int n = 1; n < first_summary; ++n) {
        std::string name = data.GetVectorName(data.GetVectorByNumber(n));
        if (name == "GROUPNAMES" || std::find(names.begin(), names.end(), name) != names.end()) continue;
        names.push_back(name);
    }
    return names;
}

bool sort_studies(analysis &data, int key) {
    int key_count = 0;
    std::vector<std::string> names = sort_parameters(data, key, key_count);
    int rows = data.GetVectorLength(data.IsVector("STUDY"));
    if (key_count == 0 || rows < 1) return false;
    if (!data.SortDataSet(1, rows, names, key_count)) return false;
    plot::ViewSettings(data).set(SORT_KEY, key);
    return true;
}

MethodChange change_method(outcomeDef &record, int measure, int model) {
    if (measure == MEASURE_PETO_OR) model = MODEL_FIXED;
    if (measure == record.measure && model == record.model) return MethodChange::unchanged;
    baseMethod *next = record.Find(measure, model);
    if (!next) return MethodChange::not_found;

    if (baseMethod *previous = record.Current()) {
        analysis &from = previous->Data();
        analysis &to = next->Data();
        _vectordef *source = from.IsVector("SETTINGS");
        _vectordef *target = to.AddVector("SETTINGS");
        for (int cell :
             {COMPARISON_NAME, OUTCOME_NAME, STUDY_COUNT, CENTRE_DIFFERENCE, CENTRE_RATIO, HEADER_WIDTH}) {
            double number = from.GetCellDouble(source, cell);
            if (number != ANALYSIS_MISSING)
                to.SetCellDouble(target, cell, number);
            else if (const char *text = from.GetCellString(source, cell))
                to.SetCellString(target, cell, text);
        }
    }
    plot::ViewSettings view(next->Data());
    view.set(MEASURE, measure);
    view.set(MODEL, model);
    record.measure = measure;
    record.model = model;
    return MethodChange::changed;
}

} // namespace commands
