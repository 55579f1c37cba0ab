#include "FAMILY.h"

#include "FIXTXT.h"
#include "MSG.h"

#include <algorithm>
#include <cmath>

namespace {
// Floor of the binomial variance mu (1 - mu) and clamp of mu in the binomial deviance. They only
// keep the formulas finite at mu = 0 or 1: a floor any higher changes the working weights, the
// working response and the deviance of every observation whose fitted probability lies below it
// (or as close to 1), and the fit then converges to an estimate that is not the maximum
// likelihood one, which matters for rare events.
constexpr double BINFLOOR = 1e-10;
} // namespace

FAM FAMCODE(std::string_view family) {
    if (SAMETXT(family, "gauss")) return FAM::GAUSS;
    if (SAMETXT(family, "binom")) return FAM::BINOM;
    if (SAMETXT(family, "poiss")) return FAM::POISS;
    if (SAMETXT(family, "gamma")) return FAM::GAMMA;
    if (SAMETXT(family, "cox")) return FAM::COX;
    STOPRUN("error in family specification");
}

LINK LINKCODE(std::string_view link) {
    if (SAMETXT(link, "ident")) return LINK::IDENT;
    if (SAMETXT(link, "logit")) return LINK::LOGIT;
    if (SAMETXT(link, "logar")) return LINK::LOGAR;
    if (SAMETXT(link, "inver")) return LINK::INVER;
    if (SAMETXT(link, "cox")) return LINK::COX;
    STOPRUN("error in link specification");
}

double DEVGAU(double y, double mu, double w) {
    return w * (y - mu) * (y - mu);
}

double DEVBIN(double y, double mu, double w, double d) {
    const double m = std::clamp(mu, BINFLOOR, 1.0 - BINFLOOR);
    double t = -y * std::log(m) - (1.0 - y) * std::log(1.0 - m);
    if (y * (1.0 - y) > 0.0) t += y * std::log(y) + (1.0 - y) * std::log(1.0 - y);
    return 2.0 * w * d * t;
}

double DEVGAM(double y, double mu, double w) {
    const double yf = std::max(y, 0.0001), muf = std::max(mu, 0.0001);
    return 2.0 * w * ((y - mu) / muf - std::log(yf / muf));
}

double DEVPOI(double y, double mu, double w) {
    const double muf = std::max(mu, 0.0001);
    double t = -y * std::log(muf) - (y - mu);
    if (y > 0.0) t += y * std::log(y);
    return 2.0 * w * t;
}

double DEV(int n, const double *mu, const double *y, const double *w, const double *d, FAM family) {
    double dev = 0.0;
    switch (family) {
    case FAM::GAUSS:
        for (int i = 0; i < n; ++i)
            dev += DEVGAU(y[i], mu[i], w[i]);
        break;
    case FAM::BINOM:
        for (int i = 0; i < n; ++i)
            dev += DEVBIN(y[i], mu[i], w[i], d[i]);
        break;
    case FAM::GAMMA:
        for (int i = 0; i < n; ++i)
            dev += DEVGAM(y[i], mu[i], w[i]);
        break;
    case FAM::POISS:
        for (int i = 0; i < n; ++i)
            dev += DEVPOI(y[i], mu[i], w[i]);
        break;
    case FAM::COX:
        break;
    }
    return dev;
}

void LINV(int n, const double *eta, double *mu, LINK link) {
    switch (link) {
    case LINK::IDENT:
        std::copy(eta, eta + n, mu);
        break;
    case LINK::LOGIT:
        // 1 / (1 + e^-eta) is e^eta / (e^eta + 1) without overflow for large eta.
        for (int i = 0; i < n; ++i)
            mu[i] = 1.0 / (1.0 + std::exp(-eta[i]));
        break;
    case LINK::LOGAR:
        for (int i = 0; i < n; ++i)
            mu[i] = std::exp(eta[i]);
        break;
    case LINK::INVER:
        for (int i = 0; i < n; ++i)
            mu[i] = eta[i] >= 0.0001 ? 1.0 / eta[i] : 10000.0;
        break;
    case LINK::COX:
        break;
    }
}

double SLINC(double mu, LINK link) {
    switch (link) {
    case LINK::IDENT:
        return mu;
    case LINK::LOGIT: {
        const double r = mu / std::max(1.0 - mu, 0.0001);
        return std::log(std::clamp(r, 0.0001, 9999.0));
    }
    case LINK::LOGAR:
        return std::log(std::max(mu, 0.0001));
    case LINK::INVER:
        return 1.0 / mu;
    case LINK::COX:
        break;
    }
    return 0.0;
}

double DIRIV(double mu, LINK link) {
    switch (link) {
    case LINK::IDENT:
        return 1.0;
    case LINK::LOGIT:
        return 1.0 / std::max(mu * (1.0 - mu), BINFLOOR);
    case LINK::LOGAR:
        return mu > 0.0001 ? 1.0 / mu : 10000.0;
    case LINK::INVER:
        return -1.0 / (mu * mu);
    case LINK::COX:
        break;
    }
    return 0.0;
}

double WEIGHT(double w, double mu, double d, FAM family, LINK link) {
    const double g = DIRIV(mu, link);
    switch (family) {
    case FAM::GAUSS:
        return w / (g * g);
    case FAM::BINOM: {
        const double v = std::max(mu * (1.0 - mu), BINFLOOR);
        return d * w / (g * g * v);
    }
    case FAM::GAMMA:
        return w / (g * g * mu * mu);
    case FAM::POISS:
        return w / (g * g * std::max(mu, 0.0001));
    case FAM::COX:
        break;
    }
    return 0.0;
}
