#include "funnel_data.h"
#include "funnel_plot.h"
#include "recording_canvas.h"

#include <gtest/gtest.h>

#include <cmath>
#include <sstream>

namespace {

funnel::Data ratio_data() {
    funnel::Data d;
    d.title = "Tuberculosis cases";
    d.measure = "RR";
    d.ratio = true;
    d.pooled = 0.5;
    d.studies = {{"A\tB", 0.25, 0.5}, {"C", 1.0, 0.25}, {"D", 0.5, 0.1}};
    return d;
}

bool contains(const std::string &recording, const std::string &line) {
    return recording.find(line + '\n') != std::string::npos;
}

TEST(FunnelData, WrittenDataReadsBackExactly) {
    funnel::Data d = ratio_data();
    d.studies[1].effect = 0.1 + 0.2; // needs all 17 digits
    std::stringstream text;
    funnel::write_data(text, d);
    funnel::Data back;
    std::string error;
    ASSERT_TRUE(funnel::read_data(text, back, error)) << error;
    EXPECT_EQ(back.title, d.title);
    EXPECT_EQ(back.measure, "RR");
    EXPECT_TRUE(back.ratio);
    EXPECT_EQ(back.pooled, 0.5);
    ASSERT_EQ(back.studies.size(), 3u);
    EXPECT_EQ(back.studies[0].name, "A B"); // a tab in a name would split the record
    EXPECT_EQ(back.studies[1].effect, 0.1 + 0.2);
    EXPECT_EQ(back.studies[2].se, 0.1);
}

TEST(FunnelData, MalformedDataIsRefusedWithItsLine) {
    const std::pair<const char *, const char *> cases[] = {
        {"", "no data"},
        {"funnel\t1\n", "line 1: not funnel-plot data"},
        {"funnelview\t1\nstudy\tA\t1\t1\n", "line 2: the scale must come before the studies"},
        {"funnelview\t1\nscale\tlog\n", "line 2: scale is"},
        {"funnelview\t1\nscale\tratio\npooled\t1\nstudy\tA\t0\t0.5\n", "line 4: a ratio must be positive"},
        {"funnelview\t1\nscale\tdifference\npooled\t1\nstudy\tA\t-2\t0\n",
         "line 4: a standard error must be positive"},
        {"funnelview\t1\nscale\tdifference\npooled\t1\nstudy\tA\t2\n", "line 4: a study has"},
        {"funnelview\t1\nscale\tdifference\npooled\tnan\n", "line 3: pooled takes one number"},
        {"funnelview\t1\nscale\tdifference\npooled\t1e300\n", "line 3: pooled takes one number"},
        {"funnelview\t1\nscale\tdifference\npooled\t1\nsize\t3\n", "line 4: unknown record \"size\""},
        {"funnelview\t1\nscale\tdifference\n", "the scale and the pooled effect are required"},
    };
    for (auto [text, expected] : cases) {
        std::istringstream in(text);
        funnel::Data d;
        std::string error;
        EXPECT_FALSE(funnel::read_data(in, d, error)) << text;
        EXPECT_NE(error.find(expected), std::string::npos) << text << " -> " << error;
    }
}

TEST(FunnelPlot, RatioEffectsLieOnALogAxisAroundThePooledLine) {
    funnel::Data d = ratio_data();
    funnel::Axes a = funnel::axes_for(d);
    // Ratios 0.25, 0.5 and 1 are equally spaced on the log axis.
    EXPECT_NEAR(a.x(0.5) - a.x(0.25), a.x(1.0) - a.x(0.5), 1);
    // The y axis is inverted: a standard error of 0 is at the top.
    EXPECT_EQ(a.y(0), funnel::plot_area.top);
    EXPECT_LT(a.y(0.1), a.y(0.5));
    EXPECT_LE(a.y(0.5), funnel::plot_area.bottom);

    canvas::RecordingCanvas c;
    funnel::draw_funnel_plot(c, d);
    const std::string &r = c.recording();
    int px = a.x(0.5), top = a.y(0), bottom = a.y(a.se_max);
    auto point = [](int x, int y) { return std::to_string(x) + "," + std::to_string(y); };
    EXPECT_TRUE(contains(r, "line " + point(px, top) + " " + point(px, bottom))) << r;
    // Pseudo 95% limits: pooled +- 1.96 SE on the log scale at the largest SE.
    int left = a.x(std::exp(std::log(0.5) - 1.959963984540054 * a.se_max));
    int right = a.x(std::exp(std::log(0.5) + 1.959963984540054 * a.se_max));
    EXPECT_TRUE(contains(r, "line " + point(px, top) + " " + point(left, bottom))) << r;
    EXPECT_TRUE(contains(r, "line " + point(px, top) + " " + point(right, bottom))) << r;
    // One blue square per study, centred on (effect, SE).
    for (const funnel::Study &s : d.studies) {
        int x = a.x(s.effect), y = a.y(s.se);
        EXPECT_TRUE(contains(r, "rectangle " + point(x - 3, y - 3) + " " + point(x + 3, y + 3))) << s.name;
    }
    EXPECT_TRUE(contains(r, "text 300,12 centre \"Tuberculosis cases\""));
    EXPECT_TRUE(contains(r, "text 325,404 centre \"RR (log scale)\"")) << r;
    EXPECT_NE(r.find("\"0.5\""), std::string::npos); // a 1-2-5 tick of the log axis
}

TEST(FunnelPlot, DifferenceScaleIsLinearAndExtremeValuesStayInsideThePlot) {
    funnel::Data d;
    d.pooled = -1e100;
    d.studies = {{"far", 1e100, 1e100}, {"near", 0, 1e-100}};
    funnel::Axes a = funnel::axes_for(d);
    for (const funnel::Study &s : d.studies) {
        EXPECT_GE(a.x(s.effect), funnel::plot_area.left);
        EXPECT_LE(a.x(s.effect), funnel::plot_area.right);
    }
    canvas::RecordingCanvas c;
    funnel::draw_funnel_plot(c, d); // finite everywhere (UBSan checks the conversions)
    EXPECT_NE(c.recording().find("SE(Effect)"), std::string::npos);

    funnel::Data linear;
    linear.pooled = 0;
    linear.studies = {{"a", -2, 1}, {"b", 2, 1}};
    funnel::Axes l = funnel::axes_for(linear);
    EXPECT_NEAR(l.x(0) - l.x(-2), l.x(2) - l.x(0), 1);
}

} // namespace
