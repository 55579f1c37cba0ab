#include "vrnImaging2.h"

#include "ByteArrays.h"
#include "ErrorProtocol.h"
#include "TypeLibrary.h"
#include "vrnImagingGuids.h"

#include "com/bstr.h"
#include "com/dispatch.h"
#include "cp1252.h"
#include "imaging/EImageError.h"
#include "imaging/GeometryOperations.h"
#include "imaging/HeaderSerialization.h"

using imaging::EImageError;
using imaging::Image;

namespace {

template <class Operation, class... Args>
std::unique_ptr<Image> run(const Image* source, Args... args) {
    Operation operation(args...);
    return operation.apply(source);
}

} // namespace

vrnImaging2::vrnImaging2(com::ModuleUsage& module) : module_(module) { module_.add_object(); }

vrnImaging2::~vrnImaging2() { module_.remove_object(); }

HRESULT vrnImaging2::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IvrnImaging2) {
        *object = static_cast<IvrnImaging2*>(this);
    } else if (riid == IID_ISupportErrorInfo) {
        *object = static_cast<ISupportErrorInfo*>(this);
    } else {
        *object = nullptr;
        return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
}

ULONG vrnImaging2::AddRef() { return refs_.add(); }

ULONG vrnImaging2::Release() {
    ULONG n = refs_.release();
    if (n == 0) delete this;
    return n;
}

HRESULT vrnImaging2::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 0;  // type information is read from the registered type library instead
    return S_OK;
}

HRESULT vrnImaging2::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
    if (info) *info = nullptr;
    return E_NOTIMPL;
}

HRESULT vrnImaging2::GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    return DispGetIDsOfNames(IvrnImaging2Info(), names, count, ids);
}

HRESULT vrnImaging2::Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                            EXCEPINFO* exception, UINT* argError) {
    return DispInvoke(static_cast<IvrnImaging2*>(this), IvrnImaging2Info(), id, flags, params, result, exception,
                      argError);
}

HRESULT vrnImaging2::InterfaceSupportsErrorInfo(REFIID riid) { return riid == IID_IvrnImaging2 ? S_OK : S_FALSE; }

Image& vrnImaging2::image() {
    if (!image_) throw EImageError("No image loaded", imaging::errNoImage);
    return *image_;
}

void vrnImaging2::replaceImage(std::unique_ptr<Image> result) { image_ = std::move(result); }

// --- Image state and properties -------------------------------------------------------------

HRESULT vrnImaging2::HasImage(LONG* hasImage) {
    if (!hasImage) return E_POINTER;
    *hasImage = image_ ? 1 : 0;
    return S_OK;
}

HRESULT vrnImaging2::get_ImageWidth(LONG* width) {
    if (!width) return E_POINTER;
    return runMember(kUnknownAccess, [&] { *width = image().header().width(); });
}

HRESULT vrnImaging2::get_ImageHeight(LONG* height) {
    if (!height) return E_POINTER;
    return runMember(kUnknownAccess, [&] { *height = image().header().height(); });
}

HRESULT vrnImaging2::get_PixelBitDepth(LONG* depth) {
    if (!depth) return E_POINTER;
    return runMember(kUnknownAccess, [&] { *depth = image().header().bitDepth(); });
}

HRESULT vrnImaging2::get_ImageColorModel(LONG* model) {
    if (!model) return E_POINTER;
    return runMember(kUnknownAccess, [&] { *model = image().header().colorModel(); });
}

HRESULT vrnImaging2::get_HasPalette(LONG* hasPalette) {
    if (!hasPalette) return E_POINTER;
    return runMember(kUnknownAccess, [&] { *hasPalette = image().header().hasPalette() ? 1 : 0; });
}

HRESULT vrnImaging2::get_PaletteEntries(LONG* entries) {
    if (!entries) return E_POINTER;
    return runMember(kUnknownAccess, [&] { *entries = image().header().paletteEntries(); });
}

HRESULT vrnImaging2::get_Compression(LONG* compression) {
    if (!compression) return E_POINTER;
    return runMember(kUnknownAccess,
                     [&] { *compression = image().header().compression(); });
}

HRESULT vrnImaging2::put_Compression(LONG compression) {
    return runMember(kUnknownAccess, [&] { image().header().SetCompression(compression); });
}

HRESULT vrnImaging2::get_XResolution(DOUBLE* resolution) {
    if (!resolution) return E_POINTER;
    return runMember(kUnknownAccess, [&] { *resolution = image().header().xResolution(); });
}

HRESULT vrnImaging2::put_XResolution(DOUBLE resolution) {
    return runMember(kUnknownAccess, [&] { image().header().SetXResolution(resolution); });
}

HRESULT vrnImaging2::get_YResolution(DOUBLE* resolution) {
    if (!resolution) return E_POINTER;
    return runMember(kUnknownAccess, [&] { *resolution = image().header().yResolution(); });
}

HRESULT vrnImaging2::put_YResolution(DOUBLE resolution) {
    return runMember(kUnknownAccess, [&] { image().header().SetYResolution(resolution); });
}

HRESULT vrnImaging2::get_TransparencyIndex(LONG* index) {
    if (!index) return E_POINTER;
    return runMember(kUnknownAccess, [&] { *index = image().header().transparencyIndex(); });
}

HRESULT vrnImaging2::put_TransparencyIndex(LONG index) {
    return runMember(kUnknownAccess, [&] { image().header().SetTransparencyIndex(index); });
}

HRESULT vrnImaging2::get_TransparencyMode(LONG* mode) {
    if (!mode) return E_POINTER;
    return runMember(kUnknownAccess,
                     [&] { *mode = image().header().transparencyMode(); });
}

HRESULT vrnImaging2::put_TransparencyMode(LONG mode) {
    return runMember(kUnknownAccess, [&] { image().header().SetTransparencyMode(mode); });
}

HRESULT vrnImaging2::get_MaskIndex(LONG* index) {
    if (!index) return E_POINTER;
    return runMember(kUnknownAccess, [&] { *index = image().header().maskIndex(); });
}

HRESULT vrnImaging2::put_MaskIndex(LONG index) {
    return runMember(kUnknownAccess, [&] { image().header().SetMaskIndex(index); });
}

HRESULT vrnImaging2::get_ColorsPerPixel(LONG* count) {
    if (!count) return E_POINTER;
    return runMember(kUnknownAccess, [&] { *count = image().header().totalChannels(); });
}

HRESULT vrnImaging2::get_ProcessColorCount(LONG* count) {
    if (!count) return E_POINTER;
    return runMember(kUnknownAccess, [&] { *count = image().header().processColors(); });
}

HRESULT vrnImaging2::SetChannelName(LONG index, BSTR name) {
    return runMember(kUnknownAccess,
                     [&] { image().header().SetChannelName(index, cp1252::from_utf16(com::bstr_view(name))); });
}

HRESULT vrnImaging2::GetChannelName(LONG index, BSTR* name) {
    if (!name) return E_POINTER;
    *name = nullptr;
    return runMember(kUnknownAccess, [&] {
        std::u16string wide = cp1252::to_utf16(image().header().GetChannelName(index));
        *name = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
        if (!*name) throw EImageError("Not enough memory for the name", imaging::errUnknown);
    });
}

// --- Pixel and palette transfer -------------------------------------------------------------

HRESULT vrnImaging2::ReadScanLine(LONG line, VARIANT* data) {
    if (!data) return E_POINTER;
    VariantInit(data);
    return runMember(kUnknownAccess, [&] {
        Image& img = image();
        makeByteArray({img.line(line), static_cast<std::size_t>(img.header().bytesPerLine())}, data);
    });
}

HRESULT vrnImaging2::WriteScanLine(LONG line, VARIANT data) {
    return runMember(kUnknownAccess, [&] {
        Image& img = image();
        img.writeLine(line, byteArrayOf(data, img.header().bytesPerLine(),
                                        "Invalid data length - must be equal to one image line"));
    });
}

HRESULT vrnImaging2::ReadRectangle(LONG xstart, LONG xlength, LONG ystart, LONG ylength, VARIANT* data) {
    if (!data) return E_POINTER;
    VariantInit(data);
    return runMember(kUnknownAccess,
                     [&] { makeByteArray(image().readRect(xstart, ystart, xlength, ylength), data); });
}

HRESULT vrnImaging2::WriteRectangle(LONG xstart, LONG xlength, LONG ystart, LONG ylength, VARIANT data) {
    return runMember(kUnknownAccess, [&] {
        Image& img = image();
        // The expected count in 64 bits: no product of the two lengths may wrap.
        std::int64_t rowBytes = img.header().storedPixelBytes() == 0
                                    ? (std::int64_t(xlength) + 7) >> 3
                                    : std::int64_t(img.header().storedPixelBytes()) * xlength;
        std::int64_t expected = -1;  // lengths no array can match
        if (rowBytes >= 0 && ylength >= 0 && (rowBytes == 0 || ylength <= INT64_MAX / rowBytes))
            expected = rowBytes * ylength;
        img.writeRect(byteArrayOf(data, expected, "Invalid data length - must be equal to the rectangle size"), xstart,
                      ystart, xlength, ylength);
    });
}

HRESULT vrnImaging2::ReadPalette(VARIANT* data) {
    if (!data) return E_POINTER;
    VariantInit(data);
    return runMember(kUnknownAccess, [&] {
        const imaging::ImageHeader& header = image().header();
        if (!header.hasPalette()) throw EImageError("Only indexed images can use this method", imaging::errNotSupported);
        makeByteArray(header.GetPalette(), data);
    });
}

HRESULT vrnImaging2::WritePalette(VARIANT data) {
    return runMember(kUnknownAccess, [&] {
        imaging::ImageHeader& header = image().header();
        if (!header.hasPalette()) throw EImageError("Only indexed images can use this method", imaging::errNotSupported);
        header.SetPalette(byteArrayOf(data, header.paletteBytes(), "Invalid data length - must be equal to the palette size"));
    });
}

HRESULT vrnImaging2::_x(VARIANT* a, VARIANT* b) {
    if (!a) return E_POINTER;
    if (!b) return E_POINTER;
    VariantInit(a);
    VariantInit(b);
    return runMember(kUnknownAccess, [&] {
        Image& img = image();
        std::vector<std::uint8_t> header = imaging::serializeHeader(img.header());
        makeByteArray(img.data(), a);
        try {
            makeByteArray(header, b);
        } catch (...) {
            VariantClear(a);
            throw;
        }
    });
}

HRESULT vrnImaging2::CopyFrom(IUnknown* other) {
    if (!other) return E_POINTER;
    // Failures of the other object pass through unchanged, with that object's error object.
    IvrnImaging2* source = nullptr;
    HRESULT hr = other->QueryInterface(IID_IvrnImaging2, reinterpret_cast<void**>(&source));
    if (FAILED(hr)) return hr;
    com::Variant pixels, header;
    hr = source->_x(&pixels, &header);
    source->Release();
    if (FAILED(hr)) return hr;
    return runMember(kUnknownAccess, [&] {
        auto copy = std::make_unique<Image>(imaging::deserializeHeader(bytesOf(header)));
        copy->setAllData(bytesOf(pixels));
        replaceImage(std::move(copy));
    });
}

// --- Operations -----------------------------------------------------------------------------

HRESULT vrnImaging2::CreateImage(LONG width, LONG height, LONG bitDepth, LONG colorModel) {
    return runMember(kUnknownAccess, [&] {
        replaceImage(run<imaging::CreateImageOperation>(nullptr, width, height, bitDepth, colorModel));
    });
}

HRESULT vrnImaging2::FlipX() {
    return runMember(kUnknownAccess, [&] { replaceImage(run<imaging::FlipXOperation>(&image())); });
}

HRESULT vrnImaging2::FlipY() {
    return runMember(kUnknownAccess, [&] { replaceImage(run<imaging::FlipYOperation>(&image())); });
}

HRESULT vrnImaging2::Rotate(DOUBLE angle, LONG interpolate) {
    return runMember(kUnknownAccess, [&] {
        replaceImage(run<imaging::RotateOperation>(&image(), angle, interpolate));
    });
}

HRESULT vrnImaging2::Crop(LONG left, LONG top, LONG width, LONG height) {
    return runMember(kUnknownAccess,
                     [&] { replaceImage(run<imaging::CropOperation>(&image(), left, top, width, height)); });
}

HRESULT vrnImaging2::AddBorders(LONG left, LONG top, LONG right, LONG bottom) {
    return runMember(kUnknownAccess,
                     [&] { replaceImage(run<imaging::AddBordersOperation>(&image(), left, top, right, bottom)); });
}

HRESULT vrnImaging2::TileImage(LONG width, LONG height) {
    return runMember(kUnknownAccess, [&] { replaceImage(run<imaging::TileImageOperation>(&image(), width, height)); });
}

HRESULT vrnImaging2::Resize(LONG width, LONG height, LONG interpolate) {
    return runMember(kUnknownAccess, [&] {
        replaceImage(run<imaging::ResizeOperation>(&image(), width, height, interpolate));
    });
}

// --- Members whose work comes with later parts of the component ------------------------------

HRESULT vrnImaging2::LoadFile(BSTR, LONG) { return notImplemented(); }
HRESULT vrnImaging2::SaveFile(BSTR, LONG) { return notImplemented(); }
HRESULT vrnImaging2::LoadRawFile(BSTR, LONG, LONG, LONG, LONG) { return notImplemented(); }
HRESULT vrnImaging2::ReadRGBRectangle(LONG, LONG, LONG, LONG, VARIANT* data) {
    if (data) VariantInit(data);
    return notImplemented();
}
HRESULT vrnImaging2::IncreaseColorDepth(LONG) { return notImplemented(); }
HRESULT vrnImaging2::DecreaseColorDepth(LONG, LONG) { return notImplemented(); }
HRESULT vrnImaging2::ColorConvert(LONG) { return notImplemented(); }
HRESULT vrnImaging2::Negate() { return notImplemented(); }
HRESULT vrnImaging2::AdjustRGB(FLOAT, FLOAT, FLOAT) { return notImplemented(); }
HRESULT vrnImaging2::AdjustHSB(FLOAT, FLOAT, FLOAT) { return notImplemented(); }
HRESULT vrnImaging2::AdjustBrightnessContrast(FLOAT, FLOAT) { return notImplemented(); }
HRESULT vrnImaging2::ExpandPalette() { return notImplemented(); }
HRESULT vrnImaging2::ConvertToPalette(LONG) { return notImplemented(); }
HRESULT vrnImaging2::AddChannels(LONG, LONG) { return notImplemented(); }
HRESULT vrnImaging2::RemoveChannels(LONG, LONG) { return notImplemented(); }
HRESULT vrnImaging2::CopyChannelFrom(IUnknown*, INT, INT) { return notImplemented(); }

// --- Members the component does not implement ------------------------------------------------

HRESULT vrnImaging2::Halftone(LONG, LONG, DOUBLE, DOUBLE) { return notImplemented(); }
HRESULT vrnImaging2::BlueScreen(LONG) { return notImplemented(); }
HRESULT vrnImaging2::SetChannelMask(LONG, LONG) { return notImplemented(); }
HRESULT vrnImaging2::BitBlt(IUnknown*, LONG, LONG, LONG, LONG, LONG, LONG) { return notImplemented(); }
HRESULT vrnImaging2::AdjustCMYK(FLOAT, FLOAT, FLOAT, FLOAT) { return notImplemented(); }
HRESULT vrnImaging2::AdjustHiMidLo(FLOAT, FLOAT, FLOAT) { return notImplemented(); }
HRESULT vrnImaging2::Posterize(LONG) { return notImplemented(); }
HRESULT vrnImaging2::SetAncillaryParameter(BSTR, BSTR) { return notImplemented(); }
HRESULT vrnImaging2::GetAncillaryParameter(BSTR, BSTR* value) {
    if (value) *value = nullptr;
    return notImplemented();
}
HRESULT vrnImaging2::SpecialCommand(BSTR, BSTR* result) {
    if (result) *result = nullptr;
    return notImplemented();
}
HRESULT vrnImaging2::SetSpecialColor(LONG, VARIANT*) { return notImplemented(); }
HRESULT vrnImaging2::Equalize() { return notImplemented(); }
HRESULT vrnImaging2::Stretch() { return notImplemented(); }
HRESULT vrnImaging2::Threshold(FLOAT) { return notImplemented(); }
HRESULT vrnImaging2::Colorize() { return notImplemented(); }
