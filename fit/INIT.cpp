#include "INIT.h"

#include <algorithm>
#include <cstddef>

void INIT(FIT &f, LINK link) {
    for (int i = 0; i < f.n; ++i) {
        const double y = f.y[i];
        double mu = y;
        if (link == LINK::LOGIT)
            mu = (y * f.d[i] + 0.5 - y) / f.d[i];
        else if ((link == LINK::LOGAR || link == LINK::INVER) && y == 0.0)
            mu = 0.167;
        f.mu[i] = mu;
        f.eta[i] = SLINC(mu, link);
    }
    std::fill(f.beta, f.beta + f.q, 0.0);
    std::fill(f.s, f.s + static_cast<std::size_t>(f.n) * f.nsm, 0.0);
}
