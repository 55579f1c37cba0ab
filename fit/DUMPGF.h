// DUMPGF: the plot files, one per model variable, named after it with ".gra".
#pragma once
#include "REPORT.h"

#include <string>

// The plot-file name of a variable name: the name up to its first blank, with any '/' made '_'
// so that the file stays in the current directory, and ".gra".
std::string GRANAME(const std::string &name);

// For each design column other than the intercept, one line per observation: x, the term's fit
// f, its 95% band f - b and f + b, and the partial residual r + f. The columns of one variable
// (the indicators of a factor) go into its one file, one block each in column order, blocks
// separated by an empty line.
void DUMPGF(const RESULTS &r);
