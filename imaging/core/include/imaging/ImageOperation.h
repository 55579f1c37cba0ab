// ImageOperation: reads one source Image and builds a new one. The row loop lives here once;
// an operation overrides only the steps it needs.
#pragma once

#include <cstdint>
#include <memory>

#include "imaging/Image.h"

namespace imaging {

class ImageOperation {
  public:
    virtual ~ImageOperation() = default;

    // Runs createDestination, prepare and process, and hands over the result. On an exception the
    // result is discarded and the source is untouched. Operations that need a source throw
    // "No image loaded" (0x206) when given none.
    virtual std::unique_ptr<Image> apply(const Image *source);

  protected:
    // By default an image with a template copy of the source header.
    virtual std::unique_ptr<Image> createDestination();
    virtual void prepare() {}
    // By default transformLine for every row, writing straight into the result's row.
    virtual void process();
    virtual void transformLine(std::uint8_t *destination, const std::uint8_t *sourceRow, int y);

    const Image &source() const;
    Image &result() { return *result_; }

  private:
    const Image *source_ = nullptr;
    std::unique_ptr<Image> result_;
};

} // namespace imaging
