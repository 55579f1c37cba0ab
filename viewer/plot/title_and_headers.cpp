#include "title_and_headers.h"

#include "cells.h"

#include <string>

namespace plot {
namespace {

using namespace settings;
using canvas::Align;

struct Header {
    int width;
    std::string line1, line2;
};

// How a header places its two lines; the graph headers also set the centre of their axis.
enum class Mode { left, centred, centre_difference, centre_ratio };

std::string ci_label(int study_ci, int model) {
    const char *level = study_ci == CI_90 ? "90" : study_ci == CI_95 ? "95" : "99";
    return format("(%s%%CI %s)", level, model == MODEL_FIXED ? "Fixed" : "Random");
}

std::string label_or(const ViewSettings &view, cell cell, const char *fallback) {
    const char *text = view.text(cell);
    return text ? text_of(text, 21) : fallback;
}

// A stored name's line end, when it kept one, is not part of the name.
std::string without_line_end(std::string name) {
    for (int i = 0; i < 2 && !name.empty() && (name.back() == '\n' || name.back() == '\r'); ++i)
        name.pop_back();
    return name;
}

// Rows from the first row's y to the axis, for n studies and g group names.
int lines_to_axis(int totals_option, int n, int g) {
    bool grouped = g > 0;
    if (totals_option < 1) return grouped ? n + 5 * (g + 1) : n + 5;
    if (totals_option == 1) return grouped ? n + 4 * (g + 1) : n + 5;
    return grouped ? n + g + 2 : n + 1;
}

class HeaderRow {
  public:
    HeaderRow(canvas::Canvas &c, ViewSettings &view, int x, int y, int line_height)
        : c_(c), view_(view), x_(x), start_(x), y_(y), line_height_(line_height) {}

    void draw(const Header &h, Mode mode) {
        int middle = x_ + h.width / 2;
        if (mode == Mode::left) {
            c_.text(x_, y_, Align::left, h.line1);
            c_.text(x_, y_ + line_height_, Align::left, h.line2);
        } else {
            if (!h.line1.empty()) c_.text(middle, y_, Align::centre, h.line1);
            c_.text(middle, y_ + line_height_, Align::centre, h.line2);
        }
        if (mode == Mode::centre_difference) view_.set(CENTRE_DIFFERENCE, middle);
        if (mode == Mode::centre_ratio) view_.set(CENTRE_RATIO, middle);
        x_ += h.width;
    }

    // Two centred headers that share their first line: it is drawn once across both, since a
    // group label would not fit the 30 units of a participants column.
    void draw_pair(const Header &a, const Header &b) {
        c_.text(x_ + (a.width + b.width) / 2, y_, Align::centre, a.line1);
        draw({a.width, "", a.line2}, Mode::centred);
        draw({b.width, "", b.line2}, Mode::centred);
    }

    int width() const { return x_ - start_; }

  private:
    canvas::Canvas &c_;
    ViewSettings &view_;
    int x_, start_, y_, line_height_;
};

} // namespace

ScrollRanges draw_title_and_headers(canvas::Canvas &c, analysis &data, const StudyColumns &columns,
                                    canvas::Size client) {
    ViewSettings view(data);
    Output output = view.output();
    bool printer = output == Output::printer;

    int base = 16;
    int x_origin = -8 * view.integer(H_SCROLL);
    double scaled = view.number(SCALED_OUTPUT);
    if (scaled != 0 && scaled != ANALYSIS_MISSING) {
        double x_scale = view.number(X_SCALE);
        base = x_scale > 0 && x_scale != ANALYSIS_MISSING ? truncated(32 / x_scale) : base;
        x_origin = 0;
    }
    canvas::Rgb colour = output == Output::bitmap ? canvas::black : header_blue;

    // Title block.
    c.set_font({"Arial", base, canvas::bold_weight});
    c.set_text_colour(colour);
    int margin_x = printer ? 100 : 2;
    int y = printer ? 70 : 0;
    auto title_line = [&](const std::string &text) {
        c.text(margin_x, y, Align::left, text);
        y += c.text_extent(text).height;
    };
    if (printer && view.text(REVIEW_NAME)) {
        std::string name = view.text(REVIEW_NAME);
        if (name.size() <= 110) {
            title_line("Review:       " + text_of(without_line_end(name).c_str()));
        } else {
            title_line("Review:       " + text_of(name.substr(0, 110).c_str()));
            title_line("              " + text_of(without_line_end(name.substr(110)).c_str()));
        }
    }
    if (const char *comparison = view.text(COMPARISON_NAME)) title_line("Comparison: " + text_of(comparison));
    if (const char *outcome = view.text(OUTCOME_NAME)) title_line("Outcome:      " + text_of(outcome));

    // Every title line has the base font's height.
    int H = c.text_extent("Outcome:").height;
    view.set(HEADER_HEIGHT, 4 * H);
    int top = 4 * H + (printer ? 100 : 0);

    // Where the rows start and the axis lies.
    ScrollRanges ranges;
    int n = printer ? view.integer(PRINT_LINES_LEFT) : columns.studies;
    int groups = columns.group_count;
    int axis_y = top + H * lines_to_axis(view.integer(TOTALS_OPTION), n, groups);
    if (!printer) view.set(BITMAP_AXIS_Y, axis_y);
    if (view.integer(V_SCROLL) == 0) view.set(FIRST_ROW_Y, top + H);
    if (output == Output::screen && client.height - 32 < axis_y) {
        ranges.vertical = groups > 0 ? n + 5 * (groups + 1) : n + 5;
        axis_y = client.height - 32;
    }
    view.set(AXIS_Y, axis_y);

    // Column headers.
    c.set_font({"Arial", base - (printer ? 4 : 2), canvas::bold_weight});
    int line_height = c.text_extent("Study").height;
    HeaderRow row(c, view, x_origin + (printer ? 100 : 0), y, line_height);
    bool dichotomous = view.integer(DATA_TYPE) == DICHOTOMOUS;
    int measure = view.integer(MEASURE);
    std::string expt = label_or(view, EXPT_LABEL, "Expt");
    std::string ctrl = label_or(view, CTRL_LABEL, "Ctrl");
    Header effect{180, measure_abbreviation(measure), ci_label(view.integer(STUDY_CI), view.integer(MODEL))};
    auto line_of_no_effect = [&](cell centre) {
        int x = view.integer(centre);
        c.set_pen(canvas::black, 1);
        c.line({x, top}, {x, axis_y});
    };

    row.draw({150, " ", "Study"}, Mode::left);
    if (dichotomous) {
        if (view.shows(FLAG_RAW)) {
            row.draw({100, expt, "n/N"}, Mode::centred);
            row.draw({100, ctrl, "n/N"}, Mode::centred);
        }
        if (view.shows(FLAG_GRAPH)) {
            row.draw(effect, Mode::centre_ratio);
            line_of_no_effect(CENTRE_RATIO);
        }
    } else {
        if (view.shows(FLAG_RAW)) {
            row.draw_pair({30, expt, "n"}, {100, expt, "mean(sd)"});
            row.draw_pair({30, ctrl, "n"}, {100, ctrl, "mean(sd)"});
        }
        if (view.shows(FLAG_GRAPH)) {
            row.draw(effect, Mode::centre_difference);
            line_of_no_effect(CENTRE_DIFFERENCE);
        }
    }
    if (view.shows(FLAG_WEIGHT)) row.draw({80, "Weight", "%"}, Mode::centred);
    if (view.shows(FLAG_CI)) row.draw(effect, Mode::left);
    if (view.shows(FLAG_YEAR)) row.draw({45, " ", "Year"}, Mode::left);
    if (dichotomous && view.shows(FLAG_OE)) {
        row.draw({45, " ", "O-E"}, Mode::left);
        if (measure == MEASURE_PETO_OR) row.draw({45, " ", "VAR"}, Mode::left);
    }
    if (view.shows(FLAG_QUALITY)) row.draw({50, " ", "Quality"}, Mode::left);
    if (view.shows(FLAG_USER)) row.draw({45, " ", "User"}, Mode::left);

    view.set(HEADER_WIDTH, row.width());
    if (output == Output::screen && row.width() > client.width)
        ranges.horizontal = (row.width() - client.width) / 8;
    if (!printer) {
        c.set_pen(canvas::black, 1);
        c.line({0, top}, {client.width, top});
        c.line({0, axis_y}, {client.width, axis_y});
    }
    return ranges;
}

} // namespace plot
