#include "MYSORT.h"

void MYSORT(double *x, int *idx, int n) {
    SORTDI(x, idx, 1, n);
}
