#include "funnel_plot.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace funnel {
namespace {

constexpr double z95 = 1.959963984540054;
const canvas::Rgb study_blue{0, 0, 255};
const canvas::Rgb limit_grey{128, 128, 128};
const canvas::Rgb axis_blue{50, 50, 100};

// The 1, 2, 5 times a power of ten nearest above a rough step.
double nice_step(double rough) {
    double power = std::pow(10.0, std::floor(std::log10(rough)));
    for (double m : {1.0, 2.0, 5.0, 10.0})
        if (m * power >= rough) return m * power;
    return 10 * power;
}

std::string label(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", std::fabs(value) < 1e-12 ? 0.0 : value);
    return text;
}

// Tick values in the range: 1-2-5 steps on a linear axis; on a log axis the 1, 2, 5 multiples of
// each decade, or the decades alone when the range spans more than two of them.
std::vector<double> ticks(const Axes &a) {
    std::vector<double> out;
    if (a.ratio) {
        const double ln10 = std::log(10.0);
        bool decades_only = a.high - a.low > 2 * ln10;
        // Decades beyond a double's range hold no tick.
        int first = static_cast<int>(std::max(-320.0, std::floor(a.low / ln10) - 1));
        int last = static_cast<int>(std::min(310.0, std::ceil(a.high / ln10)));
        for (int e = first; e <= last; ++e)
            for (double m : {1.0, 2.0, 5.0}) {
                if (decades_only && m != 1.0) continue;
                double v = m * std::pow(10.0, e);
                if (std::log(v) >= a.low && std::log(v) <= a.high) out.push_back(v);
            }
    } else {
        double step = nice_step((a.high - a.low) / 5);
        for (double v = std::ceil(a.low / step) * step; v <= a.high + step * 1e-9; v += step)
            out.push_back(v);
    }
    return out;
}

} // namespace

int Axes::x(double effect) const {
    double v = ratio ? std::log(effect) : effect;
    return plot_area.left +
           static_cast<int>(std::lround((v - low) / (high - low) * (plot_area.right - plot_area.left)));
}

int Axes::y(double se) const {
    return plot_area.top + static_cast<int>(std::lround(se / se_max * (plot_area.bottom - plot_area.top)));
}

Axes axes_for(const Data &data) {
    Axes a;
    a.ratio = data.ratio;
    double largest = 0;
    for (const Study &s : data.studies)
        largest = std::max(largest, s.se);
    a.se_max = largest > 0 ? largest * 1.05 : 1;
    double centre = data.ratio ? std::log(data.pooled) : data.pooled;
    a.low = centre - z95 * a.se_max;
    a.high = centre + z95 * a.se_max;
    for (const Study &s : data.studies) {
        double v = data.ratio ? std::log(s.effect) : s.effect;
        a.low = std::min(a.low, v);
        a.high = std::max(a.high, v);
    }
    double pad = (a.high - a.low) * 0.05;
    if (pad <= 0) pad = 1;
    a.low -= pad;
    a.high += pad;
    return a;
}

void draw_funnel_plot(canvas::Canvas &c, const Data &data) {
    using canvas::Align;
    const Axes a = axes_for(data);
    const canvas::Rect &r = plot_area;

    c.set_pen(canvas::white, 1);
    c.set_brush(canvas::white);
    c.rectangle({0, 0, plot_extent.width, plot_extent.height});

    c.set_font({"Arial", 16, canvas::bold_weight});
    c.set_text_colour(axis_blue);
    std::string title = data.title.empty() ? "Funnel plot" : data.title;
    c.text(plot_extent.width / 2, 12, Align::centre, title);

    // Axes with ticks and labels.
    c.set_pen(canvas::black, 1);
    c.line({r.left, r.top}, {r.left, r.bottom});
    c.line({r.left, r.bottom}, {r.right, r.bottom});
    c.set_font({"Arial", 12, canvas::normal_weight});
    c.set_text_colour(canvas::black);
    for (double v : ticks(a)) {
        int x = a.x(v);
        c.line({x, r.bottom}, {x, r.bottom + 4});
        c.text(x, r.bottom + 6, Align::centre, label(v));
    }
    double se_step = nice_step(a.se_max / 4);
    for (double se = 0; se <= a.se_max + se_step * 1e-9; se += se_step) {
        int y = a.y(se);
        c.line({r.left - 4, y}, {r.left, y});
        c.text(r.left - 6, y - 6, Align::right, label(se));
    }
    std::string measure = data.measure.empty() ? "Effect" : data.measure;
    c.text((r.left + r.right) / 2, r.bottom + 24, Align::centre,
           data.ratio ? measure + " (log scale)" : measure);
    c.text(r.left - 6, r.top - 20, Align::right,
           data.ratio ? "SE(log " + measure + ")" : "SE(" + measure + ")");

    // The pooled estimate and its pseudo 95% confidence limits.
    double centre = data.ratio ? std::log(data.pooled) : data.pooled;
    auto at = [&](double v) { return data.ratio ? std::exp(v) : v; };
    int top = a.y(0), bottom = a.y(a.se_max);
    c.line({a.x(data.pooled), top}, {a.x(data.pooled), bottom});
    c.set_pen(limit_grey, 1);
    c.line({a.x(data.pooled), top}, {a.x(at(centre - z95 * a.se_max)), bottom});
    c.line({a.x(data.pooled), top}, {a.x(at(centre + z95 * a.se_max)), bottom});

    // The studies.
    c.set_pen(study_blue, 1);
    c.set_brush(study_blue);
    for (const Study &s : data.studies) {
        int x = a.x(s.effect), y = a.y(s.se);
        c.rectangle({x - 3, y - 3, x + 3, y + 3});
    }
}

} // namespace funnel
