// Ascending sorts of doubles carrying an index vector along (in place, no allocation).
#pragma once

// SORTDI: sorts x(i..j) ascending (1-based, inclusive), moving idx(i..j) with it; equal values
// keep their indices in ascending order.
void SORTDI(double *x, int *idx, int i, int j);

// MYSORT: sorts the whole of x(n) ascending, moving idx(n) with it.
void MYSORT(double *x, int *idx, int n);
