// NAMATR and NAMAT: the distinct-abscissa groups of the smooth terms.
#pragma once
#include "DESIGN.h"

// NAMAT: groups the n abscissae x(n) of one smooth term. match(n) gets each observation's group
// number (1-based, ascending x); values within the tolerance (0.001 of the range of x) of a
// group's first value join it. Returns nef, the number of groups; the observations holding the
// missing code form group nef + 1, whatever the sign of the code. scr(2n) and idx(2n) are scratch.
int NAMAT(const double *x, int n, double missing, int *match, double *scr, int *idx, double &tol);

// NAMATR: NAMAT for each smooth term k, whose design column is smlist(k): match(n, nsm), nef(nsm).
// tol gets the tolerance of the last term (0 without smooth terms).
void NAMATR(const DESIGN &dc, int nsm, const int *smlist, double missing, int *match, int *nef, double *scr,
            int *idx, double &tol);
