#include "SINERP.h"

namespace {
// R(i, i+e) of the factor in LINPACK band storage.
double r(const double *abd, int i, int e) { return abd[3 - e + 4 * (i + e)]; }
} // namespace

void SINERP(const double *abd, int nk, double *p1ip) {
    // With S = inverse(A) = inverse(R) inverse(R'), R S = inverse(R') is lower triangular with
    // diagonal 1/R(i,i). Row i of that identity gives S(i, i+d) from the rows below it, which
    // only needs entries inside the band; so the band is filled from the last row up.
    auto S = [&](int i, int j) { // i, j within three of each other, rows below i done
        return i <= j ? p1ip[(j - i) + 4 * i] : p1ip[(i - j) + 4 * j];
    };
    for (int i = nk - 1; i >= 0; --i) {
        const int emax = nk - 1 - i < 3 ? nk - 1 - i : 3;
        const double rii = r(abd, i, 0);
        for (int d = 3; d >= 1; --d) {
            if (d > emax) {
                p1ip[d + 4 * i] = 0.0;
                continue;
            }
            double sum = 0.0;
            for (int e = 1; e <= emax; ++e)
                sum += r(abd, i, e) * S(i + e, i + d);
            p1ip[d + 4 * i] = -sum / rii;
        }
        double sum = 0.0;
        for (int e = 1; e <= emax; ++e)
            sum += r(abd, i, e) * p1ip[e + 4 * i];
        p1ip[4 * i] = (1.0 / rii - sum) / rii;
    }
}
