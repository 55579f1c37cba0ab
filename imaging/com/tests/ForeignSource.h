// Another implementation of IvrnImaging2 whose _x hands out given bytes, standing for a foreign
// object (or one whose image this build cannot make yet, such as an indexed one). Every other
// member answers E_NOTIMPL.
#pragma once

#include "IvrnImaging2.h"
#include "vrnImagingGuids.h"

class ForeignSource final : public IvrnImaging2 {
public:
    // pixels and header are what _x returns (copied each time); the test keeps the object alive.
    ForeignSource(VARIANT pixels, VARIANT header) : pixels_(pixels), header_(header) {}
    ~ForeignSource() {
        VariantClear(&pixels_);
        VariantClear(&header_);
    }

    STDMETHOD(QueryInterface)(REFIID riid, void** object) override {
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_IvrnImaging2) {
            *object = static_cast<IvrnImaging2*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    STDMETHOD_(ULONG, AddRef)() override { return ++refs; }
    STDMETHOD_(ULONG, Release)() override { return --refs; }
    STDMETHOD(GetTypeInfoCount)(UINT*) override { return E_NOTIMPL; }
    STDMETHOD(GetTypeInfo)(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    STDMETHOD(GetIDsOfNames)(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    STDMETHOD(Invoke)(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }
    STDMETHOD(_x)(VARIANT* a, VARIANT* b) override {
        VariantInit(a);
        VariantInit(b);
        VariantCopy(a, &pixels_);
        VariantCopy(b, &header_);
        return S_OK;
    }

    STDMETHOD(LoadFile)(BSTR, LONG) override { return E_NOTIMPL; }
    STDMETHOD(SaveFile)(BSTR, LONG) override { return E_NOTIMPL; }
    STDMETHOD(HasImage)(LONG*) override { return E_NOTIMPL; }
    STDMETHOD(get_ImageWidth)(LONG*) override { return E_NOTIMPL; }
    STDMETHOD(get_ImageHeight)(LONG*) override { return E_NOTIMPL; }
    STDMETHOD(get_PixelBitDepth)(LONG*) override { return E_NOTIMPL; }
    STDMETHOD(get_ImageColorModel)(LONG*) override { return E_NOTIMPL; }
    STDMETHOD(get_HasPalette)(LONG*) override { return E_NOTIMPL; }
    STDMETHOD(get_PaletteEntries)(LONG*) override { return E_NOTIMPL; }
    STDMETHOD(get_Compression)(LONG*) override { return E_NOTIMPL; }
    STDMETHOD(put_Compression)(LONG) override { return E_NOTIMPL; }
    STDMETHOD(ReadScanLine)(LONG, VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(WriteScanLine)(LONG, VARIANT) override { return E_NOTIMPL; }
    STDMETHOD(ReadRectangle)(LONG, LONG, LONG, LONG, VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(WriteRectangle)(LONG, LONG, LONG, LONG, VARIANT) override { return E_NOTIMPL; }
    STDMETHOD(ReadRGBRectangle)(LONG, LONG, LONG, LONG, VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(get_XResolution)(DOUBLE*) override { return E_NOTIMPL; }
    STDMETHOD(put_XResolution)(DOUBLE) override { return E_NOTIMPL; }
    STDMETHOD(get_YResolution)(DOUBLE*) override { return E_NOTIMPL; }
    STDMETHOD(put_YResolution)(DOUBLE) override { return E_NOTIMPL; }
    STDMETHOD(LoadRawFile)(BSTR, LONG, LONG, LONG, LONG) override { return E_NOTIMPL; }
    STDMETHOD(FlipX)() override { return E_NOTIMPL; }
    STDMETHOD(FlipY)() override { return E_NOTIMPL; }
    STDMETHOD(Rotate)(DOUBLE, LONG) override { return E_NOTIMPL; }
    STDMETHOD(CreateImage)(LONG, LONG, LONG, LONG) override { return E_NOTIMPL; }
    STDMETHOD(Crop)(LONG, LONG, LONG, LONG) override { return E_NOTIMPL; }
    STDMETHOD(AddBorders)(LONG, LONG, LONG, LONG) override { return E_NOTIMPL; }
    STDMETHOD(IncreaseColorDepth)(LONG) override { return E_NOTIMPL; }
    STDMETHOD(DecreaseColorDepth)(LONG, LONG) override { return E_NOTIMPL; }
    STDMETHOD(TileImage)(LONG, LONG) override { return E_NOTIMPL; }
    STDMETHOD(ColorConvert)(LONG) override { return E_NOTIMPL; }
    STDMETHOD(Negate)() override { return E_NOTIMPL; }
    STDMETHOD(AdjustRGB)(FLOAT, FLOAT, FLOAT) override { return E_NOTIMPL; }
    STDMETHOD(AdjustHSB)(FLOAT, FLOAT, FLOAT) override { return E_NOTIMPL; }
    STDMETHOD(AdjustBrightnessContrast)(FLOAT, FLOAT) override { return E_NOTIMPL; }
    STDMETHOD(Resize)(LONG, LONG, LONG) override { return E_NOTIMPL; }
    STDMETHOD(ReadPalette)(VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(WritePalette)(VARIANT) override { return E_NOTIMPL; }
    STDMETHOD(ExpandPalette)() override { return E_NOTIMPL; }
    STDMETHOD(get_TransparencyIndex)(LONG*) override { return E_NOTIMPL; }
    STDMETHOD(put_TransparencyIndex)(LONG) override { return E_NOTIMPL; }
    STDMETHOD(get_TransparencyMode)(LONG*) override { return E_NOTIMPL; }
    STDMETHOD(put_TransparencyMode)(LONG) override { return E_NOTIMPL; }
    STDMETHOD(get_MaskIndex)(LONG*) override { return E_NOTIMPL; }
    STDMETHOD(put_MaskIndex)(LONG) override { return E_NOTIMPL; }
    STDMETHOD(AddChannels)(LONG, LONG) override { return E_NOTIMPL; }
    STDMETHOD(get_ColorsPerPixel)(LONG*) override { return E_NOTIMPL; }
    STDMETHOD(get_ProcessColorCount)(LONG*) override { return E_NOTIMPL; }
    STDMETHOD(SetChannelName)(LONG, BSTR) override { return E_NOTIMPL; }
    STDMETHOD(GetChannelName)(LONG, BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(ConvertToPalette)(LONG) override { return E_NOTIMPL; }
    STDMETHOD(RemoveChannels)(LONG, LONG) override { return E_NOTIMPL; }
    STDMETHOD(CopyFrom)(IUnknown*) override { return E_NOTIMPL; }
    STDMETHOD(CopyChannelFrom)(IUnknown*, INT, INT) override { return E_NOTIMPL; }
    STDMETHOD(Halftone)(LONG, LONG, DOUBLE, DOUBLE) override { return E_NOTIMPL; }
    STDMETHOD(BlueScreen)(LONG) override { return E_NOTIMPL; }
    STDMETHOD(SetChannelMask)(LONG, LONG) override { return E_NOTIMPL; }
    STDMETHOD(BitBlt)(IUnknown*, LONG, LONG, LONG, LONG, LONG, LONG) override { return E_NOTIMPL; }
    STDMETHOD(AdjustCMYK)(FLOAT, FLOAT, FLOAT, FLOAT) override { return E_NOTIMPL; }
    STDMETHOD(AdjustHiMidLo)(FLOAT, FLOAT, FLOAT) override { return E_NOTIMPL; }
    STDMETHOD(Posterize)(LONG) override { return E_NOTIMPL; }
    STDMETHOD(SetAncillaryParameter)(BSTR, BSTR) override { return E_NOTIMPL; }
    STDMETHOD(GetAncillaryParameter)(BSTR, BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(SpecialCommand)(BSTR, BSTR*) override { return E_NOTIMPL; }
    STDMETHOD(SetSpecialColor)(LONG, VARIANT*) override { return E_NOTIMPL; }
    STDMETHOD(Equalize)() override { return E_NOTIMPL; }
    STDMETHOD(Stretch)() override { return E_NOTIMPL; }
    STDMETHOD(Threshold)(FLOAT) override { return E_NOTIMPL; }
    STDMETHOD(Colorize)() override { return E_NOTIMPL; }

    ULONG refs = 1;

private:
    VARIANT pixels_;
    VARIANT header_;
};
