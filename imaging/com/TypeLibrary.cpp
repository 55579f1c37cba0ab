#include "TypeLibrary.h"

#include "IvrnImaging2.h"
#include "vrnImagingGuids.h"

namespace {

using com::member;
using I = IvrnImaging2;
constexpr auto Method = com::MemberKind::Method;
constexpr auto Get = com::MemberKind::PropertyGet;
constexpr auto Put = com::MemberKind::PropertyPut;

com::MemberInfo setSpecialColor() {
    com::MemberInfo m = member<&I::SetSpecialColor>("SetSpecialColor", 61, Method, {"type:vrnImageSpecialColor", "data"});
    m.params[1].direction = com::ParamDirection::In;  // [in] VARIANT* data
    return m;
}

const com::InterfaceInfo interfaceInfo{
    "IvrnImaging2",
    IID_IvrnImaging2,
    "IvrnImaging2 Interface",
    true,
    {
        member<&I::LoadFile>("LoadFile", 1, Method, {"filename", "format:vrnImageFileFormat"}),
        member<&I::SaveFile>("SaveFile", 2, Method, {"filename", "format:vrnImageFileFormat"}),
        member<&I::HasImage>("HasImage", 3, Method, {"HasImage"}),
        member<&I::get_ImageWidth>("ImageWidth", 4, Get, {"width"}),
        member<&I::get_ImageHeight>("ImageHeight", 5, Get, {"height"}),
        member<&I::get_PixelBitDepth>("PixelBitDepth", 6, Get, {"depth"}),
        member<&I::get_ImageColorModel>("ImageColorModel", 7, Get, {"model:vrnImageColorModel"}),
        member<&I::get_HasPalette>("HasPalette", 8, Get, {"hasPalette"}),
        member<&I::get_PaletteEntries>("PaletteEntries", 9, Get, {"entries"}),
        member<&I::get_Compression>("Compression", 10, Get, {"compression:vrnImageCompression"}),
        member<&I::put_Compression>("Compression", 10, Put, {"compression:vrnImageCompression"}),
        member<&I::ReadScanLine>("ReadScanLine", 11, Method, {"line", "data"}),
        member<&I::WriteScanLine>("WriteScanLine", 12, Method, {"line", "data"}),
        member<&I::ReadRectangle>("ReadRectangle", 13, Method, {"xstart", "xlength", "ystart", "ylength", "data"}),
        member<&I::WriteRectangle>("WriteRectangle", 14, Method, {"xstart", "xlength", "ystart", "ylength", "data"}),
        member<&I::ReadRGBRectangle>("ReadRGBRectangle", 15, Method,
                                     {"xstart", "xlength", "ystart", "ylength", "data"}),
        member<&I::get_XResolution>("XResolution", 16, Get, {"resolution"}),
        member<&I::put_XResolution>("XResolution", 16, Put, {"resolution"}),
        member<&I::get_YResolution>("YResolution", 17, Get, {"resolution"}),
        member<&I::put_YResolution>("YResolution", 17, Put, {"resolution"}),
        member<&I::LoadRawFile>("LoadRawFile", 18, Method, {"filename", "width", "height", "bitDepth", "colorModel:vrnImageColorModel"}),
        member<&I::FlipX>("FlipX", 19),
        member<&I::FlipY>("FlipY", 20),
        member<&I::Rotate>("Rotate", 21, Method, {"angle", "interpolate:vrnImageInterpolation"}),
        member<&I::CreateImage>("CreateImage", 22, Method, {"width", "height", "bitDepth", "colorModel:vrnImageColorModel"}),
        member<&I::Crop>("Crop", 23, Method, {"left", "top", "width", "height"}),
        member<&I::_x>("_x", 24, Method, {"a", "b"}),
        member<&I::AddBorders>("AddBorders", 25, Method, {"left", "top", "right", "bottom"}),
        member<&I::IncreaseColorDepth>("IncreaseColorDepth", 26, Method, {"depth"}),
        member<&I::DecreaseColorDepth>("DecreaseColorDepth", 27, Method, {"depth", "mode:vrnImageDitherMode"}),
        member<&I::TileImage>("TileImage", 28, Method, {"width", "height"}),
        member<&I::ColorConvert>("ColorConvert", 29, Method, {"model:vrnImageColorModel"}),
        member<&I::Negate>("Negate", 30),
        member<&I::AdjustRGB>("AdjustRGB", 31, Method, {"red", "green", "blue"}),
        member<&I::AdjustHSB>("AdjustHSB", 32, Method, {"h", "s", "b"}),
        member<&I::AdjustBrightnessContrast>("AdjustBrightnessContrast", 33, Method, {"brightness", "contrast"}),
        member<&I::Resize>("Resize", 34, Method, {"width", "height", "interpolate:vrnImageInterpolation"}),
        member<&I::ReadPalette>("ReadPalette", 35, Method, {"data"}),
        member<&I::WritePalette>("WritePalette", 36, Method, {"data"}),
        member<&I::ExpandPalette>("ExpandPalette", 38),
        member<&I::get_TransparencyIndex>("TransparencyIndex", 39, Get, {"index"}),
        member<&I::put_TransparencyIndex>("TransparencyIndex", 39, Put, {"index"}),
        member<&I::get_TransparencyMode>("TransparencyMode", 40, Get, {"mode:vrnImageTransparencyMode"}),
        member<&I::put_TransparencyMode>("TransparencyMode", 40, Put, {"mode:vrnImageTransparencyMode"}),
        member<&I::get_MaskIndex>("MaskIndex", 41, Get, {"index"}),
        member<&I::put_MaskIndex>("MaskIndex", 41, Put, {"index"}),
        member<&I::AddChannels>("AddChannels", 42, Method, {"after", "count"}),
        member<&I::get_ColorsPerPixel>("ColorsPerPixel", 43, Get, {"count"}),
        member<&I::get_ProcessColorCount>("ProcessColorCount", 44, Get, {"count"}),
        member<&I::SetChannelName>("SetChannelName", 45, Method, {"index", "name"}),
        member<&I::GetChannelName>("GetChannelName", 46, Method, {"index", "name"}),
        member<&I::ConvertToPalette>("ConvertToPalette", 47, Method, {"mode:vrnImageDitherMode"}),
        member<&I::RemoveChannels>("RemoveChannels", 48, Method, {"after", "count"}),
        member<&I::CopyFrom>("CopyFrom", 49, Method, {"other"}),
        member<&I::CopyChannelFrom>("CopyChannelFrom", 50, Method, {"other", "srcChannel", "destChannel"}),
        member<&I::Halftone>("Halftone", 51, Method, {"depth", "shape:vrnImageDotShape", "angle", "frequency"}),
        member<&I::BlueScreen>("BlueScreen", 52, Method, {"tolerance"}),
        member<&I::SetChannelMask>("SetChannelMask", 53, Method, {"add", "remove"}),
        member<&I::BitBlt>("BitBlt", 54, Method,
                           {"other", "srcX", "srcY", "srcWidth", "srcHeight", "destX", "destY"}),
        member<&I::AdjustCMYK>("AdjustCMYK", 55, Method, {"c", "m", "y", "k"}),
        member<&I::AdjustHiMidLo>("AdjustHiMidLo", 56, Method, {"hi", "mid", "low"}),
        member<&I::Posterize>("Posterize", 57, Method, {"levels"}),
        member<&I::SetAncillaryParameter>("SetAncillaryParameter", 58, Method, {"param", "value"}),
        member<&I::GetAncillaryParameter>("GetAncillaryParameter", 59, Method, {"param", "value"}),
        member<&I::SpecialCommand>("SpecialCommand", 60, Method, {"command", "result"}),
        setSpecialColor(),
        member<&I::Equalize>("Equalize", 62),
        member<&I::Stretch>("Stretch", 63),
        member<&I::Threshold>("Threshold", 64, Method, {"t"}),
        member<&I::Colorize>("Colorize", 65),
    }};

const com::TypeLibrary library{
    "VRNIMAGINGCOM2Lib",
    LIBID_VRNIMAGINGCOM2Lib,
    1,
    0,
    0x409,
    "vrnImagingCom2 1.0 Type Library",
    {
        {"vrnImageFileFormat", {{"iffRAW", 0}, {"iffBMP", 1}, {"iffTIFF", 2}, {"iffPNG", 3}, {"iffJPG", 4}}},
        {"vrnImageColorModel", {{"icGray", 0}, {"icRGB", 1}, {"icCMY", 2}, {"icCMYK", 3}}},
        {"vrnImageCompression",
         {{"icNone", 0}, {"icRLE", 1}, {"icPackBits", 2}, {"icCCITTGroup3", 3}, {"icCCITTGroup4", 4}, {"icZipFlate", 5}}},
        {"vrnImageInterpolation", {{"iiNearest", 0}, {"iiBilinear", 1}}},
        {"vrnImageDitherMode", {{"idmNearest", 0}, {"idmOrdered", 1}, {"idmFloydSteinberg", 2}}},
        {"vrnImageTransparencyMode", {{"itmNone", 0}, {"itmChannel", 1}, {"itmColor", 2}}},
        {"vrnImageDotShape", {{"idsLine", 0}, {"idsRound", 1}, {"idsSquare", 2}, {"idsEllipse", 3}}},
        {"vrnImageSpecialColor", {{"iscBackground", 0}, {"iscForeground", 1}, {"iscTransparent", 2}, {"iscMask", 3}}},
    },
    {&interfaceInfo},
    {{"vrnImaging2", CLSID_vrnImaging2, "vrnImaging2 Class", &interfaceInfo, nullptr}}};

} // namespace

const com::TypeLibrary& vrnImagingTypeLibrary() { return library; }
const com::InterfaceInfo& IvrnImaging2Info() { return interfaceInfo; }
