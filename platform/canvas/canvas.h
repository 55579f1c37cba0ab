// Canvas: drawing in logical units, the way the viewer lays out its plots. One interface, several
// backends: QPainter (widgets, printers, images) and a text recorder for tests.
//
// Coordinates are integers in logical units, y growing downwards. A window-to-viewport mapping
// turns them into device units (pixels or printer dots). Text is UTF-8 and is always drawn with a
// transparent background, its top edge at the given y and aligned on the given x.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace canvas {

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb &) const = default;
};

inline constexpr Rgb black{0, 0, 0};
inline constexpr Rgb white{255, 255, 255};

struct Point {
    int x = 0, y = 0;
};

// Left, top, right, bottom edges; right and bottom are the far edges of the area.
struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
};

struct Size {
    int width = 0, height = 0;
};

inline constexpr int normal_weight = 400;
inline constexpr int bold_weight = 700;

// A font by face name, cell height (ascent plus descent, in logical units) and weight (100..900).
struct Font {
    std::string face = "Arial";
    int height = 16;
    int weight = normal_weight;
};

enum class Align { left, centre, right };

class Canvas {
  public:
    virtual ~Canvas() = default;

    virtual void set_font(const Font &font) = 0;
    virtual void set_text_colour(Rgb colour) = 0;
    // Draws text with its top at y; x is its left edge, centre or right edge by align.
    virtual void text(int x, int y, Align align, std::string_view utf8) = 0;
    // Width and height of the text in the current font, in logical units.
    virtual Size text_extent(std::string_view utf8) = 0;

    // The pen outlines shapes and draws lines; the brush fills rectangles and polygons.
    virtual void set_pen(Rgb colour, int width) = 0;
    virtual void set_brush(Rgb colour) = 0;
    virtual void line(Point from, Point to) = 0;
    virtual void rectangle(Rect area) = 0;
    virtual void polygon(std::span<const Point> corners) = 0;

    // Restricts drawing to area until clear_clip.
    virtual void set_clip(Rect area) = 0;
    virtual void clear_clip() = 0;

    // Maps the logical window (origin 0,0, the given extent) onto the device viewport (origin 0,0).
    // Isotropic keeps one scale for both axes: the smaller of the two, so the window fits.
    virtual void set_mapping(Size window, Size viewport, bool isotropic) = 0;
};

} // namespace canvas
