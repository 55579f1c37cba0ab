// The commands' plain functions over an outcome's data sets, without any window.
#include "about_box.h"
#include "browse.h"
#include "command_ids.h"
#include "funnel_call.h"
#include "gui_fixture.h"
#include "menu_state.h"
#include "settings.h"
#include "view_commands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

namespace {

using namespace settings;

double cell(analysis &a, int c) {
    return a.GetCellDouble(a.IsVector("SETTINGS"), c);
}
const char *text_cell(analysis &a, int c) {
    return a.GetCellString(a.IsVector("SETTINGS"), c);
}

// The BCG review's one outcome (row 1), which starts with the relative risk, random effects.
struct Bcg : ::testing::Test {
    std::unique_ptr<OutcomeModel> model = load(example_review("bcg.ORV"));
    outcomeDef &record = *model->record(1);
    analysis &current() { return record.Current()->Data(); }
};

TEST_F(Bcg, ChangingTheMethodCarriesTheViewCellsOver) {
    analysis &rr = current();
    _vectordef *s = rr.IsVector("SETTINGS");
    rr.SetCellString(s, COMPARISON_NAME, "Comparison shown");
    rr.SetCellDouble(s, CENTRE_RATIO, 512);
    rr.SetCellDouble(s, HEADER_WIDTH, 777);
    rr.SetCellDouble(s, SCALE_INDEX, 4); // not carried over: each result keeps its own

    ASSERT_EQ(commands::change_method(record, MEASURE_OR, MODEL_FIXED), commands::MethodChange::changed);
    analysis &odds = current();
    EXPECT_NE(&odds, &rr);
    EXPECT_STREQ(text_cell(odds, COMPARISON_NAME), "Comparison shown");
    EXPECT_STREQ(text_cell(odds, OUTCOME_NAME), "Tuberculosis cases");
    EXPECT_EQ(cell(odds, CENTRE_RATIO), 512);
    EXPECT_EQ(cell(odds, HEADER_WIDTH), 777);
    EXPECT_EQ(cell(odds, STUDY_COUNT), 13);
    EXPECT_EQ(cell(odds, SCALE_INDEX), 2);
    EXPECT_EQ(cell(odds, MEASURE), MEASURE_OR);
    EXPECT_EQ(cell(odds, MODEL), MODEL_FIXED);
    EXPECT_EQ(record.measure, MEASURE_OR);
    EXPECT_EQ(record.model, MODEL_FIXED);

    EXPECT_EQ(commands::change_method(record, MEASURE_OR, MODEL_FIXED), commands::MethodChange::unchanged);
    // Peto is fixed-effect only: asking for it with random effects gives the fixed result.
    ASSERT_EQ(commands::change_method(record, MEASURE_PETO_OR, MODEL_RANDOM),
              commands::MethodChange::changed);
    EXPECT_EQ(record.model, MODEL_FIXED);
    EXPECT_EQ(cell(current(), MODEL), MODEL_FIXED);
    // A dichotomous outcome has no mean differences.
    EXPECT_EQ(commands::change_method(record, MEASURE_WMD, MODEL_FIXED), commands::MethodChange::not_found);
    EXPECT_EQ(record.measure, MEASURE_PETO_OR);
}

TEST_F(Bcg, MenuStateFollowsTheRecordAndTheSettings) {
    commands::MenuState s = commands::menu_state(record, current());
    EXPECT_TRUE(s.checked[cmd::RELATIVE_RISK]);
    EXPECT_FALSE(s.checked[cmd::ODDS_RATIO]);
    EXPECT_TRUE(s.checked[cmd::RANDOM_MODEL]);
    EXPECT_FALSE(s.checked[cmd::FIXED_MODEL]);
    EXPECT_TRUE(s.enabled[cmd::RANDOM_MODEL]);
    EXPECT_FALSE(s.enabled[cmd::WEIGHTED_MEAN_DIFFERENCE]);
    EXPECT_FALSE(s.enabled[cmd::STANDARDISED_MEAN_DIFFERENCE]);
    EXPECT_TRUE(s.enabled[cmd::RISK_DIFFERENCE]);
    EXPECT_FALSE(s.enabled[cmd::SHOW_OE]);       // O - E only for the Peto odds ratio
    EXPECT_FALSE(s.enabled[cmd::FUNNEL_BUTTON]); // random effects
    EXPECT_EQ(s.scale_captions[0], "0.001 --> 1000");
    EXPECT_EQ(s.scale_captions[5], "");
    EXPECT_FALSE(s.enabled[cmd::SCALE_FIRST + 5]);
    EXPECT_TRUE(s.checked[cmd::SCALE_FIRST + 2]);
    EXPECT_TRUE(s.checked[cmd::STUDY_CI_95]);
    EXPECT_TRUE(s.checked[cmd::SHOW_YEAR]);
    EXPECT_FALSE(s.checked[cmd::SHOW_QUALITY]);
    EXPECT_TRUE(s.checked[cmd::SORT_FIRST + 3]); // no sort yet: "by Study"

    commands::change_method(record, MEASURE_PETO_OR, MODEL_FIXED);
    s = commands::menu_state(record, current());
    EXPECT_TRUE(s.checked[cmd::FIXED_MODEL]);
    EXPECT_FALSE(s.enabled[cmd::RANDOM_MODEL]);
    EXPECT_TRUE(s.enabled[cmd::SHOW_OE]);
    EXPECT_TRUE(s.enabled[cmd::FUNNEL_BUTTON]);

    commands::change_method(record, MEASURE_RD, MODEL_FIXED);
    s = commands::menu_state(record, current());
    EXPECT_EQ(s.scale_captions[5], "-0.5 --> 0.5");
    EXPECT_TRUE(s.enabled[cmd::SCALE_FIRST + 5]);
}

TEST_F(Bcg, CiCodesAndSortKeysCheckTheirItems) {
    // Code -> checked item (any code but 0 and 2 checks 99%).
    const std::pair<int, int> cases[] = {{CI_90, cmd::STUDY_CI_90},
                                         {CI_95, cmd::STUDY_CI_95},
                                         {CI_99, cmd::STUDY_CI_99},
                                         {7, cmd::STUDY_CI_99}};
    for (auto [code, item] : cases) {
        commands::set_study_ci(current(), code);
        commands::set_total_ci(current(), code);
        EXPECT_EQ(cell(current(), STUDY_CI), code);
        commands::MenuState s = commands::menu_state(record, current());
        for (int id : {cmd::STUDY_CI_90, cmd::STUDY_CI_95, cmd::STUDY_CI_99})
            EXPECT_EQ(s.checked[id], id == item);
        EXPECT_TRUE(s.checked[item - cmd::STUDY_CI_99 + cmd::TOTAL_CI_99]);
    }
    for (int key = 1; key <= commands::SORT_KEYS; ++key) {
        ASSERT_TRUE(commands::sort_studies(current(), key));
        EXPECT_EQ(cell(current(), SORT_KEY), key);
        EXPECT_TRUE(commands::menu_state(record, current()).checked[cmd::SORT_FIRST + key - 1]);
    }
    EXPECT_FALSE(commands::sort_studies(current(), 7));
}

TEST_F(Bcg, DisplayFlagsToggleAndScrollBackToTheLeft) {
    analysis &a = current();
    a.SetCellDouble(a.IsVector("SETTINGS"), H_SCROLL, 12);
    int flags = static_cast<int>(cell(a, DISPLAY_FLAGS));
    commands::toggle_display_flag(a, FLAG_QUALITY);
    EXPECT_EQ(cell(a, DISPLAY_FLAGS), flags | FLAG_QUALITY);
    EXPECT_EQ(cell(a, H_SCROLL), 0);
    commands::toggle_display_flag(a, FLAG_QUALITY);
    EXPECT_EQ(cell(a, DISPLAY_FLAGS), flags);
}

TEST_F(Bcg, SortParametersNameKeysThenEveryOtherStudyVector) {
    int keys = 0;
    std::vector<std::string> weight = commands::sort_parameters(current(), 2, keys);
    EXPECT_EQ(keys, 2);
    ASSERT_GE(weight.size(), 3u);
    EXPECT_EQ(weight[0], "GROUP");
    EXPECT_EQ(weight[1], "WEIGHT");
    std::vector<std::string> quality = commands::sort_parameters(current(), 6, keys);
    EXPECT_EQ(keys, 3);
    EXPECT_EQ(std::vector<std::string>(quality.begin(), quality.begin() + 3),
              (std::vector<std::string>{"GROUP", "QUALITY", "STUDY"}));
    for (const auto &list : {weight, quality}) {
        // Every study vector once; no summary vector, no group names.
        EXPECT_EQ(list.size(), 19u);
        EXPECT_EQ(std::count(list.begin(), list.end(), "STUDY"), 1);
        EXPECT_EQ(std::count(list.begin(), list.end(), "GROUPNAMES"), 0);
        EXPECT_EQ(std::count(list.begin(), list.end(), "GROUP 0"), 0);
        EXPECT_EQ(std::count(list.begin(), list.end(), "OR"), 1);
    }
    EXPECT_EQ(commands::sort_parameters(current(), 1, keys)[1], "OR");
}

TEST_F(Bcg, SortingByEffectKeepsGroupsAndRowsTogether) {
    analysis &a = current();
    _vectordef *study = a.IsVector("STUDY"), *effect = a.IsVector("OR"), *group = a.IsVector("GROUP"),
               *events = a.IsVector("EXPTN");
    std::map<std::string, double> events_of;
    for (int r = 1; r <= 13; ++r)
        events_of[a.GetCellString(study, r)] += a.GetCellDouble(events, r);
    ASSERT_TRUE(commands::sort_studies(a, 1));
    std::map<std::string, double> after;
    for (int r = 1; r <= 13; ++r) {
        after[a.GetCellString(study, r)] += a.GetCellDouble(events, r);
        if (r > 1) {
            double g0 = a.GetCellDouble(group, r - 1), g1 = a.GetCellDouble(group, r);
            ASSERT_LE(g0, g1);
            if (g0 == g1) {
                EXPECT_LE(a.GetCellDouble(effect, r - 1), a.GetCellDouble(effect, r)) << r;
            }
        }
    }
    EXPECT_EQ(after, events_of);
}

TEST(Continuous, MenusGreyTheDichotomousMeasuresAndOE) {
    std::unique_ptr<OutcomeModel> model = load(test_review("browse.ORV"));
    outcomeDef &record = *model->record(5);
    commands::MenuState s = commands::menu_state(record, record.Current()->Data());
    for (int id : {cmd::PETO_OR, cmd::ODDS_RATIO, cmd::RELATIVE_RISK, cmd::RISK_DIFFERENCE, cmd::SHOW_OE})
        EXPECT_FALSE(s.enabled[id]) << id;
    EXPECT_TRUE(s.enabled[cmd::STANDARDISED_MEAN_DIFFERENCE]);
    EXPECT_TRUE(s.checked[cmd::WEIGHTED_MEAN_DIFFERENCE]);
    EXPECT_EQ(s.scale_captions[0], "-1000 --> 1000");
    int keys = 0;
    EXPECT_EQ(commands::sort_parameters(record.Current()->Data(), 1, keys)[1], "WMD");
    ASSERT_TRUE(commands::sort_studies(record.Current()->Data(), 1));
}

TEST(Browse, StepsAmongSelectedOutcomesThatCanBeDrawn) {
    using browse::Row;
    //                       0 comparison   1 sel         2 sel, no plot  3             4 sel        5 sel
    std::vector<Row> rows = {{false, false}, {true, true}, {true, false},
                             {false, true},  {true, true}, {true, true}};
    EXPECT_EQ(browse::first_outcome(rows), 1);
    EXPECT_EQ(browse::next_outcome(rows, 1), 4); // over the row without a plot and the unselected one
    EXPECT_EQ(browse::next_outcome(rows, 4), 5);
    EXPECT_EQ(browse::next_outcome(rows, 5), -1);
    EXPECT_EQ(browse::previous_outcome(rows, 5), 4);
    EXPECT_EQ(browse::previous_outcome(rows, 4), 1);
    EXPECT_EQ(browse::previous_outcome(rows, 1), -1);
    EXPECT_EQ(browse::first_outcome({{false, true}, {true, false}}), -1);
}

TEST_F(Bcg, FunnelDataTakeStandardErrorsFromTheLimits) {
    ASSERT_EQ(commands::change_method(record, MEASURE_RR, MODEL_FIXED), commands::MethodChange::changed);
    analysis &a = current();
    funnel::Data d;
    std::string error;
    ASSERT_TRUE(funnel_data_of(a, d, error)) << error;
    EXPECT_TRUE(d.ratio);
    EXPECT_EQ(d.measure, "RR");
    EXPECT_EQ(d.title, "Tuberculosis cases");
    ASSERT_EQ(d.studies.size(), 13u);
    EXPECT_EQ(d.pooled, a.GetCellDouble(a.IsVector("TOTAL"), 5));
    double lo = a.GetCellDouble(a.IsVector("CIL95"), 1), hi = a.GetCellDouble(a.IsVector("CIH95"), 1);
    EXPECT_NEAR(d.studies[0].se, (std::log(hi) - std::log(lo)) / (2 * 1.959964), 1e-6);
    EXPECT_EQ(d.studies[0].effect, a.GetCellDouble(a.IsVector("OR"), 1));

    // Studies without an effect are left out; without any, there is no plot.
    for (int r = 1; r <= 13; ++r)
        a.SetCellDouble(a.IsVector("OR"), r, ANALYSIS_MISSING);
    EXPECT_FALSE(funnel_data_of(a, d, error));
    EXPECT_EQ(error, "No study of the outcome has an estimable effect.");
}

TEST(About, SystemTextShowsTheFactsAndThePlugins) {
    SystemFacts f = read_system_facts();
    EXPECT_GE(f.processors, 1);
    EXPECT_GT(f.physical_mb, 0);
    EXPECT_FALSE(f.operating_system.empty());
    f.processor = "Test CPU";
    f.physical_mb = 2048;
    std::string text = system_text(f);
    EXPECT_NE(text.find("Processor: \t\tTest CPU"), std::string::npos) << text;
    EXPECT_NE(text.find("Physical Memory: \t\t2048Mb"), std::string::npos) << text;
    EXPECT_NE(text.find("Supported Plugins: \nOrvanta Methods v1.1\nBitmap Exporter v1.0"),
              std::string::npos);
}

} // namespace
