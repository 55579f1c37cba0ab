#include "recording_canvas.h"

#include <gtest/gtest.h>

#include <array>

using namespace canvas;

TEST(RecordingCanvas, WritesEachDrawingCallAsOneLine) {
    RecordingCanvas c;
    c.set_mapping({1100, 1100}, {4400, 6000}, true);
    c.set_font({"Arial", 14, bold_weight});
    c.set_text_colour({0, 0, 100});
    c.text(8, 40, Align::centre, "say \"hi\" \\");
    c.set_pen({0, 0, 255}, 1);
    c.set_brush(black);
    c.line({1, 2}, {3, -4});
    c.rectangle({10, 20, 30, 40});
    std::array<Point, 3> tri{{{0, 0}, {4, -4}, {4, 4}}};
    c.polygon(tri);
    c.set_clip({0, 50, 640, 400});
    c.clear_clip();
    EXPECT_EQ(c.recording(), "mapping 1100x1100 -> 4400x6000 isotropic\n"
                             "font \"Arial\" 14 700\n"
                             "text-colour 0,0,100\n"
                             "text 8,40 centre \"say \\\"hi\\\" \\\\\"\n"
                             "pen 0,0,255 1\n"
                             "brush 0,0,0\n"
                             "line 1,2 3,-4\n"
                             "rectangle 10,20 30,40\n"
                             "polygon 0,0 4,-4 4,4\n"
                             "clip 0,50 640,400\n"
                             "no-clip\n");
}

TEST(RecordingCanvas, ExtentsAreHalfTheHeightPerCharacterAndNotRecorded) {
    RecordingCanvas c;
    c.set_font({"Arial", 16, normal_weight});
    std::string before = c.recording();
    Size s = c.text_extent("Caf\xC3\xA9"); // four characters, five bytes
    EXPECT_EQ(s.width, 32);
    EXPECT_EQ(s.height, 16);
    EXPECT_EQ(c.recording(), before);
}
