// The built program on small model files: the workspace lines, every message of the model file
// checks, and the exit status.
#include "lumifit_testutil.h"

#include <algorithm>
#include <functional>
#include <sstream>
#include <vector>

using namespace lumifit_test;

namespace {

struct MODTEXT {
    std::string data = "DATA: toy", p = "P: 3", n = "N: 5", format = "FORMAT: free",
                miss = "MISSING-CODE: 99999", icpt = "INTERCEPT: yes", header = "'VARIABLE NAME' TYPE DF";
    std::vector<std::string> vars{"y response 0", "x predictor 3", "g factor 2"};
    std::string family = "FAMILY: gaussian", link = "LINK: identity", thresh = "THRESHOLDS: 0.001 0.001",
                maxit = "'MAX ITERS:' 10 10";
    std::string text() const {
        std::string t =
            data + "\n" + p + "\n" + n + "\n" + format + "\n" + miss + "\n" + icpt + "\n" + header + "\n";
        for (const auto &v : vars)
            t += v + "\n";
        return t + family + "\n" + link + "\n" + thresh + "\n" + maxit + "\n";
    }
};

const std::string TOYDATA = "1 1.0 1\n2 2.0 2\n3 3.0 3\n4 4.0 1\n5 5.0 2\n";
// n = 5, p = 3, q = 4 (x, two indicators of g, intercept), nsm = 1
const std::string TOYSPACE = " Space requirement:        336 real         55 integer    121 char\n"
                             " Total space needed=            512 words, or           2048 bytes\n";

std::vector<std::string> lines(const std::string &s) {
    std::vector<std::string> v;
    std::istringstream in(s);
    for (std::string l; std::getline(in, l);)
        v.push_back(l);
    return v;
}

struct CASE {
    const char *name;
    std::function<void(MODTEXT &, std::string &)> change; // edits the model text and the data
    int status;                                           // exit status, or -1 when only the lines matter
    bool workspace;                  // whether the output starts with the workspace lines
    std::vector<std::string> expect; // after an error the last lines; after a normal end a block of lines
};

// clang-format off
const std::vector<CASE> &cases() {
    static const std::vector<CASE> c = {
        {"valid model", [](MODTEXT &, std::string &) {}, 0, true, {}},
        {"N -1 counts the observations", [](MODTEXT &m, std::string &) { m.n = "N: -1"; }, 0, true, {}},
        {"N -1 with no observation", [](MODTEXT &m, std::string &d) { m.n = "N: -1", d = "\n\n"; }, 1, false,
         {"   you ve run out of data"}},
        {"N -0.5", [](MODTEXT &m, std::string &) { m.n = "N: -0.5"; }, 1, false,
         {" Error: bad specification of number of obs"}},
        {"N 0.5 leaves no observation", [](MODTEXT &m, std::string &) { m.n = "N: 0.5"; }, 1, false,
         {" Error: bad specification of number of obs"}},
        {"N 100.0 fails the second pass", [](MODTEXT &m, std::string &) { m.n = "N: 100.0"; }, 1, true,
         {" Error: model file $.mod, line 3: expected N: and the number of observations (an integer), value 2 is "
          "not an integer: \"100.0\""}},
        {"N above the limit", [](MODTEXT &m, std::string &) { m.n = "N: 1e8"; }, 1, false,
         {" Error: n exceeds hard limit of 99999999 used in routine getdim"}},
        {"one observation short", [](MODTEXT &m, std::string &) { m.n = "N: 6"; }, 1, true,
         {"   you ve run out of data"}},
        {"P 76", [](MODTEXT &m, std::string &) { m.p = "P: 76"; }, 1, false,
         {" Error: # var exceeds hard limit of 75 used in routine getdim"}},
        {"P 0", [](MODTEXT &m, std::string &) { m.p = "P: 0"; }, 1, false,
         {" Error: bad specification of number of variables"}},
        {"P 3.0", [](MODTEXT &m, std::string &) { m.p = "P: 3.0"; }, 1, false,
         {" Error: model file $.mod, line 2: expected P: and the number of variables, value 2 is not an "
          "integer: \"3.0\""}},
        {"wrong DATA keyword", [](MODTEXT &m, std::string &) { m.data = "DATA toy"; }, 1, false,
         {" Error: missing data file specification"}},
        {"wrong P keyword", [](MODTEXT &m, std::string &) { m.p = "p: 3"; }, 1, false,
         {" Error: missing number of variables specification"}},
        {"wrong N keyword", [](MODTEXT &m, std::string &) { m.n = "NOBS: 5"; }, 1, false,
         {" Error: missing number of obs specification"}},
        {"wrong FORMAT keyword", [](MODTEXT &m, std::string &) { m.format = "FMT: free"; }, 1, false,
         {" Error: missing format specification"}},
        {"wrong MISSING-CODE keyword", [](MODTEXT &m, std::string &) { m.miss = "MISSING: 9"; }, 1, false,
         {" Error: missing the missing code specification"}},
        {"wrong INTERCEPT keyword", [](MODTEXT &m, std::string &) { m.icpt = "ICPT: yes"; }, 1, false,
         {" Error: missing the intercept specification"}},
        {"header not quoted", [](MODTEXT &m, std::string &) { m.header = "VARIABLE NAME TYPE DF"; }, 1, false,
         {" Error: missing the VARIABLE NAME line"}},
        {"unknown variable type", [](MODTEXT &m, std::string &) { m.vars[1] = "x smooth 3"; }, 1, false,
         {" Error: illegal variable type (RESPONSE, PREDICTOR etc) "}},
        {"negative df", [](MODTEXT &m, std::string &) { m.vars[1] = "x predictor -1"; }, 1, false,
         {" Error:  requested degrees of freedom  is less than  0"}},
        {"response with df", [](MODTEXT &m, std::string &) { m.vars[0] = "y response 1"; }, 1, false,
         {" Error: illegal value of degrees of freedom for response  "}},
        {"poisson matches poiss", [](MODTEXT &m, std::string &) { m.family = "FAMILY: poisson"; }, 0, true, {}},
        {"Poisson is refused", [](MODTEXT &m, std::string &) { m.family = "FAMILY: Poisson"; }, 1, false,
         {" Error: bad FAMILY specification"}},
        {"unknown link", [](MODTEXT &m, std::string &) { m.link = "LINK: probit"; }, 1, false,
         {" Error: bad LINK specification"}},
        {"cox family with another link",
         [](MODTEXT &m, std::string &) { m.family = "FAMILY: cox"; }, 1, false,
         {" Error: bad family-link specification"}},
        {"threshold 0", [](MODTEXT &m, std::string &) { m.thresh = "THRESHOLDS: 0.001 0"; }, 1, false,
         {" Error: bad THRESHOLDS specification"}},
        {"MAX ITERS not quoted", [](MODTEXT &m, std::string &) { m.maxit = "MAX ITERS: 10 10"; }, 1, false,
         {" Error: bad MAX ITERS specification"}},
        {"INTERCEPT no with a factor, gauss", [](MODTEXT &m, std::string &) { m.icpt = "INTERCEPT: no"; }, 1,
         false, {" Error: with a factor in the model, an intercept should be in the model as well"}},
        // accepted by the model checks, with the intercept column counted (q = 4)
        {"INTERCEPT no with a factor, cox",
         [](MODTEXT &m, std::string &d) {
             m.icpt = "INTERCEPT: no", m.p = "P: 4", m.family = "FAMILY: cox", m.link = "LINK: cox";
             m.vars.push_back("dead censoring 0");
             d = "1 1.0 1 1\n2 2.0 2 0\n3 3.0 3 1\n4 4.0 1 1\n5 5.0 2 0\n";
         },
         -1, true,
         {" Space requirement:        341 real         56 integer    161 char",
          " Total space needed=            558 words, or           2232 bytes"}},
        {"missing response, percentage by integer division",
         [](MODTEXT &m, std::string &d) { m.n = "N: 3", d = "1 1 1\n99999 2 2\n3 3 3\n"; }, 0, true,
         {"    1  respons missing (=} 99999), or 33.0% of the data;", " their weights will be set to 0"}},
        {"missing binomial response with a denominator",
         [](MODTEXT &m, std::string &d) {
             m.p = "P: 4", m.family = "FAMILY: binomial", m.link = "LINK: logit";
             m.vars.push_back("trials denom 0");
             d = "1 1 1 2\n99999 2 2 4\n3 3 3 4\n0 4 1 1\n1 5 2 3\n";
         },
         0, true, {"    1  respons missing (=} 99999), or 20.0% of the data;", " their weights will be set to 0"}},
        {"missing gamma response with a negative code",
         [](MODTEXT &m, std::string &d) {
             m.miss = "MISSING-CODE: -9", m.family = "FAMILY: gamma", m.link = "LINK: inverse";
             d = "1 1 1\n-9 2 2\n3 3 3\n4 4 1\n5 5 2\n";
         },
         0, true, {"    1  respons missing (=} 99999), or 20.0% of the data;", " their weights will be set to 0"}},
        {"binomial response above its denominator",
         [](MODTEXT &m, std::string &d) {
             m.p = "P: 4", m.family = "FAMILY: binomial", m.link = "LINK: logit";
             m.vars.push_back("trials denom 0");
             d = "1 1 1 2\n2 2 2 4\n5 3 3 4\n0 4 1 1\n1 5 2 3\n";
         },
         1, true, {" Error: binomial response > denominator for obs      3"}},
        {"negative Poisson response",
         [](MODTEXT &m, std::string &d) { m.family = "FAMILY: poisson", d = "1 1 1\n-2 2 2\n3 3 3\n4 4 1\n5 5 2\n"; },
         1, true, {" error: illegal response value for family"}},
        {"DENOM with family gauss",
         [](MODTEXT &m, std::string &d) {
             m.p = "P: 4", m.vars.push_back("trials denom 0");
             d = "1 1 1 2\n2 2 2 4\n3 3 3 4\n0 4 1 1\n1 5 2 3\n";
         },
         0, true, {" Warning: Binomial model not specified so DENOM variable ignored"}},
        {"CENSORING with family gauss",
         [](MODTEXT &m, std::string &d) {
             m.p = "P: 4", m.vars.push_back("dead censoring 0");
             d = "1 1 1 1\n2 2 2 0\n3 3 3 1\n4 4 1 1\n5 5 2 0\n";
         },
         0, true, {" Warning: Cox model not specified so CENSORING variable ignored"}},
        {"censoring value 2",
         [](MODTEXT &m, std::string &d) {
             m.p = "P: 4", m.vars.push_back("dead censoring 0");
             d = "1 1 1 1\n2 2 2 0\n3 3 3 2\n4 4 1 1\n5 5 2 0\n";
         },
         1, true, {" Error: censoring variable ne 0 or 1 for obs      3"}},
        {"no response", [](MODTEXT &m, std::string &) { m.vars[0] = "y predictor 0"; }, 1, true,
         {" Error: no response variable specified"}},
        {"cox without censoring",
         [](MODTEXT &m, std::string &) { m.family = "FAMILY: cox", m.link = "LINK: cox"; }, 1, true,
         {" Error: no censoring variable specified for Cox model"}},
        {"no term and no intercept",
         [](MODTEXT &m, std::string &) {
             m.icpt = "INTERCEPT: no", m.vars[1] = "x predictor 0", m.vars[2] = "g factor 0";
         },
         1, true, {" Error: model requires at least an intcpt, or factor or predictor"}},
        {"two responses", [](MODTEXT &m, std::string &) { m.vars[1] = "x response 0"; }, 1, true,
         {" Error  more than one response variable specified"}},
        {"two weights",
         [](MODTEXT &m, std::string &) { m.vars[1] = "x weight 0", m.vars[2] = "g weight 0"; }, 1, true,
         {" Error  more than one weight variable specified"}},
        {"negative weight",
         [](MODTEXT &m, std::string &d) { m.vars[1] = "x weight 0", d = "1 1 1\n2 -2 2\n3 3 3\n4 4 1\n5 5 2\n"; },
         1, true, {" error: negative weight"}},
        {"factor with the wrong df", [](MODTEXT &m, std::string &) { m.vars[2] = "g factor 3"; }, 1, true,
         {" Error: for variable   3, the number of distinct values is      3; the degrees of freedom should be "
          "     2"}},
        {"model file ends early", [](MODTEXT &m, std::string &) { m.maxit = ""; }, 1, false,
         {" Error: model file $.mod ends after line 14; expected MAX ITERS: and two integers"}},
        {"missing data file", [](MODTEXT &m, std::string &) { m.data = "DATA: nosuch"; }, 1, true,
         {" Error: cannot open the data file nosuch.dat"}},
        {"data value not a number", [](MODTEXT &, std::string &d) { d = "1 1 1\n2 2,x 2\n"; }, 1, true,
         {" Error: data file toy.dat, line 2, column 5: not a number: \"x\""}},
    };
    return c;
}
// clang-format on

void PrintTo(const CASE &c, std::ostream *os) {
    *os << c.name;
}

class RUNCASE : public testing::TestWithParam<CASE> {};

TEST_P(RUNCASE, PrintsItsMessagesAndExitStatus) {
    const CASE &c = GetParam();
    MODTEXT m;
    std::string data = TOYDATA;
    c.change(m, data);
    TEMPDIR dir;
    dir.write("$.mod", m.text());
    dir.write("toy.dat", data);
    RUN r = runlumifit(dir.path());
    if (c.status >= 0) {
        EXPECT_EQ(r.status, c.status) << r.out;
    }
    std::vector<std::string> out = lines(r.out);
    EXPECT_EQ(!out.empty() && out[0].rfind(" Space requirement:", 0) == 0, c.workspace) << r.out;
    if (c.status == 1) {
        ASSERT_GE(out.size(), c.expect.size()) << r.out;
        EXPECT_EQ(std::vector<std::string>(out.end() - static_cast<long>(c.expect.size()), out.end()),
                  c.expect)
            << r.out;
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2)
            << "an error writes no result file";
    } else {
        EXPECT_NE(std::search(out.begin(), out.end(), c.expect.begin(), c.expect.end()), out.end()) << r.out;
    }
}

INSTANTIATE_TEST_SUITE_P(ModelFiles, RUNCASE, testing::ValuesIn(cases()), [](const auto &info) {
    std::string s;
    for (const char *p = info.param.name; *p; ++p)
        s += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
    return s;
});

TEST(Run, ValidModelStartsWithTheWorkspaceLines) {
    for (const char *n : {"N: 5", "N: -1"}) {
        MODTEXT m;
        m.n = n;
        TEMPDIR dir;
        dir.write("$.mod", m.text());
        dir.write("toy.dat", TOYDATA);
        RUN r = runlumifit(dir.path());
        EXPECT_EQ(r.status, 0);
        EXPECT_EQ(r.out.substr(0, TOYSPACE.size()), TOYSPACE) << n;
    }
}

TEST(Run, SeventyFiveVariablesAreAccepted) {
    MODTEXT m;
    m.p = "P: 75";
    std::string row = "1 2 3";
    for (int i = 4; i <= 75; ++i)
        m.vars.push_back("v" + std::to_string(i) + " predictor 0"), row += " 0";
    std::string data;
    for (int j = 1; j <= 5; ++j)
        data += std::to_string(j) + " " + std::to_string(j) + " " + std::to_string(j % 3 + 1) +
                row.substr(5) + "\n";
    TEMPDIR dir;
    dir.write("$.mod", m.text());
    dir.write("toy.dat", data);
    RUN r = runlumifit(dir.path());
    EXPECT_EQ(r.status, 0) << r.out;
}

TEST(Run, NoModelFile) {
    TEMPDIR dir;
    RUN r = runlumifit(dir.path());
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.out, " Error: cannot open the model file $.mod\n");
}

TEST(Run, WorkspaceAboveCapacity) {
    MODTEXT m;
    m.n = "N: 99999999";
    TEMPDIR dir;
    dir.write("$.mod", m.text());
    RUN r = runlumifit(dir.path());
    EXPECT_EQ(r.status, 1);
    std::vector<std::string> out = lines(r.out);
    ASSERT_EQ(out.size(), 6u) << r.out;
    EXPECT_EQ(out[2], " ERROR: Increase lworkr and the dimension of the");
    EXPECT_EQ(out[3], "  array workr in the main program, to at least   5100000030");
    EXPECT_EQ(out[4], " ERROR: Increase lworki and the dimension of the");
    EXPECT_EQ(out[5], "  array worki in the main program, to at least    700000013");
}

} // namespace
