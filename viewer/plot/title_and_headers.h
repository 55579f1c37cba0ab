// The top of a forest plot: the title block, the layout of the rows and the axis, and the
// two-line column headers with the line of no effect. The layout values go into SETTINGS 8,
// 25 to 27, 29, 30 and 35 for the table, the axis and the scroll handlers.
#pragma once

#include "analysis.h"
#include "canvas.h"
#include "study_columns.h"

namespace plot {

inline constexpr canvas::Rgb header_blue{50, 50, 100};

// Scroll ranges the graph window takes (0 when everything fits).
struct ScrollRanges {
    int horizontal = 0; // in steps of 8 units
    int vertical = 0;   // in lines
};

// client is the area drawn on: the graph window's client area, or the bitmap.
ScrollRanges draw_title_and_headers(canvas::Canvas &c, analysis &data, const StudyColumns &columns,
                                    canvas::Size client);

} // namespace plot
