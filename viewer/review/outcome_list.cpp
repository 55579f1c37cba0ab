#include "outcome_list.h"

#include "cp1252.h"
#include "number_text.h"
#include "settings.h"

#include <cstring>

namespace {

const char* measure_name(int measure)
{
    switch (measure) {
    case settings::MEASURE_PETO_OR: return "Peto Odds Ratio";
    case settings::MEASURE_OR: return "Odds Ratio";
    case settings::MEASURE_RR: return "Relative Risk";
    case settings::MEASURE_RD: return "Risk Difference";
    case settings::MEASURE_WMD: return "Weighted Mean Difference";
    default: return "Standardised Mean Difference";
    }
}

void copy_to_buffer(char* buffer, const std::string& text)
{
    size_t n = std::min(text.size(), static_cast<size_t>(LOAD_BUFFER_SIZE - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

} // namespace

std::array<std::string, 4> OutcomeColumns(const review::outcome& outcome, const outcomeDef* record)
{
    if (outcome.kind == review::data_kind::no_numerical_data)
        return {"", "", "No numerical data", ""};
    if (outcome.kind == review::data_kind::not_viewable)
        return {"", "", "Other data [Not viewable]", ""};
    double participants = 0;
    for (const review::study& s : outcome.studies)
        participants += outcome.kind == review::data_kind::dichotomous ? s.expt_total + s.ctrl_total : s.expt_n + s.ctrl_n;
    const char* model = record->measure == settings::MEASURE_PETO_OR ? ""
                        : record->model == settings::MODEL_RANDOM   ? " (Random)"
                                                                     : " (Fixed)";
    std::string method = std::string(measure_name(record->measure)) + model + " " + std::to_string(outcome.total_ci) +
                         "% CI";

    // The effect of the starting method's total at the outcome's total CI level.
    const int shift = outcome.total_ci == 90 ? 0 : outcome.total_ci == 95 ? 2 : 4;
    const bool dichotomous = outcome.kind == review::data_kind::dichotomous;
    const baseMethod* current = record->Current();
    const analysis& a = current->Data();
    const _vectordef* total = a.IsVector("TOTAL");
    double value = a.GetCellDouble(total, dichotomous ? 5 : 1);
    double lower = a.GetCellDouble(total, (dichotomous ? 7 : 3) + shift);
    double upper = a.GetCellDouble(total, (dichotomous ? 6 : 2) + shift);
    std::string effect = value == ANALYSIS_MISSING ? "Not estimable"
                                                   : numtext::fixed(value, 2) + " [" + numtext::fixed(lower, 2) + ", " +
                                                         numtext::fixed(upper, 2) + "]";
    return {std::to_string(outcome.studies.size()), numtext::fixed(participants, 0), method, effect};
}

int CreateListView(outcomelist& list, const char* path, char* buffer)
{
    review::review_data data;
    std::string error;
    if (!review::load_review(path ? path : "", data, error)) {
        copy_to_buffer(buffer, cp1252::from_utf8(error));
        return 0;
    }
    // Every record is built before the first row is added, so a failure leaves the list untouched.
    std::vector<std::vector<std::unique_ptr<outcomeDef>>> records;
    for (const review::comparison& c : data.comparisons) {
        records.emplace_back();
        for (const review::outcome& o : c.outcomes)
            records.back().push_back(BuildOutcomeRecord(data, c, o));
    }
    list.SetColumnTitles({"Comparison/Outcome", "No. of Studies", "No. of Participants", "Statistical Method",
                          "Effect Size"});
    for (size_t i = 0; i < data.comparisons.size(); ++i) {
        const review::comparison& c = data.comparisons[i];
        list.AddComparisonRow(c.name);
        for (size_t j = 0; j < c.outcomes.size(); ++j) {
            std::array<std::string, 4> columns = OutcomeColumns(c.outcomes[j], records[i][j].get());
            list.AddOutcomeRow(c.outcomes[j].name, std::move(records[i][j]), columns);
        }
    }
    copy_to_buffer(buffer, data.name);
    return 1;
}
