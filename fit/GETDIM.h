// GETDIM: the first pass over the model file. Checks every line and sizes the problem.
#pragma once
#include "MODFILE.h"

// Problem sizes: observations, variables (values per observation), design columns (with the
// intercept) and smooth terms.
struct DIMS {
    int n = 0, p = 0, q = 0, nsm = 0;
};

constexpr int MAXOBS = 99999999; // most observations

DIMS GETDIM(MODFILE &mod);

// Whether the family and link codes (5 characters) are among those known.
bool KNOWNFAMILY(std::string_view family);
bool KNOWNLINK(std::string_view link);
