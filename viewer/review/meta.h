// The meta-analysis of one set of studies by one method. Effects of ratio measures are kept on the
// log scale here; whoever shows them takes exp().
//
// Conventions:
// - A study with a zero cell gets 0.5 added to all four cells for its own effect and variance (and
//   so for inverse-variance and DerSimonian-Laird pooling); Mantel-Haenszel sums use the counts as
//   they are and Peto needs no correction.
// - A study with no events in either arm, or with events only in both arms, has no odds ratio or
//   relative risk (the risk difference is still estimable); Peto gives it V = 0. An arm with no
//   participants makes a study not estimable for every measure.
// - Heterogeneity: Mantel-Haenszel uses Q with inverse-variance weights about the pooled MH
//   estimate; Peto uses Q = sum (O-E)^2/V - (sum (O-E))^2 / sum V; inverse variance the usual Q.
//   DerSimonian-Laird takes tau^2 from the inverse-variance Q; random-effects results report that Q.
// - Variances: log OR (MH) Robins-Breslow-Greenland, log RR (MH) Greenland-Robins, RD (MH)
//   Sato-Greenland-Robins; the WMD uses each arm's own variance; the SMD is Hedges' g with the exact
//   bias correction and variance 1/n1 + 1/n2 + g^2 / (2 (n1 + n2)).
#pragma once

#include <vector>

namespace meta {

struct binary_study {
    double expt_events, expt_total, ctrl_events, ctrl_total;
};

struct continuous_study {
    double expt_n, expt_mean, expt_sd, ctrl_n, ctrl_mean, ctrl_sd;
};

// One study's own effect (log scale for ratios) and its variance.
struct study_effect {
    bool estimable = false;
    double y = 0, v = 0;
};

// Peto's observed minus expected events in the experimental arm and its hypergeometric variance.
struct peto_terms {
    double o_minus_e = 0, v = 0;
};

struct pooled_result {
    bool estimable = false;        // false: no pooled effect (no estimable study, or zero variance)
    double y = 0, se = 0;          // pooled effect (log scale for ratios) and its standard error
    double q = 0;                  // heterogeneity chi-square
    int df = 0;                    // estimable studies - 1 (0 when fewer than two)
    double tau2 = 0;               // between-study variance (random effects only)
    std::vector<double> weights;   // the method's own weight of each study (0 when not estimable)
};

peto_terms peto(const binary_study& s);
study_effect binary_effect(const binary_study& s, int measure);
study_effect continuous_effect(const continuous_study& s, int measure);

// Measures and models use the SETTINGS codes (300..305, 400/401); Peto is fixed-effect only.
pooled_result pool_binary(const std::vector<binary_study>& studies, int measure, int model);
pooled_result pool_continuous(const std::vector<continuous_study>& studies, int measure, int model);

} // namespace meta
