// The funnel plot of one outcome, drawn in logical units on any Canvas: each study's effect on the
// x axis (log scale for ratios), its standard error on an inverted y axis (0 at the top), the
// pooled fixed-effect estimate as a vertical line and the pseudo 95% confidence limits
// (pooled +- 1.96 SE) as two lines from the top of that line to the bottom of the plot.
#pragma once

#include "canvas.h"
#include "funnel_data.h"

namespace funnel {

// The plot's logical extent; the caller maps it onto its window or image.
inline constexpr canvas::Size plot_extent{600, 450};
// The plotting area inside it.
inline constexpr canvas::Rect plot_area{80, 50, 570, 380};

// Where values land: x on the effect's scale (its log for ratios), y by standard error.
struct Axes {
    bool ratio = false;
    double low = 0, high = 1; // x range, on the log scale for ratios
    double se_max = 1;        // the bottom of the y axis
    int x(double effect) const;
    int y(double se) const;
};

// Ranges that hold every study, the pooled line and its limits at the largest standard error.
Axes axes_for(const Data &data);

void draw_funnel_plot(canvas::Canvas &c, const Data &data);

} // namespace funnel
