// Image: a private ImageHeader and one pixel buffer of bytesPerLine × height bytes, row 0 first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "imaging/ImageHeader.h"

namespace imaging {

class Image {
  public:
    // Copies the header and allocates a zero-filled pixel buffer; a failed allocation is an
    // EImageError (0x201).
    explicit Image(const ImageHeader &header);
    Image(const Image &) = delete;
    Image &operator=(const Image &) = delete;

    const ImageHeader &header() const { return header_; }
    // Only the setters of the header are reachable here; its layout is fixed by Create.
    ImageHeader &header() { return header_; }

    std::span<const std::uint8_t> data() const { return {pixels_.get(), size_}; }
    std::span<std::uint8_t> data() { return {pixels_.get(), size_}; }
    void setAllData(std::span<const std::uint8_t> bytes); // exactly bytesPerLine × height bytes

    // Row y; bounds failures are EImageError 0x202 and leave the pixels untouched.
    const std::uint8_t *line(int y) const;
    std::uint8_t *line(int y);
    void writeLine(int y, std::span<const std::uint8_t> bytes); // exactly bytesPerLine bytes

    // Column x top to bottom, storedPixelBytes per pixel (1-bit: packed, most significant first).
    std::vector<std::uint8_t> readColumn(int x) const;
    void writeColumn(int x, std::span<const std::uint8_t> bytes);

    // h rows of w pixels, each row rectRowBytes(w) bytes; 1-bit rows start at bit 0.
    int rectRowBytes(int w) const;
    std::vector<std::uint8_t> readRect(int x, int y, int w, int h) const;
    void writeRect(std::span<const std::uint8_t> bytes, int x, int y, int w, int h);

  private:
    struct ReleasePixels {
        std::size_t size;
        void operator()(std::uint8_t *p) const;
    };

    ImageHeader header_;
    std::unique_ptr<std::uint8_t[], ReleasePixels> pixels_;
    std::size_t size_ = 0;
};

} // namespace imaging
