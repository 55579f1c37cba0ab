// Loading a review into the outcome list, the layout of the data sets the viewer reads, and the dump.
#include "dump.h"
#include "outcome_list.h"
#include "settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string example(const char* name)
{
    return std::string(SOURCE_DIR) + "/examples/orvantaiv/" + name;
}

// A list that keeps its rows as the Qt list would.
struct recordinglist : outcomelist {
    struct row {
        std::string text;
        std::unique_ptr<outcomeDef> record;
        std::array<std::string, 4> columns;
        bool comparison;
    };
    std::vector<row> rows;
    std::array<std::string, 5> titles;

    void SetColumnTitles(const std::array<std::string, 5>& t) override { titles = t; }
    void AddComparisonRow(const std::string& name) override { rows.push_back({name, nullptr, {}, true}); }
    void AddOutcomeRow(const std::string& name, std::unique_ptr<outcomeDef> record,
                       const std::array<std::string, 4>& columns) override
    {
        rows.push_back({name, std::move(record), columns, false});
    }
};

std::string temp_file(const std::string& name, const std::string& text)
{
    std::string path = ::testing::TempDir() + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

const std::string small_review = "REVIEW\tSmall\n"
                                 "COMPARISON\tNew versus old\n"
                                 "OUTCOME\tDeaths\tdichotomous\n"
                                 "METHOD\tRD\trandom\n"
                                 "CI\t95\t90\n"
                                 "STUDY\tA\t1999\t\t2\t10\t4\t10\t\t44\xC2\xB0\n"
                                 "STUDY\tB\t2001\t\t0\t8\t0\t9\n"
                                 "OUTCOME\tLife quality\tno numerical data\n";

std::vector<std::string> names_of(const analysis& a)
{
    std::vector<std::string> names;
    for (int n = 1; n <= a.GetVectorCount(); ++n)
        names.push_back(a.GetVectorName(a.GetVectorByNumber(n)));
    return names;
}

} // namespace

TEST(OutcomeList, LoadingFillsComparisonAndOutcomeRows)
{
    recordinglist list;
    char buffer[LOAD_BUFFER_SIZE];
    ASSERT_EQ(CreateListView(list, example("bcg.ORV").c_str(), buffer), 1) << buffer;
    EXPECT_STREQ(buffer, "BCG vaccine for preventing tuberculosis");
    EXPECT_EQ(list.titles[3], "Statistical Method");
    ASSERT_EQ(list.rows.size(), 2u);
    EXPECT_TRUE(list.rows[0].comparison);
    EXPECT_EQ(list.rows[0].record, nullptr);
    const auto& row = list.rows[1];
    EXPECT_EQ(row.text, "Tuberculosis cases");
    // The published random-effects relative risk of these trials is 0.49 [0.34, 0.70].
    EXPECT_EQ(row.columns, (std::array<std::string, 4>{"13", "357347", "Relative Risk (Random) 95% CI",
                                                        "0.49 [0.34, 0.70]"}));
    ASSERT_NE(row.record, nullptr);
    EXPECT_EQ(row.record->measure, settings::MEASURE_RR);
    EXPECT_EQ(row.record->model, settings::MODEL_RANDOM);
    EXPECT_EQ(row.record->methods.size(), 7u); // Peto fixed, and OR, RR, RD fixed and random
    EXPECT_EQ(row.record->Find(settings::MEASURE_PETO_OR, settings::MODEL_RANDOM), nullptr);
    EXPECT_EQ(row.record->Find(settings::MEASURE_WMD, settings::MODEL_FIXED), nullptr);
}

TEST(OutcomeList, OutcomesWithoutViewableDataHaveMarkedColumnsAndNoRecord)
{
    recordinglist list;
    char buffer[LOAD_BUFFER_SIZE];
    ASSERT_EQ(CreateListView(list, temp_file("small.ORV", small_review).c_str(), buffer), 1) << buffer;
    ASSERT_EQ(list.rows.size(), 3u);
    EXPECT_EQ(list.rows[1].columns[2], "Risk Difference (Random) 90% CI");
    EXPECT_EQ(list.rows[2].columns, (std::array<std::string, 4>{"", "", "No numerical data", ""}));
    EXPECT_EQ(list.rows[2].record, nullptr);
}

TEST(OutcomeList, AFailedLoadAddsNothingAndNamesTheLine)
{
    recordinglist list;
    char buffer[LOAD_BUFFER_SIZE];
    std::string bad = small_review + "STUDY\tC\t2002\t\t1\t10\t1\n";
    EXPECT_EQ(CreateListView(list, temp_file("bad.ORV", bad).c_str(), buffer), 0);
    EXPECT_STREQ(buffer, "line 9: an outcome without viewable data has no studies");
    EXPECT_TRUE(list.rows.empty());

    // A message longer than the buffer is cut and still terminated.
    std::string long_path = "/nonexistent/" + std::string(400, 'x');
    std::memset(buffer, 'z', sizeof buffer);
    EXPECT_EQ(CreateListView(list, long_path.c_str(), buffer), 0);
    EXPECT_EQ(std::strlen(buffer), static_cast<size_t>(LOAD_BUFFER_SIZE - 1));
    EXPECT_EQ(std::string(buffer).rfind("cannot read the review file /nonexistent/xxx", 0), 0u);
}

TEST(OutcomeRecord, DataSetsHoldTheVectorsInTheOrderTheViewerExpects)
{
    recordinglist list;
    char buffer[LOAD_BUFFER_SIZE];
    ASSERT_EQ(CreateListView(list, example("bcg.ORV").c_str(), buffer), 1) << buffer;
    const analysis& d = list.rows[1].record->Current()->Data();
    std::vector<std::string> names = names_of(d);
    const std::vector<std::string> expected = {
        "STUDY", "YEAR",  "EXPTN", "EXPTT", "CTRLN", "CTRLT",  "GROUP",  "GROUPNAMES", "OR",      "CIL90",
        "CIH90", "CIL95", "CIH95", "CIL99", "CIH99", "WEIGHT", "QUALITY", "USER",       "O-E",     "V",
        "GROUP 0", "GROUP 1", "GROUP 2", "TOTAL", "SETTINGS"};
    EXPECT_EQ(names, expected);

    // Rows come in subgroup order, keeping the file's order within a subgroup.
    const _vectordef* group = d.IsVector("GROUP");
    const _vectordef* study = d.IsVector("STUDY");
    EXPECT_STREQ(d.GetCellString(study, 7), "Coetzee & Berjak"); // last of the random-allocation trials
    EXPECT_EQ(d.GetCellDouble(group, 7), 0);
    EXPECT_EQ(d.GetCellDouble(group, 8), 1);
    EXPECT_EQ(d.GetCellDouble(group, 14), ANALYSIS_MISSING); // past the last row
    EXPECT_STREQ(d.GetCellString(d.IsVector("GROUPNAMES"), 2), "Alternate allocation");
    EXPECT_STREQ(d.GetCellString(d.IsVector("USER"), 1), "44\xB0");

    const _vectordef* s = d.IsVector("SETTINGS");
    EXPECT_STREQ(d.GetCellString(s, settings::REVIEW_NAME), "BCG vaccine for preventing tuberculosis");
    EXPECT_STREQ(d.GetCellString(s, settings::OUTCOME_NAME), "Tuberculosis cases");
    EXPECT_STREQ(d.GetCellString(s, settings::CAPTION_LEFT), "Favours BCG");
    EXPECT_STREQ(d.GetCellString(s, settings::CTRL_LABEL), "Control");
    const std::pair<int, double> numbers[] = {
        {settings::SCALE_INDEX, 2},       {settings::DISPLAY_FLAGS, 1 + 2 + 4 + 8 + 16 + 128},
        {settings::TOTALS_OPTION, 0},     {settings::STUDY_CI, settings::CI_95},
        {settings::TOTAL_CI, settings::CI_95}, {settings::DATA_TYPE, settings::DICHOTOMOUS},
        {settings::MEASURE, settings::MEASURE_RR}, {settings::MODEL, settings::MODEL_RANDOM},
        {settings::STUDY_COUNT, 13},      {settings::H_SCROLL, 0}, {settings::V_SCROLL, 0},
    };
    for (auto [cell, value] : numbers)
        EXPECT_EQ(d.GetCellDouble(s, cell), value) << "SETTINGS " << cell;

    // Continuous data sets have their own vectors, with "TOTAL" as the first summary vector.
    ASSERT_EQ(CreateListView(list, example("stroke.ORV").c_str(), buffer), 1) << buffer;
    names = names_of(list.rows.back().record->Current()->Data());
    const std::vector<std::string> continuous = {
        "STUDY", "YEAR",  "EXPT",  "EXPTN", "EXPTX", "EXPTSD", "CTRL",    "CTRLN",   "CTRLX", "CTRLSD",
        "GROUP", "GROUPNAMES", "WMD", "CIL90", "CIH90", "CIL95", "CIH95", "CIL99", "CIH99", "WEIGHT",
        "QUALITY", "USER", "TOTAL", "GROUP 0", "SETTINGS"};
    EXPECT_EQ(names, continuous);
}

TEST(OutcomeRecord, StudiesWithoutAnEstimateGetMissingEffectsAndNoWeight)
{
    recordinglist list;
    char buffer[LOAD_BUFFER_SIZE];
    ASSERT_EQ(CreateListView(list, temp_file("small.ORV", small_review).c_str(), buffer), 1) << buffer;
    const outcomeDef& record = *list.rows[1].record;
    // Study B has no events in either arm: no OR, RR or Peto OR, but a risk difference (with 0.5
    // added to its cells, 0.5/9 - 0.5/10).
    for (int measure : {settings::MEASURE_PETO_OR, settings::MEASURE_OR, settings::MEASURE_RR}) {
        const analysis& a = record.Find(measure, settings::MODEL_FIXED)->Data();
        EXPECT_EQ(a.GetCellDouble(a.IsVector("OR"), 2), ANALYSIS_MISSING) << measure;
        EXPECT_EQ(a.GetCellDouble(a.IsVector("CIH99"), 2), ANALYSIS_MISSING) << measure;
        EXPECT_EQ(a.GetCellDouble(a.IsVector("WEIGHT"), 2), 0) << measure;
        EXPECT_EQ(a.GetCellDouble(a.IsVector("TOTAL"), 17), 0) << measure; // df: one estimable study
        EXPECT_EQ(a.GetCellDouble(a.IsVector("TOTAL"), 22), ANALYSIS_MISSING) << measure;
        EXPECT_STREQ(a.GetCellString(a.IsVector("V"), 2), "0.000000");
    }
    const analysis& rd = record.Find(settings::MEASURE_RD, settings::MODEL_FIXED)->Data();
    EXPECT_DOUBLE_EQ(rd.GetCellDouble(rd.IsVector("OR"), 2), 0.5 / 9 - 0.5 / 10);
    EXPECT_GT(rd.GetCellDouble(rd.IsVector("WEIGHT"), 2), 0);
    EXPECT_EQ(rd.GetCellDouble(rd.IsVector("TOTAL"), 17), 1);
}

TEST(Dump, ListsEveryCellOfEveryMethodInItsLineFormat)
{
    std::ostringstream out;
    std::string error;
    ASSERT_TRUE(WriteDump(temp_file("small.ORV", small_review), out, error)) << error;
    const std::string dump = out.str();
    auto has = [&](const std::string& line) { return dump.find("\n" + line + "\n") != std::string::npos; };
    EXPECT_EQ(dump.rfind("review\tSmall\ncomparison\tNew versus old\n", 0), 0u);
    EXPECT_TRUE(has("outcome\tDeaths\t2\t37\tRisk Difference (Random) 90% CI\t-0.04 [-0.19, 0.11]"));
    EXPECT_TRUE(has("method\t300\t400\tother"));
    EXPECT_TRUE(has("method\t304\t401\tcurrent"));
    EXPECT_TRUE(has("vector\tSTUDY\t2"));
    EXPECT_TRUE(has("cell\t2\ttext\tB"));
    EXPECT_TRUE(has("cell\t1\ttext\t44\xC2\xB0")); // back in UTF-8
    EXPECT_TRUE(has("cell\t2\tmissing"));           // Peto OR of study B, and empty cells
    EXPECT_TRUE(has("cell\t1\tnumber\t10"));
    EXPECT_TRUE(has("outcome\tLife quality\t\t\tNo numerical data\t"));
    EXPECT_EQ(dump.back(), '\n');

    std::ostringstream nothing;
    EXPECT_FALSE(WriteDump("/nonexistent.ORV", nothing, error));
    EXPECT_EQ(error, "cannot read the review file /nonexistent.ORV");
    EXPECT_TRUE(nothing.str().empty());
}

TEST(OutcomeRecord, SortingAsTheViewerDoesKeepsEachStudyRowTogetherWithinItsSubgroup)
{
    recordinglist list;
    char buffer[LOAD_BUFFER_SIZE];
    ASSERT_EQ(CreateListView(list, example("bcg.ORV").c_str(), buffer), 1) << buffer;
    analysis& d = list.rows[1].record->Current()->Data();
    auto row_text = [&](int row) {
        std::string s;
        for (const char* name : {"STUDY", "YEAR", "EXPTN", "CTRLT", "OR", "CIL95", "WEIGHT", "USER", "O-E"}) {
            const _vectordef* v = d.IsVector(name);
            s += d.GetCellString(v, row) ? d.GetCellString(v, row) : std::to_string(d.GetCellDouble(v, row));
            s += '|';
        }
        return s;
    };
    std::multiset<std::string> before;
    for (int row = 1; row <= 13; ++row)
        before.insert(row_text(row));

    // "GROUP", the key, then every other study vector (those numbered below "GROUP 0").
    std::vector<std::string> names = {"GROUP", "OR"};
    for (int n = 1; n < d.GetVectorNumber(d.IsVector("GROUP 0")); ++n) {
        std::string name = d.GetVectorName(d.GetVectorByNumber(n));
        if (name != "GROUP" && name != "OR" && name != "GROUPNAMES")
            names.push_back(name);
    }
    ASSERT_TRUE(d.SortDataSet(1, d.GetVectorLength(d.IsVector("STUDY")), names, 2));

    std::multiset<std::string> after;
    for (int row = 1; row <= 13; ++row) {
        after.insert(row_text(row));
        if (row > 1) {
            double g0 = d.GetCellDouble(d.IsVector("GROUP"), row - 1), g1 = d.GetCellDouble(d.IsVector("GROUP"), row);
            EXPECT_LE(g0, g1);
            if (g0 == g1) {
                EXPECT_LE(d.GetCellDouble(d.IsVector("OR"), row - 1), d.GetCellDouble(d.IsVector("OR"), row));
            }
        }
    }
    EXPECT_EQ(before, after);
    EXPECT_STREQ(d.GetCellString(d.IsVector("STUDY"), 1), "Vandiviere et al"); // RR 0.198, the lowest
    EXPECT_STREQ(d.GetCellString(d.IsVector("GROUPNAMES"), 1), "Random allocation");
}
