#include "SKNOTL.h"

#include <cmath>

int NKNOTS(int m) {
    if (m < 50)
        return m;
    // Between the anchor counts 50, 100, 140 and 200 the count grows geometrically in m (written
    // as anchor * ratio^fraction so that it is exact at the anchors).
    double k;
    if (m < 200)
        k = 50.0 * std::pow(100.0 / 50.0, (m - 50) / 150.0);
    else if (m < 800)
        k = 100.0 * std::pow(140.0 / 100.0, (m - 200) / 600.0);
    else if (m < 3200)
        k = 140.0 * std::pow(200.0 / 140.0, (m - 800) / 2400.0);
    else
        k = 200.0 + std::pow(m - 3200.0, 0.2);
    return static_cast<int>(k);
}

int SKNOTL(const double *xs, int m, double *knot) {
    const int nknots = NKNOTS(m);
    for (int j = 0; j < 3; ++j) {
        knot[j] = xs[0];
        knot[nknots + 3 + j] = xs[m - 1];
    }
    // Knot j sits on the abscissa of rank floor(j (m-1) / (nknots-1)): the first and the last
    // interior knots are the end points.
    for (int j = 0; j < nknots; ++j) {
        const long long k = static_cast<long long>(j) * (m - 1) / (nknots - 1);
        knot[3 + j] = xs[k];
    }
    return nknots + 2;
}
