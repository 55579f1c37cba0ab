// DUMPS: the file $.fit, with the values of every observation and the plotting block.
#pragma once
#include "REPORT.h"

// Per observation: y d, mu d, the working residual r = z - eta, r sqrt(W) and the design columns
// other than the intercept; then a line holding the character 26, and the plotting block: the
// intercept with its standard error, and per design column its title and either its slope line
// or its curve with the 95% band at each distinct abscissa. Uses f.work as scratch.
void DUMPS(const RESULTS &r);
