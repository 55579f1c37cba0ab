// MAINGA: the run after the workspace check: the model with its data, the intercept column, the
// smooth-term list and the missing-value set-up.
#pragma once
#include "DESIGN.h"
#include "GETDIM.h"
#include "MODEL.h"
#include "MODFILE.h"
#include "WORKSP.h"

void MAINGA(MODFILE &mod, const DIMS &dims, WORK &w, MODSPEC &m, DESIGN &dc);
