#include <gtest/gtest.h>

#include <climits>
#include <numeric>
#include <vector>

#include "TestImages.h"

namespace imaging {
namespace {

using test::bitAt;
using test::expectError;
using test::fillRandom;
using test::makeImage;

const char *const kRead = "Reading data outside bounds of image";
const char *const kWrite = "Writing data outside bounds of image";

TEST(Image, StartsZeroedAndTakesWholeBuffers) {
    auto image = makeImage(3, 2, 8, icRGB);
    EXPECT_EQ(image->data().size(), 18u);
    for (auto b : image->data())
        EXPECT_EQ(b, 0);
    std::vector<std::uint8_t> bytes(18);
    std::iota(bytes.begin(), bytes.end(), 1);
    image->setAllData(bytes);
    EXPECT_EQ(image->line(1)[0], 10);
    expectError([&] { image->setAllData(std::vector<std::uint8_t>(17)); },
                "Invalid data length - expected 18 bytes", errInvalidArgument);
}

TEST(Image, RowBounds) {
    auto image = makeImage(4, 3, 8, icGray);
    const Image &readOnly = *image;
    for (int y : {-1, 3, INT_MIN, INT_MAX}) {
        expectError([&] { readOnly.line(y); }, kRead, errOutOfBounds);
        expectError([&] { image->writeLine(y, std::vector<std::uint8_t>(4)); }, kWrite, errOutOfBounds);
    }
    image->writeLine(2, std::vector<std::uint8_t>{9, 8, 7, 6});
    EXPECT_EQ(readOnly.line(2)[3], 6);
    expectError([&] { image->writeLine(0, std::vector<std::uint8_t>(5)); },
                "Invalid data length - expected 4 bytes", errInvalidArgument);
}

TEST(Image, ColumnsOfBytePixels) {
    auto image = makeImage(5, 4, 16, icRGB);
    fillRandom(*image, 1);
    const std::vector<std::uint8_t> column = image->readColumn(3);
    ASSERT_EQ(column.size(), 4u * 6);
    for (int y = 0; y < 4; ++y)
        EXPECT_TRUE(
            std::equal(column.begin() + y * 6, column.begin() + y * 6 + 6, test::pixelAt(*image, 3, y)));

    std::vector<std::uint8_t> written(24);
    std::iota(written.begin(), written.end(), 100);
    image->writeColumn(0, written);
    EXPECT_EQ(image->readColumn(0), written);
    EXPECT_EQ(image->readColumn(3), column); // neighbours untouched
    for (int x : {-1, 5}) {
        expectError([&] { image->readColumn(x); }, kRead, errOutOfBounds);
        expectError([&] { image->writeColumn(x, written); }, kWrite, errOutOfBounds);
    }
}

TEST(Image, ColumnsOfOneBitPixels) {
    auto image = makeImage(13, 10, 1, icGray);
    fillRandom(*image, 2);
    for (int x : {0, 7, 8, 12}) {
        const std::vector<std::uint8_t> column = image->readColumn(x);
        ASSERT_EQ(column.size(), 2u); // 10 pixels packed
        for (int y = 0; y < 10; ++y)
            EXPECT_EQ((column[y >> 3] >> (7 - (y & 7))) & 1, bitAt(*image, x, y)) << x << "," << y;
        EXPECT_EQ(column[1] & 0x3F, 0); // padding stays clear
    }
    expectError([&] { image->writeColumn(0, std::vector<std::uint8_t>(2)); },
                "1 bit WriteColumn not yet implemented", errOutOfBounds);
}

TEST(Image, RectangleBoundsCheckEachCoordinate) {
    auto image = makeImage(6, 4, 8, icRGB);
    fillRandom(*image, 3);
    const std::vector<std::uint8_t> before(image->data().begin(), image->data().end());
    struct Rect {
        int x, y, w, h;
    };
    // x = -1 with w = 1 sums to 0 and would pass an unsigned x + w test.
    for (Rect r : std::vector<Rect>{{-1, 0, 1, 1},
                                    {0, -1, 1, 1},
                                    {0, 0, -1, 1},
                                    {0, 0, 1, -1},
                                    {1, 0, 6, 1},
                                    {0, 2, 1, 3},
                                    {INT_MAX, 0, 2, 1},
                                    {0, 0, INT_MIN, 1}}) {
        SCOPED_TRACE(testing::Message() << r.x << "," << r.y << "," << r.w << "," << r.h);
        expectError([&] { image->readRect(r.x, r.y, r.w, r.h); }, kRead, errOutOfBounds);
        expectError([&] { image->writeRect(std::vector<std::uint8_t>(3), r.x, r.y, r.w, r.h); }, kWrite,
                    errOutOfBounds);
    }
    EXPECT_TRUE(std::equal(before.begin(), before.end(), image->data().begin()));
    EXPECT_TRUE(image->readRect(6, 4, 0, 0).empty());
}

TEST(Image, RectanglesOfBytePixelsRoundTrip) {
    auto image = makeImage(6, 4, 8, icRGB);
    fillRandom(*image, 4);
    const std::vector<std::uint8_t> rect = image->readRect(2, 1, 3, 2);
    ASSERT_EQ(rect.size(), 18u);
    EXPECT_TRUE(std::equal(rect.begin(), rect.begin() + 9, test::pixelAt(*image, 2, 1)));
    EXPECT_TRUE(std::equal(rect.begin() + 9, rect.end(), test::pixelAt(*image, 2, 2)));
    std::vector<std::uint8_t> patch(18, 0xAB);
    image->writeRect(patch, 3, 2, 3, 2);
    EXPECT_EQ(image->readRect(3, 2, 3, 2), patch);
    EXPECT_EQ(image->line(2)[8], rect[11]); // pixel 2 of row 2 is outside the patch
    expectError([&] { image->writeRect(std::vector<std::uint8_t>(17), 3, 2, 3, 2); },
                "Invalid data length - expected 18 bytes", errInvalidArgument);
}

TEST(Image, OneBitRectanglesAtBitOffsets) {
    auto image = makeImage(21, 3, 1, icGray);
    fillRandom(*image, 5);
    const std::vector<std::uint8_t> rect = image->readRect(3, 1, 10, 2);
    ASSERT_EQ(rect.size(), 4u); // two rows of (10 + 7) >> 3 bytes, starting at bit 0
    for (int r = 0; r < 2; ++r)
        for (int i = 0; i < 10; ++i)
            EXPECT_EQ((rect[r * 2 + (i >> 3)] >> (7 - (i & 7))) & 1, bitAt(*image, 3 + i, 1 + r));

    // Writing at a bit offset changes exactly the rectangle's bits.
    auto copy = makeImage(21, 3, 1, icGray);
    copy->setAllData(image->data());
    const std::vector<std::uint8_t> ones{0xFF, 0xC0, 0xFF, 0xC0};
    copy->writeRect(ones, 5, 0, 10, 2);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 21; ++x) {
            const bool inside = x >= 5 && x < 15 && y < 2;
            EXPECT_EQ(bitAt(*copy, x, y), inside ? 1 : bitAt(*image, x, y)) << x << "," << y;
        }
}

} // namespace
} // namespace imaging
