// Families and links of local scoring: the deviance (DEV), the inverse link (LINV), the link
// (SLINC), its derivative (DIRIV) and the working weight (WEIGHT). The 5-character codes of the
// model file are compared once, by FAMCODE and LINKCODE; the routines then take the numbered
// code, so the per-observation loops do no text work. Every formula carries the floors and caps
// that keep it finite (0.0001 for means and responses under the log and inverse links, 1e-10 for
// the binomial variance, the cap 10000).
#pragma once

#include <string_view>

enum class FAM { GAUSS, BINOM, POISS, GAMMA, COX };
enum class LINK { IDENT, LOGIT, LOGAR, INVER, COX };

// The code of a family or link text (5 characters, blank-padded). An unknown family ends the run
// with "error in family specification", an unknown link with "error in link specification".
FAM FAMCODE(std::string_view family);
LINK LINKCODE(std::string_view link);

// DEV: deviance of the means mu(n) for responses y(n) (proportions for the binomial family),
// prior weights w(n) and denominators d(n). 0 for the Cox family, which has its own deviance.
double DEV(int n, const double *mu, const double *y, const double *w, const double *d, FAM family);

// The deviance term of one observation of each family (without the prior weight for
// gauss, with it folded in for the others).
double DEVGAU(double y, double mu, double w);
double DEVBIN(double y, double mu, double w, double d);
double DEVGAM(double y, double mu, double w);
double DEVPOI(double y, double mu, double w);

// LINV: mu(n) from eta(n). Leaves mu alone for the Cox link.
void LINV(int n, const double *eta, double *mu, LINK link);

// SLINC: eta from one mu; DIRIV: d eta / d mu at mu. Both 0 for the Cox link.
double SLINC(double mu, LINK link);
double DIRIV(double mu, LINK link);

// WEIGHT: the working weight of one observation with prior weight w, mean mu and denominator d.
// 0 for the Cox family, whose weights come from the partial likelihood.
double WEIGHT(double w, double mu, double d, FAM family, LINK link);
