// The operations that change the geometry of an image, and CreateImage.
#pragma once

#include "imaging/ImageOperation.h"

namespace imaging {

// A blank image: icRGB filled white (255 in every byte), every other model with 0.
class CreateImageOperation : public ImageOperation {
  public:
    CreateImageOperation(int width, int height, int bitDepth, int colorModel);

  protected:
    std::unique_ptr<Image> createDestination() override;
    void process() override;

  private:
    int width_, height_, bitDepth_, colorModel_;
};

// Mirror left to right.
class FlipXOperation : public ImageOperation {
  protected:
    void transformLine(std::uint8_t *destination, const std::uint8_t *sourceRow, int y) override;
};

// Mirror top to bottom.
class FlipYOperation : public ImageOperation {
  protected:
    void process() override;
};

// The rectangle left, top, width × height; it must lie inside the image (0x202).
class CropOperation : public ImageOperation {
  public:
    CropOperation(int left, int top, int width, int height);

  protected:
    std::unique_ptr<Image> createDestination() override;
    void process() override;

  private:
    int left_, top_, width_, height_;
};

// Borders of the colour of the first pixel; negative sizes are refused (0x201).
class AddBordersOperation : public ImageOperation {
  public:
    AddBordersOperation(int left, int top, int right, int bottom);

  protected:
    std::unique_ptr<Image> createDestination() override;
    void process() override;

  private:
    int left_, top_, right_, bottom_;
};

// An image of the given size covered with copies of the source from the top left.
class TileImageOperation : public ImageOperation {
  public:
    TileImageOperation(int width, int height);

  protected:
    std::unique_ptr<Image> createDestination() override;
    void process() override;

  private:
    int width_, height_;
};

// Scales to width × height (both at least 1), nearest or separable bilinear.
class ResizeOperation : public ImageOperation {
  public:
    ResizeOperation(int width, int height, int interpolate);

  protected:
    std::unique_ptr<Image> createDestination() override;
    void process() override;

  private:
    int width_, height_, interpolate_;
};

// Rotates counter-clockwise (as displayed) about the centre onto a canvas that holds the rotated
// corners: quarter turns, then three shears. NaN and infinite angles are refused (0x201).
class RotateOperation : public ImageOperation {
  public:
    RotateOperation(double angle, int interpolate);

  protected:
    std::unique_ptr<Image> createDestination() override;
    void process() override;

  private:
    double angle_;
    int interpolate_;
};

} // namespace imaging
