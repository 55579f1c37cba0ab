// The outcome record attached to each outcome row of the list: the current measure and model and
// one method result per measure and model, each an `analysis` holding the study vectors, the
// "GROUP %d" and "TOTAL" summary vectors and the "SETTINGS" vector.
#pragma once

#include "analysis.h"
#include "review_file.h"

#include <memory>
#include <string>
#include <vector>

// One method result: the data set of an outcome analysed by one measure and model.
class baseMethod {
public:
    baseMethod(int measure, int model) : measure_(measure), model_(model) {}
    int Measure() const { return measure_; }
    int Model() const { return model_; }
    analysis& Data() { return data_; }
    const analysis& Data() const { return data_; }
    // Shows this result's funnel plot in the program at funnelview_path, which gets the studies on
    // its standard input. Defined by the program shell (viewer/gui/funnel_call.cpp). False with the
    // reason in error when the plot cannot be shown.
    bool CallFunnel(const std::string& funnelview_path, std::string& error) const;

private:
    int measure_, model_;
    analysis data_;
};

struct outcomeDef {
    int data_type = 0; // settings::DICHOTOMOUS or settings::CONTINUOUS
    int measure = 0;   // current measure and model
    int model = 0;
    std::vector<baseMethod*> methods; // owned; freed through projectDef::DeleteObject

    outcomeDef() = default;
    outcomeDef(const outcomeDef&) = delete;
    outcomeDef& operator=(const outcomeDef&) = delete;
    ~outcomeDef();

    // The method result of this measure and model, or null.
    baseMethod* Find(int measure, int model) const;
    baseMethod* Current() const { return Find(measure, model); }
};

namespace projectDef {
// Frees one method result and its data set.
void DeleteObject(baseMethod* method);
} // namespace projectDef

// The record of one outcome with every method result computed from its studies; null for an
// outcome without viewable data. The SETTINGS of each result start from the outcome's settings.
std::unique_ptr<outcomeDef> BuildOutcomeRecord(const review::review_data& review, const review::comparison& comparison,
                                               const review::outcome& outcome);
