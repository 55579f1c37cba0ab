#include "forest_plot.h"

#include "axis.h"
#include "cells.h"
#include "study_columns.h"
#include "table.h"

namespace plot {

using namespace settings;

ScrollRanges paint_forest_plot(canvas::Canvas &c, analysis &data, canvas::Size client) {
    ViewSettings view(data);
    c.set_pen(canvas::white, 1);
    c.set_brush(canvas::white);
    c.rectangle({0, 0, client.width, client.height});
    double scaled = view.number(SCALED_OUTPUT);
    if (scaled == 0 || scaled == ANALYSIS_MISSING || client.width <= 0 || client.height <= 0) {
        view.set(X_SCALE, 1.0);
        view.set(Y_SCALE, 1.0);
    } else {
        view.set(X_SCALE, 1000.0 / client.width);
        view.set(Y_SCALE, 1000.0 / client.height);
    }
    StudyColumns columns = look_up_study_columns(data);
    ScrollRanges ranges = draw_title_and_headers(c, data, columns, client);
    draw_axis(c, data);
    draw_table(c, data, columns, client);
    return ranges;
}

void draw_bitmap_plot(canvas::Canvas &c, analysis &data, canvas::Size bitmap) {
    ViewSettings view(data);
    view.set(H_SCROLL, 0);
    view.set(V_SCROLL, 0);
    view.set(OUTPUT_MODE, 2);
    StudyColumns columns = look_up_study_columns(data);
    draw_title_and_headers(c, data, columns, bitmap);
    draw_axis(c, data);
    draw_table(c, data, columns, bitmap);
    view.set(OUTPUT_MODE, 0);
}

} // namespace plot
