// Result files: the number fields, the chi-square probability, and the files of a run of the
// built program checked field by field.
#include "DUMPGF.h"
#include "PCHIS.h"
#include "RESFILE.h"
#include "locsco_testutil.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>
#include <vector>

using namespace lumifit_test;

namespace {

std::vector<std::string> filelines(const std::filesystem::path &p) {
    std::ifstream in(p, std::ios::binary);
    std::vector<std::string> v;
    for (std::string l; std::getline(in, l);)
        v.push_back(l);
    return v;
}

TEST(Results, RealFieldsAreFixedPointWhenTheyFit) {
    struct CASE {
        double v;
        int w, d;
        const char *want;
    };
    const CASE cases[] = {
        {3.14159265, 13, 6, "     3.141593"}, {-99999.5, 13, 6, "-99999.500000"},
        {-123456.5, 13, 6, "-1.234565e+05"},  {123456.789, 10, 5, "1.2346e+05"},
        {0.0, 12, 4, "      0.0000"},         {1e300, 10, 4, "1.000e+300"},
        {-2.5e-7, 12, 4, "     -0.0000"},     {19990.99560, 9, 2, " 19991.00"},
    };
    for (const CASE &c : cases)
        EXPECT_EQ(RFIELD(c.v, c.w, c.d), c.want) << c.v;
}

TEST(Results, NumbersAreEditedAsPrintfEditsThem) {
    // Exact ties, values a rounding away from a tie (where scaling in doubles goes wrong), negatives
    // that round to zero, the switches between the forms of %g, carries into a new digit, fields
    // too narrow for fixed point, and the ends of the double range.
    std::vector<double> values = {0.125,    0.375,     2.5,         -2.5,       1048576.5,  984.70354999999995,
                                  0.86609245000000001, 87.611265000000003, 902897.35, 0.26826994999999998,
                                  -0.00004, -2.5e-7,   -0.0,        0.0,        9999999.5,  9999999.4999,
                                  99999.995, 999.99995, 0.00099999995, 1e-4,      9.9999995e-5, 1e-5,
                                  1234567.0, 12345678.0, 1e15,       1e-15,      -123456.5,  1e300,
                                  5e-324,   -1.7976931348623157e308, 4503599627370495.5, 0.5};
    // A random sweep: decimals with a 5 just beyond the kept digits, and doubles of any size.
    std::mt19937_64 rng(11);
    for (int k = 0; k < 20000; ++k) {
        const double tie = (double(rng() % 100000000) + 0.5) / std::pow(10.0, double(rng() % 12));
        values.push_back(k % 2 ? tie : -tie);
        values.push_back(std::ldexp(double(rng() % 1000000007) - 5e8, int(rng() % 200) - 100));
    }
    const int fields[][2] = {{12, 4}, {13, 6}, {10, 4}, {7, 3}, {9, 2}};
    char want[512], got[NUMTXTMAX + 64];
    for (double v : values) {
        std::snprintf(want, sizeof want, "%.7g", v);
        ASSERT_EQ(std::string(got, GENERALTXT(v, got)), want) << std::hexfloat << v;
        for (auto [w, d] : fields) {
            if (std::snprintf(want, sizeof want, "%*.*f", w, d, v) > w) continue; // exponent form
            ASSERT_EQ(RFIELD(v, w, d), want) << std::hexfloat << v << " in " << w << "." << d;
        }
    }
}

TEST(Results, ChiSquareAgreesWithAnAccurateIncompleteGamma) {
    std::ifstream in(fixtures() / "pchisq.txt");
    double x, nu, want;
    int count = 0;
    while (in >> x >> nu >> want) {
        double p = -1.0;
        ASSERT_TRUE(PCHIS(x, nu, p));
        EXPECT_NEAR(p, want, 1e-6) << "x " << x << " nu " << nu;
        ++count;
    }
    EXPECT_EQ(count, 234);
    for (double a : {0.05, 0.5, 1.0, 2.5, 7.3, 10.0, 32.9})
        EXPECT_NEAR(GAM(a) / std::tgamma(a), 1.0, 1e-13) << a;
    for (double a : {0.3, 9.9, 10.1, 45.5, 800.0})
        EXPECT_NEAR(GAMLOG(a), std::lgamma(a), 1e-12 * std::fabs(std::lgamma(a)) + 1e-13) << a;
}

TEST(Results, ChiSquareArgumentErrors) {
    CAPTURE cap;
    double p = 0.25;
    EXPECT_FALSE(PCHIS(0.0, 3.0, p));
    EXPECT_FALSE(PCHIS(-1.0, 3.0, p));
    EXPECT_FALSE(PCHIS(2.0, 0.0, p));
    EXPECT_EQ(p, 0.25);
    EXPECT_EQ(cap.text(),
              " ERROR  Quantile ( for nl p-value) not positive\n"
              " ERROR  Quantile ( for nl p-value) not positive\n"
              " ERROR probability variable from chi-square less than quant Parameter ETA not positive\n");
    EXPECT_EQ(stopmessage([] { GAM(0.0); }), "etal ess than or equal zero");
    EXPECT_EQ(stopmessage([] { GAM(33.5); }), "eta greater than 33");
    EXPECT_EQ(stopmessage([] { GAMLOG(-1.0); }), "ERROR eta less than or equal zero");
}

TEST(Results, PlotFileNames) {
    EXPECT_EQ(GRANAME("temp                "), "temp.gra");
    EXPECT_EQ(GRANAME("temp c              "), "temp.gra");
    EXPECT_EQ(GRANAME("../up/x             "), ".._up_x.gra");
}

// A Poisson model with a smooth term, a factor of 2 categories, one of 3, a linear term and a
// weight that is 0 for one observation.
const int NOBS = 40;
std::string modelfile() {
    return "DATA: d\nP: 6\nN: 40\nFORMAT: free\nMISSING-CODE: 99999\nINTERCEPT: yes\n'VARIABLE NAME' TYPE "
           "DF\n"
           "y response 0\nx predictor 3\nh factor 1\nf factor 2\nl predictor 1\nwt weight 0\n"
           "FAMILY: poisson\nLINK: logarithm\nTHRESHOLDS: 0.0001 0.001\n'MAX ITERS:' 20 20\n";
}
std::string datafile() {
    std::ostringstream s;
    for (int i = 0; i < NOBS; ++i) {
        const double x = 1.0 + i * 0.25;
        const int f = 1 + i % 3, h = 1 + (i / 3) % 2, y = 2 + (i * 7) % 5 + f + (i > 20 ? 3 : 0);
        s << y << " " << x << " " << h << " " << f << " " << (i % 7) * 0.5 << " " << (i == 5 ? 0 : 1) << "\n";
    }
    return s.str();
}

const std::string REAL = R"([ \-0-9.]{12} )";
const std::string F13 = R"( [ \-0-9.]{13})";

TEST(Results, FilesOfARunFieldByField) {
    TEMPDIR dir;
    dir.write("$.mod", modelfile());
    dir.write("d.dat", datafile());
    dir.write("$.sum", "an earlier result\n");
    RUN r = runlumifit(dir.path());
    ASSERT_EQ(r.status, 0) << r.out;
    EXPECT_TRUE(std::regex_search(
        r.out,
        std::regex(
            R"(\n\n Final deviance= +[0-9]+\.[0-9]{5} Residual degrees of freedom= +[0-9]+\.[0-9]{5}\n$)")))
        << r.out;

    // $.sum: x (smooth), h d2, f d2, f d3, l, intercept
    const auto sum = filelines(dir.path() / "$.sum");
    ASSERT_EQ(sum.size(), 6u);
    EXPECT_TRUE(std::regex_match(sum[0], std::regex(R"( [ 0-9]{3}\.[0-9]{3})" + F13 + F13 + F13 + F13 + F13)))
        << sum[0];
    for (int j = 1; j <= 5; ++j)
        EXPECT_TRUE(std::regex_match(sum[j], std::regex(R"(   1\.000)" + F13 + F13 + F13 + R"( \. \.)")))
            << sum[j];
    double sdf = 0;
    for (int j = 0; j < 5; ++j)
        sdf += std::stod(sum[j].substr(1, 7));

    // $.out: status, n, residual df (one zero weight), deviance, scale 1
    const auto out = filelines(dir.path() / "$.out");
    ASSERT_EQ(out.size(), 5u);
    EXPECT_EQ(out[0], "  0");
    EXPECT_EQ(out[1], "       40");
    for (int k = 2; k < 5; ++k)
        EXPECT_TRUE(std::regex_match(out[k], std::regex(R"( [ 0-9]{6}\.[0-9]{6})"))) << out[k];
    EXPECT_NEAR(std::stod(out[2]), NOBS - sdf - 1.0 - 1.0, 5.1e-4); // the df of $.sum has 3 decimals
    EXPECT_EQ(out[4], "      1.000000");

    // $.fit: y, mu, r, r sqrt(W) and the five columns other than the intercept
    const auto fit = filelines(dir.path() / "$.fit");
    std::regex obs(" (" + REAL + "){9}");
    for (int i = 0; i < NOBS; ++i)
        ASSERT_TRUE(std::regex_match(fit[i], obs)) << i << ": " << fit[i];
    EXPECT_EQ(fit[0].substr(1, 12), "      3.0000");          // y of the first observation
    EXPECT_EQ(fit[0].substr(1 + 4 * 13, 12), "      1.0000"); // its x
    std::vector<std::string> head(fit.begin() + NOBS, fit.begin() + NOBS + 6);
    EXPECT_EQ(head, (std::vector<std::string>{
                        "\x1a", "***PLOTTING INFORMATION***", "",
                        "y, muhat, res, stand res,  match matrix for smooth terms",
                        "(partial res for jth smooth term is res+smooth(match(.,j),j)  )", ""}));
    EXPECT_TRUE(std::regex_match(fit[NOBS + 6],
                                 std::regex(R"(intercept [ \-0-9.]{10}  standard error [ 0-9.]{10})")));
    std::size_t at = NOBS + 7;
    auto next = [&] { return at < fit.size() ? fit[at++] : std::string("<end of file>"); };
    EXPECT_EQ(next(), "");
    EXPECT_TRUE(std::regex_match(next(), std::regex(R"(x {19}  dof: +[0-9]\.[0-9]{2})")));
    EXPECT_EQ(next(), "abscissa, smooth, lower, upper");
    for (int g = 0; g < NOBS; ++g) { // every abscissa is its own group
        std::istringstream in(next());
        double a, s, lo, hi;
        ASSERT_TRUE(in >> a >> s >> lo >> hi);
        EXPECT_DOUBLE_EQ(a, 1.0 + g * 0.25);
        EXPECT_LE(lo, s);
        EXPECT_LE(s, hi);
    }
    const std::string slopehead = "variable number, slope,  standard-error, cov with intcp, min x, max x";
    const std::string slope = R"( [ 0-9]{3}( [ \-0-9.]{10}){5})";
    struct TITLE {
        const char *title;
        const char *var;
    };
    // Level numbers are the categories of the indicators, counted afresh for each factor.
    for (const TITLE t : {TITLE{"h                          2       2  dof:      1.00", "  3"},
                          TITLE{"f                          2       3  dof:      1.00", "  4"},
                          TITLE{"f                          3       3  dof:      1.00", "  4"},
                          TITLE{"l                     dof:      1.00", "  5"}}) {
        EXPECT_EQ(next(), "");
        EXPECT_EQ(next(), t.title);
        EXPECT_EQ(next(), slopehead);
        const std::string l = next();
        EXPECT_TRUE(std::regex_match(l, std::regex(slope))) << l;
        EXPECT_EQ(l.substr(1, 3), t.var);
    }
    EXPECT_EQ(at, fit.size());

    // .gra files: one per variable of the model; the factor's two columns as two blocks
    for (const char *name : {"x.gra", "h.gra", "l.gra"})
        EXPECT_EQ(filelines(dir.path() / name).size(), 40u) << name;
    const auto f = filelines(dir.path() / "f.gra");
    ASSERT_EQ(f.size(), 81u);
    EXPECT_EQ(f[40], "");
    for (std::size_t k = 0; k < f.size(); ++k) {
        if (k == 40) continue;
        std::istringstream in(f[k]);
        double x, v, lo, hi, pr;
        ASSERT_TRUE(in >> x >> v >> lo >> hi >> pr) << f[k];
        EXPECT_TRUE(x == 0.0 || x == 1.0);
        EXPECT_LE(lo, v);
        EXPECT_LE(v, hi);
        // Each block's line i holds observation i's partial residual: its residual in $.fit plus
        // the fit of this block's column.
        std::istringstream obs(fit[k % 41]);
        double y, mu, res;
        ASSERT_TRUE(obs >> y >> mu >> res);
        EXPECT_NEAR(pr - v, res, 1e-4 + 1e-6 * (std::fabs(pr) + std::fabs(v))) << f[k];
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "wt.gra"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "y.gra"));
}

// More than 4 + 50 values per observation go on in a further line of the same form.
TEST(Results, LongObservationLinesBreakAfter54Values) {
    // three factors of 20 categories: 57 indicator columns, 61 values per observation
    std::ostringstream data;
    for (int i = 0; i < 100; ++i)
        data << (i * 7) % 5 << " " << 1 + i % 20 << " " << 1 + (i / 5) % 20 << " " << 1 + (i * 3) % 20
             << "\n";
    TEMPDIR dir;
    dir.write("d.dat", data.str());
    dir.write(
        "$.mod",
        "DATA: d\nP: 4\nN: 100\nFORMAT: free\nMISSING-CODE: 99999\nINTERCEPT: yes\n'VARIABLE NAME' TYPE DF\n"
        "y response 0\na factor 19\nb factor 19\nc factor 19\nFAMILY: gauss\nLINK: ident\n"
        "THRESHOLDS: 0.001 0.001\n'MAX ITERS:' 10 10\n");
    RUN r = runlumifit(dir.path());
    ASSERT_EQ(r.status, 0) << r.out;
    const auto fit = filelines(dir.path() / "$.fit");
    ASSERT_GT(fit.size(), 201u);
    for (int i = 0; i < 100; ++i) {
        EXPECT_TRUE(std::regex_match(fit[2 * i], std::regex(" (" + REAL + "){54}"))) << fit[2 * i];
        EXPECT_TRUE(std::regex_match(fit[2 * i + 1], std::regex(" (" + REAL + "){7}"))) << fit[2 * i + 1];
    }
    EXPECT_EQ(fit[200], "\x1a");
}

TEST(Results, FailedRunLeavesEarlierResultsAlone) {
    TEMPDIR dir;
    std::string mod = modelfile();
    dir.write("$.mod", mod);
    dir.write("d.dat", datafile());
    ASSERT_EQ(runlumifit(dir.path()).status, 0);
    const auto before = filelines(dir.path() / "$.sum");
    // The same model over responses too large to square: the fit diverges.
    std::string data = datafile();
    data.replace(0, 1, "1e300");
    dir.write("d.dat", data);
    mod.replace(mod.find("poisson"), 7, "gaussian").replace(mod.find("logarithm"), 9, "identity");
    dir.write("$.mod", mod);
    RUN r = runlumifit(dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find(" Error: the fit diverged in outer iteration 1"), std::string::npos) << r.out;
    EXPECT_EQ(filelines(dir.path() / "$.sum"), before);
    for (const auto &e : std::filesystem::directory_iterator(dir.path()))
        EXPECT_EQ(e.path().filename().string().find(".tmp"), std::string::npos) << e.path();
}

} // namespace
