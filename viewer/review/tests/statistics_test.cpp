// The data sets of the example reviews and of a zero-cell review against reference numbers made
// with R's metafor (make_reference.R says how), to 1e-6 relative.
#include "meta.h"
#include "outcome_record.h"
#include "review_file.h"
#include "settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>

namespace {

std::string source_path(const std::string& relative)
{
    return std::string(SOURCE_DIR) + "/" + relative;
}

struct loaded {
    review::review_data data;
    std::map<std::pair<int, int>, std::unique_ptr<outcomeDef>> records; // by 1-based comparison, outcome
};

const loaded& review_at(const std::string& file)
{
    static std::map<std::string, loaded> cache;
    auto [it, fresh] = cache.try_emplace(file);
    if (fresh) {
        std::string error;
        EXPECT_TRUE(review::load_review(source_path(file), it->second.data, error)) << file << ": " << error;
        const auto& comparisons = it->second.data.comparisons;
        for (size_t c = 0; c < comparisons.size(); ++c)
            for (size_t o = 0; o < comparisons[c].outcomes.size(); ++o)
                it->second.records[{int(c) + 1, int(o) + 1}] =
                    BuildOutcomeRecord(it->second.data, comparisons[c], comparisons[c].outcomes[o]);
    }
    return it->second;
}

} // namespace

TEST(Statistics, EveryShownNumberAgreesWithTheReference)
{
    std::ifstream in(source_path("viewer/review/tests/data/reference.tsv"));
    ASSERT_TRUE(in) << "reference.tsv not found";
    std::string line;
    int compared = 0, wrong = 0;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string file, vector, kind, value;
        int comparison, outcome, measure, model, row;
        fields >> file >> comparison >> outcome >> measure >> model;
        fields.ignore(1);
        std::getline(fields, vector, '\t');
        fields >> row >> kind;
        fields.ignore(1);
        std::getline(fields, value);

        const loaded& review = review_at(file);
        auto record = review.records.find({comparison, outcome});
        ASSERT_TRUE(record != review.records.end() && record->second) << line;
        const baseMethod* method = record->second->Find(measure, model);
        ASSERT_NE(method, nullptr) << line;
        const analysis& a = method->Data();
        const _vectordef* v = a.IsVector(vector);
        ASSERT_NE(v, nullptr) << line;

        bool ok;
        const char* text = a.GetCellString(v, row);
        double number = a.GetCellDouble(v, row);
        std::string got = text ? std::string("text ") + text : "number " + std::to_string(number);
        if (kind == "text") {
            ok = text && value == text;
        } else if (kind == "missing") {
            ok = !text && number == ANALYSIS_MISSING;
        } else {
            double expected = std::stod(value);
            ok = !text && number != ANALYSIS_MISSING &&
                 std::fabs(number - expected) <= 1e-6 * std::fabs(expected) + 1e-10;
            char precise[64];
            std::snprintf(precise, sizeof precise, "number %.17g", number);
            got = text ? got : precise;
        }
        ++compared;
        if (!ok && ++wrong <= 20)
            ADD_FAILURE() << line << "\n  data set holds: " << got;
    }
    EXPECT_EQ(wrong, 0) << "of " << compared << " reference numbers";
    EXPECT_GT(compared, 4000); // the whole fixture was read
}

TEST(Statistics, DegenerateStudiesAreNotEstimable)
{
    using meta::binary_effect;
    // Events in every participant of both arms: no odds ratio or relative risk, Peto V = 0.
    const meta::binary_study all{5, 5, 7, 7};
    EXPECT_FALSE(binary_effect(all, settings::MEASURE_OR).estimable);
    EXPECT_FALSE(binary_effect(all, settings::MEASURE_RR).estimable);
    EXPECT_EQ(meta::peto(all).v, 0);
    // An arm without participants: nothing is estimable.
    for (int m : {settings::MEASURE_PETO_OR, settings::MEASURE_OR, settings::MEASURE_RR, settings::MEASURE_RD})
        EXPECT_FALSE(binary_effect({0, 0, 3, 10}, m).estimable) << m;
    // No spread in either arm: no WMD or SMD; too few participants for Hedges' correction: no SMD.
    EXPECT_FALSE(meta::continuous_effect({10, 1, 0, 10, 2, 0}, settings::MEASURE_WMD).estimable);
    EXPECT_FALSE(meta::continuous_effect({10, 1, 0, 10, 2, 0}, settings::MEASURE_SMD).estimable);
    EXPECT_FALSE(meta::continuous_effect({2, 1, 1, 1, 2, 1}, settings::MEASURE_SMD).estimable);
    EXPECT_TRUE(meta::continuous_effect({2, 1, 1, 2, 2, 1}, settings::MEASURE_SMD).estimable);

    // A pool of such studies has no estimate, and the MH sums leave out the double-events study.
    meta::pooled_result none = meta::pool_binary({all, {0, 4, 0, 6}}, settings::MEASURE_RR, settings::MODEL_FIXED);
    EXPECT_FALSE(none.estimable);
    EXPECT_EQ(none.weights, (std::vector<double>{0, 0}));
    meta::pooled_result one = meta::pool_binary({all, {1, 4, 2, 6}}, settings::MEASURE_RR, settings::MODEL_FIXED);
    EXPECT_TRUE(one.estimable);
    EXPECT_NEAR(one.y, std::log((1.0 / 4) / (2.0 / 6)), 1e-12);
    EXPECT_EQ(one.weights[0], 0);
}
