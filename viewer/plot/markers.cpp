#include "markers.h"

#include <algorithm>
#include <array>

namespace plot {
namespace {

using canvas::Point;

enum class Side { none, left, right };

// The three corners of an edge arrow: its tip on the scale end, opening inwards.
std::array<Point, 3> arrow_corners(const Scale &scale, Side side, int yc) {
    int x = scale.x(side == Side::left ? scale.minimum() : scale.maximum());
    int inward = side == Side::left ? 4 : -4;
    return {{{x, yc}, {x + inward, yc - 4}, {x + inward, yc + 4}}};
}

void filled_triangle(canvas::Canvas &c, const Scale &scale, Side side, int yc, canvas::Rgb colour) {
    c.set_pen(colour, 1);
    c.set_brush(colour);
    c.polygon(arrow_corners(scale, side, yc));
}

void open_arrow(canvas::Canvas &c, const Scale &scale, Side side, int yc) {
    auto corners = arrow_corners(scale, side, yc);
    c.set_pen(study_blue, 1);
    c.line(corners[0], corners[1]);
    c.line(corners[0], corners[2]);
}

// Where a value lies against the open interval (minimum, maximum); the ends count as off it.
Side off_scale(const Scale &scale, double value) {
    if (value <= scale.minimum()) return Side::left;
    if (value >= scale.maximum()) return Side::right;
    return Side::none;
}

// Strictly beyond the ends, as the limits are tested.
Side beyond_scale(const Scale &scale, double value) {
    if (value < scale.minimum()) return Side::left;
    if (value > scale.maximum()) return Side::right;
    return Side::none;
}

} // namespace

void draw_study_marker(canvas::Canvas &c, const Scale &scale, int y, int h, double weight, double effect,
                       double lower, double upper) {
    int yc = y - h / 2;
    int s = std::clamp(truncated(h / 2 * weight * 0.01 + 2), 0, h / 2);
    Side effect_side = off_scale(scale, effect);
    if (effect_side == Side::none) {
        int x = scale.x(effect);
        c.set_pen(study_blue, 1);
        c.set_brush(study_blue);
        c.rectangle({x - s, yc - s, x + s, yc + s});
    }
    for (double limit : {upper, lower}) {
        Side side = beyond_scale(scale, limit);
        if (side == Side::none) continue;
        if (side == effect_side)
            filled_triangle(c, scale, side, yc, study_blue);
        else
            open_arrow(c, scale, side, yc);
    }
    auto on_scale = [&](double v) { return std::clamp(v, scale.minimum(), scale.maximum()); };
    c.set_pen(study_blue, 1);
    c.line({scale.x(on_scale(upper)), yc}, {scale.x(on_scale(lower)), yc});
}

void draw_summary_diamond(canvas::Canvas &c, const Scale &scale, int y, int h, double effect, double lower,
                          double upper) {
    int yc = y - h / 2;
    bool off = false;
    for (double limit : {lower, upper}) {
        Side side = beyond_scale(scale, limit);
        if (side != Side::none) {
            filled_triangle(c, scale, side, yc, canvas::black);
            off = true;
        }
    }
    if (off) return;
    double centre = std::max(lower, std::min(effect, upper));
    std::array<Point, 4> diamond{{{scale.x(lower), yc},
                                  {scale.x(centre), yc + h / 4},
                                  {scale.x(upper), yc},
                                  {scale.x(centre), yc - h / 4}}};
    c.set_pen(canvas::black, 1);
    c.set_brush(canvas::black);
    c.polygon(diamond);
}

} // namespace plot
