// Ascending sorts of doubles carrying an index vector along (no allocation).
#pragma once

// SORTDI: sorts x(i..j) ascending (1-based, inclusive), moving idx(i..j) with it. The sort is
// stable: equal values keep their order, so indices that come in ascending stay ascending among
// them. -0 sorts just before +0. xw(j-i+1) and iw(j-i+1) are work.
void SORTDI(double *x, int *idx, int i, int j, double *xw, int *iw);

// MYSORT: sorts the whole of x(n) ascending, moving idx(n) with it; xw(n) and iw(n) are work.
void MYSORT(double *x, int *idx, int n, double *xw, int *iw);
