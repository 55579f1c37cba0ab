#include "SBART.h"

#include "SGRAM.h"
#include "SSLVRG.h"
#include "STXWX.h"

#include <cmath>

int SBART(const double *xs, const double *ys, const double *ws, int nef, const double *knot,
          int nk, double dofoff, double &spar, double upper, double &lambda, double *coef,
          double *sz, double *lev, double &crit, double *work) {
    double *rw = work;          // nef: square-root weights
    double *xwy = rw + nef;     // nk
    double *hs = xwy + nk;      // 4 nk
    double *sg = hs + 4 * nk;   // 4 nk
    double *abd = sg + 4 * nk;  // 4 nk
    double *p1ip = abd + 4 * nk; // 4 nk

    for (int g = 0; g < nef; ++g)
        rw[g] = std::sqrt(ws[g]);
    SGRAM(knot, nk, sg);
    STXWX(xs, ys, rw, nef, knot, nk, xwy, hs);

    // r0 makes spar free of the scale of the weights: the ratio of the diagonals of X'WX and of
    // the penalty away from the ends (over the whole diagonal when there are too few coefficients).
    int i0 = 2, i1 = nk - 4;
    if (i1 < i0)
        i0 = 0, i1 = nk - 1;
    double th = 0.0, ts = 0.0;
    for (int i = i0; i <= i1; ++i) {
        th += hs[4 * i];
        ts += sg[4 * i];
    }
    const double r0 = th / ts;

    auto fit = [&](double s) {
        return SSLVRG(s, r0, xs, ws, nef, knot, nk, xwy, hs, sg, dofoff, coef, sz, lev, crit,
                      abd, p1ip);
    };
    if (spar != 0.0) {
        lambda = SPLLAM(spar, r0);
        return fit(spar);
    }

    // Brent's minimisation of crit over [SPARLO, upper].
    const double c = 0.5 * (3.0 - std::sqrt(5.0));
    const double eps = 0.000244;
    double a = SPARLO, b = upper;
    double x = a + c * (b - a), w = x, v = x;
    double d = 0.0, e = 0.0;
    if (int info = fit(x))
        return info;
    double fx = crit, fw = fx, fv = fx;
    double last = x; // where the arrays were last filled
    for (;;) {
        const double xm = 0.5 * (a + b);
        const double tol1 = eps * std::fabs(x) + SPARTOL / 3.0, tol2 = 2.0 * tol1;
        if (std::fabs(x - xm) <= tol2 - 0.5 * (b - a))
            break;
        bool golden = true;
        if (std::fabs(e) > tol1) {
            // Parabola through x, w, v; its minimum is taken only inside (a, b) and when the
            // step is shorter than half the step before last.
            double r = (x - w) * (fx - fv);
            double q = (x - v) * (fx - fw);
            double p = (x - v) * q - (x - w) * r;
            q = 2.0 * (q - r);
            if (q > 0.0)
                p = -p;
            q = std::fabs(q);
            const double etemp = e;
            e = d;
            if (std::fabs(p) < std::fabs(0.5 * q * etemp) && p > q * (a - x) && p < q * (b - x)) {
                d = p / q;
                const double u = x + d;
                if (u - a < tol2 || b - u < tol2)
                    d = std::copysign(tol1, xm - x);
                golden = false;
            }
        }
        if (golden) {
            e = x >= xm ? a - x : b - x;
            d = c * e;
        }
        const double u = x + (std::fabs(d) >= tol1 ? d : std::copysign(tol1, d));
        if (int info = fit(u))
            return info;
        last = u;
        const double fu = crit;
        if (fu <= fx) { // u is the new best point; x becomes an end of the bracket
            if (u >= x)
                a = x;
            else
                b = x;
            v = w, fv = fw;
            w = x, fw = fx;
            x = u, fx = fu;
        } else { // u becomes an end of the bracket
            if (u < x)
                a = u;
            else
                b = u;
            if (fu <= fw || w == x) {
                v = w, fv = fw;
                w = u, fw = fu;
            } else if (fu <= fv || v == x || v == w) {
                v = u, fv = fu;
            }
        }
    }
    // The result is the best point; refit there when the last trial was elsewhere, so that the
    // returned fit, leverages and spar belong together.
    spar = x;
    lambda = SPLLAM(x, r0);
    return last == x ? 0 : fit(x);
}
