#include "imaging/ImageHeader.h"

#include "imaging/EImageError.h"

namespace imaging {

namespace {

void refuse(const std::string &message) {
    throw EImageError(message, errInvalidArgument);
}

std::vector<std::string> processNamesOf(vrnImageColorModel model) {
    switch (model) {
    case icGray:
        return {"Gray"};
    case icRGB:
        return {"Red", "Green", "Blue"};
    case icCMY:
        return {"Cyan", "Magenta", "Yellow"};
    case icCMYK:
        return {"Cyan", "Magenta", "Yellow", "Black"};
    }
    return {};
}

} // namespace

ImageHeader ImageHeader::Create(const ImageHeader *templ, int width, int height, int bitDepth, int colorModel,
                                int paletteFlag, int paletteEntries, int extraChannels) {
    if (width < 1 || height < 1) refuse("Image width and height must be 1 or greater");
    if (bitDepth < 1 || bitDepth > 16) refuse("Bit depth must be between 1 and 16");
    if (colorModel < icGray || colorModel > icCMYK) refuse("Unknown color model");
    if (paletteFlag != 0 && paletteFlag != 1) refuse("Palette flag must be 0 or 1");
    if (paletteEntries < 0 || paletteEntries > kMaxPaletteEntries)
        refuse("Palette entries must be between 0 and 65536");
    if (extraChannels < 0 || extraChannels > kMaxExtraChannels)
        refuse("Extra channels must be between 0 and 1024");

    ImageHeader h;
    h.width_ = width;
    h.height_ = height;
    h.bitDepth_ = bitDepth;
    h.colorModel_ = static_cast<vrnImageColorModel>(colorModel);
    h.paletteFlag_ = paletteFlag;
    h.paletteEntries_ = paletteEntries;
    h.extraChannels_ = extraChannels;
    h.processNames_ = processNamesOf(h.colorModel_);
    h.processColors_ = static_cast<int>(h.processNames_.size());
    h.bytesPerSample_ = bitDepth == 1 ? 0 : (bitDepth + 7) / 8;
    h.bytesPerPixel_ = h.bytesPerSample_ * h.totalChannels(); // at most 2 × 1028
    h.storedPixelBytes_ = paletteFlag == 1 ? 1 : h.bytesPerPixel_;
    h.paletteBytes_ = h.bytesPerPixel_ != 0 ? h.bytesPerPixel_ * paletteEntries : paletteEntries;

    // Sizes come from outside: compute them in 64 bits and refuse before anything wraps.
    std::int64_t lineBytes;
    if (paletteFlag == 1)
        lineBytes = width;
    else if (h.bytesPerPixel_ != 0)
        lineBytes = std::int64_t(h.bytesPerPixel_) * width;
    else
        lineBytes = (std::int64_t(width) + 7) >> 3;
    if (lineBytes * height > kMaxPixelBytes)
        refuse("Image too large: the pixel buffer would exceed 2147483647 bytes");
    h.bytesPerLine_ = static_cast<int>(lineBytes);
    h.palette_.assign(h.paletteBytes_, 0);

    if (templ) {
        h.compression_ = templ->compression_;
        h.xResolution_ = templ->xResolution_;
        h.yResolution_ = templ->yResolution_;
        h.resolutionUnit_ = templ->resolutionUnit_;
        h.transparencyMode_ = templ->transparencyMode_;
        h.transparencyIndex_ = templ->transparencyIndex_;
        h.maskIndex_ = templ->maskIndex_;
        if (h.bytesPerPixel_ == templ->bytesPerPixel_ && paletteEntries == templ->paletteEntries_ &&
            paletteEntries != 0)
            h.palette_ = templ->palette_;
        // Transparency by palette index needs a palette: a copy that is not indexed drops it, so
        // that every header keeps to what SetTransparencyMode allows (and reads back serialized).
        if (h.transparencyMode_ == itmColor && !h.hasPalette()) {
            h.transparencyMode_ = itmNone;
            h.transparencyIndex_ = -1;
        }
    }
    // Names the user gave to the process colours survive operations that keep the model.
    if (templ && h.colorModel_ == templ->colorModel_) h.processNames_ = templ->processNames_;
    if (templ && extraChannels == templ->extraChannels_) {
        h.extraNames_ = templ->extraNames_;
    } else {
        for (int k = 0; k < extraChannels; ++k)
            h.extraNames_.push_back("Unknown" + std::to_string(k));
    }
    return h;
}

void ImageHeader::SetPalette(std::span<const std::uint8_t> bytes) {
    if (bytes.size() != palette_.size()) refuse("Palette data must be exactly the palette size");
    palette_.assign(bytes.begin(), bytes.end());
}

void ImageHeader::CopyPalette(const ImageHeader &other) {
    if (!other.hasPalette()) return;
    if (other.palette_.size() != palette_.size()) refuse("Palettes of different sizes cannot be copied");
    palette_ = other.palette_;
}

void ImageHeader::SetTransparencyIndex(int index) {
    transparencyIndex_ = index;
    if (index < 0) return;
    switch (transparencyMode_) {
    case itmNone:
        transparencyIndex_ = -1;
        refuse("Transparency mode is itmNone, the index must be -1");
        break;
    case itmChannel:
        if (index < processColors_ || index >= totalChannels()) {
            transparencyIndex_ = -1;
            refuse("Transparency mode is itmPlane, the index must correspond to an extra color plane");
        }
        break;
    case itmColor:
        if (!hasPalette()) refuse("Transparency mode is itmIndex, this is only valid for an Indexed image");
        if (index >= paletteEntries_)
            refuse("Transparency mode is itmIndex, the TransparencyIndex must be less than the palette size");
        break;
    default:
        break;
    }
}

void ImageHeader::SetTransparencyMode(int mode) {
    transparencyMode_ = mode;
    if (mode == itmColor && !hasPalette()) {
        transparencyMode_ = itmNone;
        refuse("Transparency mode itmIndex is only valid for an Indexed image");
    }
}

void ImageHeader::SetMaskIndex(int index) {
    maskIndex_ = index;
    if (index >= 0 && (index < processColors_ || index >= totalChannels())) {
        maskIndex_ = -1;
        refuse("The index must correspond to an extra color plane");
    }
}

void ImageHeader::checkChannelIndex(int index) const {
    if (index < 0) refuse("The index must be greater than 0");
    if (index >= totalChannels()) refuse("The index must not exceed the total number of channels");
}

void ImageHeader::SetChannelName(int index, const std::string &name) {
    checkChannelIndex(index);
    // Names travel zero-terminated in the serialized header.
    if (name.find('\0') != std::string::npos) refuse("A channel name must not contain a zero character");
    if (index < processColors_)
        processNames_[index] = name;
    else
        extraNames_[index - processColors_] = name;
}

const std::string &ImageHeader::GetChannelName(int index) const {
    checkChannelIndex(index);
    return index < processColors_ ? processNames_[index] : extraNames_[index - processColors_];
}

} // namespace imaging
