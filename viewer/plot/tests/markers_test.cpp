#include "markers.h"

#include "recording_canvas.h"

#include <gtest/gtest.h>

using namespace plot;

namespace {

// Scale 0.1 .. 10 centred at 440: x(0.1) = 340, x(1) = 440, x(10) = 540. A line at y 100 with
// h 16 has its marker line at 92.
const Scale scale = scale_at(true, 2, 440);

std::string study(double weight, double effect, double lower, double upper) {
    canvas::RecordingCanvas c;
    draw_study_marker(c, scale, 100, 16, weight, effect, lower, upper);
    return c.recording();
}

std::string summary(double effect, double lower, double upper) {
    canvas::RecordingCanvas c;
    draw_summary_diamond(c, scale, 100, 16, effect, lower, upper);
    return c.recording();
}

const std::string blue = "pen 0,0,255 1\nbrush 0,0,255\n";
const std::string blue_pen = "pen 0,0,255 1\n";
const std::string black = "pen 0,0,0 1\nbrush 0,0,0\n";

} // namespace

TEST(StudyMarker, BoxIsSizedByWeightAndTheLineJoinsTheLimits) {
    // Half size truncate(8 x weight% + 2), at most 8.
    EXPECT_EQ(study(50, 1, 0.5, 2), blue + "rectangle 434,86 446,98\n" + blue_pen + "line 470,92 409,92\n");
    EXPECT_EQ(study(100, 1, 0.5, 2), blue + "rectangle 432,84 448,100\n" + blue_pen + "line 470,92 409,92\n");
    EXPECT_EQ(study(0, 1, 0.5, 2), blue + "rectangle 438,90 442,94\n" + blue_pen + "line 470,92 409,92\n");
}

TEST(StudyMarker, LimitsBeyondTheScaleGetOpenArrowsAtItsEnds) {
    EXPECT_EQ(study(50, 1, 0.05, 20), blue + "rectangle 434,86 446,98\n" +
                                          // upper, right end: strokes back towards the centre
                                          blue_pen + "line 540,92 536,88\nline 540,92 536,96\n" + blue_pen +
                                          "line 340,92 344,88\nline 340,92 344,96\n" + blue_pen +
                                          "line 540,92 340,92\n");
}

TEST(StudyMarker, EffectAtOrBeyondAnEndDrawsNoBoxAndAFilledTriangleOnItsSide) {
    // Exactly at the maximum counts as off the scale on the right.
    EXPECT_EQ(study(50, 10, 5, 20),
              blue + "polygon 540,92 536,88 536,96\n" + blue_pen + "line 540,92 509,92\n");
    // Off on the left, the interval leaving both ends: filled left, open right.
    EXPECT_EQ(study(50, 0.05, 0.01, 20), blue_pen + "line 540,92 536,88\nline 540,92 536,96\n" + blue +
                                             "polygon 340,92 344,88 344,96\n" + blue_pen +
                                             "line 540,92 340,92\n");
}

TEST(SummaryDiamond, SpansTheIntervalWithTheEffectAtItsWaist) {
    EXPECT_EQ(summary(2, 1, 4), black + "polygon 440,92 470,96 500,92 470,88\n");
    // An effect outside its own interval is drawn at the nearer limit.
    EXPECT_EQ(summary(5, 1, 2), black + "polygon 440,92 470,96 470,92 470,88\n");
}

TEST(SummaryDiamond, AnIntervalLeavingTheScaleShowsOnlyBlackTriangles) {
    EXPECT_EQ(summary(1, 0.05, 2), black + "polygon 340,92 344,88 344,96\n");
    EXPECT_EQ(summary(1, 0.5, 10.5), black + "polygon 540,92 536,88 536,96\n");
    EXPECT_EQ(summary(1, 0.05, 20),
              black + "polygon 340,92 344,88 344,96\n" + black + "polygon 540,92 536,88 536,96\n");
}
