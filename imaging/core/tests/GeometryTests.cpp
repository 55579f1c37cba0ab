#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "TestImages.h"
#include "imaging/GeometryOperations.h"

namespace imaging {
namespace {

using test::bitAt;
using test::expectError;
using test::fillRandom;
using test::makeImage;
using test::pixelAt;

std::vector<std::uint8_t> bytesOf(const Image &image) {
    return {image.data().begin(), image.data().end()};
}

bool samePixel(const Image &a, int ax, int ay, const Image &b, int bx, int by) {
    const int n = a.header().storedPixelBytes();
    return std::equal(pixelAt(a, ax, ay), pixelAt(a, ax, ay) + n, pixelAt(b, bx, by));
}

// An 8-bit gray image from rows of values.
std::unique_ptr<Image> grayImage(const std::vector<std::vector<int>> &rows, int depth = 8) {
    auto image = makeImage(int(rows[0].size()), int(rows.size()), depth, icGray);
    for (int y = 0; y < int(rows.size()); ++y)
        for (int x = 0; x < int(rows[y].size()); ++x) {
            if (depth == 8)
                image->line(y)[x] = std::uint8_t(rows[y][x]);
            else
                reinterpret_cast<std::uint16_t *>(image->line(y))[x] = std::uint16_t(rows[y][x]);
        }
    return image;
}

int sampleAt(const Image &image, int x, int y) {
    if (image.header().bytesPerSample() == 2)
        return reinterpret_cast<const std::uint16_t *>(image.line(y))[x];
    return image.line(y)[x];
}

TEST(ImageOperation, NeedsASource) {
    FlipXOperation flip;
    expectError([&] { flip.apply(nullptr); }, "No image loaded", errNoImage);
}

// An operation that only overrides transformLine: complements every byte, and fails at row failAt.
class ComplementRows : public ImageOperation {
  public:
    explicit ComplementRows(int failAt) : failAt_(failAt) {}

  protected:
    void transformLine(std::uint8_t *destination, const std::uint8_t *sourceRow, int y) override {
        if (y == failAt_) throw EImageError("row failed", errUnknown);
        for (int i = 0; i < source().header().bytesPerLine(); ++i)
            destination[i] = std::uint8_t(~sourceRow[i]);
    }

  private:
    int failAt_;
};

TEST(ImageOperation, DefaultLoopBuildsATemplateCopyRowByRow) {
    auto image = makeImage(5, 4, 8, icRGB, 1, 1, 4);
    fillRandom(*image, 20);
    image->header().SetPalette(std::vector<std::uint8_t>(16, 9));
    image->header().SetChannelName(3, "Alpha");
    image->header().SetXResolution(300);
    const std::vector<std::uint8_t> before = bytesOf(*image);

    auto result = ComplementRows(-1).apply(image.get());
    EXPECT_EQ(result->header().GetPalette(), image->header().GetPalette());
    EXPECT_EQ(result->header().GetChannelName(3), "Alpha");
    EXPECT_EQ(result->header().xResolution(), 300);
    for (std::size_t i = 0; i < before.size(); ++i)
        ASSERT_EQ(result->data()[i], std::uint8_t(~before[i]));

    expectError([&] { ComplementRows(2).apply(image.get()); }, "row failed", errUnknown);
    EXPECT_EQ(bytesOf(*image), before); // the source is never touched
}

TEST(CreateImage, FillsRgbWhiteAndOtherModelsWithZero) {
    struct Case {
        int depth, model, byte;
    };
    for (Case c : std::vector<Case>{{8, icRGB, 255},
                                    {16, icRGB, 255},
                                    {8, icGray, 0},
                                    {1, icGray, 0},
                                    {8, icCMYK, 0},
                                    {12, icCMY, 0}}) {
        auto image = CreateImageOperation(5, 3, c.depth, c.model).apply(nullptr);
        EXPECT_EQ(image->header().width(), 5);
        EXPECT_EQ(image->header().colorModel(), c.model);
        EXPECT_FALSE(image->header().hasPalette());
        for (auto b : image->data())
            ASSERT_EQ(b, c.byte) << c.model << " depth " << c.depth;
    }
    expectError([] { CreateImageOperation(5, 3, 1, icRGB).apply(nullptr); },
                "Bit depth of 1 is only supported for Gray images", errInvalidArgument);
    expectError([] { CreateImageOperation(0, 3, 8, icRGB).apply(nullptr); },
                "Image width and height must be 1 or greater", errInvalidArgument);
    expectError([] { CreateImageOperation(100000, 100000, 8, icRGB).apply(nullptr); },
                "Image too large: the pixel buffer would exceed 2147483647 bytes", errInvalidArgument);
}

TEST(Flip, OneBitRowsOfWholeAndPartBytes) {
    // 16 pixels: bytes reversed with their bits, no shift.
    auto sixteen = makeImage(16, 1, 1, icGray);
    sixteen->setAllData(std::vector<std::uint8_t>{0xB0, 0x01});
    EXPECT_EQ(bytesOf(*FlipXOperation().apply(sixteen.get())), (std::vector<std::uint8_t>{0x80, 0x0D}));
    // 10 pixels 1100000001 -> 1000000011: reversed bytes shifted by 6 bits.
    auto ten = makeImage(10, 1, 1, icGray);
    ten->setAllData(std::vector<std::uint8_t>{0xC0, 0x40});
    EXPECT_EQ(bytesOf(*FlipXOperation().apply(ten.get())), (std::vector<std::uint8_t>{0x80, 0xC0}));

    for (int width : {1, 7, 8, 9, 10, 17, 33}) {
        auto image = makeImage(width, 3, 1, icGray);
        fillRandom(*image, width);
        auto flipped = FlipXOperation().apply(image.get());
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < width; ++x)
                ASSERT_EQ(bitAt(*flipped, x, y), bitAt(*image, width - 1 - x, y)) << width;
            if (width % 8) {
                EXPECT_EQ(flipped->line(y)[(width - 1) >> 3] & (0xFF >> (width % 8)), 0); // padding clear
            }
        }
    }
}

TEST(Flip, BytePixelsOfEverySize) {
    struct Case {
        int depth, model, extra, flag, entries;
    };
    for (Case c : std::vector<Case>{{8, icGray, 0, 0, 0},
                                    {8, icRGB, 0, 1, 256},
                                    {16, icGray, 0, 0, 0},
                                    {8, icRGB, 0, 0, 0},
                                    {8, icCMYK, 0, 0, 0},
                                    {16, icRGB, 0, 0, 0},
                                    {16, icCMYK, 0, 0, 0},
                                    {8, icRGB, 2, 0, 0}}) {
        auto image = makeImage(7, 4, c.depth, c.model, c.extra, c.flag, c.entries);
        fillRandom(*image, c.depth + c.model);
        auto x = FlipXOperation().apply(image.get());
        auto y = FlipYOperation().apply(image.get());
        for (int j = 0; j < 4; ++j)
            for (int i = 0; i < 7; ++i) {
                ASSERT_TRUE(samePixel(*x, i, j, *image, 6 - i, j));
                ASSERT_TRUE(samePixel(*y, i, j, *image, i, 3 - j));
            }
        EXPECT_EQ(x->header().GetPalette(), image->header().GetPalette());
    }
}

TEST(Crop, CopiesTheBoxAndRefusesAnyPartOutside) {
    auto image = makeImage(6, 5, 8, icRGB);
    fillRandom(*image, 7);
    EXPECT_EQ(bytesOf(*CropOperation(0, 0, 6, 5).apply(image.get())), bytesOf(*image));
    auto part = CropOperation(2, 1, 3, 4).apply(image.get());
    ASSERT_EQ(part->header().width(), 3);
    ASSERT_EQ(part->header().height(), 4);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_TRUE(samePixel(*part, x, y, *image, x + 2, y + 1));

    struct Box {
        int l, t, w, h;
    };
    for (Box b : std::vector<Box>{{1, 0, 6, 5},
                                  {0, 0, 0, 5},
                                  {0, 0, 6, 0},
                                  {-1, 0, 1, 1},
                                  {0, -1, 1, 1},
                                  {0, 0, -6, 5},
                                  {5, 4, 2, 1},
                                  {INT_MAX, 0, 2, 1}}) {
        SCOPED_TRACE(testing::Message() << b.l << "," << b.t << "," << b.w << "," << b.h);
        expectError([&] { CropOperation(b.l, b.t, b.w, b.h).apply(image.get()); },
                    "Crop box outside image boundary", errOutOfBounds);
    }
}

TEST(Crop, OneBitAtBitOffsets) {
    auto image = makeImage(30, 4, 1, icGray);
    fillRandom(*image, 8);
    for (int left : {0, 3, 8, 13}) {
        auto part = CropOperation(left, 1, 11, 3).apply(image.get());
        for (int y = 0; y < 3; ++y)
            for (int x = 0; x < 11; ++x)
                ASSERT_EQ(bitAt(*part, x, y), bitAt(*image, left + x, y + 1)) << left;
    }
}

TEST(AddBorders, SurroundsWithTheFirstPixel) {
    auto one = makeImage(1, 1, 8, icRGB);
    one->setAllData(std::vector<std::uint8_t>{10, 20, 30});
    auto three = AddBordersOperation(1, 1, 1, 1).apply(one.get());
    ASSERT_EQ(three->header().width(), 3);
    ASSERT_EQ(three->header().height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_TRUE(samePixel(*three, x, y, *one, 0, 0));

    auto image = makeImage(3, 2, 16, icGray);
    fillRandom(*image, 9);
    auto framed = AddBordersOperation(2, 1, 0, 3).apply(image.get());
    ASSERT_EQ(framed->header().width(), 5);
    ASSERT_EQ(framed->header().height(), 6);
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 5; ++x) {
            const bool inside = x >= 2 && y >= 1 && y < 3;
            EXPECT_TRUE(samePixel(*framed, x, y, *image, inside ? x - 2 : 0, inside ? y - 1 : 0))
                << x << "," << y;
        }
    EXPECT_EQ(bytesOf(*AddBordersOperation(0, 0, 0, 0).apply(image.get())), bytesOf(*image));
    for (int k = 0; k < 4; ++k) {
        int b[4] = {0, 0, 0, 0};
        b[k] = -1;
        expectError([&] { AddBordersOperation(b[0], b[1], b[2], b[3]).apply(image.get()); },
                    "Border sizes must not be negative", errInvalidArgument);
    }
    expectError([&] { AddBordersOperation(INT_MAX, 0, INT_MAX, 0).apply(image.get()); },
                "Image too large: the pixel buffer would exceed 2147483647 bytes", errInvalidArgument);
}

TEST(AddBorders, OneBitBordersReplicateTheFirstBit) {
    for (int first : {0, 1}) {
        auto image = makeImage(5, 2, 1, icGray);
        fillRandom(*image, 10);
        image->line(0)[0] = std::uint8_t(first ? image->line(0)[0] | 0x80 : image->line(0)[0] & 0x7F);
        auto framed = AddBordersOperation(3, 1, 6, 2).apply(image.get());
        ASSERT_EQ(framed->header().width(), 14);
        for (int y = 0; y < 5; ++y) {
            for (int x = 0; x < 14; ++x) {
                const bool inside = x >= 3 && x < 8 && y >= 1 && y < 3;
                ASSERT_EQ(bitAt(*framed, x, y), inside ? bitAt(*image, x - 3, y - 1) : first)
                    << x << "," << y;
            }
            EXPECT_EQ(framed->line(y)[1] & 0x03, 0); // padding clear
        }
    }
}

TEST(TileImage, RepeatsFromTheTopLeft) {
    auto image = makeImage(3, 2, 8, icCMYK);
    fillRandom(*image, 11);
    auto twice = TileImageOperation(6, 2).apply(image.get());
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_TRUE(samePixel(*twice, x, y, *image, x % 3, y));
    auto cut = TileImageOperation(7, 5).apply(image.get());
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            EXPECT_TRUE(samePixel(*cut, x, y, *image, x % 3, y % 2));
    for (auto size : std::vector<std::pair<int, int>>{{0, 5}, {-3, 5}, {5, 0}, {5, INT_MIN}})
        expectError([&] { TileImageOperation(size.first, size.second).apply(image.get()); },
                    "Tile cannot have negative size values", errOutOfBounds);
}

TEST(TileImage, OneBitRepeatsBitByBit) {
    auto image = makeImage(10, 3, 1, icGray);
    fillRandom(*image, 12);
    auto tiled = TileImageOperation(25, 7).apply(image.get());
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 25; ++x)
            ASSERT_EQ(bitAt(*tiled, x, y), bitAt(*image, x % 10, y % 3)) << x << "," << y;
}

// ---- Resize ----

TEST(Resize, NearestFollowsTheFormula) {
    struct Case {
        int depth, model, flag, sw, sh, dw, dh;
    };
    for (Case c : std::vector<Case>{{8, icRGB, 0, 7, 5, 15, 11},
                                    {8, icRGB, 0, 15, 11, 4, 3},
                                    {16, icCMYK, 0, 9, 4, 2, 9},
                                    {1, icGray, 0, 13, 6, 29, 4},
                                    {8, icRGB, 1, 5, 5, 12, 2},
                                    {8, icGray, 0, 1, 1, 3, 2}}) {
        SCOPED_TRACE(testing::Message()
                     << c.sw << "x" << c.sh << " -> " << c.dw << "x" << c.dh << " depth " << c.depth);
        auto image = makeImage(c.sw, c.sh, c.depth, c.model, 0, c.flag, c.flag ? 256 : 0);
        fillRandom(*image, c.sw * c.dw);
        auto resized = ResizeOperation(c.dw, c.dh, iiNearest).apply(image.get());
        ASSERT_EQ(resized->header().width(), c.dw);
        ASSERT_EQ(resized->header().height(), c.dh);
        const double sx = double(c.sw) / c.dw, sy = double(c.sh) / c.dh;
        for (int y = 0; y < c.dh; ++y)
            for (int x = 0; x < c.dw; ++x) {
                const int from = std::min(int((x + 0.5) * sx), c.sw - 1),
                          row = std::min(int((y + 0.5) * sy), c.sh - 1);
                if (c.depth == 1)
                    ASSERT_EQ(bitAt(*resized, x, y), bitAt(*image, from, row));
                else
                    ASSERT_TRUE(samePixel(*resized, x, y, *image, from, row));
            }
    }
}

TEST(Resize, BilinearHandComputedCases) {
    struct Case {
        const char *what;
        std::vector<std::vector<int>> source;
        int depth, width, height;
        std::vector<std::vector<int>> expected;
    };
    const std::vector<Case> cases = {
        {"enlarge a row", {{0, 100}}, 8, 4, 1, {{0, 33, 66, 100}}},
        {"enlarge both ways", {{0, 100}, {200, 50}}, 8, 3, 3, {{0, 50, 100}, {100, 87, 75}, {200, 125, 50}}},
        {"reduce by 1.5", {{10, 20, 30, 40, 50, 60}}, 8, 4, 1, {{13, 26, 43, 56}}},
        {"halve", {{10, 20, 30, 41}}, 8, 2, 1, {{15, 35}}},
        {"reduce a column to one", {{10}, {20}, {30}, {41}}, 8, 1, 1, {{25}}},
        {"length 1 kept", {{77}}, 8, 1, 1, {{77}}},
        {"length 1 enlarged", {{77}}, 8, 3, 2, {{77, 77, 77}, {77, 77, 77}}},
        {"16-bit enlarge", {{0, 65535}}, 16, 3, 1, {{0, 32767, 65535}}},
        {"16-bit halve", {{1000, 3001}, {60000, 65535}}, 16, 1, 1, {{32383}}}, // rows first: 2000, 62767
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        auto image = grayImage(c.source, c.depth);
        auto resized = ResizeOperation(c.width, c.height, iiBilinear).apply(image.get());
        ASSERT_EQ(resized->header().width(), c.width);
        ASSERT_EQ(resized->header().height(), c.height);
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x)
                EXPECT_EQ(sampleAt(*resized, x, y), c.expected[y][x]) << x << "," << y;
    }
}

TEST(Resize, BilinearKeepsChannelsApartAndFlatAreasFlat) {
    auto rgb = makeImage(2, 1, 8, icRGB);
    rgb->setAllData(std::vector<std::uint8_t>{0, 10, 200, 100, 20, 0});
    EXPECT_EQ(bytesOf(*ResizeOperation(3, 1, iiBilinear).apply(rgb.get())),
              (std::vector<std::uint8_t>{0, 10, 200, 50, 15, 100, 100, 20, 0}));

    for (int depth : {8, 16}) {
        auto flat = makeImage(10, 7, depth, icRGB, 1);
        std::fill(flat->data().begin(), flat->data().end(), 77);
        for (auto [w, h] : std::vector<std::pair<int, int>>{{23, 11}, {3, 2}, {7, 3}, {1, 1}, {33, 70}}) {
            auto resized = ResizeOperation(w, h, iiBilinear).apply(flat.get());
            for (auto b : resized->data())
                ASSERT_EQ(b, 77) << depth << ": " << w << "x" << h;
        }
    }
}

TEST(Resize, Refusals) {
    auto indexed = makeImage(4, 4, 8, icRGB, 0, 1, 16);
    expectError([&] { ResizeOperation(2, 2, iiBilinear).apply(indexed.get()); },
                "This function does not support interpolation of palette based images", errNotSupported);
    auto bilevel = makeImage(4, 4, 1, icGray);
    expectError([&] { ResizeOperation(2, 2, iiBilinear).apply(bilevel.get()); },
                "This function does not support interpolation of 1 bit images", errNotSupported);
    auto gray = makeImage(4, 4, 8, icGray);
    for (auto size : std::vector<std::pair<int, int>>{{0, 2}, {2, 0}, {-1, 2}})
        for (int mode : {iiNearest, iiBilinear})
            expectError([&] { ResizeOperation(size.first, size.second, mode).apply(gray.get()); },
                        "The new width and height must be 1 or greater", errInvalidArgument);
    expectError([&] { ResizeOperation(2, 2, 2).apply(gray.get()); }, "Unknown interpolation mode",
                errInvalidArgument);
    expectError([&] { ResizeOperation(100000, 100000, iiNearest).apply(gray.get()); },
                "Image too large: the pixel buffer would exceed 2147483647 bytes", errInvalidArgument);
}

// ---- Rotate ----

TEST(Rotate, QuarterTurnsAreExact) {
    auto image = makeImage(3, 2, 8, icRGB);
    fillRandom(*image, 13);
    for (int mode : {iiNearest, iiBilinear}) {
        auto turned = RotateOperation(90, mode).apply(image.get());
        ASSERT_EQ(turned->header().width(), 2);
        ASSERT_EQ(turned->header().height(), 3);
        for (int k = 0; k < 3; ++k)
            for (int j = 0; j < 2; ++j)
                EXPECT_TRUE(samePixel(*turned, j, k, *image, 2 - k, j)); // top row = right column

        auto half = RotateOperation(180, mode).apply(image.get());
        ASSERT_EQ(half->header().width(), 3);
        for (int y = 0; y < 2; ++y)
            for (int x = 0; x < 3; ++x)
                EXPECT_TRUE(samePixel(*half, x, y, *image, 2 - x, 1 - y));

        auto back = RotateOperation(-90, mode).apply(image.get());
        ASSERT_EQ(back->header().width(), 2);
        for (int k = 0; k < 3; ++k)
            for (int j = 0; j < 2; ++j)
                EXPECT_TRUE(samePixel(*back, j, k, *image, k, 1 - j));
    }
}

TEST(Rotate, WholeTurnsAndTinyAnglesChangeNothing) {
    auto image = makeImage(9, 4, 16, icCMYK);
    fillRandom(*image, 14);
    for (double angle : {0.0, 0.000001, -0.000001, 360.0, -360.0, 720.0, 3600.0}) {
        auto same = RotateOperation(angle, iiBilinear).apply(image.get());
        EXPECT_EQ(bytesOf(*same), bytesOf(*image)) << angle;
    }
    // A huge angle is reduced by one remainder and finishes.
    EXPECT_NO_THROW(RotateOperation(1e30, iiNearest).apply(image.get()));
    for (double angle :
         {std::nan(""), std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()})
        expectError([&] { RotateOperation(angle, iiNearest).apply(image.get()); },
                    "The rotation angle must be a finite number", errInvalidArgument);
}

TEST(Rotate, Refusals) {
    auto bilevel = makeImage(4, 4, 1, icGray);
    expectError([&] { RotateOperation(30, iiNearest).apply(bilevel.get()); },
                "This function does not support 1 bit images", errNotSupported);
    auto indexed = makeImage(4, 4, 8, icRGB, 0, 1, 16);
    expectError([&] { RotateOperation(30, iiBilinear).apply(indexed.get()); },
                "This function does not support interpolation of palette based images", errNotSupported);
    EXPECT_NO_THROW(RotateOperation(30, iiNearest).apply(indexed.get()));
    expectError([&] { RotateOperation(30, 5).apply(indexed.get()); }, "Unknown interpolation mode",
                errInvalidArgument);
}

// A gray image of 0 (the fill, from the first pixel) with a 5 × 5 block of 255 centred on (mx, my).
std::unique_ptr<Image> markedImage(int w, int h, int mx, int my) {
    auto image = makeImage(w, h, 8, icGray);
    for (int y = my - 2; y <= my + 2; ++y)
        for (int x = mx - 2; x <= mx + 2; ++x)
            image->line(y)[x] = 255;
    return image;
}

TEST(Rotate, TurnsCounterClockwiseAboutTheCentre) {
    const int w = 60, h = 40, mx = 45, my = 12;
    auto image = markedImage(w, h, mx, my);
    for (double angle : {10.0, 30.0, 44.0, 46.0, 100.0, 170.0, 200.0, 260.0, 300.0, 330.0, -30.0}) {
        for (int mode : {iiNearest, iiBilinear}) {
            SCOPED_TRACE(testing::Message() << angle << " degrees, mode " << mode);
            auto rotated = RotateOperation(angle, mode).apply(image.get());
            const ImageHeader &r = rotated->header();
            const double rad = angle * M_PI / 180, c = std::cos(rad), s = std::sin(rad);
            EXPECT_NEAR(r.width(), std::abs(w * c) + std::abs(h * s), 1.0);
            EXPECT_NEAR(r.height(), std::abs(w * s) + std::abs(h * c), 1.0);
            // Counter-clockwise as displayed, rows growing downwards.
            const double dx = mx + 0.5 - w / 2.0, dy = my + 0.5 - h / 2.0;
            const double ex = r.width() / 2.0 + dx * c + dy * s, ey = r.height() / 2.0 - dx * s + dy * c;
            double sum = 0, sx = 0, sy = 0;
            for (int y = 0; y < r.height(); ++y)
                for (int x = 0; x < r.width(); ++x) {
                    const int v = rotated->line(y)[x];
                    sum += v, sx += v * (x + 0.5), sy += v * (y + 0.5);
                }
            ASSERT_GT(sum, 0);
            EXPECT_NEAR(sx / sum, ex, 1.5);
            EXPECT_NEAR(sy / sum, ey, 1.5);
            EXPECT_NEAR(sum / 255, 25, 4); // the mark keeps its area
        }
    }
}

// Shapes whose quarter-turned block or sheared rows reach beyond the result: nothing may be
// written outside it (ASan), and no part of the image may be lost on the way.
TEST(Rotate, ShapesLargerThanTheResultInBetween) {
    struct Case {
        int w, h;
        double angle;
        int rw, rh;
    };
    for (Case c : std::vector<Case>{{100, 20, 30, 96, 67},
                                    {100, 10, 45, 77, 77},
                                    {10, 100, 45, 77, 77},
                                    {100, 10, 135, 77, 77},
                                    {3, 200, 60, 174, 102}}) {
        for (int depth : {8, 16}) {
            for (int mode : {iiNearest, iiBilinear}) {
                SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " at " << c.angle << ", depth "
                                                << depth << ", mode " << mode);
                auto image = makeImage(c.w, c.h, depth, icRGB);
                std::fill(image->data().begin(), image->data().end(), 200);
                std::fill(image->data().begin(), image->data().begin() + 3 * (depth / 8), 0); // fill colour 0
                auto rotated = RotateOperation(c.angle, mode).apply(image.get());
                EXPECT_EQ(rotated->header().width(), c.rw);
                EXPECT_EQ(rotated->header().height(), c.rh);
                double covered = 0;
                for (int y = 0; y < c.rh; ++y)
                    for (int x = 0; x < c.rw; ++x)
                        covered += sampleAt(*rotated, x * 3, y) / (depth == 8 ? 200.0 : 51400.0);
                EXPECT_NEAR(covered, c.w * c.h, c.w * c.h * 0.05);
            }
        }
    }
}

TEST(Rotate, SmallImagesAtManyAngles) {
    for (auto [w, h] : std::vector<std::pair<int, int>>{{1, 1}, {1, 7}, {7, 1}, {2, 3}, {5, 5}}) {
        auto image = makeImage(w, h, 8, icRGB, 1);
        fillRandom(*image, w * 10 + h);
        for (double angle = -400; angle <= 400; angle += 7.5)
            for (int mode : {iiNearest, iiBilinear}) {
                auto rotated = RotateOperation(angle, mode).apply(image.get());
                EXPECT_GE(rotated->header().width(), 1);
                EXPECT_GE(rotated->header().height(), 1);
                EXPECT_EQ(rotated->header().totalChannels(), 4);
            }
    }
}

} // namespace
} // namespace imaging
