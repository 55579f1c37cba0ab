#include "MYSORT.h"

void MYSORT(double *x, int *idx, int n, double *xw, int *iw) {
    SORTDI(x, idx, 1, n, xw, iw);
}
