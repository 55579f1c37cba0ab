// ImageHeader: what an image is (size, samples, colour model, palette, channels, resolution,
// transparency), with every derived field computed once by Create.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "imaging/ImageEnums.h"

namespace imaging {

class ImageHeader {
  public:
    // Limits checked by Create, so that no size computation can wrap and no allocation is absurd.
    static constexpr std::int64_t kMaxPixelBytes = 0x7FFFFFFF; // bytesPerLine × height
    static constexpr int kMaxPaletteEntries = 65536;
    static constexpr int kMaxExtraChannels = 1024;

    // Builds a header from the given values and computes every derived field; see the README for
    // what is copied from the template. Throws EImageError (0x201) for values outside their range
    // and for a pixel buffer larger than kMaxPixelBytes.
    static ImageHeader Create(const ImageHeader *templ, int width, int height, int bitDepth, int colorModel,
                              int paletteFlag, int paletteEntries, int extraChannels);

    int width() const { return width_; }
    int height() const { return height_; }
    int bitDepth() const { return bitDepth_; }
    vrnImageColorModel colorModel() const { return colorModel_; }
    int paletteFlag() const { return paletteFlag_; }
    int paletteEntries() const { return paletteEntries_; }
    int extraChannels() const { return extraChannels_; }
    int processColors() const { return processColors_; }
    int totalChannels() const { return processColors_ + extraChannels_; }
    int bytesPerLine() const { return bytesPerLine_; }
    int bytesPerSample() const { return bytesPerSample_; }     // 0 for 1-bit images
    int bytesPerPixel() const { return bytesPerPixel_; }       // also one palette entry
    int storedPixelBytes() const { return storedPixelBytes_; } // 0 for packed 1-bit rows
    bool hasPalette() const { return paletteFlag_ == 1; }
    int paletteBytes() const { return paletteBytes_; }
    bool whiteFill() const { return colorModel_ == icRGB; }
    std::int64_t pixelBytes() const { return std::int64_t(bytesPerLine_) * height_; }

    const std::vector<std::string> &processNames() const { return processNames_; }
    const std::vector<std::string> &extraNames() const { return extraNames_; }

    int compression() const { return compression_; }
    double xResolution() const { return xResolution_; }
    double yResolution() const { return yResolution_; }
    std::uint8_t resolutionUnit() const { return resolutionUnit_; }
    int transparencyMode() const { return transparencyMode_; }
    int transparencyIndex() const { return transparencyIndex_; }
    int maskIndex() const { return maskIndex_; }

    // Stored as given: these describe how to save, not how pixels are laid out.
    void SetCompression(int compression) { compression_ = compression; }
    void SetXResolution(double r) { xResolution_ = r; }
    void SetYResolution(double r) { yResolution_ = r; }
    void SetResolutionUnit(std::uint8_t unit) { resolutionUnit_ = unit; }

    // Palette of paletteBytes bytes, entries laid out like pixels.
    const std::vector<std::uint8_t> &GetPalette() const { return palette_; }
    void SetPalette(std::span<const std::uint8_t> bytes); // size must equal paletteBytes
    void CopyPalette(const ImageHeader &other);           // when other is indexed and sizes match

    // Validated setters: each stores the value, validates it and throws EImageError (0x201),
    // leaving the documented value behind.
    void SetTransparencyIndex(int index);
    void SetTransparencyMode(int mode);
    void SetMaskIndex(int index);
    void SetChannelName(int index, const std::string &name);
    const std::string &GetChannelName(int index) const;

  private:
    // Restores the transparency and mask indexes exactly as written, see there.
    friend ImageHeader deserializeHeader(std::span<const std::uint8_t> bytes);

    ImageHeader() = default;
    void checkChannelIndex(int index) const;

    int width_ = 0;
    int height_ = 0;
    int bitDepth_ = 0;
    vrnImageColorModel colorModel_ = icGray;
    int paletteFlag_ = 0;
    int paletteEntries_ = 0;
    int extraChannels_ = 0;
    int processColors_ = 1;
    int bytesPerLine_ = 0;
    int bytesPerSample_ = 0;
    int bytesPerPixel_ = 0;
    int storedPixelBytes_ = 0;
    int paletteBytes_ = 0;
    std::vector<std::string> processNames_;
    std::vector<std::string> extraNames_;
    std::vector<std::uint8_t> palette_;
    int compression_ = icNone;
    double xResolution_ = 0;
    double yResolution_ = 0;
    std::uint8_t resolutionUnit_ = 0;
    int transparencyMode_ = itmNone;
    int transparencyIndex_ = -1;
    int maskIndex_ = -1;
};

} // namespace imaging
