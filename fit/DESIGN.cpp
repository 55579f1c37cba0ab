#include "DESIGN.h"

#include "MSG.h"

int DESIGN::append(int source, int k, double d, int count, int lab) {
    if (used == q) STOPRUN("Error: more design columns than the first pass counted");
    int c = ++used;
    var[c - 1] = source;
    kind[c - 1] = k;
    df[c - 1] = d;
    nobs[c - 1] = count;
    label[c - 1] = lab;
    return c;
}
