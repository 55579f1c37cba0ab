// INIT: starting values of local scoring.
#pragma once
#include "LOCSCO.h"

// mu from y (and d for the logit link): y itself, or 0.167 where y is 0 under the log and
// inverse links, or (y d + 0.5 - y) / d under the logit link; eta = SLINC(mu); beta = 0.
// The smooth fits start at 0, so that the first parametric step of backfitting sees the whole
// working response: a start that put eta into a smooth fit would leave that step nothing to fit,
// and a fit limited to one backfitting sweep would lose its linear part.
void INIT(FIT &f, LINK link);
