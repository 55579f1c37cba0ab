// A Canvas that draws nothing and writes each drawing call as one line of text, for tests that
// compare a plot with a golden recording. Queries (text_extent) change nothing on the page and
// are not written.
//
// Text extents are synthetic so that recordings do not depend on installed fonts: each character
// is half the font height wide, and a line is the font height high.
#pragma once

#include "canvas.h"

#include <string>

namespace canvas {

class RecordingCanvas final : public Canvas {
  public:
    void set_font(const Font &font) override;
    void set_text_colour(Rgb colour) override;
    void text(int x, int y, Align align, std::string_view utf8) override;
    Size text_extent(std::string_view utf8) override;
    void set_pen(Rgb colour, int width) override;
    void set_brush(Rgb colour) override;
    void line(Point from, Point to) override;
    void rectangle(Rect area) override;
    void polygon(std::span<const Point> corners) override;
    void set_clip(Rect area) override;
    void clear_clip() override;
    void set_mapping(Size window, Size viewport, bool isotropic) override;

    // Everything recorded so far, one call per line, each line ending in '\n'.
    const std::string &recording() const { return out_; }

  private:
    std::string out_;
    int font_height_ = Font{}.height;
};

} // namespace canvas
