// A Canvas over a QPainter, so that one drawing routine serves a widget, a printer and an image.
// The caller owns the painter and its device and chooses its render hints.
#pragma once

#include "canvas.h"

class QPainter;

namespace canvas {

class PainterCanvas final : public Canvas {
  public:
    explicit PainterCanvas(QPainter &painter);

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

  private:
    QPainter &painter_;
    int font_height_;
    Rgb text_colour_;
};

} // namespace canvas
