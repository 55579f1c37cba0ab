// Whole plots drawn for the screen and compared with golden recordings, and the row logic of the
// table (totals options, printer pages).
#include "forest_plot.h"
#include "golden.h"
#include "plot_fixtures.h"
#include "recording_canvas.h"
#include "study_columns.h"
#include "table.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

using namespace plot_test;
using namespace settings;

namespace {

std::string paint(DataSet &d, canvas::Size client = {1024, 600}) {
    canvas::RecordingCanvas c;
    plot::paint_forest_plot(c, *d.data, client);
    return c.recording();
}

// Two groups of two studies, odds ratio on scale 0.1 .. 10: a study without an effect, one whose
// upper limit leaves the scale and one leaving it on both sides; subtotals with chi-square 0 at
// df 0 and at df 3.
DataSet grouped_odds_ratios(int flags, int totals) {
    DataSet d;
    screen_settings(d, DICHOTOMOUS, MEASURE_OR, 2, flags, totals);
    d.setting_text(COMPARISON_NAME, "Drug versus placebo");
    d.setting_text(OUTCOME_NAME, "Death");
    d.setting_text(CAPTION_LEFT, "Favours drug");
    d.setting_text(CAPTION_RIGHT, "Favours placebo");
    d.text("GROUPNAMES", 1, "Adults");
    d.text("GROUPNAMES", 2, "Children");
    dichotomous_study(d, 1, "Abel 1990", 0, {12, 100, 20, 100}, {0.55, 0.25, 1.19}, 40);
    dichotomous_study(d, 2, "Baker 1994", 0, {0, 50, 0, 50}, {none, none, none}, 0);
    dichotomous_study(d, 3, "Cole 2001", 1, {30, 60, 10, 60}, {4, 0.9, 12.5}, 35.5);
    dichotomous_study(d, 4, "Dunn 2005", 1, {5, 40, 5, 40}, {1, 0.05, 20}, 24.5);
    dichotomous_summary(d, "GROUP 0", {12, 150, 20, 150}, {0.55, 0.25, 1.19}, 40, {0, 0, 1, 1.52, "0.13"});
    dichotomous_summary(d, "GROUP 1", {35, 100, 15, 100}, {2.5, 1.1, 5.7}, 60, {0, 3, 1, 2.2, "0.03"});
    dichotomous_summary(d, "TOTAL", {47, 250, 35, 250}, {1.3, 0.8, 2.1}, 100, {12.34, 2, 0.002, 1.1, "0.27"});
    return d;
}

} // namespace

TEST(ForestPlot, DichotomousGroupsWithRawDataWeightGraphAndIntervals) {
    DataSet d = grouped_odds_ratios(FLAG_RAW | FLAG_WEIGHT | FLAG_GRAPH | FLAG_CI, TOTALS_ALL);
    EXPECT_TRUE(matches_golden("dichotomous_groups", paint(d)));
}

TEST(ForestPlot, PetoTextColumnsWithoutGraph) {
    DataSet d;
    screen_settings(d, DICHOTOMOUS, MEASURE_PETO_OR, 2,
                    FLAG_CI | FLAG_YEAR | FLAG_QUALITY | FLAG_OE | FLAG_USER, TOTALS_ALL);
    dichotomous_study(d, 1, "Evans 1988", 0, {3, 30, 6, 30}, {0.8, 0.5, 1.3}, 70);
    d.text("YEAR", 1, "1988");
    d.text("O-E", 1, "-1.2345678");
    d.text("V", 1, "12.3456789");
    d.text("QUALITY", 1, "A");
    d.text("USER", 1, "u1");
    dichotomous_study(d, 2, "Fox 1999", 0, {0, 20, 0, 20}, {none, none, none}, 30);
    d.text("YEAR", 2, "1999");
    d.text("O-E", 2, "0.5");
    d.text("V", 2, "2.25");
    d.text("QUALITY", 2, "B");
    dichotomous_summary(d, "TOTAL", {3, 50, 6, 50}, {0.8, 0.5, 1.3}, 100,
                        {30.1, 1, 0.000001, 4.5, "<0.00001"});
    EXPECT_TRUE(matches_golden("peto_text_columns", paint(d)));
}

TEST(ForestPlot, ContinuousWithOffScaleEffectAndSummaryWithoutEffect) {
    DataSet d;
    screen_settings(d, CONTINUOUS, MEASURE_WMD, 2, FLAG_RAW | FLAG_WEIGHT | FLAG_GRAPH | FLAG_CI, TOTALS_ALL);
    d.setting_text(EXPT_LABEL, "Exercise programme group"); // cut to 21 characters
    d.text("GROUPNAMES", 1, "Trials");
    continuous_study(d, 1, "Gray 2003", 0, 25, 5.25, 1.5, 24, 4.0, 1.25, {1.25, -0.5, 3.0}, 100);
    continuous_study(d, 2, "Hart 2007", 0, 10, 2.0, 1.0, 10, 12.0, 1.0, {-10, -12, -8}, 0);
    continuous_summary(d, "GROUP 0", 35, 34, {none, none, none}, 100, {0, 1, 1, 0, nullptr});
    continuous_summary(d, "TOTAL", 35, 34, {1.25, -11, 3.0}, 100, {0.8, 1, 0.37, 2.01, "0.04"});
    EXPECT_TRUE(matches_golden("continuous", paint(d)));
}

TEST(ForestPlot, RiskDifferenceUsesALinearAxisWhereTheRatioAxisWouldBe) {
    DataSet d;
    screen_settings(d, DICHOTOMOUS, MEASURE_RD, 4, FLAG_GRAPH, TOTALS_NONE);
    dichotomous_study(d, 1, "Ives 2010", 0, {10, 50, 5, 50}, {0.1, -0.05, 0.25}, 100);
    std::string recording = paint(d);
    EXPECT_TRUE(matches_golden("risk_difference", recording));
    EXPECT_EQ(d.data->GetCellDouble(d.data->IsVector("SETTINGS"), CENTRE_DIFFERENCE),
              d.data->GetCellDouble(d.data->IsVector("SETTINGS"), CENTRE_RATIO));
}

TEST(Table, TotalsOptionChoosesTheSummaryLines) {
    struct Case {
        int totals;
        int subtotals, total;
    };
    for (Case k : {Case{TOTALS_ALL, 2, 1}, Case{TOTALS_SUBTOTALS, 2, 0}, Case{TOTALS_NONE, 0, 0}}) {
        DataSet d = grouped_odds_ratios(FLAG_CI, k.totals);
        std::string recording = paint(d);
        auto occurrences = [&](const std::string &s) {
            int n = 0;
            for (size_t at = recording.find(s); at != std::string::npos; at = recording.find(s, at + 1))
                ++n;
            return n;
        };
        EXPECT_EQ(occurrences("\"Subtotal(95%CI)\""), k.subtotals) << k.totals;
        EXPECT_EQ(occurrences("\"Total(95%CI)\""), k.total) << k.totals;
        EXPECT_EQ(occurrences("\"Test for overall effect"), k.subtotals + k.total) << k.totals;
    }
}

TEST(Table, VarianceColumnOnlyForThePetoOddsRatio) {
    for (int measure : {MEASURE_PETO_OR, MEASURE_OR, MEASURE_RR, MEASURE_RD}) {
        DataSet d;
        screen_settings(d, DICHOTOMOUS, measure, 2, FLAG_OE, TOTALS_NONE);
        dichotomous_study(d, 1, "Abel 1990", 0, {12, 100, 20, 100}, {0.55, 0.25, 1.19}, 40);
        d.text("O-E", 1, "-3.25");
        d.text("V", 1, "4.5");
        std::string recording = paint(d);
        bool peto = measure == MEASURE_PETO_OR;
        EXPECT_NE(recording.find("\"-3.25\""), std::string::npos) << measure;
        EXPECT_EQ(recording.find("\"4.5\"") != std::string::npos, peto) << measure;
        EXPECT_EQ(recording.find("\"VAR\"") != std::string::npos, peto) << measure;
    }
}

TEST(Table, AnUnknownCiCodeReadsThe99PercentCells) {
    DataSet d;
    screen_settings(d, DICHOTOMOUS, MEASURE_OR, 2, FLAG_CI, TOTALS_ALL);
    d.setting(STUDY_CI, 3);
    d.setting(TOTAL_CI, 3);
    dichotomous_study(d, 1, "Abel 1990", 0, {12, 100, 20, 100}, {0.55, 0.25, 1.19}, 100);
    d.number("CIL99", 1, 0.2);
    d.number("CIH99", 1, 1.5);
    dichotomous_summary(d, "TOTAL", {12, 100, 20, 100}, {0.55, 0.25, 1.19}, 100, {0, 0, 1, 1, "0.3"});
    d.number("TOTAL", 10, 1.5); // upper 99%
    d.number("TOTAL", 11, 0.2); // lower 99%
    std::string recording = paint(d);
    EXPECT_NE(recording.find("\"Total(99%CI)\""), std::string::npos);
    // The study line and the total line both show the 99% limits.
    size_t first = recording.find("\"0.55[0.20,1.50]\"");
    ASSERT_NE(first, std::string::npos) << recording;
    EXPECT_NE(recording.find("\"0.55[0.20,1.50]\"", first + 1), std::string::npos) << recording;
}

TEST(Table, WithoutAGroupVectorEveryStudyIsInTheFirstGroup) {
    DataSet d;
    screen_settings(d, DICHOTOMOUS, MEASURE_OR, 2, 0, TOTALS_NONE);
    d.text("STUDY", 1, "Abel 1990");
    d.text("STUDY", 2, "Baker 1994");
    std::string recording = paint(d);
    EXPECT_NE(recording.find("\"Abel 1990\""), std::string::npos);
    EXPECT_NE(recording.find("\"Baker 1994\""), std::string::npos);
}

TEST(Table, UnsortedRowsEndTheirGroupAtTheFirstRowOfAnother) {
    DataSet d = grouped_odds_ratios(FLAG_CI, TOTALS_NONE);
    d.number("GROUP", 2, 1); // rows 0, 1, 1, 1: row 2 now belongs to the second group
    d.number("GROUP", 3, 0); // rows 0, 1, 0, 1: the second group stops at row 3
    std::string recording = paint(d);
    EXPECT_NE(recording.find("\"Abel 1990\""), std::string::npos);
    EXPECT_NE(recording.find("\"Baker 1994\""), std::string::npos);
    EXPECT_EQ(recording.find("\"Cole 2001\""), std::string::npos);
    EXPECT_EQ(recording.find("\"Dunn 2005\""), std::string::npos);
}

namespace {

// Prints every page of an outcome as the printing pass does and returns, per page, the study
// names and group headings in the order drawn.
std::vector<std::string> print_pages(DataSet &d, int budget) {
    d.setting(OUTPUT_MODE, 1);
    d.setting(PRINT_DONE, 1);
    d.setting(PRINT_GROUP, 1);
    d.setting(PRINT_ROW, 1);
    d.setting(PRINT_LINES_LEFT, budget);
    d.setting(LINE_HEIGHT, 16);
    d.setting(FIRST_ROW_Y, 100);
    plot::StudyColumns columns = plot::look_up_study_columns(*d.data);
    _vectordef *view = d.data->IsVector("SETTINGS");
    std::vector<std::string> pages;
    do {
        canvas::RecordingCanvas c;
        plot::draw_table(c, *d.data, columns, {1100, 1100});
        std::string page;
        std::istringstream lines(c.recording());
        for (std::string line; std::getline(lines, line);)
            for (const char *name : {"Adults", "Children", "Abel 1990", "Baker 1994", "Cole 2001",
                                     "Dunn 2005", "Subtotal(95%CI)", "Total(95%CI)"})
                if (line.ends_with(" left \"" + std::string(name) + "\"")) page += std::string(name) + ";";
        pages.push_back(page);
        d.setting(PRINT_LINES_LEFT, budget);
    } while (d.data->GetCellDouble(view, PRINT_DONE) == 0 && pages.size() < 20);
    return pages;
}

} // namespace

TEST(PrinterTable, PagesResumeAtTheSavedGroupAndRow) {
    DataSet d = grouped_odds_ratios(FLAG_CI, TOTALS_ALL);
    // Budget 2: Abel, Baker (1 left), then the first group's end costs 4 (-3 left): full.
    // The next page resumes with the following group.
    std::vector<std::string> pages = print_pages(d, 2);
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0], "Adults;Abel 1990;Baker 1994;Subtotal(95%CI);");
    EXPECT_EQ(pages[1], "Children;Cole 2001;Dunn 2005;Subtotal(95%CI);");
    EXPECT_EQ(pages[2], "Total(95%CI);");
}

TEST(PrinterTable, AGroupLongerThanAPageContinuesUnderItsHeading) {
    DataSet d = grouped_odds_ratios(FLAG_CI, TOTALS_NONE);
    // Budget 0: every study line overdraws the page, so each page holds one.
    std::vector<std::string> pages = print_pages(d, 0);
    ASSERT_EQ(pages.size(), 4u);
    EXPECT_EQ(pages[0], "Adults;Abel 1990;");
    EXPECT_EQ(pages[1], "Adults;Baker 1994;");
    EXPECT_EQ(pages[2], "Children;Cole 2001;");
    EXPECT_EQ(pages[3], "Children;Dunn 2005;");
}

TEST(PrinterTable, NamesAreIndentedByVariant) {
    // Rows start at SETTINGS 29 + 8 + 100 = 208, texts hang from 16 above; grouped outcomes draw
    // their heading on the first line.
    struct Case {
        bool grouped;
        const char *abel;
    };
    for (Case k :
         {Case{true, "text 116,208 left \"Abel 1990\""}, Case{false, "text 132,192 left \"Abel 1990\""}}) {
        DataSet d;
        screen_settings(d, DICHOTOMOUS, MEASURE_OR, 2, 0, TOTALS_NONE);
        if (k.grouped) d.text("GROUPNAMES", 1, "Adults");
        dichotomous_study(d, 1, "Abel 1990", 0, {12, 100, 20, 100}, {0.55, 0.25, 1.19}, 40);
        d.setting(OUTPUT_MODE, 1);
        d.setting(PRINT_LINES_LEFT, 50);
        d.setting(LINE_HEIGHT, 16);
        d.setting(FIRST_ROW_Y, 100);
        canvas::RecordingCanvas c;
        plot::draw_table(c, *d.data, plot::look_up_study_columns(*d.data), {1100, 1100});
        EXPECT_NE(c.recording().find(k.abel), std::string::npos) << c.recording();
    }
}
