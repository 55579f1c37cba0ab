#include "meta.h"

#include "settings.h"

#include <cmath>

namespace meta {

namespace {

bool arms_have_participants(const binary_study& s) { return s.expt_total > 0 && s.ctrl_total > 0; }

// No events in either arm, or events only, in both arms: odds ratio and relative risk are undefined.
bool double_zero(const binary_study& s)
{
    return (s.expt_events == 0 && s.ctrl_events == 0) ||
           (s.expt_events == s.expt_total && s.ctrl_events == s.ctrl_total);
}

study_effect valid(double y, double v)
{
    study_effect e;
    e.estimable = std::isfinite(y) && std::isfinite(v) && v > 0;
    if (e.estimable) {
        e.y = y;
        e.v = v;
    }
    return e;
}

// Inverse-variance pooling of study effects with weights 1/(v + tau2); fills q and df (about the
// fixed-effect estimate) in every case.
pooled_result inverse_variance(const std::vector<study_effect>& effects, bool random)
{
    pooled_result r;
    r.weights.assign(effects.size(), 0.0);
    double sw = 0, sw2 = 0, swy = 0;
    int k = 0;
    for (const study_effect& e : effects)
        if (e.estimable) {
            double w = 1 / e.v;
            sw += w;
            sw2 += w * w;
            swy += w * e.y;
            ++k;
        }
    if (k == 0)
        return r;
    double fixed = swy / sw;
    double q = 0;
    for (const study_effect& e : effects)
        if (e.estimable)
            q += (e.y - fixed) * (e.y - fixed) / e.v;
    r.q = q;
    r.df = k - 1;
    if (random && k > 1) {
        double c = sw - sw2 / sw;
        r.tau2 = c > 0 ? std::fmax(0.0, (q - r.df) / c) : 0.0;
    }
    double tw = 0, twy = 0;
    for (size_t i = 0; i < effects.size(); ++i)
        if (effects[i].estimable) {
            r.weights[i] = 1 / (effects[i].v + r.tau2);
            tw += r.weights[i];
            twy += r.weights[i] * effects[i].y;
        }
    r.y = twy / tw;
    r.se = std::sqrt(1 / tw);
    r.estimable = std::isfinite(r.y) && r.se > 0 && std::isfinite(r.se);
    return r;
}

// Q with inverse-variance weights about a pooled estimate from another method.
void heterogeneity_about(const std::vector<study_effect>& effects, double centre, pooled_result& r)
{
    r.q = 0;
    int k = 0;
    for (const study_effect& e : effects)
        if (e.estimable) {
            r.q += (e.y - centre) * (e.y - centre) / e.v;
            ++k;
        }
    r.df = k > 0 ? k - 1 : 0;
}

pooled_result mantel_haenszel(const std::vector<binary_study>& studies, int measure)
{
    pooled_result r;
    r.weights.assign(studies.size(), 0.0);
    std::vector<study_effect> effects;
    // Sums named as in the variance formulas: R, S and the cross terms P, Q of Robins-Breslow-
    // Greenland (odds ratio) or Sato-Greenland-Robins (risk difference).
    double sr = 0, ss = 0, spr = 0, sps_qr = 0, sqs = 0, sv = 0, sw = 0, swd = 0, sp = 0, sq = 0;
    for (size_t i = 0; i < studies.size(); ++i) {
        const binary_study& s = studies[i];
        effects.push_back(binary_effect(s, measure));
        if (!arms_have_participants(s) || (measure != settings::MEASURE_RD && double_zero(s)))
            continue;
        double a = s.expt_events, b = s.expt_total - a, c = s.ctrl_events, d = s.ctrl_total - c;
        double n1 = s.expt_total, n2 = s.ctrl_total, n = n1 + n2;
        if (measure == settings::MEASURE_OR) {
            double ri = a * d / n, si = b * c / n, pi = (a + d) / n, qi = (b + c) / n;
            sr += ri;
            ss += si;
            spr += pi * ri;
            sps_qr += pi * si + qi * ri;
            sqs += qi * si;
            r.weights[i] = si;
        } else if (measure == settings::MEASURE_RR) {
            double ri = a * n2 / n, si = c * n1 / n;
            sr += ri;
            ss += si;
            sv += (n1 * n2 * (a + c) - a * c * n) / (n * n);
            r.weights[i] = si;
        } else { // risk difference
            double w = n1 * n2 / n;
            sw += w;
            swd += (a * n2 - c * n1) / n;
            sp += (n1 * n1 * c - n2 * n2 * a + n1 * n2 * (n2 - n1) / 2) / (n * n);
            sq += (a * (n2 - c) + c * (n1 - a)) / (2 * n);
            r.weights[i] = w;
        }
    }
    double variance = 0;
    if (measure == settings::MEASURE_OR) {
        r.y = std::log(sr / ss);
        variance = spr / (2 * sr * sr) + sps_qr / (2 * sr * ss) + sqs / (2 * ss * ss);
    } else if (measure == settings::MEASURE_RR) {
        r.y = std::log(sr / ss);
        variance = sv / (sr * ss);
    } else {
        r.y = swd / sw;
        variance = (r.y * sp + sq) / (sw * sw);
    }
    r.se = std::sqrt(variance);
    r.estimable = std::isfinite(r.y) && std::isfinite(r.se) && r.se > 0;
    if (!r.estimable)
        r.y = r.se = 0;
    heterogeneity_about(effects, r.y, r);
    if (!r.estimable)
        r.q = 0;
    return r;
}

pooled_result peto_pool(const std::vector<binary_study>& studies)
{
    pooled_result r;
    double soe = 0, sv = 0, soe2_v = 0;
    int k = 0;
    for (const binary_study& s : studies) {
        peto_terms t = peto(s);
        r.weights.push_back(t.v);
        if (t.v > 0) {
            soe += t.o_minus_e;
            sv += t.v;
            soe2_v += t.o_minus_e * t.o_minus_e / t.v;
            ++k;
        }
    }
    if (k == 0)
        return r;
    r.y = soe / sv;
    r.se = std::sqrt(1 / sv);
    r.q = std::fmax(0.0, soe2_v - soe * soe / sv);
    r.df = k - 1;
    r.estimable = true;
    return r;
}

// Hedges' exact small-sample correction J(m) = Gamma(m/2) / (sqrt(m/2) Gamma((m-1)/2)).
double hedges_correction(double m)
{
    return std::exp(std::lgamma(m / 2) - 0.5 * std::log(m / 2) - std::lgamma((m - 1) / 2));
}

} // namespace

peto_terms peto(const binary_study& s)
{
    peto_terms t;
    double n1 = s.expt_total, n2 = s.ctrl_total, n = n1 + n2;
    double events = s.expt_events + s.ctrl_events, non_events = n - events;
    if (!arms_have_participants(s) || n < 2)
        return t;
    t.o_minus_e = s.expt_events - n1 * events / n;
    t.v = n1 * n2 * events * non_events / (n * n * (n - 1));
    return t;
}

study_effect binary_effect(const binary_study& s, int measure)
{
    if (!arms_have_participants(s))
        return {};
    if (measure == settings::MEASURE_PETO_OR) {
        peto_terms t = peto(s);
        return t.v > 0 ? valid(t.o_minus_e / t.v, 1 / t.v) : study_effect{};
    }
    if (measure != settings::MEASURE_RD && double_zero(s))
        return {};
    double a = s.expt_events, b = s.expt_total - a, c = s.ctrl_events, d = s.ctrl_total - c;
    if (a == 0 || b == 0 || c == 0 || d == 0) {
        a += 0.5;
        b += 0.5;
        c += 0.5;
        d += 0.5;
    }
    double n1 = a + b, n2 = c + d;
    switch (measure) {
    case settings::MEASURE_OR: return valid(std::log(a * d / (b * c)), 1 / a + 1 / b + 1 / c + 1 / d);
    case settings::MEASURE_RR: return valid(std::log((a / n1) / (c / n2)), 1 / a - 1 / n1 + 1 / c - 1 / n2);
    case settings::MEASURE_RD:
        return valid(a / n1 - c / n2, a * b / (n1 * n1 * n1) + c * d / (n2 * n2 * n2));
    default: return {};
    }
}

study_effect continuous_effect(const continuous_study& s, int measure)
{
    double n1 = s.expt_n, n2 = s.ctrl_n;
    if (!(n1 >= 1 && n2 >= 1))
        return {};
    double md = s.expt_mean - s.ctrl_mean;
    if (measure == settings::MEASURE_WMD)
        return valid(md, s.expt_sd * s.expt_sd / n1 + s.ctrl_sd * s.ctrl_sd / n2);
    if (measure != settings::MEASURE_SMD)
        return {};
    double m = n1 + n2 - 2;
    if (m < 2)
        return {};
    double pooled_sd = std::sqrt(((n1 - 1) * s.expt_sd * s.expt_sd + (n2 - 1) * s.ctrl_sd * s.ctrl_sd) / m);
    if (!(pooled_sd > 0))
        return {};
    double g = hedges_correction(m) * md / pooled_sd;
    return valid(g, 1 / n1 + 1 / n2 + g * g / (2 * (n1 + n2)));
}

pooled_result pool_binary(const std::vector<binary_study>& studies, int measure, int model)
{
    if (measure == settings::MEASURE_PETO_OR)
        return peto_pool(studies);
    if (model == settings::MODEL_RANDOM) {
        std::vector<study_effect> effects;
        for (const binary_study& s : studies)
            effects.push_back(binary_effect(s, measure));
        return inverse_variance(effects, true);
    }
    return mantel_haenszel(studies, measure);
}

pooled_result pool_continuous(const std::vector<continuous_study>& studies, int measure, int model)
{
    std::vector<study_effect> effects;
    for (const continuous_study& s : studies)
        effects.push_back(continuous_effect(s, measure));
    return inverse_variance(effects, model == settings::MODEL_RANDOM);
}

} // namespace meta
