#include "painter_canvas.h"

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <array>
#include <memory>

using namespace canvas;

namespace {

// Fonts need a QGuiApplication; the offscreen platform needs no display.
class PainterCanvasTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        static int argc = 3;
        static char arg0[] = "test", arg1[] = "-platform", arg2[] = "offscreen";
        static char *argv[] = {arg0, arg1, arg2, nullptr};
        if (!QGuiApplication::instance()) app_ = std::make_unique<QGuiApplication>(argc, argv);
    }
    // Before Qt's own globals go away at exit.
    static void TearDownTestSuite() { app_.reset(); }
    static inline std::unique_ptr<QGuiApplication> app_;

    PainterCanvasTest() : image_(200, 100, QImage::Format_RGB32) { image_.fill(Qt::white); }

    // Bounding box of the pixels that are not white.
    QRect inked() const {
        QRect box;
        for (int y = 0; y < image_.height(); ++y)
            for (int x = 0; x < image_.width(); ++x)
                if (image_.pixel(x, y) != qRgb(255, 255, 255)) box |= QRect(x, y, 1, 1);
        return box;
    }

    QImage image_;
};

} // namespace

TEST_F(PainterCanvasTest, ArialResolvesToAMetricCompatibleFace) {
    QPainter p(&image_);
    PainterCanvas c(p);
    c.set_font({"Arial", 20, normal_weight});
    EXPECT_EQ(QFontInfo(p.font()).family(), "Liberation Sans");
}

TEST_F(PainterCanvasTest, TextHangsBelowItsTopAndAlignsOnX) {
    struct Case {
        Align align;
        int x;
    };
    for (Case k : {Case{Align::left, 50}, Case{Align::centre, 100}, Case{Align::right, 150}}) {
        image_.fill(Qt::white);
        {
            QPainter p(&image_);
            PainterCanvas c(p);
            c.set_font({"Arial", 20, normal_weight});
            c.text(k.x, 30, k.align, "HHHH");
        }
        QRect box = inked();
        ASSERT_FALSE(box.isEmpty());
        EXPECT_GE(box.top(), 30); // capitals start below the cell's top (internal leading)
        EXPECT_LE(box.top(), 36);
        EXPECT_LE(box.bottom(), 50); // and end within the 20-unit cell
        int edge = k.align == Align::left     ? box.left()
                   : k.align == Align::centre ? box.center().x()
                                              : box.right();
        EXPECT_NEAR(edge, k.x, 3);
    }
}

TEST_F(PainterCanvasTest, ExtentIsTheCellHeightAndTheAdvanceWidth) {
    QPainter p(&image_);
    PainterCanvas c(p);
    c.set_font({"Arial", 20, normal_weight});
    Size one = c.text_extent("W");
    Size two = c.text_extent("WW");
    EXPECT_EQ(one.height, 20);
    EXPECT_GT(one.width, 8);
    EXPECT_NEAR(two.width, 2 * one.width, 1);
}

TEST_F(PainterCanvasTest, IsotropicMappingKeepsOneScaleAndClipHolds) {
    {
        QPainter p(&image_);
        PainterCanvas c(p);
        c.set_mapping({100, 100}, {400, 200}, true); // the smaller scale for both axes: 2 pixels
        c.set_pen(black, 1);
        c.set_brush(black);
        c.set_clip({0, 0, 40, 100});
        c.rectangle({10, 10, 60, 30});
        c.clear_clip();
        std::array<Point, 3> tri{{{70, 10}, {90, 10}, {80, 30}}};
        c.polygon(tri);
    }
    EXPECT_EQ(image_.pixel(50, 40), qRgb(0, 0, 0));
    EXPECT_EQ(image_.pixel(100, 40), qRgb(255, 255, 255)); // clipped away
    EXPECT_EQ(image_.pixel(160, 30), qRgb(0, 0, 0));       // drawn after the clip was removed
    QRect box = inked();
    EXPECT_NEAR(box.bottom(), 60, 1);
    EXPECT_NEAR(box.right(), 180, 1);
}

TEST_F(PainterCanvasTest, MappingScalesLogicalUnits) {
    {
        QPainter p(&image_);
        PainterCanvas c(p);
        c.set_mapping({100, 50}, {200, 100}, false);
        c.set_pen({255, 0, 0}, 1);
        c.set_brush({255, 0, 0});
        c.rectangle({10, 10, 20, 20});
    }
    QRect box = inked();
    EXPECT_NEAR(box.left(), 20, 1);
    EXPECT_NEAR(box.right(), 40, 2);
    EXPECT_EQ(image_.pixel(30, 30), qRgb(255, 0, 0));
}
