// IvrnImaging2: the dual interface of class vrnImaging2, members in interface (vtable) order.
// DISPIDs are in the type library (TypeLibrary.cpp); property accessors are get_/put_.
// Enumeration parameters (vrnImageColorModel, ...) are LONG: a caller may pass any value, and the
// type library names the enumeration of each.
#pragma once

#include "com/interfaces.h"
#include "com/variant.h"
#include "imaging/ImageEnums.h"  // the values of the enumerations


struct IvrnImaging2 : IDispatch {
    STDMETHOD(LoadFile)(BSTR filename, LONG format) = 0;
    STDMETHOD(SaveFile)(BSTR filename, LONG format) = 0;
    STDMETHOD(HasImage)(LONG* hasImage) = 0;
    STDMETHOD(get_ImageWidth)(LONG* width) = 0;
    STDMETHOD(get_ImageHeight)(LONG* height) = 0;
    STDMETHOD(get_PixelBitDepth)(LONG* depth) = 0;
    STDMETHOD(get_ImageColorModel)(LONG* model) = 0;
    STDMETHOD(get_HasPalette)(LONG* hasPalette) = 0;
    STDMETHOD(get_PaletteEntries)(LONG* entries) = 0;
    STDMETHOD(get_Compression)(LONG* compression) = 0;
    STDMETHOD(put_Compression)(LONG compression) = 0;
    STDMETHOD(ReadScanLine)(LONG line, VARIANT* data) = 0;
    STDMETHOD(WriteScanLine)(LONG line, VARIANT data) = 0;
    STDMETHOD(ReadRectangle)(LONG xstart, LONG xlength, LONG ystart, LONG ylength, VARIANT* data) = 0;
    STDMETHOD(WriteRectangle)(LONG xstart, LONG xlength, LONG ystart, LONG ylength, VARIANT data) = 0;
    STDMETHOD(ReadRGBRectangle)(LONG xstart, LONG xlength, LONG ystart, LONG ylength, VARIANT* data) = 0;
    STDMETHOD(get_XResolution)(DOUBLE* resolution) = 0;
    STDMETHOD(put_XResolution)(DOUBLE resolution) = 0;
    STDMETHOD(get_YResolution)(DOUBLE* resolution) = 0;
    STDMETHOD(put_YResolution)(DOUBLE resolution) = 0;
    STDMETHOD(LoadRawFile)(BSTR filename, LONG width, LONG height, LONG bitDepth, LONG colorModel) = 0;
    STDMETHOD(FlipX)() = 0;
    STDMETHOD(FlipY)() = 0;
    STDMETHOD(Rotate)(DOUBLE angle, LONG interpolate) = 0;
    STDMETHOD(CreateImage)(LONG width, LONG height, LONG bitDepth, LONG colorModel) = 0;
    STDMETHOD(Crop)(LONG left, LONG top, LONG width, LONG height) = 0;
    STDMETHOD(_x)(VARIANT* a, VARIANT* b) = 0;
    STDMETHOD(AddBorders)(LONG left, LONG top, LONG right, LONG bottom) = 0;
    STDMETHOD(IncreaseColorDepth)(LONG depth) = 0;
    STDMETHOD(DecreaseColorDepth)(LONG depth, LONG mode) = 0;
    STDMETHOD(TileImage)(LONG width, LONG height) = 0;
    STDMETHOD(ColorConvert)(LONG model) = 0;
    STDMETHOD(Negate)() = 0;
    STDMETHOD(AdjustRGB)(FLOAT red, FLOAT green, FLOAT blue) = 0;
    STDMETHOD(AdjustHSB)(FLOAT h, FLOAT s, FLOAT b) = 0;
    STDMETHOD(AdjustBrightnessContrast)(FLOAT brightness, FLOAT contrast) = 0;
    STDMETHOD(Resize)(LONG width, LONG height, LONG interpolate) = 0;
    STDMETHOD(ReadPalette)(VARIANT* data) = 0;
    STDMETHOD(WritePalette)(VARIANT data) = 0;
    STDMETHOD(ExpandPalette)() = 0;
    STDMETHOD(get_TransparencyIndex)(LONG* index) = 0;
    STDMETHOD(put_TransparencyIndex)(LONG index) = 0;
    STDMETHOD(get_TransparencyMode)(LONG* mode) = 0;
    STDMETHOD(put_TransparencyMode)(LONG mode) = 0;
    STDMETHOD(get_MaskIndex)(LONG* index) = 0;
    STDMETHOD(put_MaskIndex)(LONG index) = 0;
    STDMETHOD(AddChannels)(LONG after, LONG count) = 0;
    STDMETHOD(get_ColorsPerPixel)(LONG* count) = 0;
    STDMETHOD(get_ProcessColorCount)(LONG* count) = 0;
    STDMETHOD(SetChannelName)(LONG index, BSTR name) = 0;
    STDMETHOD(GetChannelName)(LONG index, BSTR* name) = 0;
    STDMETHOD(ConvertToPalette)(LONG mode) = 0;
    STDMETHOD(RemoveChannels)(LONG after, LONG count) = 0;
    STDMETHOD(CopyFrom)(IUnknown* other) = 0;
    STDMETHOD(CopyChannelFrom)(IUnknown* other, INT srcChannel, INT destChannel) = 0;
    STDMETHOD(Halftone)(LONG depth, LONG shape, DOUBLE angle, DOUBLE frequency) = 0;
    STDMETHOD(BlueScreen)(LONG tolerance) = 0;
    STDMETHOD(SetChannelMask)(LONG add, LONG remove) = 0;
    STDMETHOD(BitBlt)(IUnknown* other, LONG srcX, LONG srcY, LONG srcWidth, LONG srcHeight, LONG destX,
                      LONG destY) = 0;
    STDMETHOD(AdjustCMYK)(FLOAT c, FLOAT m, FLOAT y, FLOAT k) = 0;
    STDMETHOD(AdjustHiMidLo)(FLOAT hi, FLOAT mid, FLOAT low) = 0;
    STDMETHOD(Posterize)(LONG levels) = 0;
    STDMETHOD(SetAncillaryParameter)(BSTR param, BSTR value) = 0;
    STDMETHOD(GetAncillaryParameter)(BSTR param, BSTR* value) = 0;
    STDMETHOD(SpecialCommand)(BSTR command, BSTR* result) = 0;
    STDMETHOD(SetSpecialColor)(LONG type, VARIANT* data) = 0;
    STDMETHOD(Equalize)() = 0;
    STDMETHOD(Stretch)() = 0;
    STDMETHOD(Threshold)(FLOAT t) = 0;
    STDMETHOD(Colorize)() = 0;
};
