#include "GETDIM.h"

#include "FIXTXT.h"
#include "MSG.h"
#include "READD.h"

#include <cmath>

bool KNOWNFAMILY(std::string_view f) {
    return SAMETXT(f, "binom") || SAMETXT(f, "gauss") || SAMETXT(f, "gamma") || SAMETXT(f, "poiss") ||
           SAMETXT(f, "cox");
}

bool KNOWNLINK(std::string_view l) {
    return SAMETXT(l, "ident") || SAMETXT(l, "logar") || SAMETXT(l, "logit") || SAMETXT(l, "inver") ||
           SAMETXT(l, "cox");
}

namespace {
bool knowntype(std::string_view t) {
    return SAMETXT(t, "response") || SAMETXT(t, "predictor") || SAMETXT(t, "factor") || SAMETXT(t, "denom") ||
           SAMETXT(t, "weight") || SAMETXT(t, "censoring");
}
// More design columns than this cannot pass the workspace check; q stops growing there.
constexpr double QCAP = 1e9;
} // namespace

DIMS GETDIM(MODFILE &mod) {
    DIMS s;
    MODLINE l = mod.next("DATA: and the data name");
    if (!SAMETXT(l.text(0, 10), "DATA:")) STOPRUN("Error: missing data file specification");
    std::string dataname = l.text(1, 80);

    l = mod.next("P: and the number of variables");
    if (!SAMETXT(l.text(0, 10), "P:")) STOPRUN("Error: missing number of variables specification");
    s.p = l.integer(1);
    if (s.p <= 0) STOPRUN("Error: bad specification of number of variables");
    if (s.p > MAXVARS) STOPRUN("Error: # var exceeds hard limit of 75 used in routine getdim");

    l = mod.next("N: and the number of observations");
    if (!SAMETXT(l.text(0, 10), "N:")) STOPRUN("Error: missing number of obs specification");
    double nobs = l.real(1);
    bool count = std::fabs(nobs + 1) <= 0.0001;
    // N below 1 (other than -1) leaves no observation at all: refused like any other bad N.
    if ((nobs <= 0 && !count) || (nobs > 0 && nobs < 1)) STOPRUN("Error: bad specification of number of obs");
    if (nobs >= MAXOBS + 1.0) STOPRUN("Error: n exceeds hard limit of 99999999 used in routine getdim");
    s.n = count ? -1 : static_cast<int>(nobs);

    l = mod.next("FORMAT: and the format");
    if (!SAMETXT(l.text(0, 10), "FORMAT:")) STOPRUN("Error: missing format specification");
    std::string format = l.text(1, 80);

    l = mod.next("MISSING-CODE: and the missing code");
    if (!SAMETXT(l.text(0, 20), "MISSING-CODE:")) STOPRUN("Error: missing the missing code specification");
    l.real(1);

    l = mod.next("INTERCEPT: and yes or no");
    if (!SAMETXT(l.text(0, 10), "INTERCEPT:")) STOPRUN("Error: missing the intercept specification");
    std::string intercept = l.text(1, 10);

    l = mod.next("the VARIABLE NAME line");
    if (l.text(0, 10) != "VARIABLE N") STOPRUN("Error: missing the VARIABLE NAME line");

    double q = 0;
    bool factor = false;
    for (int i = 1; i <= s.p; ++i) {
        l = mod.next("variable line " + std::to_string(i) + ": name, type and degrees of freedom");
        std::string type = l.text(1, 10);
        double df = l.real(2);
        if (!knowntype(type)) STOPRUN("Error: illegal variable type (RESPONSE, PREDICTOR etc) ");
        if (df < 0) STOPRUN("Error:  requested degrees of freedom  is less than  0");
        if ((SAMETXT(type, "response") || SAMETXT(type, "denom") || SAMETXT(type, "weight") ||
             SAMETXT(type, "censoring")) &&
            df != 0)
            STOPRUN("Error: illegal value of degrees of freedom for " + type);
        if (SAMETXT(type, "predictor") && df > 0) {
            q += 1;
            if (df > 1) ++s.nsm;
        }
        if (SAMETXT(type, "factor") && df > 0) {
            q = std::min(std::trunc(q + df), QCAP);
            factor = true;
        }
    }

    l = mod.next("FAMILY: and the family");
    std::string family = SAMETXT(l.text(0, 10), "FAMILY:") ? l.text(1, 5) : "";
    if (!KNOWNFAMILY(family)) STOPRUN("Error: bad FAMILY specification");

    l = mod.next("LINK: and the link");
    std::string link = SAMETXT(l.text(0, 10), "LINK:") ? l.text(1, 5) : "";
    if (!KNOWNLINK(link)) STOPRUN("Error: bad LINK specification");
    if (SAMETXT(family, "cox") != SAMETXT(link, "cox")) STOPRUN("Error: bad family-link specification");

    l = mod.next("THRESHOLDS: and two numbers");
    if (!SAMETXT(l.text(0, 20), "THRESHOLDS:") || !(l.real(1) > 0) || !(l.real(2) > 0))
        STOPRUN("Error: bad THRESHOLDS specification");

    l = mod.next("MAX ITERS: and two integers");
    if (!SAMETXT(l.text(0, 10), "MAX ITERS:") || l.integer(1) <= 0 || l.integer(2) <= 0)
        STOPRUN("Error: bad MAX ITERS specification");

    bool nointercept = SAMETXT(intercept, "no");
    bool cox = SAMETXT(family, "cox");
    if (!nointercept || cox) q += 1;
    s.q = static_cast<int>(q);
    if (factor && nointercept && !cox)
        STOPRUN("Error: with a factor in the model, an intercept should be in the model as well");

    if (s.n == -1) {
        s.n = COUNTD(DATNAME(dataname), s.p, format, MAXOBS);
        if (s.n == 0) STOPRUN("  you ve run out of data");
    }
    return s;
}
