// The scale of the graph column: ratio scales on a log axis, difference scales on a linear one,
// five ticks each, 100 units either side of the centre.
#pragma once

#include "cells.h"

#include <array>

namespace plot {

struct Tick {
    double value;
    const char *label;
};

struct Scale {
    bool ratio = true;
    int index = 0; // into the table of its kind, always valid
    std::array<Tick, 5> ticks{};
    int centre = 0;

    double minimum() const { return ticks.front().value; }
    double maximum() const { return ticks.back().value; }
    // The x of a value on the axis.
    int x(double value) const;
};

inline constexpr int graph_half_width = 100;

// Ratio scales serve dichotomous data except the risk difference; difference scales serve the
// risk difference and all continuous data.
bool uses_ratio_scale(int data_type, int measure);

// The scale of a kind at a stored index. An index outside the table (a data file may hold one)
// takes the nearest valid index.
Scale scale_at(bool ratio, double stored_index, int centre);

// The scale the outcome is drawn on, from SETTINGS 6, 12, 13 and the centre in 25 or 26.
Scale current_scale(const ViewSettings &view);

} // namespace plot
