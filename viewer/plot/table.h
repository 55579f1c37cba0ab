// The text of a forest plot's rows: a line per study, grouped into subgroups with subtotals, a
// total, and the test lines under each summary. Four variants: dichotomous or continuous data
// (SETTINGS 12), each for the screen and bitmap or for the printer (SETTINGS 15).
//
// The printer variant fills one page: it spends the line budget in SETTINGS 34, resumes at the
// group and row saved in SETTINGS 32 and 33, and leaves SETTINGS 31 at 1 when everything is
// printed, at 0 when another page is needed.
#pragma once

#include "analysis.h"
#include "canvas.h"
#include "study_columns.h"

namespace plot {

// client is the area drawn on; on screen the rows are clipped to the band between the headers
// (SETTINGS 8) and the axis (SETTINGS 27).
void draw_table(canvas::Canvas &c, analysis &data, const StudyColumns &columns, canvas::Size client);

} // namespace plot
