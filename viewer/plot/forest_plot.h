// A whole forest plot, in the order its parts depend on each other: the title block and headers
// lay out the rows and the axis, the axis sets the line height, then the table draws the rows.
#pragma once

#include "analysis.h"
#include "canvas.h"
#include "title_and_headers.h"

namespace plot {

// The graph window's paint: clears the client area, sets the scale factors (SETTINGS 21, 22)
// and draws the plot for the screen, clipping the rows to the band between headers and axis.
ScrollRanges paint_forest_plot(canvas::Canvas &c, analysis &data, canvas::Size client);

// The bitmap pass: the screen variant, unscrolled and unclipped, onto a bitmap of the given size
// (already filled white). Leaves the axis y of this layout in SETTINGS 35.
void draw_bitmap_plot(canvas::Canvas &c, analysis &data, canvas::Size bitmap);

} // namespace plot
