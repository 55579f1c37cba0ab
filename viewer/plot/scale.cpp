#include "scale.h"

#include <algorithm>
#include <cmath>

namespace plot {
namespace {

constexpr std::array<std::array<Tick, 5>, 5> ratio_scales{{
    {{{0.001, ".001"}, {0.02, ".02"}, {1, "1"}, {50, "50"}, {1000, "1000"}}},
    {{{0.01, ".01"}, {0.1, ".1"}, {1, "1"}, {10, "10"}, {100, "100"}}},
    {{{0.1, ".1"}, {0.2, ".2"}, {1, "1"}, {5, "5"}, {10, "10"}}},
    {{{0.2, ".2"}, {0.5, ".5"}, {1, "1"}, {2, "2"}, {5, "5"}}},
    {{{0.5, ".5"}, {0.7, ".7"}, {1, "1"}, {1.5, "1.5"}, {2, "2"}}},
}};

constexpr std::array<std::array<Tick, 5>, 6> difference_scales{{
    {{{-1000, "-1000"}, {-500, "-500"}, {0, "0"}, {500, "500"}, {1000, "1000"}}},
    {{{-100, "-100"}, {-50, "-50"}, {0, "0"}, {50, "50"}, {100, "100"}}},
    {{{-10, "-10"}, {-5, "-5"}, {0, "0"}, {5, "5"}, {10, "10"}}},
    {{{-4, "-4"}, {-2, "-2"}, {0, "0"}, {2, "2"}, {4, "4"}}},
    {{{-1, "-1"}, {-0.5, "-.5"}, {0, "0"}, {0.5, ".5"}, {1, "1"}}},
    {{{-0.5, "-.5"}, {-0.25, "-.25"}, {0, "0"}, {0.25, ".25"}, {0.5, ".5"}}},
}};

} // namespace

int Scale::x(double value) const {
    double offset = ratio ? std::log10(value) * graph_half_width / std::log10(maximum())
                          : value * graph_half_width / maximum();
    // Values far off the scale (or not positive on a log axis) still give a drawable x.
    if (std::isnan(offset)) offset = 0;
    offset = std::clamp(offset, -1e6, 1e6);
    return truncated(centre + offset);
}

bool uses_ratio_scale(int data_type, int measure) {
    return data_type == settings::DICHOTOMOUS && measure != settings::MEASURE_RD;
}

Scale scale_at(bool ratio, double stored_index, int centre) {
    int last = ratio ? int(ratio_scales.size()) - 1 : int(difference_scales.size()) - 1;
    int index = stored_index == ANALYSIS_MISSING ? 0 : std::clamp(truncated(stored_index), 0, last);
    Scale s;
    s.ratio = ratio;
    s.index = index;
    s.ticks = ratio ? ratio_scales[index] : difference_scales[index];
    s.centre = centre;
    return s;
}

Scale current_scale(const ViewSettings &view) {
    bool ratio = uses_ratio_scale(view.integer(settings::DATA_TYPE), view.integer(settings::MEASURE));
    int centre = view.integer(ratio ? settings::CENTRE_RATIO : settings::CENTRE_DIFFERENCE);
    return scale_at(ratio, view.number(settings::SCALE_INDEX), centre);
}

} // namespace plot
