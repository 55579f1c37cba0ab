#include "axis.h"

#include "cells.h"
#include "scale.h"
#include "title_and_headers.h"

namespace plot {

using namespace settings;
using canvas::Align;

void draw_axis(canvas::Canvas &c, analysis &data) {
    ViewSettings view(data);
    // The table needs its line height whether or not the graph column is shown.
    view.set(LINE_HEIGHT, 16);
    if (!view.shows(FLAG_GRAPH)) return;

    Output output = view.output();
    c.set_font({"Arial", output == Output::printer ? 10 : 12, canvas::normal_weight});
    c.set_text_colour(output == Output::bitmap ? canvas::black : header_blue);
    c.set_pen(canvas::black, 1);
    int y = view.integer(output == Output::bitmap ? BITMAP_AXIS_Y : AXIS_Y);
    // The risk difference is drawn on a linear axis where the ratio axis would be.
    if (view.integer(MEASURE) == MEASURE_RD) view.set(CENTRE_DIFFERENCE, view.number(CENTRE_RATIO));

    Scale scale = current_scale(view);
    for (const Tick &tick : scale.ticks) {
        int x = scale.x(tick.value);
        c.text(x, y + 4, Align::centre, tick.label);
        c.line({x, y}, {x, y + 4});
    }
    if (const char *left = view.text(CAPTION_LEFT))
        c.text(scale.centre - graph_half_width, y + 16, Align::left, text_of(left));
    if (const char *right = view.text(CAPTION_RIGHT))
        c.text(scale.centre + graph_half_width, y + 16, Align::right, text_of(right));
}

} // namespace plot
