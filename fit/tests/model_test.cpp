// The two passes over the model file and the set-up before the fit, run in-process on small models.
#include "FIXTXT.h"
#include "GETDIM.h"
#include "MAINGA.h"
#include "TERMLAB.h"
#include "lumifit_testutil.h"

#include <vector>

using namespace lumifit_test;

namespace {

std::string modeltext(const std::string &n, const std::string &icpt, const std::vector<std::string> &vars,
                      const std::string &family, const std::string &link) {
    std::string t = "DATA: d\nP: " + std::to_string(vars.size()) + "\nN: " + n +
                    "\nFORMAT: free\nMISSING-CODE: 99999\nINTERCEPT: " + icpt + "\n'VARIABLE NAME' TYPE DF\n";
    for (const auto &v : vars)
        t += v + "\n";
    return t + "FAMILY: " + family + "\nLINK: " + link + "\nTHRESHOLDS: 0.001 0.001\n'MAX ITERS:' 10 10\n";
}

// One complete set-up before the fit: first pass, workspace, MODSET, in a temporary current directory.
struct SETUP {
    SETUP(const std::string &model, const std::string &data) : dir(true), mod("$.mod", model) {
        dir.write("d.dat", data);
        CAPTURE out;
        dims = GETDIM(mod);
        WSALLOC(dims, w);
        MODSET(mod, dims, w, m, dc);
        printed = out.text();
    }
    std::vector<double> col(int c) const { return {dc.column(c), dc.column(c) + dims.n}; }
    TEMPDIR dir;
    MODFILE mod;
    DIMS dims;
    WORK w;
    MODSPEC m;
    DESIGN dc;
    std::string printed;
};

TEST(ModelReader, ValuesQuotesAndLineNumbers) {
    MODFILE mod("m", "\n  a,'b c',\"x, y\"  'it''s' 007\r\nshort\n");
    MODLINE l = mod.next("the first line");
    EXPECT_EQ(l.lineno(), 2);
    ASSERT_EQ(l.count(), 5u);
    EXPECT_EQ(l.text(0, 3), "a  ");
    EXPECT_EQ(l.text(1, 2), "b ");
    EXPECT_EQ(l.text(2, 4), "x, y");
    EXPECT_EQ(l.text(3, 10), "it's      ");
    EXPECT_EQ(l.integer(4), 7);
    CAPTURE quiet;
    EXPECT_EQ(stopmessage([&] { l.integer(3); }),
              "Error: model file m, line 2: expected the first line, value 4 is not an integer: 'it's'");
    EXPECT_EQ(stopmessage([&] { l.real(5); }),
              "Error: model file m, line 2: expected the first line, found too few values");
    mod.next("a second line");
    EXPECT_EQ(stopmessage([&] { mod.next("a third line"); }),
              "Error: model file m ends after line 3; expected a third line");
}

TEST(ModelReader, LinesThatCannotBeSplit) {
    CAPTURE quiet;
    EXPECT_EQ(stopmessage([] { MODFILE("m", "DATA: 'toy\n").next("x"); }),
              "Error: model file m, line 1: the quoted value starting in column 7 is not closed");
    EXPECT_EQ(stopmessage([] { MODFILE("m", "P:,,3\n").next("x"); }),
              "Error: model file m, line 1: empty value before the comma in column 4");
    EXPECT_EQ(stopmessage([] { MODFILE::open("nosuch/$.mod"); }),
              "Error: cannot open the model file nosuch/$.mod");
}

TEST(FirstPass, SizesCountFactorDfSmoothTermsAndTheIntercept) {
    struct {
        std::vector<std::string> vars;
        const char *icpt;
        int q, nsm;
    } cases[] = {
        {{"y response 0", "f factor 3"}, "yes", 4, 0},
        {{"y response 0", "f factor 2.5", "a predictor 0.5"}, "yes", 4, 0},
        {{"y response 0", "a predictor 1", "b predictor 1.5", "c predictor 0"}, "no", 2, 1},
        {{"y response 0", "a predictor 4", "b predictor 3"}, "'yes please'", 3, 2},
    };
    for (auto &c : cases) {
        MODFILE mod("$.mod", modeltext("7", c.icpt, c.vars, "gauss", "ident"));
        DIMS d = GETDIM(mod);
        EXPECT_EQ(d.n, 7);
        EXPECT_EQ(d.p, static_cast<int>(c.vars.size()));
        EXPECT_EQ(d.q, c.q) << c.vars[1];
        EXPECT_EQ(d.nsm, c.nsm) << c.vars[1];
    }
}

TEST(FirstPass, ValuesInQuotesAndCommas) {
    MODFILE mod("$.mod",
                "DATA:,'my data'\n\nP:,2\nN: -1\nFORMAT: \"(F4.0, F4.0)\"\nMISSING-CODE: 99999\n"
                "INTERCEPT: yes\n'VARIABLE NAME' TYPE DF\n\"y\" response 0\nx predictor 1\n"
                "FAMILY: gaussian\nLINK: identity\nTHRESHOLDS: 1e-3, 1D-3\n'MAX ITERS:' 10 10 extra\n");
    TEMPDIR dir(true);
    dir.write("my data.dat", "   1   2\n   3   4\n   5   6\n");
    EXPECT_EQ(GETDIM(mod).n, 3);
}

TEST(SecondPass, CoxOrdersTiedTimesFailuresFirst) {
    // time, status, x (the observation number)
    SETUP s(modeltext("5", "no", {"t response 0", "dead censoring 0", "x predictor 1"}, "cox", "cox"),
            "5 0 1\n3 0 2\n3 1 3\n1 1 4\n3 1 5\n");
    EXPECT_EQ(std::vector<double>(s.w.Y, s.w.Y + 5), (std::vector<double>{1, 3, 3, 3, 5}));
    EXPECT_EQ(std::vector<int>(s.w.STATUS, s.w.STATUS + 5), (std::vector<int>{1, 1, 1, 0, 0}));
    EXPECT_EQ(s.col(1), (std::vector<double>{4, 3, 5, 2, 1}));
    EXPECT_EQ(s.m.intercept, 1) << "cox always has the intercept column";
    ASSERT_EQ(s.dc.used, 2);
    EXPECT_EQ(s.col(2), (std::vector<double>(5, 1.0)));
}

TEST(SecondPass, WeightLineAfterTheFactorStillDecidesItsCategories) {
    // Value 3 is held only by observations of weight 0: it opens no category, so df 1 fits.
    SETUP s(modeltext("4", "yes", {"y response 0", "f factor 1", "w weight 0"}, "gauss", "ident"),
            "1 1 1\n2 2 1\n3 3 0\n4 3 0\n");
    EXPECT_EQ(s.w.ROLE[1], 102);
    EXPECT_EQ(s.col(1), (std::vector<double>{0, 1, 0, 0}));
}

TEST(SecondPass, IgnoredDenominatorIsNotKept) {
    SETUP s(modeltext("3", "yes", {"y response 0", "n denom 0", "x predictor 1"}, "gauss", "ident"),
            "1 2 1\n2 4 2\n3 5 3\n");
    EXPECT_EQ(std::vector<double>(s.w.Y, s.w.Y + 3), (std::vector<double>{1, 2, 3}));
    EXPECT_EQ(std::vector<double>(s.w.D, s.w.D + 3), (std::vector<double>{1, 1, 1}));
}

TEST(SecondPass, BinomialResponseIsDividedAndMissingOnesAreLeftOut) {
    SETUP s(modeltext("3", "yes", {"y response 0", "n denom 0", "x predictor 1"}, "binomial", "logit"),
            "1 2 1\n99999 4 2\n5 5 3\n");
    EXPECT_EQ(std::vector<double>(s.w.Y, s.w.Y + 3), (std::vector<double>{0.5, 0, 1}));
    EXPECT_EQ(std::vector<double>(s.w.W, s.w.W + 3), (std::vector<double>{1, 0, 1}));
    EXPECT_EQ(std::vector<double>(s.w.D, s.w.D + 3), (std::vector<double>{2, 4, 5}));
}

TEST(SetUp, DesignColumnsSmoothListAndMissingValues) {
    // y, x1 smooth with a missing value, f factor, x2 linear; intercept last.
    SETUP s(modeltext("5", "yes",
                      {"y response 0", "x1 predictor 3", "f factor 1", "x2 predictor 1", "z predictor 0"},
                      "gauss", "ident"),
            "1 1 1 5 0\n2 2 2 4 0\n3 99999 1 3 0\n4 4 2 2 0\n5 5 1 1 0\n");
    ASSERT_EQ(s.dc.used, 4);
    EXPECT_EQ((std::vector<int>(s.dc.kind, s.dc.kind + 4)),
              (std::vector<int>{KSMOOTH, KFACTOR + 2, KLINEAR, KLINEAR}));
    EXPECT_EQ((std::vector<int>(s.dc.var, s.dc.var + 4)), (std::vector<int>{2, 3, 4, 0}));
    EXPECT_EQ((std::vector<int>(s.w.ROLE, s.w.ROLE + 5)), (std::vector<int>{2, 1, 102, 1, 0}));
    EXPECT_STREQ(TERMLABEL(s.dc.label[1]), "d2: ");
    EXPECT_STREQ(TERMLABEL(s.dc.label[2]), "lin:");
    EXPECT_EQ(s.dc.nobs[0], 4);
    ASSERT_EQ(s.dims.nsm, 1);
    EXPECT_EQ(s.w.SMLIST[0], 1);
    EXPECT_DOUBLE_EQ(s.w.SMDF[0], (3 + 0.5) * 0.8);
    EXPECT_EQ(std::vector<int>(s.w.MATCH, s.w.MATCH + 5), (std::vector<int>{1, 2, 5, 3, 4}));
    EXPECT_EQ(s.w.NEF[0], 4);
    EXPECT_DOUBLE_EQ(s.m.tol, 0.004);
    EXPECT_EQ(s.col(1), (std::vector<double>{1, 2, 3, 4, 5})) << "the missing value becomes the mean, 3";
    EXPECT_EQ(s.col(4), (std::vector<double>(5, 1.0)));
    EXPECT_EQ(SAMETXT(std::string_view(s.w.NAMES + 20, 20), "x1"), true);
}

} // namespace
