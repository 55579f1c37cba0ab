// The layout values a paint leaves in SETTINGS, the scroll ranges it returns and the title block.
#include "forest_plot.h"
#include "plot_fixtures.h"
#include "recording_canvas.h"
#include "study_columns.h"
#include "title_and_headers.h"

#include <gtest/gtest.h>

using namespace plot_test;
using namespace settings;

namespace {

double setting(const DataSet &d, cell c) {
    return d.data->GetCellDouble(d.data->IsVector("SETTINGS"), c);
}

// Three ungrouped studies with comparison and outcome names: the title takes two lines of 16.
DataSet three_studies(int data_type, int measure) {
    DataSet d;
    screen_settings(d, data_type, measure, 2, FLAG_RAW | FLAG_WEIGHT | FLAG_GRAPH | FLAG_CI, TOTALS_ALL);
    d.setting_text(COMPARISON_NAME, "A versus B");
    d.setting_text(OUTCOME_NAME, "Pain");
    for (int row = 1; row <= 3; ++row) {
        if (data_type == DICHOTOMOUS)
            dichotomous_study(d, row, "S", 0, {1, 10, 2, 10}, {0.5, 0.1, 2}, 33);
        else
            continuous_study(d, row, "S", 0, 10, 1, 1, 10, 2, 1, {-1, -2, 0}, 33);
    }
    return d;
}

} // namespace

TEST(Layout, ScreenPaintWritesTheLayoutValues) {
    struct Case {
        int data_type, measure, h_scroll, width, height;
        int axis_y;
        cell centre_cell;
        int centre, horizontal, vertical;
    };
    // Header height and top 4 x 16 = 64; the axis at 64 + 16 (3 + 5) = 192 unless the window is
    // too short (then at its bottom less 32). Dichotomous headers: study 150, raw 100 + 100, graph
    // 180 (centre 350 + 90), weight 80, interval 180 = 790. Continuous: 150, raw 30 + 100 + 30 +
    // 100, graph 180 (centre 410 + 90), 80, 180 = 850.
    const Case cases[] = {
        {DICHOTOMOUS, MEASURE_OR, 0, 1024, 600, 192, CENTRE_RATIO, 440, 0, 0},
        {DICHOTOMOUS, MEASURE_OR, 0, 1024, 150, 118, CENTRE_RATIO, 440, 0, 8},
        {DICHOTOMOUS, MEASURE_OR, 2, 500, 600, 192, CENTRE_RATIO, 424, (790 - 500) / 8, 0},
        {CONTINUOUS, MEASURE_WMD, 0, 1024, 600, 192, CENTRE_DIFFERENCE, 500, 0, 0},
    };
    for (const Case &k : cases) {
        DataSet d = three_studies(k.data_type, k.measure);
        d.setting(H_SCROLL, k.h_scroll);
        canvas::RecordingCanvas c;
        plot::ScrollRanges ranges = plot::paint_forest_plot(c, *d.data, {k.width, k.height});
        SCOPED_TRACE(k.height);
        EXPECT_EQ(setting(d, HEADER_HEIGHT), 64);
        EXPECT_EQ(setting(d, STUDY_COUNT), 3);
        EXPECT_EQ(setting(d, LINE_HEIGHT), 16);
        EXPECT_EQ(setting(d, FIRST_ROW_Y), 80);
        EXPECT_EQ(setting(d, BITMAP_AXIS_Y), 192);
        EXPECT_EQ(setting(d, AXIS_Y), k.axis_y);
        EXPECT_EQ(setting(d, k.centre_cell), k.centre);
        EXPECT_EQ(setting(d, HEADER_WIDTH), k.data_type == DICHOTOMOUS ? 790 : 850);
        EXPECT_EQ(setting(d, X_SCALE), 1.0);
        EXPECT_EQ(ranges.horizontal, k.horizontal);
        EXPECT_EQ(ranges.vertical, k.vertical);
    }
}

TEST(Layout, ScrolledViewKeepsItsFirstRowAndLineHeightIsSetWithoutTheGraph) {
    DataSet d = three_studies(DICHOTOMOUS, MEASURE_OR);
    d.setting(DISPLAY_FLAGS, FLAG_CI);
    d.setting(V_SCROLL, 3);
    d.setting(FIRST_ROW_Y, 32);
    canvas::RecordingCanvas c;
    plot::paint_forest_plot(c, *d.data, {1024, 600});
    EXPECT_EQ(setting(d, FIRST_ROW_Y), 32);
    EXPECT_EQ(setting(d, LINE_HEIGHT), 16);
    EXPECT_EQ(c.recording().find("\"1\""), std::string::npos); // no axis labels without the graph
}

TEST(Layout, ScaledOutputSizesTheTitleByTheWindowWidth) {
    DataSet d = three_studies(DICHOTOMOUS, MEASURE_OR);
    d.setting(SCALED_OUTPUT, 1);
    canvas::RecordingCanvas c;
    plot::paint_forest_plot(c, *d.data, {500, 400});
    EXPECT_EQ(setting(d, X_SCALE), 2.0);
    EXPECT_EQ(setting(d, Y_SCALE), 2.5);
    EXPECT_NE(c.recording().find("font \"Arial\" 16 700\n"), std::string::npos); // 32 / 2
    EXPECT_EQ(setting(d, HEADER_HEIGHT), 64);
}

TEST(Layout, PrinterTitleBlockSplitsLongReviewNames) {
    std::string long_name(110, 'a');
    long_name += "bcdef\r\n";
    struct Case {
        std::string name;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"Short review\r\n", {"text 100,70 left \"Review:       Short review\""}},
        {"No line end", {"text 100,70 left \"Review:       No line end\""}},
        {long_name,
         {"text 100,70 left \"Review:       " + std::string(110, 'a') + "\"",
          "text 100,86 left \"              bcdef\""}},
    };
    for (const Case &k : cases) {
        DataSet d = three_studies(DICHOTOMOUS, MEASURE_OR);
        d.setting(OUTPUT_MODE, 1);
        d.setting_text(REVIEW_NAME, k.name.c_str());
        d.setting(PRINT_LINES_LEFT, 40);
        canvas::RecordingCanvas c;
        plot::draw_title_and_headers(c, *d.data, plot::look_up_study_columns(*d.data), {1100, 1100});
        for (const std::string &line : k.lines)
            EXPECT_NE(c.recording().find(line + "\n"), std::string::npos) << c.recording();
        // Top 4 x 16 + 100; the axis uses the page's line budget: 164 + 16 (40 + 5).
        EXPECT_EQ(setting(d, AXIS_Y), 164 + 16 * 45);
    }
}
