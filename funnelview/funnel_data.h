// The data of one funnel plot, as orvantaiv hands it to funnelview: UTF-8 text, one record per
// line, fields separated by tabs, numbers in the C locale:
//   funnelview   1                               (first line: format and version)
//   title        <text>                          (optional; shown above the plot)
//   measure      <name>                          (optional; labels the x axis, e.g. "OR")
//   scale        ratio | difference              (ratio: effects are ratios, drawn on a log axis)
//   pooled       <effect>                        (the fixed-effect estimate)
//   study        <name>  <effect>  <standard error>
// Standard errors are those of the log effect on ratio scales. Blank lines are ignored.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace funnel {

struct Study {
    std::string name;
    double effect = 0, se = 0;
};

struct Data {
    std::string title, measure;
    bool ratio = false;
    double pooled = 0;
    std::vector<Study> studies;
};

// Every number lies within +-MAX_MAGNITUDE; effects on ratio scales are at least MIN_RATIO, and
// standard errors are positive. At most MAX_STUDIES studies.
inline constexpr double MAX_MAGNITUDE = 1e100;
inline constexpr double MIN_RATIO = 1e-100;
inline constexpr size_t MAX_STUDIES = 100000;

void write_data(std::ostream &out, const Data &data);
// False with "line N: <problem>" in error for anything malformed.
bool read_data(std::istream &in, Data &data, std::string &error);

} // namespace funnel
