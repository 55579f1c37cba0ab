#include "outcome_record.h"

#include "distributions.h"
#include "meta.h"
#include "number_text.h"
#include "settings.h"

#include <algorithm>
#include <cmath>
#include <numeric>
#include <string>

namespace {

using review::data_kind;

// The method results every outcome of a data type gets (Peto odds ratio: fixed effect only).
const int dichotomous_methods[][2] = {
    {settings::MEASURE_PETO_OR, settings::MODEL_FIXED}, {settings::MEASURE_OR, settings::MODEL_FIXED},
    {settings::MEASURE_OR, settings::MODEL_RANDOM},     {settings::MEASURE_RR, settings::MODEL_FIXED},
    {settings::MEASURE_RR, settings::MODEL_RANDOM},     {settings::MEASURE_RD, settings::MODEL_FIXED},
    {settings::MEASURE_RD, settings::MODEL_RANDOM},
};
const int continuous_methods[][2] = {
    {settings::MEASURE_WMD, settings::MODEL_FIXED}, {settings::MEASURE_WMD, settings::MODEL_RANDOM},
    {settings::MEASURE_SMD, settings::MODEL_FIXED}, {settings::MEASURE_SMD, settings::MODEL_RANDOM},
};

const int ci_levels[] = {90, 95, 99};

bool ratio_measure(int measure)
{
    return measure == settings::MEASURE_PETO_OR || measure == settings::MEASURE_OR || measure == settings::MEASURE_RR;
}

int ci_code(int percent) { return percent == 90 ? settings::CI_90 : percent == 95 ? settings::CI_95 : settings::CI_99; }

// The p value of the test for overall effect as the viewer shows it.
std::string p_text(double p)
{
    if (p < 0.00001)
        return "<0.00001";
    return numtext::fixed(p, 5);
}

// An effect with its 90/95/99% limits on the shown scale (missing when not estimable).
struct shown_effect {
    double effect = ANALYSIS_MISSING;
    double lower[3] = {ANALYSIS_MISSING, ANALYSIS_MISSING, ANALYSIS_MISSING};
    double upper[3] = {ANALYSIS_MISSING, ANALYSIS_MISSING, ANALYSIS_MISSING};
};

shown_effect show(bool estimable, double y, double se, int measure)
{
    shown_effect s;
    if (!estimable)
        return s;
    auto scale = [&](double v) { return ratio_measure(measure) ? std::exp(v) : v; };
    s.effect = scale(y);
    for (int i = 0; i < 3; ++i) {
        double half = meta::normal_critical(ci_levels[i]) * se;
        s.lower[i] = scale(y - half);
        s.upper[i] = scale(y + half);
    }
    return s;
}

// What a summary vector holds, before it is laid out in the data type's cells.
struct summary {
    shown_effect shown;
    double expt_events = 0, expt_total = 0, ctrl_events = 0, ctrl_total = 0; // participants in *_total
    double weight = 0, chi_square = 0, df = 0, p_heterogeneity = ANALYSIS_MISSING, z = ANALYSIS_MISSING;
    std::string p;
};

void write_summary(analysis& a, _vectordef* v, const summary& s, bool dichotomous)
{
    auto set = [&](int cell, double value) { a.SetCellDouble(v, cell, value); };
    if (dichotomous) {
        set(1, s.expt_events);
        set(2, s.expt_total);
        set(3, s.ctrl_events);
        set(4, s.ctrl_total);
        set(5, s.shown.effect);
        for (int i = 0; i < 3; ++i) {
            set(6 + 2 * i, s.shown.upper[i]);
            set(7 + 2 * i, s.shown.lower[i]);
        }
        set(13, s.weight);
        set(16, s.chi_square);
        set(17, s.df);
        set(20, s.z);
        if (!s.p.empty())
            a.SetCellString(v, 21, s.p);
        set(22, s.p_heterogeneity);
    } else {
        set(1, s.shown.effect);
        for (int i = 0; i < 3; ++i) {
            set(2 + 2 * i, s.shown.upper[i]);
            set(3 + 2 * i, s.shown.lower[i]);
        }
        set(8, s.z);
        if (!s.p.empty())
            a.SetCellString(v, 9, s.p);
        set(10, s.chi_square);
        set(11, s.df);
        set(12, s.p_heterogeneity);
        set(13, s.expt_total);
        set(14, s.ctrl_total);
        set(15, s.weight);
    }
}

meta::binary_study binary(const review::study& s)
{
    return {s.expt_events, s.expt_total, s.ctrl_events, s.ctrl_total};
}

meta::continuous_study continuous(const review::study& s)
{
    return {s.expt_n, s.expt_mean, s.expt_sd, s.ctrl_n, s.ctrl_mean, s.ctrl_sd};
}

// The pooled result of the studies whose positions are listed.
meta::pooled_result pool(const review::outcome& o, const std::vector<size_t>& members, int measure, int model)
{
    if (o.kind == data_kind::dichotomous) {
        std::vector<meta::binary_study> studies;
        for (size_t i : members)
            studies.push_back(binary(o.studies[i]));
        return meta::pool_binary(studies, measure, model);
    }
    std::vector<meta::continuous_study> studies;
    for (size_t i : members)
        studies.push_back(continuous(o.studies[i]));
    return meta::pool_continuous(studies, measure, model);
}

summary summarise(const review::outcome& o, const std::vector<size_t>& members, const std::vector<double>& percent,
                  int measure, int model)
{
    meta::pooled_result r = pool(o, members, measure, model);
    summary s;
    s.shown = show(r.estimable, r.y, r.se, measure);
    for (size_t i : members) {
        const review::study& st = o.studies[i];
        bool d = o.kind == data_kind::dichotomous;
        s.expt_events += st.expt_events;
        s.ctrl_events += st.ctrl_events;
        s.expt_total += d ? st.expt_total : st.expt_n;
        s.ctrl_total += d ? st.ctrl_total : st.ctrl_n;
        s.weight += percent[i];
    }
    s.chi_square = r.q;
    s.df = r.df;
    if (r.df > 0)
        s.p_heterogeneity = meta::chi_square_upper_p(r.q, r.df);
    if (r.estimable) {
        s.z = std::fabs(r.y) / r.se;
        s.p = p_text(meta::normal_two_sided_p(s.z));
    }
    return s;
}

void write_settings(analysis& a, const review::review_data& rv, const review::comparison& c,
                    const review::outcome& o, int measure, int model)
{
    _vectordef* v = a.AddVector("SETTINGS");
    auto text = [&](int cell, const std::string& value) {
        if (!value.empty())
            a.SetCellString(v, cell, value);
    };
    auto set = [&](int cell, double value) { a.SetCellDouble(v, cell, value); };
    text(settings::REVIEW_NAME, rv.name);
    text(settings::COMPARISON_NAME, c.name);
    text(settings::OUTCOME_NAME, o.name);
    set(settings::SCALED_OUTPUT, 0);
    set(settings::SCALE_INDEX, o.scale);
    set(settings::DISPLAY_FLAGS, o.flags);
    set(settings::TOTALS_OPTION, o.totals);
    set(settings::STUDY_CI, ci_code(o.study_ci));
    set(settings::TOTAL_CI, ci_code(o.total_ci));
    set(settings::DATA_TYPE, o.kind == data_kind::dichotomous ? settings::DICHOTOMOUS : settings::CONTINUOUS);
    set(settings::MEASURE, measure);
    set(settings::MODEL, model);
    set(settings::OUTPUT_MODE, 0);
    text(settings::CAPTION_LEFT, o.caption_left);
    text(settings::CAPTION_RIGHT, o.caption_right);
    text(settings::EXPT_LABEL, o.expt_label);
    text(settings::CTRL_LABEL, o.ctrl_label);
    set(settings::STUDY_COUNT, static_cast<double>(o.studies.size()));
    set(settings::H_SCROLL, 0);
    set(settings::V_SCROLL, 0);
}

const char* const dichotomous_vectors[] = {
    "STUDY", "YEAR", "EXPTN", "EXPTT", "CTRLN", "CTRLT", "GROUP", "GROUPNAMES", "OR", "CIL90", "CIH90",
    "CIL95", "CIH95", "CIL99", "CIH99", "WEIGHT", "QUALITY", "USER", "O-E", "V"};
const char* const continuous_vectors[] = {
    "STUDY", "YEAR", "EXPT", "EXPTN", "EXPTX", "EXPTSD", "CTRL", "CTRLN", "CTRLX", "CTRLSD", "GROUP",
    "GROUPNAMES", "WMD", "CIL90", "CIH90", "CIL95", "CIH95", "CIL99", "CIH99", "WEIGHT", "QUALITY", "USER"};

// The study vectors, one row per study in the given order.
void write_studies(analysis& a, const review::outcome& o, const std::vector<size_t>& order,
                   const std::vector<double>& percent, int measure)
{
    const bool dichotomous = o.kind == data_kind::dichotomous;
    if (dichotomous)
        for (const char* name : dichotomous_vectors)
            a.AddVector(name);
    else
        for (const char* name : continuous_vectors)
            a.AddVector(name);
    auto num = [&](const char* vector, int row, double value) { a.SetCellDouble(a.IsVector(vector), row, value); };
    auto txt = [&](const char* vector, int row, const std::string& value) {
        a.SetCellString(a.IsVector(vector), row, value);
    };

    for (size_t k = 0; k < order.size(); ++k) {
        const review::study& s = o.studies[order[k]];
        const int row = static_cast<int>(k) + 1;
        txt("STUDY", row, s.name);
        txt("YEAR", row, s.year);
        txt("QUALITY", row, s.quality);
        txt("USER", row, s.user);
        num("GROUP", row, s.group);
        num("WEIGHT", row, percent[order[k]]);
        meta::study_effect e;
        if (dichotomous) {
            num("EXPTN", row, s.expt_events);
            num("EXPTT", row, s.expt_total);
            num("CTRLN", row, s.ctrl_events);
            num("CTRLT", row, s.ctrl_total);
            meta::peto_terms t = meta::peto(binary(s));
            txt("O-E", row, numtext::fixed(t.o_minus_e, 6));
            txt("V", row, numtext::fixed(t.v, 6));
            e = meta::binary_effect(binary(s), measure);
        } else {
            num("EXPT", row, s.expt_n);
            num("EXPTN", row, s.expt_n);
            num("EXPTX", row, s.expt_mean);
            num("EXPTSD", row, s.expt_sd);
            num("CTRL", row, s.ctrl_n);
            num("CTRLN", row, s.ctrl_n);
            num("CTRLX", row, s.ctrl_mean);
            num("CTRLSD", row, s.ctrl_sd);
            e = meta::continuous_effect(continuous(s), measure);
        }
        shown_effect shown = show(e.estimable, e.y, std::sqrt(e.v), measure);
        num(dichotomous ? "OR" : "WMD", row, shown.effect);
        const char* lows[] = {"CIL90", "CIL95", "CIL99"};
        const char* highs[] = {"CIH90", "CIH95", "CIH99"};
        for (int i = 0; i < 3; ++i) {
            num(lows[i], row, shown.lower[i]);
            num(highs[i], row, shown.upper[i]);
        }
    }
    for (size_t g = 0; g < o.subgroups.size(); ++g)
        txt("GROUPNAMES", static_cast<int>(g) + 1, o.subgroups[g]);
}

// The summary vectors: "GROUP 0" first for dichotomous data, "TOTAL" first for continuous data.
void write_summaries(analysis& a, const review::outcome& o, const std::vector<size_t>& order,
                     const std::vector<double>& percent, int measure, int model)
{
    const bool dichotomous = o.kind == data_kind::dichotomous;
    auto write_groups = [&] {
        std::vector<std::vector<size_t>> members(std::max<size_t>(1, o.subgroups.size()));
        for (size_t i : order)
            members[o.studies[i].group].push_back(i);
        for (size_t g = 0; g < members.size(); ++g) {
            _vectordef* v = a.AddVector("GROUP " + std::to_string(g));
            write_summary(a, v, summarise(o, members[g], percent, measure, model), dichotomous);
        }
    };
    auto write_total = [&] {
        write_summary(a, a.AddVector("TOTAL"), summarise(o, order, percent, measure, model), dichotomous);
    };
    if (dichotomous) {
        write_groups();
        write_total();
    } else {
        write_total();
        write_groups();
    }
}

// Fills the data set of one method: study rows in subgroup order, then the summaries, then SETTINGS.
void fill(analysis& a, const review::review_data& rv, const review::comparison& c, const review::outcome& o,
          int measure, int model)
{
    std::vector<size_t> order(o.studies.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t x, size_t y) { return o.studies[x].group < o.studies[y].group; });

    // Study weights are the method's own weights in percent of the whole outcome's total.
    meta::pooled_result total = pool(o, order, measure, model);
    std::vector<double> percent(o.studies.size(), 0.0);
    double weight_sum = std::accumulate(total.weights.begin(), total.weights.end(), 0.0);
    for (size_t k = 0; k < order.size(); ++k)
        percent[order[k]] = weight_sum > 0 ? 100 * total.weights[k] / weight_sum : 0;

    write_studies(a, o, order, percent, measure);
    write_summaries(a, o, order, percent, measure, model);
    write_settings(a, rv, c, o, measure, model);
}

} // namespace

outcomeDef::~outcomeDef()
{
    for (baseMethod* m : methods)
        projectDef::DeleteObject(m);
}

baseMethod* outcomeDef::Find(int measure, int model) const
{
    for (baseMethod* m : methods)
        if (m->Measure() == measure && m->Model() == model)
            return m;
    return nullptr;
}

void projectDef::DeleteObject(baseMethod* method) { delete method; }

std::unique_ptr<outcomeDef> BuildOutcomeRecord(const review::review_data& review, const review::comparison& comparison,
                                               const review::outcome& outcome)
{
    if (outcome.kind != data_kind::dichotomous && outcome.kind != data_kind::continuous)
        return nullptr;
    auto record = std::make_unique<outcomeDef>();
    const bool dichotomous = outcome.kind == data_kind::dichotomous;
    record->data_type = dichotomous ? settings::DICHOTOMOUS : settings::CONTINUOUS;
    record->measure = outcome.measure;
    record->model = outcome.model;
    auto add = [&](int measure, int model) {
        record->methods.push_back(new baseMethod(measure, model));
        fill(record->methods.back()->Data(), review, comparison, outcome, measure, model);
    };
    if (dichotomous)
        for (const auto& m : dichotomous_methods)
            add(m[0], m[1]);
    else
        for (const auto& m : continuous_methods)
            add(m[0], m[1]);
    return record;
}
