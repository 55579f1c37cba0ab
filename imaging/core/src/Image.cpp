#include "imaging/Image.h"

#include <cstring>
#include <new>

#include "BitRows.h"
#include "PixelMemory.h"
#include "imaging/EImageError.h"

namespace imaging {

namespace {

const char *const kReadOutside = "Reading data outside bounds of image";
const char *const kWriteOutside = "Writing data outside bounds of image";

// Each coordinate and size on its own, so that no sum can wrap past a negative value.
bool rectInside(const ImageHeader &h, int x, int y, int w, int hgt) {
    return x >= 0 && y >= 0 && w >= 0 && hgt >= 0 && x <= h.width() - w && y <= h.height() - hgt;
}

void checkLength(std::span<const std::uint8_t> bytes, std::int64_t expected) {
    if (std::int64_t(bytes.size()) != expected)
        throw EImageError("Invalid data length - expected " + std::to_string(expected) + " bytes",
                          errInvalidArgument);
}

} // namespace

void Image::ReleasePixels::operator()(std::uint8_t *p) const {
    freePixels(p, size);
}

Image::Image(const ImageHeader &header)
    : header_(header),
      // The size was checked by ImageHeader::Create.
      pixels_(nullptr, ReleasePixels{static_cast<std::size_t>(header.pixelBytes())}),
      size_(static_cast<std::size_t>(header.pixelBytes())) {
    pixels_.reset(allocatePixels(size_));
    if (!pixels_) throw EImageError("Not enough memory for the image", errInvalidArgument);
}

void Image::setAllData(std::span<const std::uint8_t> bytes) {
    checkLength(bytes, std::int64_t(size_));
    std::memcpy(pixels_.get(), bytes.data(), size_);
}

const std::uint8_t *Image::line(int y) const {
    if (y < 0 || y >= header_.height()) throw EImageError(kReadOutside, errOutOfBounds);
    return pixels_.get() + std::size_t(y) * header_.bytesPerLine();
}

std::uint8_t *Image::line(int y) {
    return const_cast<std::uint8_t *>(static_cast<const Image *>(this)->line(y));
}

void Image::writeLine(int y, std::span<const std::uint8_t> bytes) {
    if (y < 0 || y >= header_.height()) throw EImageError(kWriteOutside, errOutOfBounds);
    checkLength(bytes, header_.bytesPerLine());
    std::memcpy(line(y), bytes.data(), bytes.size());
}

std::vector<std::uint8_t> Image::readColumn(int x) const {
    if (x < 0 || x >= header_.width()) throw EImageError(kReadOutside, errOutOfBounds);
    const int height = header_.height();
    const int px = header_.storedPixelBytes();
    if (px == 0) {
        std::vector<std::uint8_t> column((std::size_t(height) + 7) >> 3, 0);
        for (int y = 0; y < height; ++y)
            bits::set(column.data(), y, bits::get(line(y), x));
        return column;
    }
    std::vector<std::uint8_t> column(std::size_t(height) * px);
    for (int y = 0; y < height; ++y)
        std::memcpy(&column[std::size_t(y) * px], line(y) + std::size_t(x) * px, px);
    return column;
}

void Image::writeColumn(int x, std::span<const std::uint8_t> bytes) {
    if (x < 0 || x >= header_.width()) throw EImageError(kWriteOutside, errOutOfBounds);
    const int px = header_.storedPixelBytes();
    if (px == 0) throw EImageError("1 bit WriteColumn not yet implemented", errOutOfBounds);
    checkLength(bytes, std::int64_t(header_.height()) * px);
    for (int y = 0; y < header_.height(); ++y)
        std::memcpy(line(y) + std::size_t(x) * px, &bytes[std::size_t(y) * px], px);
}

int Image::rectRowBytes(int w) const {
    const int px = header_.storedPixelBytes();
    return px == 0 ? w / 8 + (w % 8 != 0) : px * w; // w ≤ width: at most bytesPerLine
}

std::vector<std::uint8_t> Image::readRect(int x, int y, int w, int h) const {
    if (!rectInside(header_, x, y, w, h)) throw EImageError(kReadOutside, errOutOfBounds);
    const std::size_t rowBytes = rectRowBytes(w);
    std::vector<std::uint8_t> out(rowBytes * h, 0);
    if (out.empty()) return out;
    const int px = header_.storedPixelBytes();
    for (int r = 0; r < h; ++r) {
        std::uint8_t *dst = out.data() + r * rowBytes;
        if (px == 0)
            bits::copy(dst, 0, line(y + r), x, w);
        else
            std::memcpy(dst, line(y + r) + std::size_t(x) * px, rowBytes);
    }
    return out;
}

void Image::writeRect(std::span<const std::uint8_t> bytes, int x, int y, int w, int h) {
    if (!rectInside(header_, x, y, w, h)) throw EImageError(kWriteOutside, errOutOfBounds);
    const std::size_t rowBytes = rectRowBytes(w);
    checkLength(bytes, std::int64_t(rowBytes) * h);
    if (bytes.empty()) return;
    const int px = header_.storedPixelBytes();
    for (int r = 0; r < h; ++r) {
        const std::uint8_t *src = bytes.data() + r * rowBytes;
        if (px == 0)
            bits::copy(line(y + r), x, src, 0, w);
        else
            std::memcpy(line(y + r) + std::size_t(x) * px, src, rowBytes);
    }
}

} // namespace imaging
