// The vrnImaging2 class through its vtable, loaded from the registered module.
#include "ComTestSupport.h"
#include "ForeignSource.h"

#include "imaging/HeaderSerialization.h"

#include <dlfcn.h>
#include <fstream>
#include <functional>

using Bytes = std::vector<std::uint8_t>;

namespace {

LONG width(const Imaging& img) {
    LONG w = -1;
    img->get_ImageWidth(&w);
    return w;
}

LONG height(const Imaging& img) {
    LONG h = -1;
    img->get_ImageHeight(&h);
    return h;
}

Bytes scanLine(const Imaging& img, LONG line) {
    com::Variant data;
    EXPECT_EQ(img->ReadScanLine(line, &data), S_OK);
    return bytesIn(data);
}

void writeLine(const Imaging& img, LONG line, Bytes bytes) {
    com::Variant data;
    static_cast<VARIANT&>(data) = byteArray(std::move(bytes));
    EXPECT_EQ(img->WriteScanLine(line, data), S_OK);
}

std::string fileText(const std::string& path) {
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace

using Registration = RegisteredComponent;

TEST_F(Registration, WritesExactlyTheListedEntriesAndUnregistrationRemovesThem) {
    std::string module = std::filesystem::canonical(IMAGING_MODULE).string();
    std::string dir = std::filesystem::path(module).parent_path().string();
    auto quoted = [](std::string s) {
        std::string out;
        for (char c : s) out += (c == '\\' || c == '"') ? std::string("\\") + c : std::string(1, c);
        return out;
    };
    const std::string clsid = "{2A0F8FD6-CEA6-4C25-911E-F39CED2466D8}";
    const std::string libid = "{502D8DE3-E00E-427B-945D-2295CBA06AB1}";
    EXPECT_EQ(fileText(folder + "/registry"),
              "[CLSID]\n"
              "[CLSID\\" + clsid + "]\n@=\"vrnImaging2 Class\"\n"
              "[CLSID\\" + clsid + "\\InprocServer32]\n@=\"" + quoted(module) + "\"\n\"ThreadingModel\"=\"Apartment\"\n"
              "[CLSID\\" + clsid + "\\ProgID]\n@=\"VrnImagingCom2.vrnImaging2.1\"\n"
              "[CLSID\\" + clsid + "\\Programmable]\n"
              "[CLSID\\" + clsid + "\\TypeLib]\n@=\"" + libid + "\"\n"
              "[CLSID\\" + clsid + "\\VersionIndependentProgID]\n@=\"VrnImagingCom2.vrnImaging2\"\n"
              "[TypeLib]\n"
              "[TypeLib\\" + libid + "]\n"
              "[TypeLib\\" + libid + "\\1.0]\n@=\"vrnImagingCom2 1.0 Type Library\"\n"
              "[TypeLib\\" + libid + "\\1.0\\409]\n"
              "[TypeLib\\" + libid + "\\1.0\\409\\linux]\n@=\"" + quoted(module) + "\"\n"
              "[TypeLib\\" + libid + "\\1.0\\FLAGS]\n@=\"0\"\n"
              "[TypeLib\\" + libid + "\\1.0\\HELPDIR]\n@=\"" + quoted(dir) + "\"\n"
              "[VrnImagingCom2.vrnImaging2]\n@=\"vrnImaging2 Class\"\n"
              "[VrnImagingCom2.vrnImaging2\\CLSID]\n@=\"" + clsid + "\"\n"
              "[VrnImagingCom2.vrnImaging2\\CurVer]\n@=\"VrnImagingCom2.vrnImaging2.1\"\n"
              "[VrnImagingCom2.vrnImaging2.1]\n@=\"vrnImaging2 Class\"\n"
              "[VrnImagingCom2.vrnImaging2.1\\CLSID]\n@=\"" + clsid + "\"\n");

    ASSERT_EQ(com::register_module(IMAGING_MODULE, true, nullptr), S_OK);
    EXPECT_EQ(fileText(folder + "/registry"), "[CLSID]\n[TypeLib]\n");  // the roots stay
}

using Class = RegisteredComponent;

TEST_F(Class, AFreshObjectHasNoImage) {
    Imaging img;
    LONG has = -1, value = 0;
    EXPECT_EQ(img->HasImage(&has), S_OK);
    EXPECT_EQ(has, 0);
    EXPECT_EQ(failure(img->get_ImageWidth(&value)), "0x80040206 No image loaded");
    EXPECT_EQ(failure(img->FlipX()), "0x80040206 No image loaded");
    com::Variant data;
    EXPECT_EQ(failure(img->ReadScanLine(0, &data)), "0x80040206 No image loaded");
    EXPECT_EQ(data.vt, VT_EMPTY);
}

TEST_F(Class, CreateImageAndTheProperties) {
    Imaging img;
    ASSERT_EQ(img->CreateImage(640, 480, 8, imaging::icRGB), S_OK);
    LONG has = 0, depth = 0, palette = -1, entries = -1, colors = 0, process = 0;
    LONG model = imaging::icGray;
    img->HasImage(&has);
    img->get_PixelBitDepth(&depth);
    img->get_ImageColorModel(&model);
    img->get_HasPalette(&palette);
    img->get_PaletteEntries(&entries);
    img->get_ColorsPerPixel(&colors);
    img->get_ProcessColorCount(&process);
    EXPECT_EQ(has, 1);
    EXPECT_EQ(width(img), 640);
    EXPECT_EQ(height(img), 480);
    EXPECT_EQ(depth, 8);
    EXPECT_EQ(model, imaging::icRGB);
    EXPECT_EQ(palette, 0);
    EXPECT_EQ(entries, 0);
    EXPECT_EQ(colors, 3);
    EXPECT_EQ(process, 3);
    EXPECT_EQ(scanLine(img, 0).size(), 640u * 3);

    // Compression and resolutions are stored as given.
    LONG compression = imaging::icNone;
    EXPECT_EQ(img->put_Compression(99), S_OK);
    img->get_Compression(&compression);
    EXPECT_EQ(compression, 99);
    double x = 0, y = 0;
    img->put_XResolution(3779.5);
    img->put_YResolution(-1);
    img->get_XResolution(&x);
    img->get_YResolution(&y);
    EXPECT_EQ(x, 3779.5);
    EXPECT_EQ(y, -1);

    // A failed CreateImage keeps the image it had.
    EXPECT_EQ(failure(img->CreateImage(10, 10, 1, imaging::icRGB)),
              "0x80040201 Bit depth of 1 is only supported for Gray images");
    EXPECT_EQ(width(img), 640);
}

TEST_F(Class, ScanLinesRoundTripAndBadArraysGetTheirMessage) {
    Imaging img;
    ASSERT_EQ(img->CreateImage(4, 3, 8, imaging::icGray), S_OK);
    writeLine(img, 1, {1, 2, 3, 255});
    EXPECT_EQ(scanLine(img, 1), (Bytes{1, 2, 3, 255}));
    EXPECT_EQ(scanLine(img, 0), (Bytes{0, 0, 0, 0}));

    com::Variant text;
    text.vt = VT_BSTR;
    text.bstrVal = com::bstr_from_utf8("1234");
    EXPECT_EQ(failure(img->WriteScanLine(0, text)), "0x80040201 Invalid data - byte array required");

    com::Variant goodArray;
    static_cast<VARIANT&>(goodArray) = byteArray({9, 9, 9, 9});
    VARIANT byReference;
    byReference.vt = VT_BYREF | VT_ARRAY | VT_UI1;
    byReference.pparray = &goodArray.parray;
    EXPECT_EQ(failure(img->WriteScanLine(0, byReference)), "0x80040201 Invalid data - byte array required");

    SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
    com::Variant twoDimensional;
    twoDimensional.vt = VT_ARRAY | VT_UI1;
    twoDimensional.parray = SafeArrayCreate(VT_UI1, 2, bounds);
    EXPECT_EQ(failure(img->WriteScanLine(0, twoDimensional)), "0x80040201 Invalid data - one dimensional array required");

    com::Variant lowerBoundOne, tooShort;
    static_cast<VARIANT&>(lowerBoundOne) = byteArray({1, 2, 3, 4}, 1);
    static_cast<VARIANT&>(tooShort) = byteArray({1, 2, 3});
    EXPECT_EQ(failure(img->WriteScanLine(0, lowerBoundOne)),
              "0x80040201 Invalid data length - must be equal to one image line");
    EXPECT_EQ(failure(img->WriteScanLine(0, tooShort)), "0x80040201 Invalid data length - must be equal to one image line");

    EXPECT_EQ(failure(img->WriteScanLine(3, goodArray)), "0x80040202 Writing data outside bounds of image");
    com::Variant data;
    EXPECT_EQ(failure(img->ReadScanLine(-1, &data)), "0x80040202 Reading data outside bounds of image");
    EXPECT_EQ(scanLine(img, 0), (Bytes{0, 0, 0, 0}));  // nothing was written by the failures
}

TEST_F(Class, RectanglesUseTheRowSizeOfTheImage) {
    Imaging bilevel;
    ASSERT_EQ(bilevel->CreateImage(16, 4, 1, imaging::icGray), S_OK);
    writeLine(bilevel, 1, {0xAB, 0xCD});
    com::Variant rect;
    ASSERT_EQ(bilevel->ReadRectangle(0, 10, 0, 2, &rect), S_OK);
    EXPECT_EQ(bytesIn(rect), (Bytes{0, 0, 0xAB, 0xC0}));  // 2 bytes per row, bits past 10 cleared

    Imaging rgb;
    ASSERT_EQ(rgb->CreateImage(3, 3, 8, imaging::icRGB), S_OK);
    com::Variant patch;
    static_cast<VARIANT&>(patch) = byteArray({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    ASSERT_EQ(rgb->WriteRectangle(1, 2, 1, 2, patch), S_OK);
    EXPECT_EQ(scanLine(rgb, 2), (Bytes{255, 255, 255, 7, 8, 9, 10, 11, 12}));
    EXPECT_EQ(failure(rgb->WriteRectangle(1, 2, 1, 1, patch)),
              "0x80040201 Invalid data length - must be equal to the rectangle size");
    EXPECT_EQ(failure(rgb->WriteRectangle(2, 2, 1, 2, patch)), "0x80040202 Writing data outside bounds of image");
    EXPECT_EQ(failure(rgb->WriteRectangle(0, -2, 0, -2, patch)),
              "0x80040201 Invalid data length - must be equal to the rectangle size");
    EXPECT_EQ(failure(rgb->WriteRectangle(0, 0x7FFFFFFF, 0, 0x7FFFFFFF, patch)),
              "0x80040201 Invalid data length - must be equal to the rectangle size");
    com::Variant out;
    EXPECT_EQ(failure(rgb->ReadRectangle(0, 4, 0, 1, &out)), "0x80040202 Reading data outside bounds of image");
}

TEST_F(Class, PalettesNeedAnIndexedImage) {
    Imaging img;
    ASSERT_EQ(img->CreateImage(2, 2, 8, imaging::icGray), S_OK);
    com::Variant out, text;
    text.vt = VT_BSTR;
    EXPECT_EQ(failure(img->ReadPalette(&out)), "0x80040204 Only indexed images can use this method");
    EXPECT_EQ(failure(img->WritePalette(text)), "0x80040204 Only indexed images can use this method");
}

TEST_F(Class, GeometryOperationsReplaceTheImageOnlyOnSuccess) {
    Imaging img;
    ASSERT_EQ(img->CreateImage(3, 2, 8, imaging::icGray), S_OK);
    writeLine(img, 0, {1, 2, 3});
    writeLine(img, 1, {4, 5, 6});

    ASSERT_EQ(img->FlipX(), S_OK);
    EXPECT_EQ(scanLine(img, 0), (Bytes{3, 2, 1}));
    ASSERT_EQ(img->FlipY(), S_OK);
    EXPECT_EQ(scanLine(img, 0), (Bytes{6, 5, 4}));

    EXPECT_EQ(failure(img->Crop(1, 0, 3, 2)), "0x80040202 Crop box outside image boundary");
    EXPECT_EQ(failure(img->TileImage(0, 5)), "0x80040202 Tile cannot have negative size values");
    EXPECT_EQ(width(img), 3);
    EXPECT_EQ(scanLine(img, 0), (Bytes{6, 5, 4}));

    ASSERT_EQ(img->Crop(1, 0, 2, 2), S_OK);
    EXPECT_EQ(scanLine(img, 1), (Bytes{2, 1}));
    ASSERT_EQ(img->AddBorders(1, 0, 0, 1), S_OK);
    EXPECT_EQ(width(img), 3);
    EXPECT_EQ(height(img), 3);
    ASSERT_EQ(img->TileImage(6, 3), S_OK);
    EXPECT_EQ(width(img), 6);
    ASSERT_EQ(img->Resize(3, 6, imaging::iiNearest), S_OK);
    EXPECT_EQ(height(img), 6);
    ASSERT_EQ(img->Rotate(90, imaging::iiNearest), S_OK);
    EXPECT_NEAR(width(img), 6, 1);
    EXPECT_NEAR(height(img), 3, 1);
}

TEST_F(Class, ChannelNamesAndTransparencySettings) {
    Imaging img;
    ASSERT_EQ(img->CreateImage(2, 2, 8, imaging::icRGB), S_OK);
    com::Bstr green("Gr\xC3\xBCn"), back;
    ASSERT_EQ(img->SetChannelName(1, green.get()), S_OK);
    ASSERT_EQ(img->GetChannelName(1, back.out()), S_OK);
    EXPECT_EQ(back.utf8(), "Gr\xC3\xBCn");  // through the ANSI code page and back
    EXPECT_EQ(failure(img->GetChannelName(3, back.out())),
              "0x80040201 The index must not exceed the total number of channels");
    EXPECT_EQ(failure(img->SetChannelName(-1, green.get())), "0x80040201 The index must be greater than 0");

    LONG mode = imaging::itmChannel;
    EXPECT_EQ(failure(img->put_TransparencyMode(imaging::itmColor)),
              "0x80040201 Transparency mode itmIndex is only valid for an Indexed image");
    img->get_TransparencyMode(&mode);
    EXPECT_EQ(mode, imaging::itmNone);
    LONG index = 0;
    EXPECT_EQ(img->put_TransparencyIndex(-5), S_OK);
    EXPECT_EQ(failure(img->put_MaskIndex(0)), "0x80040201 The index must correspond to an extra color plane");
    img->get_MaskIndex(&index);
    EXPECT_EQ(index, -1);
}

TEST_F(Class, CopyFromTakesTheOtherImageThroughTheHiddenMember) {
    Imaging source, copy, empty;
    ASSERT_EQ(source->CreateImage(5, 2, 16, imaging::icCMYK), S_OK);
    source->put_XResolution(100);
    com::Bstr name("Ink");
    source->SetChannelName(3, name.get());
    Bytes row(5 * 4 * 2);
    for (std::size_t i = 0; i < row.size(); ++i) row[i] = static_cast<std::uint8_t>(i * 7);
    writeLine(source, 1, row);

    com::Variant pixels, header;
    ASSERT_EQ(source->_x(&pixels, &header), S_OK);
    EXPECT_EQ(bytesIn(pixels).size(), 2u * 5 * 4 * 2);
    EXPECT_GE(bytesIn(header).size(), 61u);

    ASSERT_EQ(copy->CopyFrom(source.get()), S_OK);
    EXPECT_EQ(scanLine(copy, 1), row);
    double x = 0;
    copy->get_XResolution(&x);
    EXPECT_EQ(x, 100);
    com::Bstr back;
    copy->GetChannelName(3, back.out());
    EXPECT_EQ(back.utf8(), "Black");  // process-colour names follow from the model; they do not travel
    writeLine(copy, 1, Bytes(row.size(), 0));
    EXPECT_EQ(scanLine(source, 1), row);  // a copy, not a share

    // The other object's failure comes back unchanged, and this object keeps its image.
    EXPECT_EQ(failure(copy->CopyFrom(empty.get())), "0x80040206 No image loaded");
    EXPECT_EQ(width(copy), 5);
    EXPECT_EQ(copy->CopyFrom(nullptr), E_POINTER);
}

TEST_F(Class, MembersOfLaterWorkReportNotImplementedAndTouchNothing) {
    Imaging img;
    com::Bstr text("x"), out;
    com::Variant data;
    const std::vector<std::pair<const char*, std::function<HRESULT()>>> members = {
        {"LoadFile", [&] { return img->LoadFile(text.get(), imaging::iffBMP); }},
        {"SaveFile", [&] { return img->SaveFile(text.get(), imaging::iffBMP); }},
        {"LoadRawFile", [&] { return img->LoadRawFile(text.get(), 1, 1, 8, imaging::icGray); }},
        {"ReadRGBRectangle", [&] { return img->ReadRGBRectangle(0, 1, 0, 1, &data); }},
        {"IncreaseColorDepth", [&] { return img->IncreaseColorDepth(16); }},
        {"DecreaseColorDepth", [&] { return img->DecreaseColorDepth(4, imaging::idmNearest); }},
        {"ColorConvert", [&] { return img->ColorConvert(imaging::icCMYK); }},
        {"Negate", [&] { return img->Negate(); }},
        {"AdjustRGB", [&] { return img->AdjustRGB(1, 1, 1); }},
        {"AdjustHSB", [&] { return img->AdjustHSB(1, 1, 1); }},
        {"AdjustBrightnessContrast", [&] { return img->AdjustBrightnessContrast(1, 1); }},
        {"ExpandPalette", [&] { return img->ExpandPalette(); }},
        {"ConvertToPalette", [&] { return img->ConvertToPalette(imaging::idmOrdered); }},
        {"AddChannels", [&] { return img->AddChannels(0, 1); }},
        {"RemoveChannels", [&] { return img->RemoveChannels(0, 1); }},
        {"CopyChannelFrom", [&] { return img->CopyChannelFrom(img.get(), 0, 0); }},
        {"Halftone", [&] { return img->Halftone(1, imaging::idsRound, 45, 60); }},
        {"BlueScreen", [&] { return img->BlueScreen(5); }},
        {"SetChannelMask", [&] { return img->SetChannelMask(1, 0); }},
        {"BitBlt", [&] { return img->BitBlt(img.get(), 0, 0, 1, 1, 0, 0); }},
        {"AdjustCMYK", [&] { return img->AdjustCMYK(1, 1, 1, 1); }},
        {"AdjustHiMidLo", [&] { return img->AdjustHiMidLo(1, 1, 1); }},
        {"Posterize", [&] { return img->Posterize(4); }},
        {"SetAncillaryParameter", [&] { return img->SetAncillaryParameter(text.get(), text.get()); }},
        {"GetAncillaryParameter", [&] { return img->GetAncillaryParameter(text.get(), out.out()); }},
        {"SpecialCommand", [&] { return img->SpecialCommand(text.get(), out.out()); }},
        {"SetSpecialColor", [&] { return img->SetSpecialColor(imaging::iscMask, &data); }},
        {"Equalize", [&] { return img->Equalize(); }},
        {"Stretch", [&] { return img->Stretch(); }},
        {"Threshold", [&] { return img->Threshold(0.5f); }},
        {"Colorize", [&] { return img->Colorize(); }},
    };
    for (bool withImage : {false, true}) {
        if (withImage) {
            ASSERT_EQ(img->CreateImage(2, 1, 8, imaging::icGray), S_OK);
            writeLine(img, 0, {7, 8});
        }
        for (const auto& [name, call] : members) {
            EXPECT_EQ(failure(call()), "0x80040200 Not implemented") << name;
            if (withImage) {
                EXPECT_EQ(scanLine(img, 0), (Bytes{7, 8})) << name;
            }
        }
    }
}

TEST_F(Class, TheModuleUnloadsWhenTheLastObjectGoes) {
    auto loaded = [] {
        void* handle = dlopen(IMAGING_MODULE, RTLD_NOW | RTLD_NOLOAD);
        if (handle) dlclose(handle);
        return handle != nullptr;
    };
    {
        Imaging img;
        img->CreateImage(1, 1, 8, imaging::icGray);
        CoFreeUnusedLibraries();
        EXPECT_TRUE(loaded());
    }
    CoFreeUnusedLibraries();
    EXPECT_FALSE(loaded());
}

namespace {

// The serialized header of an indexed 8-bit RGB image of 2 x 2 pixels with 4 palette entries.
VARIANT indexedHeader() {
    imaging::ImageHeader header = imaging::ImageHeader::Create(nullptr, 2, 2, 8, imaging::icRGB, 1, 4, 0);
    Bytes palette(12);
    for (std::size_t i = 0; i < palette.size(); ++i) palette[i] = static_cast<std::uint8_t>(10 * i);
    header.SetPalette(palette);
    return byteArray(imaging::serializeHeader(header));
}

} // namespace

TEST_F(Class, PalettesOfAnIndexedImageCopiedFromAnotherObject) {
    ForeignSource source(byteArray({0, 1, 2, 3}), indexedHeader());
    Imaging img;
    ASSERT_EQ(img->CopyFrom(&source), S_OK);
    EXPECT_EQ(source.refs, 1u);  // the interface taken from it was released
    LONG palette = 0, entries = 0;
    img->get_HasPalette(&palette);
    img->get_PaletteEntries(&entries);
    EXPECT_EQ(palette, 1);
    EXPECT_EQ(entries, 4);
    EXPECT_EQ(scanLine(img, 1), (Bytes{2, 3}));  // one index byte per pixel

    com::Variant read;
    ASSERT_EQ(img->ReadPalette(&read), S_OK);
    EXPECT_EQ(bytesIn(read), (Bytes{0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110}));

    com::Variant shorter, text, entry;
    static_cast<VARIANT&>(shorter) = byteArray(Bytes(11, 1));
    text.vt = VT_BSTR;
    EXPECT_EQ(failure(img->WritePalette(shorter)), "0x80040201 Invalid data length - must be equal to the palette size");
    EXPECT_EQ(failure(img->WritePalette(text)), "0x80040201 Invalid data - byte array required");
    static_cast<VARIANT&>(entry) = byteArray(Bytes(12, 7));
    ASSERT_EQ(img->WritePalette(entry), S_OK);
    com::Variant again;
    img->ReadPalette(&again);
    EXPECT_EQ(bytesIn(again), Bytes(12, 7));
}

TEST_F(Class, MalformedBytesFromAnotherObjectLeaveTheImageAsItWas) {
    Imaging img;
    ASSERT_EQ(img->CreateImage(3, 1, 8, imaging::icGray), S_OK);
    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = com::bstr_from_utf8("not bytes");

    ForeignSource notBytes(text, indexedHeader());
    EXPECT_EQ(failure(img->CopyFrom(&notBytes)), "0x80040201 Invalid data - byte array required");
    ForeignSource wrongCount(byteArray({0, 1, 2}), indexedHeader());
    EXPECT_EQ(failure(img->CopyFrom(&wrongCount)), "0x80040201 Invalid data length - expected 4 bytes");
    VARIANT header = indexedHeader();
    header.parray->rgsabound[0].cElements = 20;  // cut short inside the palette
    ForeignSource truncated(byteArray({0, 1, 2, 3}), header);
    EXPECT_EQ(failure(img->CopyFrom(&truncated)).substr(0, 10), "0x80040201");
    EXPECT_EQ(width(img), 3);
}
