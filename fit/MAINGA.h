// MAINGA: the run after the workspace check: the set-up of the model, the fit and the results.
#pragma once
#include "DESIGN.h"
#include "GETDIM.h"
#include "MODEL.h"
#include "MODFILE.h"
#include "WORKSP.h"

// MODSET: the set-up before the fit: the model with its data (MODEL), the intercept column, the
// smooth-term list with the smoother targets, the distinct-abscissa groups and the missing values.
void MODSET(MODFILE &mod, const DIMS &dims, WORK &w, MODSPEC &m, DESIGN &dc);

void MAINGA(MODFILE &mod, const DIMS &dims, WORK &w, MODSPEC &m, DESIGN &dc);
