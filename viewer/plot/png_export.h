// A forest plot as a figure file: the bitmap export's layout (the screen variant, 1024 units wide,
// as tall as the plot) written as a PNG. Needs a QGuiApplication for its fonts; the offscreen
// platform serves when there is no display.
#pragma once

#include "analysis.h"

#include <string>

namespace plot {

inline constexpr int export_width = 1024;

// Writes the plot of one outcome's data set to path (replaced only once the new file is
// complete). On failure returns false with a message in error.
bool export_png(analysis &data, const std::string &path, std::string &error);

} // namespace plot
