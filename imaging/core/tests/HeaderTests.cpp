#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <vector>

#include "TestImages.h"
#include "imaging/HeaderSerialization.h"
#include "imaging/ImageHeader.h"

namespace imaging {
namespace {

using test::expectError;

ImageHeader create(int w, int h, int depth, int model, int flag = 0, int entries = 0, int extra = 0) {
    return ImageHeader::Create(nullptr, w, h, depth, model, flag, entries, extra);
}

TEST(ImageHeader, DerivedFields) {
    struct Case {
        int w, depth, model, flag, entries, extra;
        int processColors, totalChannels, bytesPerSample, bytesPerPixel, storedPixelBytes, bytesPerLine,
            paletteBytes;
    };
    const std::vector<Case> cases = {
        {10, 1, icGray, 0, 0, 0, 1, 1, 0, 0, 0, 2, 0}, // 1-bit: packed rows
        {16, 1, icGray, 0, 0, 0, 1, 1, 0, 0, 0, 2, 0},
        {9, 1, icGray, 1, 2, 0, 1, 1, 0, 0, 1, 9, 2},    // indexed 1-bit: one byte per pixel
        {5, 8, icRGB, 1, 256, 0, 3, 3, 1, 3, 1, 5, 768}, // indexed RGB
        {7, 16, icCMYK, 0, 0, 2, 4, 6, 2, 12, 12, 84, 0},
        {3, 12, icGray, 0, 0, 0, 1, 1, 2, 2, 2, 6, 0},
        {4, 2, icCMY, 0, 0, 0, 3, 3, 1, 3, 3, 12, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << "width " << c.w << " depth " << c.depth << " model " << c.model);
        const ImageHeader h = create(c.w, 3, c.depth, c.model, c.flag, c.entries, c.extra);
        EXPECT_EQ(h.processColors(), c.processColors);
        EXPECT_EQ(h.totalChannels(), c.totalChannels);
        EXPECT_EQ(h.bytesPerSample(), c.bytesPerSample);
        EXPECT_EQ(h.bytesPerPixel(), c.bytesPerPixel);
        EXPECT_EQ(h.storedPixelBytes(), c.storedPixelBytes);
        EXPECT_EQ(h.bytesPerLine(), c.bytesPerLine);
        EXPECT_EQ(h.paletteBytes(), c.paletteBytes);
        EXPECT_EQ(int(h.GetPalette().size()), c.paletteBytes);
        EXPECT_EQ(h.hasPalette(), c.flag == 1);
        EXPECT_EQ(h.whiteFill(), c.model == icRGB);
    }
}

TEST(ImageHeader, NamesAndDefaultsWithoutTemplate) {
    const ImageHeader h = create(2, 2, 8, icCMYK, 0, 0, 2);
    EXPECT_EQ(h.processNames(), (std::vector<std::string>{"Cyan", "Magenta", "Yellow", "Black"}));
    EXPECT_EQ(h.GetChannelName(4), "Unknown0");
    EXPECT_EQ(h.GetChannelName(5), "Unknown1");
    EXPECT_EQ(create(1, 1, 8, icGray).GetChannelName(0), "Gray");
    EXPECT_EQ(create(1, 1, 8, icRGB).processNames(), (std::vector<std::string>{"Red", "Green", "Blue"}));
    EXPECT_EQ(h.compression(), 0);
    EXPECT_EQ(h.xResolution(), 0);
    EXPECT_EQ(h.resolutionUnit(), 0);
    EXPECT_EQ(h.transparencyMode(), itmNone);
    EXPECT_EQ(h.transparencyIndex(), -1);
    EXPECT_EQ(h.maskIndex(), -1);
}

TEST(ImageHeader, TemplateCopiesWhatStillFits) {
    ImageHeader t = create(4, 4, 8, icRGB, 1, 16, 1);
    std::vector<std::uint8_t> palette(t.paletteBytes());
    for (std::size_t i = 0; i < palette.size(); ++i)
        palette[i] = std::uint8_t(i * 7);
    t.SetPalette(palette);
    t.SetCompression(icZipFlate);
    t.SetXResolution(3779.5);
    t.SetYResolution(1000);
    t.SetResolutionUnit(1);
    t.SetTransparencyMode(itmColor);
    t.SetTransparencyIndex(5);
    t.SetChannelName(3, "Alpha");
    t.SetChannelName(0, "R");

    const ImageHeader same = ImageHeader::Create(&t, 9, 2, 8, icRGB, 1, 16, 1);
    EXPECT_EQ(same.GetPalette(), palette);
    EXPECT_EQ(same.compression(), icZipFlate);
    EXPECT_EQ(same.xResolution(), 3779.5);
    EXPECT_EQ(same.yResolution(), 1000);
    EXPECT_EQ(same.resolutionUnit(), 1);
    EXPECT_EQ(same.transparencyMode(), itmColor);
    EXPECT_EQ(same.transparencyIndex(), 5);
    EXPECT_EQ(same.GetChannelName(3), "Alpha");
    EXPECT_EQ(same.GetChannelName(0), "R"); // a renamed process colour survives a geometry change

    // Without a palette, transparency by palette index is dropped.
    const ImageHeader expanded = ImageHeader::Create(&t, 9, 2, 8, icRGB, 0, 0, 1);
    EXPECT_EQ(expanded.transparencyMode(), itmNone);
    EXPECT_EQ(expanded.transparencyIndex(), -1);
    EXPECT_EQ(deserializeHeader(serializeHeader(expanded)).transparencyMode(), itmNone);

    // Different entries, extra channels or model: fresh palette, default names.
    const ImageHeader other = ImageHeader::Create(&t, 9, 2, 8, icCMYK, 1, 8, 2);
    EXPECT_EQ(other.GetPalette(), std::vector<std::uint8_t>(other.paletteBytes(), 0));
    EXPECT_EQ(other.GetChannelName(0), "Cyan");
    EXPECT_EQ(other.GetChannelName(4), "Unknown0");
    EXPECT_EQ(other.compression(), icZipFlate);
}

TEST(ImageHeader, RefusesSizesAndValuesOutOfRange) {
    struct Case {
        int w, h, depth, model, flag, entries, extra;
        const char *message;
    };
    const std::vector<Case> cases = {
        {0, 1, 8, icGray, 0, 0, 0, "Image width and height must be 1 or greater"},
        {1, -1, 8, icGray, 0, 0, 0, "Image width and height must be 1 or greater"},
        {1, 1, 0, icGray, 0, 0, 0, "Bit depth must be between 1 and 16"},
        {1, 1, 17, icGray, 0, 0, 0, "Bit depth must be between 1 and 16"},
        {1, 1, 8, 4, 0, 0, 0, "Unknown color model"},
        {1, 1, 8, -1, 0, 0, 0, "Unknown color model"},
        {1, 1, 8, icGray, 2, 0, 0, "Palette flag must be 0 or 1"},
        {1, 1, 8, icGray, 1, -1, 0, "Palette entries must be between 0 and 65536"},
        {1, 1, 8, icGray, 1, 65537, 0, "Palette entries must be between 0 and 65536"},
        {1, 1, 8, icGray, 0, 0, -1, "Extra channels must be between 0 and 1024"},
        {1, 1, 8, icGray, 0, 0, 1025, "Extra channels must be between 0 and 1024"},
        // Products that wrap a 32-bit size: 65536 × 65536, and 2^31 - 1 pixels of 12 bytes.
        {65536, 65536, 8, icGray, 0, 0, 0, "Image too large: the pixel buffer would exceed 2147483647 bytes"},
        {INT_MAX, 2, 16, icRGB, 0, 0, 0, "Image too large: the pixel buffer would exceed 2147483647 bytes"},
        {46341, 46341, 8, icGray, 0, 0, 0, "Image too large: the pixel buffer would exceed 2147483647 bytes"},
    };
    for (const Case &c : cases)
        expectError([&] { create(c.w, c.h, c.depth, c.model, c.flag, c.entries, c.extra); }, c.message,
                    errInvalidArgument);
    // The largest buffer allowed is accepted (only the header is built here).
    EXPECT_EQ(create(INT_MAX, 1, 8, icGray).pixelBytes(), ImageHeader::kMaxPixelBytes);
}

TEST(ImageHeader, ValidatedSettersReportAndLeaveTheDocumentedValue) {
    const ImageHeader rgbExtra = create(2, 2, 8, icRGB, 0, 0, 2); // channels 3 and 4 are extra
    const ImageHeader indexed = create(2, 2, 8, icRGB, 1, 16, 0);

    struct Case {
        const char *what;
        ImageHeader start;
        std::function<void(ImageHeader &)> act;
        const char *message; // nullptr: accepted
        std::function<int(const ImageHeader &)> read;
        int expected;
    };
    auto index = [](const ImageHeader &h) { return h.transparencyIndex(); };
    auto mode = [](const ImageHeader &h) { return h.transparencyMode(); };
    auto mask = [](const ImageHeader &h) { return h.maskIndex(); };
    auto withMode = [](ImageHeader h, int m) {
        h.SetTransparencyMode(m);
        return h;
    };
    const std::vector<Case> cases = {
        {"negative index, mode none", rgbExtra, [](auto &h) { h.SetTransparencyIndex(-5); }, nullptr, index,
         -5},
        {"negative index, mode color", withMode(indexed, itmColor),
         [](auto &h) { h.SetTransparencyIndex(-5); }, nullptr, index, -5},
        {"index in mode none", rgbExtra, [](auto &h) { h.SetTransparencyIndex(3); },
         "Transparency mode is itmNone, the index must be -1", index, -1},
        {"extra channel in mode channel", withMode(rgbExtra, itmChannel),
         [](auto &h) { h.SetTransparencyIndex(4); }, nullptr, index, 4},
        {"process channel in mode channel", withMode(rgbExtra, itmChannel),
         [](auto &h) { h.SetTransparencyIndex(2); },
         "Transparency mode is itmPlane, the index must correspond to an extra color plane", index, -1},
        {"past the channels in mode channel", withMode(rgbExtra, itmChannel),
         [](auto &h) { h.SetTransparencyIndex(5); },
         "Transparency mode is itmPlane, the index must correspond to an extra color plane", index, -1},
        {"mode color, past the palette", withMode(indexed, itmColor),
         [](auto &h) { h.SetTransparencyIndex(16); },
         "Transparency mode is itmIndex, the TransparencyIndex must be less than the palette size", index,
         16},
        {"mode color, in the palette", withMode(indexed, itmColor),
         [](auto &h) { h.SetTransparencyIndex(15); }, nullptr, index, 15},
        {"unchecked mode value", withMode(rgbExtra, 7), [](auto &h) { h.SetTransparencyIndex(99); }, nullptr,
         index, 99},
        {"mode color on a non-indexed header", rgbExtra, [](auto &h) { h.SetTransparencyMode(itmColor); },
         "Transparency mode itmIndex is only valid for an Indexed image", mode, itmNone},
        {"mode color on an indexed header", indexed, [](auto &h) { h.SetTransparencyMode(itmColor); },
         nullptr, mode, itmColor},
        {"mask on an extra channel", rgbExtra, [](auto &h) { h.SetMaskIndex(3); }, nullptr, mask, 3},
        {"mask on a process channel", rgbExtra, [](auto &h) { h.SetMaskIndex(1); },
         "The index must correspond to an extra color plane", mask, -1},
        {"mask past the channels", rgbExtra, [](auto &h) { h.SetMaskIndex(5); },
         "The index must correspond to an extra color plane", mask, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        ImageHeader h = c.start;
        if (c.message)
            expectError([&] { c.act(h); }, c.message, errInvalidArgument);
        else
            EXPECT_NO_THROW(c.act(h));
        EXPECT_EQ(c.read(h), c.expected);
    }
}

TEST(ImageHeader, ChannelNames) {
    ImageHeader h = create(2, 2, 8, icRGB, 0, 0, 1);
    for (int bad : {-1, INT_MIN}) {
        expectError([&] { h.SetChannelName(bad, "x"); }, "The index must be greater than 0",
                    errInvalidArgument);
        expectError([&] { h.GetChannelName(bad); }, "The index must be greater than 0", errInvalidArgument);
    }
    expectError([&] { h.SetChannelName(4, "x"); }, "The index must not exceed the total number of channels",
                errInvalidArgument);
    expectError([&] { h.GetChannelName(4); }, "The index must not exceed the total number of channels",
                errInvalidArgument);
    expectError([&] { h.SetChannelName(3, std::string("a\0b", 3)); },
                "A channel name must not contain a zero character", errInvalidArgument);
    h.SetChannelName(0, "Rot");
    h.SetChannelName(3, "Alpha");
    EXPECT_EQ(h.GetChannelName(0), "Rot");
    EXPECT_EQ(h.GetChannelName(3), "Alpha");
    EXPECT_EQ(h.extraNames(), std::vector<std::string>{"Alpha"});
}

TEST(ImageHeader, PaletteOperations) {
    ImageHeader h = create(2, 2, 8, icGray, 1, 4, 0);
    expectError([&] { h.SetPalette(std::vector<std::uint8_t>(3)); },
                "Palette data must be exactly the palette size", errInvalidArgument);
    h.SetPalette(std::vector<std::uint8_t>{1, 2, 3, 4});
    ImageHeader other = create(5, 5, 8, icGray, 1, 4, 0);
    other.CopyPalette(h);
    EXPECT_EQ(other.GetPalette(), (std::vector<std::uint8_t>{1, 2, 3, 4}));
    other.CopyPalette(create(1, 1, 8, icGray)); // not indexed: nothing to copy
    EXPECT_EQ(other.GetPalette(), (std::vector<std::uint8_t>{1, 2, 3, 4}));
    ImageHeader bigger = create(1, 1, 8, icGray, 1, 8, 0);
    expectError([&] { bigger.CopyPalette(h); }, "Palettes of different sizes cannot be copied",
                errInvalidArgument);
}

// ---- serialized header ----

void expectSameHeader(const ImageHeader &a, const ImageHeader &b) {
    EXPECT_EQ(a.width(), b.width());
    EXPECT_EQ(a.height(), b.height());
    EXPECT_EQ(a.bitDepth(), b.bitDepth());
    EXPECT_EQ(a.colorModel(), b.colorModel());
    EXPECT_EQ(a.paletteFlag(), b.paletteFlag());
    EXPECT_EQ(a.paletteEntries(), b.paletteEntries());
    EXPECT_EQ(a.extraChannels(), b.extraChannels());
    EXPECT_EQ(a.compression(), b.compression());
    EXPECT_EQ(a.xResolution(), b.xResolution());
    EXPECT_EQ(a.yResolution(), b.yResolution());
    EXPECT_EQ(a.resolutionUnit(), b.resolutionUnit());
    EXPECT_EQ(a.transparencyMode(), b.transparencyMode());
    EXPECT_EQ(a.transparencyIndex(), b.transparencyIndex());
    EXPECT_EQ(a.maskIndex(), b.maskIndex());
    EXPECT_EQ(a.GetPalette(), b.GetPalette());
    EXPECT_EQ(a.extraNames(), b.extraNames());
}

std::vector<ImageHeader> headersToSerialize() {
    std::vector<ImageHeader> headers;
    headers.push_back(create(10, 3, 1, icGray));

    // 16-bit CMYK palette with five extra channels: 18 bytes × 256 entries, beyond 4096 bytes.
    ImageHeader big = create(300, 200, 16, icCMYK, 1, 256, 5);
    std::vector<std::uint8_t> palette(big.paletteBytes());
    for (std::size_t i = 0; i < palette.size(); ++i)
        palette[i] = std::uint8_t(i * 31 + 7);
    big.SetPalette(palette);
    big.SetTransparencyMode(itmColor);
    big.SetTransparencyIndex(255);
    big.SetMaskIndex(6);
    for (int k = 0; k < 5; ++k)
        big.SetChannelName(4 + k, std::string(k * 40, char('a' + k))); // one empty
    headers.push_back(big);

    ImageHeader rgb = create(7, 7, 8, icRGB, 0, 0, 2);
    rgb.SetCompression(icZipFlate);
    rgb.SetXResolution(2834.6456692913384);
    rgb.SetYResolution(-1.5);
    rgb.SetResolutionUnit(0);
    rgb.SetTransparencyMode(itmChannel);
    rgb.SetTransparencyIndex(3);
    rgb.SetMaskIndex(4);
    rgb.SetChannelName(3, "Alpha");
    rgb.SetChannelName(4, "Spot \xE9"); // Windows-1252 bytes travel unchanged
    headers.push_back(rgb);

    // Indexes left behind that their setters would refuse now: a mode changed afterwards, and a
    // refused palette index, which the setter keeps.
    ImageHeader stale = create(3, 3, 8, icRGB, 1, 16, 1);
    stale.SetTransparencyMode(itmChannel);
    stale.SetTransparencyIndex(3);
    stale.SetTransparencyMode(itmNone); // index 3 stays
    headers.push_back(stale);
    stale.SetTransparencyMode(itmColor);
    try {
        stale.SetTransparencyIndex(16);
    } catch (const EImageError &) {
    }
    headers.push_back(stale);
    return headers;
}

TEST(HeaderSerialization, RoundTripsExactlySized) {
    for (const ImageHeader &h : headersToSerialize()) {
        SCOPED_TRACE(testing::Message() << h.width() << " x " << h.height() << " depth " << h.bitDepth());
        const std::vector<std::uint8_t> bytes = serializeHeader(h);
        std::size_t expected = 61 + h.paletteBytes();
        for (const auto &name : h.extraNames())
            expected += name.size() + 1;
        EXPECT_EQ(bytes.size(), expected);
        const ImageHeader back = deserializeHeader(bytes);
        expectSameHeader(h, back);
        EXPECT_EQ(serializeHeader(back), bytes);
    }
    EXPECT_GT(serializeHeader(headersToSerialize()[1]).size(), 4096u);
}

TEST(HeaderSerialization, LayoutOfTheFixedFields) {
    ImageHeader h = create(0x0102, 3, 8, icRGB, 0, 0, 1);
    h.SetResolutionUnit(1);
    h.SetXResolution(1.0);
    const std::vector<std::uint8_t> bytes = serializeHeader(h);
    EXPECT_EQ(bytes[0], 0x02);
    EXPECT_EQ(bytes[1], 0x01);
    EXPECT_EQ(bytes[12], icRGB);
    EXPECT_EQ(bytes[24], 1);    // extra channels
    EXPECT_EQ(bytes[39], 0x3F); // high byte of the double 1.0
    EXPECT_EQ(bytes[48], 1);    // resolution unit
    EXPECT_EQ(bytes[53], 0xFF); // transparency index -1
    EXPECT_EQ(std::string(bytes.begin() + 61, bytes.end() - 1), "Unknown0");
    EXPECT_EQ(bytes.back(), 0);
}

TEST(HeaderSerialization, MalformedBytesAreRefused) {
    const std::vector<std::uint8_t> good = serializeHeader(headersToSerialize()[2]);
    const std::vector<std::uint8_t> indexed = serializeHeader(headersToSerialize()[1]);
    auto put32 = [](std::vector<std::uint8_t> b, std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            b[at + i] = std::uint8_t(v >> (8 * i));
        return b;
    };
    std::vector<std::uint8_t> padded = good; // room enough for the counts to be tested on their own
    padded.resize(70000, 1);
    struct Case {
        const char *what;
        std::vector<std::uint8_t> bytes;
        const char *message;
    };
    const std::vector<Case> cases = {
        {"empty", {}, "Malformed image header: too short"},
        {"60 bytes", std::vector<std::uint8_t>(good.begin(), good.begin() + 60),
         "Malformed image header: too short"},
        {"last name cut", std::vector<std::uint8_t>(good.begin(), good.end() - 1),
         "Malformed image header: channel name without its terminating zero"},
        {"names missing", std::vector<std::uint8_t>(good.begin(), good.begin() + 61),
         "Malformed image header: channel name without its terminating zero"},
        {"palette cut", std::vector<std::uint8_t>(indexed.begin(), indexed.begin() + 1000),
         "Malformed image header: palette too short"},
        {"trailing byte",
         [&] {
             auto b = good;
             b.push_back(0);
             return b;
         }(),
         "Malformed image header: unexpected bytes after the channel names"},
        {"negative width", put32(good, 0, 0xFFFFFFFF), "Image width and height must be 1 or greater"},
        {"huge height", put32(good, 4, 0x7FFFFFFF),
         "Image too large: the pixel buffer would exceed 2147483647 bytes"},
        {"more palette entries than bytes", put32(put32(good, 16, 1), 20, 0x7FFFFFFF),
         "Malformed image header: palette too short"},
        {"more names than bytes", put32(good, 24, 0x40000000),
         "Malformed image header: channel name without its terminating zero"},
        {"palette entries past the limit", put32(put32(padded, 16, 1), 20, 65537),
         "Palette entries must be between 0 and 65536"},
        {"extra channels past the limit", put32(padded, 24, 1025),
         "Extra channels must be between 0 and 1024"},
        {"palette transparency without palette", put32(good, 49, itmColor),
         "Transparency mode itmIndex is only valid for an Indexed image"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        expectError([&] { deserializeHeader(c.bytes); }, c.message, errInvalidArgument);
    }
}

} // namespace
} // namespace imaging
