// Models of linear terms and factors only are generalized linear models: on published data sets
// the deviance, coefficients and standard errors agree with R's glm (fixtures in data/glm, see
// data/SOURCES).
#include "FAMILY.h"
#include "locsco_testutil.h"

#include <cmath>
#include <fstream>
#include <vector>

using namespace lumifit_test;

namespace {

struct GLMREF {
    std::string name;
    double dev = 0, rdf = 0;
    std::vector<double> beta, se; // per design column, intercept last
};

std::vector<GLMREF> references() {
    std::ifstream in(fixtures() / "glm" / "reference.txt");
    std::vector<GLMREF> refs;
    std::string word;
    while (in >> word) {
        GLMREF r;
        int q = 0;
        in >> r.name >> r.dev >> r.rdf >> q;
        r.beta.resize(q);
        r.se.resize(q);
        for (int j = 0; j < q; ++j)
            in >> r.beta[j] >> r.se[j];
        refs.push_back(r);
    }
    return refs;
}

void expectrel(double got, double want, const std::string &what) {
    EXPECT_LE(std::fabs(got - want), 1e-6 * std::fabs(want)) << what << ": " << got << " against " << want;
}

TEST(GlmReference, DevianceCoefficientsAndStandardErrorsAgree) {
    const std::vector<GLMREF> refs = references();
    ASSERT_EQ(refs.size(), 5u);
    for (const GLMREF &ref : refs) {
        SCOPED_TRACE(ref.name);
        TEMPDIR dir(true);
        for (const auto &e : std::filesystem::directory_iterator(fixtures() / "glm" / ref.name))
            std::filesystem::copy(e.path(), dir.path() / e.path().filename());
        INRUN r;
        runinprocess(r);
        ASSERT_EQ(r.stop, "") << r.out;
        ASSERT_EQ(r.dims.q, static_cast<int>(ref.beta.size()));

        const FAM fam = FAMCODE(r.m.family);
        const double dev = DEV(r.dims.n, r.w.MU, r.w.Y, r.w.W, r.w.D, fam);
        expectrel(dev, ref.dev, "deviance");
        const bool scaled = fam == FAM::GAUSS || fam == FAM::GAMMA;
        const double phi = scaled ? dev / ref.rdf : 1.0;
        for (int j = 1; j <= r.dims.q; ++j) {
            expectrel(r.beta(j), ref.beta[j - 1], "coefficient " + std::to_string(j));
            expectrel(std::sqrt(r.k(j, j) * phi), ref.se[j - 1], "standard error " + std::to_string(j));
        }
        std::ifstream out(dir.path() / "$.out");
        double status, n, rdf;
        out >> status >> n >> rdf;
        EXPECT_EQ(rdf, ref.rdf) << "residual df of $.out";
    }
}

} // namespace
