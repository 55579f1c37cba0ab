#include "table.h"

#include "cells.h"
#include "markers.h"
#include "scale.h"
#include "test_lines.h"

#include <algorithm>
#include <string>

namespace plot {
namespace {

using namespace settings;
using canvas::Align;

constexpr canvas::Rgb group_blue{0, 0, 100};
constexpr canvas::Rgb red{255, 0, 0};

// Effect, lower and upper cells of a summary vector at a CI code (0, 2 or 4).
struct SummaryCells {
    int effect, lower, upper, weight;
    int expt_n, ctrl_n; // continuous participants
};

SummaryCells summary_cells(bool dichotomous, int ci) {
    if (dichotomous) return {5, 7 + ci, 6 + ci, 13, 0, 0};
    return {1, 3 + ci, 2 + ci, 15, 13, 14};
}

SummaryTests summary_tests(const analysis &data, const _vectordef *v, bool dichotomous) {
    if (dichotomous)
        return {data.GetCellDouble(v, 16), data.GetCellDouble(v, 17), data.GetCellDouble(v, 22),
                data.GetCellDouble(v, 20), data.GetCellString(v, 21)};
    return {data.GetCellDouble(v, 10), data.GetCellDouble(v, 11), data.GetCellDouble(v, 12),
            data.GetCellDouble(v, 8), data.GetCellString(v, 9)};
}

// A confidence-interval code as the cells are laid out: 0 (90%), 2 (95%) or 4 (99%, any other).
int ci_code(int stored) {
    return stored == CI_90 || stored == CI_95 ? stored : CI_99;
}

std::string effect_text(double effect, double lower, double upper) {
    return format("%0.2f[%0.2f,%0.2f]", effect, lower, upper);
}

class TablePass {
  public:
    TablePass(canvas::Canvas &c, analysis &data, const StudyColumns &columns)
        : c_(c), data_(data), col_(columns), view_(data) {
        printer_ = view_.output() == Output::printer;
        dichotomous_ = view_.integer(DATA_TYPE) == DICHOTOMOUS;
        measure_ = view_.integer(MEASURE);
        study_ci_ = ci_code(view_.integer(STUDY_CI));
        total_ci_ = ci_code(view_.integer(TOTAL_CI));
        h_ = view_.integer(LINE_HEIGHT);
        if (h_ <= 0) h_ = 16; // not laid out yet
        x_origin_ = printer_ ? 100 : -8 * view_.integer(H_SCROLL);
        y_ = view_.integer(FIRST_ROW_Y) + 8 + (printer_ ? 100 : 0);
        study_width_ = dichotomous_ ? 180 : 150;
        totals_ = view_.integer(TOTALS_OPTION);
        lines_left_ = view_.integer(PRINT_LINES_LEFT);
        scale_ = current_scale(view_);
    }

    void run() {
        c_.set_font({"Arial", printer_ ? 12 : 14, canvas::normal_weight});
        c_.set_text_colour(canvas::black);
        int group = printer_ ? std::max(1, view_.integer(PRINT_GROUP)) : 1;
        int row = printer_ ? std::max(1, view_.integer(PRINT_ROW)) : 1;

        if (col_.group_count > 0) {
            for (; group <= col_.group_count; ++group) {
                coloured_text(x_origin_, group_blue, text_of(data_.GetCellString(col_.group_names, group)));
                y_ += h_;
                if (!study_rows(group, row)) return;
                bool subtotal = totals_ < 2;
                if (subtotal) summary(format("GROUP %d", group - 1).c_str(), "Subtotal");
                lines_left_ -= subtotal ? 4 : 2;
                bool more = group < col_.group_count || totals_ < 1;
                if (printer_ && lines_left_ < 1 && more) return page_full(group + 1, row);
            }
        } else if (!study_rows(1, row)) {
            return;
        }
        if (totals_ < 1) {
            y_ += h_;
            summary("TOTAL", "Total");
            lines_left_ -= 2;
        }
        if (printer_) {
            view_.set(PRINT_LINES_LEFT, lines_left_);
            view_.set(PRINT_DONE, 1);
        }
    }

  private:
    // Draws the rows from row on while they belong to the group; false when the page is full.
    // A page filled by the group's last row ends there only when the group's end draws a subtotal
    // or a total follows; otherwise the next page would show nothing but a heading (or nothing),
    // and the end of the group decides instead.
    bool study_rows(int group, int &row) {
        for (; in_group(row, group); ++row) {
            study_line(row);
            if (!printer_ || --lines_left_ >= 0) continue;
            bool group_goes_on = in_group(row + 1, group);
            bool end_draws = col_.group_count > 0 ? totals_ < 2 : totals_ < 1;
            if (group_goes_on || end_draws) {
                page_full(group, row + 1);
                return false;
            }
        }
        return true;
    }

    bool in_group(int row, int group) const {
        return row <= col_.studies && col_.group_of(data_, row) == group - 1;
    }

    void page_full(int group, int row) {
        view_.set(PRINT_GROUP, group);
        view_.set(PRINT_ROW, row);
        view_.set(PRINT_LINES_LEFT, lines_left_);
        view_.set(PRINT_DONE, 0);
    }

    // Empty cells draw nothing.
    void text(int x, Align align, const std::string &s) {
        if (!s.empty()) c_.text(x, y_ - h_, align, s);
    }
    void coloured_text(int x, canvas::Rgb colour, const std::string &s) {
        c_.set_text_colour(colour);
        text(x, Align::left, s);
        c_.set_text_colour(canvas::black);
    }
    double cell(const _vectordef *v, int row) const { return data_.GetCellDouble(v, row); }
    std::string cell_text(const _vectordef *v, int row, int max_chars = -1) const {
        return text_of(data_.GetCellString(v, row), max_chars);
    }
    std::string count(const _vectordef *v, int row) const { return format("%d", truncated(cell(v, row))); }
    std::string counts(const _vectordef *a, int row_a, const _vectordef *b, int row_b) const {
        return format("%d / %d", truncated(cell(a, row_a)), truncated(cell(b, row_b)));
    }

    void study_line(int r) {
        // The printer indents the name, less so for grouped dichotomous outcomes.
        int indent = !printer_ ? 16 : dichotomous_ && col_.group_count > 0 ? 16 : 32;
        text(x_origin_ + indent, Align::left, cell_text(col_.study, r));
        int x = x_origin_ + 16 + study_width_;

        if (view_.shows(FLAG_RAW)) {
            if (dichotomous_) {
                text(x, Align::centre, counts(col_.expt_events, r, col_.expt_total, r));
                x += 100;
                text(x, Align::centre, counts(col_.ctrl_events, r, col_.ctrl_total, r));
                x += 100;
            } else {
                text(x, Align::centre, count(col_.expt_total, r));
                x += 60;
                text(x, Align::centre,
                     format("%0.2f(%0.2f)", cell(col_.expt_mean, r), cell(col_.expt_sd, r)));
                x += 70;
                text(x, Align::centre, count(col_.ctrl_total, r));
                x += 60;
                text(x, Align::centre,
                     format("%0.2f(%0.2f)", cell(col_.ctrl_mean, r), cell(col_.ctrl_sd, r)));
                x += 100;
            }
        }
        if (view_.shows(FLAG_GRAPH)) x += 185; // the markers are placed on the axis, not at x
        if (view_.shows(FLAG_WEIGHT)) {
            text(x, Align::right, format("%0.1f", cell(col_.weight, r)));
            x += 80;
        }

        double effect = cell(col_.effect, r);
        if (effect == ANALYSIS_MISSING) {
            if (view_.shows(FLAG_CI)) {
                coloured_text(x_origin_, red, "x");
                text(x - 40, Align::left, "Not Estimable");
                x += 185;
            }
        } else {
            double lower = cell(col_.lower(study_ci_), r);
            double upper = cell(col_.upper(study_ci_), r);
            if (view_.shows(FLAG_CI)) {
                text(x - 40, Align::left, effect_text(effect, lower, upper));
                x += 185;
            }
            if (view_.shows(FLAG_GRAPH))
                draw_study_marker(c_, scale_, y_, h_, cell(col_.weight, r), effect, lower, upper);
        }

        if (view_.shows(FLAG_YEAR)) {
            text(x - 40, Align::left, cell_text(col_.year, r));
            x += dichotomous_ ? 45 : 40;
        }
        if (dichotomous_ && view_.shows(FLAG_OE)) {
            text(x - 40, Align::left, cell_text(col_.o_e, r, 6));
            x += 45;
            if (measure_ == MEASURE_PETO_OR) {
                text(x - 40, Align::left, cell_text(col_.v, r, 6));
                x += 45;
            }
        }
        if (view_.shows(FLAG_QUALITY)) {
            text(x - 25, Align::left, cell_text(col_.quality, r));
            x += dichotomous_ ? 45 : 40;
        }
        if (view_.shows(FLAG_USER)) text(x - 40, Align::left, cell_text(col_.user, r));
        y_ += h_;
    }

    // A subtotal or total line from its summary vector, then its two test lines.
    void summary(const char *vector_name, const char *label) {
        const _vectordef *v = data_.IsVector(vector_name);
        const char *level = total_ci_ == CI_90 ? "90" : total_ci_ == CI_95 ? "95" : "99";
        text(x_origin_, Align::left, format("%s(%s%%CI)", label, level));
        int x = x_origin_ + study_width_ + 16;

        SummaryCells at = summary_cells(dichotomous_, total_ci_);
        if (view_.shows(FLAG_RAW)) {
            if (dichotomous_) {
                text(x, Align::centre, counts(v, 1, v, 2));
                x += 100;
                text(x, Align::centre, counts(v, 3, v, 4));
                x += 100;
            } else {
                text(x, Align::centre, count(v, at.expt_n));
                x += 60 + 70;
                text(x, Align::centre, count(v, at.ctrl_n));
                x += 60 + 100;
            }
        }
        if (view_.shows(FLAG_GRAPH)) x += 185;
        double weight = cell(v, at.weight);
        if (view_.shows(FLAG_WEIGHT)) {
            text(x, Align::right, format("%0.1f", weight));
            x += 80;
        }
        double effect = cell(v, at.effect);
        if (effect == ANALYSIS_MISSING) {
            if (view_.shows(FLAG_CI)) text(x - 40, Align::left, "Not Estimable");
        } else {
            double lower = cell(v, at.lower), upper = cell(v, at.upper);
            if (view_.shows(FLAG_CI)) text(x - 40, Align::left, effect_text(effect, lower, upper));
            if (view_.shows(FLAG_GRAPH)) draw_summary_diamond(c_, scale_, y_, h_, effect, lower, upper);
        }

        y_ += h_;
        SummaryTests tests = summary_tests(data_, v, dichotomous_);
        c_.text(x_origin_, y_ - h_, Align::left, heterogeneity_line(tests));
        c_.text(x_origin_, y_ - h_ + 16, Align::left, overall_effect_line(tests));
        y_ += 3 * h_;
    }

    canvas::Canvas &c_;
    analysis &data_;
    const StudyColumns &col_;
    ViewSettings view_;
    bool printer_, dichotomous_;
    int measure_, study_ci_, total_ci_, totals_, h_, x_origin_, y_, study_width_, lines_left_;
    Scale scale_;
};

} // namespace

void draw_table(canvas::Canvas &c, analysis &data, const StudyColumns &columns, canvas::Size client) {
    ViewSettings view(data);
    bool clipped = view.output() == Output::screen;
    if (clipped) c.set_clip({0, view.integer(HEADER_HEIGHT), client.width, view.integer(AXIS_Y)});
    TablePass(c, data, columns).run();
    if (clipped) c.clear_clip();
}

} // namespace plot
