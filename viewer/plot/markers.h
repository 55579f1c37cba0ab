// The markers of the graph column: a study's box and interval line, a summary's diamond, and the
// arrows that mark limits beyond the scale.
#pragma once

#include "canvas.h"
#include "scale.h"

namespace plot {

inline constexpr canvas::Rgb study_blue{0, 0, 255};

// The marker line of a table line is half a line above y (the line's top is y - h).
// weight is in percent; the limits are those of the study's confidence level.
void draw_study_marker(canvas::Canvas &c, const Scale &scale, int y, int h, double weight, double effect,
                       double lower, double upper);

// A summary's diamond, or a black triangle at the end of the scale its interval leaves.
void draw_summary_diamond(canvas::Canvas &c, const Scale &scale, int y, int h, double effect, double lower,
                          double upper);

} // namespace plot
