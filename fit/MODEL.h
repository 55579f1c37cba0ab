// MODEL: the second pass over the model file, with the data read.
#pragma once
#include "DESIGN.h"
#include "GETDIM.h"
#include "MODFILE.h"
#include "WORKSP.h"

#include <string>

// Model settings read by the second pass; texts are blank-padded to their field width.
struct MODSPEC {
    std::string dataname, format; // 80 characters each
    double missing = 0;           // the missing code
    int intercept = 1;            // 0 when INTERCEPT is "no" (and the family is not "cox")
    std::string family, link;     // 5 characters each
    double thresh[2] = {0, 0};    // outer and inner convergence thresholds
    int maxit[2] = {0, 0};        // outer and inner iteration limits
    double tol = 0;               // abscissa tolerance shared by the smooth terms (NAMATR)
};

// The design columns of the workspace, none filled yet.
DESIGN DESIGNVIEW(const DIMS &dims, WORK &w);

// MODEL: reads the model settings and the data, and fills y, w, d, status, the role codes, the
// variable names and types, and the design columns of the model terms (the intercept column
// excepted) in w and dc. Every check that fails ends the run with its message.
void MODEL(MODFILE &mod, const DIMS &dims, WORK &w, MODSPEC &m, DESIGN &dc);
