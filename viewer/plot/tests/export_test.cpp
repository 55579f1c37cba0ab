// The PNG export of a plot and the --export batch mode, drawn offscreen.
#include "export_mode.h"
#include "plot_fixtures.h"
#include "png_export.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>

#include <filesystem>
#include <fstream>
#include <memory>

using namespace plot_test;
using namespace settings;
namespace fs = std::filesystem;

namespace {

class ExportTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 3;
        static char arg0[] = "test", arg1[] = "-platform", arg2[] = "offscreen";
        static char *argv[] = {arg0, arg1, arg2, nullptr};
        app_ = std::make_unique<QGuiApplication>(argc, argv);
    }
    // Before Qt's own globals go away at exit.
    static void TearDownTestSuite() { app_.reset(); }
    static inline std::unique_ptr<QGuiApplication> app_;

    ExportTest() : dir_(fs::temp_directory_path() / ("plot_export_" + std::to_string(::getpid()))) {
        fs::create_directories(dir_);
    }
    ~ExportTest() override { fs::remove_all(dir_); }

    std::string path(const std::string &name) const { return (dir_ / name).string(); }

    fs::path dir_;
};

int pixels_of(const QImage &image, QRgb colour) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += image.pixel(x, y) == colour;
    return n;
}

// Two comparisons: one outcome with data, one without, then a second with data.
const char *review_text = "REVIEW\tExport test\n"
                          "COMPARISON\tA versus B\n"
                          "OUTCOME\tDeath\tdichotomous\n"
                          "METHOD\tOR\tfixed\n"
                          "STUDY\tAbel\t1990\t\t12\t100\t20\t100\n"
                          "STUDY\tBaker\t1994\t\t8\t80\t10\t75\n"
                          "OUTCOME\tQuality of life\tno numerical data\n"
                          "COMPARISON\tC versus D\n"
                          "OUTCOME\tStay (days)\tcontinuous\n"
                          "STUDY\tCole\t\t\t20\t5.5\t1.5\t21\t6.5\t1.75\n";

} // namespace

TEST_F(ExportTest, PngIsTheBitmapLayoutDownToTheAxisLabels) {
    DataSet d;
    screen_settings(d, DICHOTOMOUS, MEASURE_OR, 2, FLAG_RAW | FLAG_GRAPH | FLAG_CI, TOTALS_NONE);
    d.setting(H_SCROLL, 5); // the export draws unscrolled
    d.setting_text(OUTCOME_NAME, "Death");
    dichotomous_study(d, 1, "Abel 1990", 0, {12, 100, 20, 100}, {0.55, 0.25, 1.19}, 100);
    std::string error;
    ASSERT_TRUE(plot::export_png(*d.data, path("plot.png"), error)) << error;

    QImage image(QString::fromStdString(path("plot.png")));
    ASSERT_FALSE(image.isNull());
    // Axis at 4 x 16 + 16 x (1 + 1) = 96, then 32 units for tick labels and captions.
    EXPECT_EQ(image.width(), 1024);
    EXPECT_EQ(image.height(), 96 + 32);
    EXPECT_EQ(d.data->GetCellDouble(d.data->IsVector("SETTINGS"), BITMAP_AXIS_Y), 96);
    EXPECT_EQ(d.data->GetCellDouble(d.data->IsVector("SETTINGS"), OUTPUT_MODE), 0);
    // The study box: 16 x 16 units of blue at x(0.55) = 414, marker line 80.
    EXPECT_EQ(image.pixel(414, 80), qRgb(0, 0, 255));
    EXPECT_GE(pixels_of(image, qRgb(0, 0, 255)), 16 * 16);
    // The rule along the axis spans the figure.
    EXPECT_EQ(image.pixel(5, 96), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(1018, 96), qRgb(0, 0, 0));
    // Some text below the axis (the tick labels).
    bool ink_below = false;
    for (int y = 100; y < 116 && !ink_below; ++y)
        for (int x = 330; x < 550 && !ink_below; ++x)
            ink_below = qGray(image.pixel(x, y)) < 128;
    EXPECT_TRUE(ink_below);
}

TEST_F(ExportTest, FailureLeavesNoFileAndSaysWhy) {
    DataSet d;
    screen_settings(d, DICHOTOMOUS, MEASURE_OR, 2, FLAG_GRAPH, TOTALS_NONE);
    std::string error;
    EXPECT_FALSE(plot::export_png(*d.data, path("missing/plot.png"), error));
    EXPECT_FALSE(error.empty());

    DataSet no_settings;
    std::ofstream(path("kept.png")) << "old";
    EXPECT_FALSE(plot::export_png(*no_settings.data, path("kept.png"), error));
    EXPECT_EQ(fs::file_size(path("kept.png")), 3u);
}

TEST_F(ExportTest, APlotTooTallForAnImageIsRefused) {
    // 64 + 16 x (2100 + 5) units is past the 32767 rows an image may have.
    DataSet d;
    screen_settings(d, DICHOTOMOUS, MEASURE_OR, 2, FLAG_CI, TOTALS_ALL);
    for (int row = 1; row <= 2100; ++row)
        dichotomous_study(d, row, "S", 0, {1, 10, 1, 10}, {1, 0.5, 2}, 0);
    std::string error;
    EXPECT_FALSE(plot::export_png(*d.data, path("tall.png"), error));
    EXPECT_EQ(error, "the plot is too tall for an image (33776 units)");
    EXPECT_FALSE(fs::exists(path("tall.png")));
}

TEST_F(ExportTest, BatchModeWritesEveryOutcomeWithAPlotNumberedByItsRow) {
    std::ofstream(path("review.ORV")) << review_text;
    EXPECT_EQ(run_export({path("fig.png"), path("review.ORV")}), 0);
    EXPECT_TRUE(fs::exists(path("fig1.png")));
    EXPECT_FALSE(fs::exists(path("fig2.png"))); // no numerical data
    EXPECT_TRUE(fs::exists(path("fig3.png")));
    EXPECT_FALSE(QImage(QString::fromStdString(path("fig3.png"))).isNull());

    EXPECT_EQ(run_export({path("one.PNG"), "--outcome", "3", path("review.ORV")}), 0);
    EXPECT_TRUE(fs::exists(path("one.PNG")));
}

TEST_F(ExportTest, BatchModeSaysWhenAScaleIndexIsOutsideItsTable) {
    // Scale 5 exists for differences only: a ratio outcome is drawn with scale 4.
    std::string text = review_text;
    text.insert(text.find("METHOD"), "SCALE\t5\n");
    std::ofstream(path("review.ORV")) << text;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(run_export({path("s.png"), "--outcome", "1", path("review.ORV")}), 0);
    std::string errors = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(errors.find("outcome 1: scale index 5 is not in the table of its scale; drawn with scale 4"),
              std::string::npos)
        << errors;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(run_export({path("s.png"), "--outcome", "3", path("review.ORV")}), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStderr().find("scale"), std::string::npos);
}

TEST_F(ExportTest, BatchModeRefusesBadRequests) {
    std::ofstream(path("review.ORV")) << review_text;
    std::string review = path("review.ORV"), png = path("x.png");
    struct Case {
        std::vector<std::string> arguments;
        int status;
    };
    const Case cases[] = {
        {{png}, 2},
        {{png, "--outcome", "1"}, 2},
        {{png, "--outcome", "0", review}, 2},
        {{png, "--outcome", "2x", review}, 2},
        {{path("x.bmp"), review}, 2},
        {{png, "--outcome", "4", review}, 1}, // three outcome rows
        {{png, "--outcome", "2", review}, 1}, // no numerical data
        {{png, path("absent.ORV")}, 1},
    };
    for (const Case &k : cases)
        EXPECT_EQ(run_export(k.arguments), k.status) << k.arguments.size();
    EXPECT_FALSE(fs::exists(png));
}
