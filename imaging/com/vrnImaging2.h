// vrnImaging2: the one creatable class of the component. It holds at most one image; each
// member checks its arguments, runs the operation that does the work and swaps in the result,
// and turns every failure into an HRESULT with an error object.
#pragma once

#include "IvrnImaging2.h"

#include "com/server.h"
#include "imaging/Image.h"

#include <functional>
#include <memory>

class vrnImaging2 final : public IvrnImaging2, public ISupportErrorInfo {
public:
    explicit vrnImaging2(com::ModuleUsage& module);

    // IUnknown
    STDMETHOD(QueryInterface)(REFIID riid, void** object) override;
    STDMETHOD_(ULONG, AddRef)() override;
    STDMETHOD_(ULONG, Release)() override;
    // IDispatch, driven by the type library
    STDMETHOD(GetTypeInfoCount)(UINT* count) override;
    STDMETHOD(GetTypeInfo)(UINT index, LCID lcid, ITypeInfo** info) override;
    STDMETHOD(GetIDsOfNames)(REFIID riid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) override;
    STDMETHOD(Invoke)(DISPID id, REFIID riid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argError) override;
    // ISupportErrorInfo
    STDMETHOD(InterfaceSupportsErrorInfo)(REFIID riid) override;

    // IvrnImaging2
    STDMETHOD(LoadFile)(BSTR filename, LONG format) override;
    STDMETHOD(SaveFile)(BSTR filename, LONG format) override;
    STDMETHOD(HasImage)(LONG* hasImage) override;
    STDMETHOD(get_ImageWidth)(LONG* width) override;
    STDMETHOD(get_ImageHeight)(LONG* height) override;
    STDMETHOD(get_PixelBitDepth)(LONG* depth) override;
    STDMETHOD(get_ImageColorModel)(LONG* model) override;
    STDMETHOD(get_HasPalette)(LONG* hasPalette) override;
    STDMETHOD(get_PaletteEntries)(LONG* entries) override;
    STDMETHOD(get_Compression)(LONG* compression) override;
    STDMETHOD(put_Compression)(LONG compression) override;
    STDMETHOD(ReadScanLine)(LONG line, VARIANT* data) override;
    STDMETHOD(WriteScanLine)(LONG line, VARIANT data) override;
    STDMETHOD(ReadRectangle)(LONG xstart, LONG xlength, LONG ystart, LONG ylength, VARIANT* data) override;
    STDMETHOD(WriteRectangle)(LONG xstart, LONG xlength, LONG ystart, LONG ylength, VARIANT data) override;
    STDMETHOD(ReadRGBRectangle)(LONG xstart, LONG xlength, LONG ystart, LONG ylength, VARIANT* data) override;
    STDMETHOD(get_XResolution)(DOUBLE* resolution) override;
    STDMETHOD(put_XResolution)(DOUBLE resolution) override;
    STDMETHOD(get_YResolution)(DOUBLE* resolution) override;
    STDMETHOD(put_YResolution)(DOUBLE resolution) override;
    STDMETHOD(LoadRawFile)(BSTR filename, LONG width, LONG height, LONG bitDepth, LONG colorModel) override;
    STDMETHOD(FlipX)() override;
    STDMETHOD(FlipY)() override;
    STDMETHOD(Rotate)(DOUBLE angle, LONG interpolate) override;
    STDMETHOD(CreateImage)(LONG width, LONG height, LONG bitDepth, LONG colorModel) override;
    STDMETHOD(Crop)(LONG left, LONG top, LONG width, LONG height) override;
    STDMETHOD(_x)(VARIANT* a, VARIANT* b) override;
    STDMETHOD(AddBorders)(LONG left, LONG top, LONG right, LONG bottom) override;
    STDMETHOD(IncreaseColorDepth)(LONG depth) override;
    STDMETHOD(DecreaseColorDepth)(LONG depth, LONG mode) override;
    STDMETHOD(TileImage)(LONG width, LONG height) override;
    STDMETHOD(ColorConvert)(LONG model) override;
    STDMETHOD(Negate)() override;
    STDMETHOD(AdjustRGB)(FLOAT red, FLOAT green, FLOAT blue) override;
    STDMETHOD(AdjustHSB)(FLOAT h, FLOAT s, FLOAT b) override;
    STDMETHOD(AdjustBrightnessContrast)(FLOAT brightness, FLOAT contrast) override;
    STDMETHOD(Resize)(LONG width, LONG height, LONG interpolate) override;
    STDMETHOD(ReadPalette)(VARIANT* data) override;
    STDMETHOD(WritePalette)(VARIANT data) override;
    STDMETHOD(ExpandPalette)() override;
    STDMETHOD(get_TransparencyIndex)(LONG* index) override;
    STDMETHOD(put_TransparencyIndex)(LONG index) override;
    STDMETHOD(get_TransparencyMode)(LONG* mode) override;
    STDMETHOD(put_TransparencyMode)(LONG mode) override;
    STDMETHOD(get_MaskIndex)(LONG* index) override;
    STDMETHOD(put_MaskIndex)(LONG index) override;
    STDMETHOD(AddChannels)(LONG after, LONG count) override;
    STDMETHOD(get_ColorsPerPixel)(LONG* count) override;
    STDMETHOD(get_ProcessColorCount)(LONG* count) override;
    STDMETHOD(SetChannelName)(LONG index, BSTR name) override;
    STDMETHOD(GetChannelName)(LONG index, BSTR* name) override;
    STDMETHOD(ConvertToPalette)(LONG mode) override;
    STDMETHOD(RemoveChannels)(LONG after, LONG count) override;
    STDMETHOD(CopyFrom)(IUnknown* other) override;
    STDMETHOD(CopyChannelFrom)(IUnknown* other, INT srcChannel, INT destChannel) override;
    STDMETHOD(Halftone)(LONG depth, LONG shape, DOUBLE angle, DOUBLE frequency) override;
    STDMETHOD(BlueScreen)(LONG tolerance) override;
    STDMETHOD(SetChannelMask)(LONG add, LONG remove) override;
    STDMETHOD(BitBlt)(IUnknown* other, LONG srcX, LONG srcY, LONG srcWidth, LONG srcHeight, LONG destX,
                      LONG destY) override;
    STDMETHOD(AdjustCMYK)(FLOAT c, FLOAT m, FLOAT y, FLOAT k) override;
    STDMETHOD(AdjustHiMidLo)(FLOAT hi, FLOAT mid, FLOAT low) override;
    STDMETHOD(Posterize)(LONG levels) override;
    STDMETHOD(SetAncillaryParameter)(BSTR param, BSTR value) override;
    STDMETHOD(GetAncillaryParameter)(BSTR param, BSTR* value) override;
    STDMETHOD(SpecialCommand)(BSTR command, BSTR* result) override;
    STDMETHOD(SetSpecialColor)(LONG type, VARIANT* data) override;
    STDMETHOD(Equalize)() override;
    STDMETHOD(Stretch)() override;
    STDMETHOD(Threshold)(FLOAT t) override;
    STDMETHOD(Colorize)() override;

private:
    ~vrnImaging2();

    // The current image, or "No image loaded" (0x206).
    imaging::Image& image();
    // Runs an operation on the current image (or none) and keeps its result.
    void replaceImage(std::unique_ptr<imaging::Image> result);

    com::ModuleUsage& module_;
    com::RefCount refs_;
    std::unique_ptr<imaging::Image> image_;
};
