// The scale axis under the graph column: ticks, their labels and the two captions.
#pragma once

#include "analysis.h"
#include "canvas.h"

namespace plot {

// Sets the line height (SETTINGS 28) and, with the graph shown, draws the axis at SETTINGS 35 in
// bitmap output, else at SETTINGS 27.
void draw_axis(canvas::Canvas &c, analysis &data);

} // namespace plot
