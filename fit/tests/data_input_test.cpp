// Reading observations: free format and record formats, and their errors.
#include "FIXTXT.h"
#include "READD.h"
#include "RECFMT.h"
#include "lumifit_testutil.h"

#include <vector>

using namespace lumifit_test;

namespace {

using ROWS = std::vector<std::vector<double>>;

// Every observation of text read with the format (a FORMAT field or "free").
ROWS readall(const std::string &format, const std::string &text, int p) {
    DATFILE src("mem", text);
    ROWS rows;
    std::vector<double> row(p);
    if (format == "free") {
        while (FREEREAD(src, row.data(), p))
            rows.push_back(row);
    } else {
        RECFMT fmt(format);
        while (fmt.read(src, row.data(), p))
            rows.push_back(row);
    }
    return rows;
}

TEST(FreeFormat, ObservationOverTwoLinesAndRestOfLineSkipped) {
    CAPTURE quiet;
    EXPECT_EQ(readall("free", "1 2\n3, 4 5 extra\n\n6\t7,8 9\n10 11", 4), (ROWS{{1, 2, 3, 4}, {6, 7, 8, 9}}));
}

TEST(FreeFormat, NumberForms) {
    EXPECT_EQ(readall("free", "+1.5D2 -.5 3. 1e-2 7\r\n", 5), (ROWS{{150, -0.5, 3, 0.01, 7}}));
}

TEST(FreeFormat, BadValuesEndTheRunNamingTheirPlace) {
    CAPTURE quiet;
    EXPECT_EQ(stopmessage([] { readall("free", "1 2\n3 abc\n", 2); }),
              "Error: data file mem, line 2, column 3: not a number: \"abc\"");
    EXPECT_EQ(stopmessage([] { readall("free", "1,,2\n", 2); }),
              "Error: data file mem, line 1, column 3: empty value before the comma");
    EXPECT_EQ(stopmessage([] { readall("free", "1 inf\n", 2); }),
              "Error: data file mem, line 1, column 3: not a number: \"inf\"");
}

struct FMTCASE {
    const char *format;
    const char *text;
    int p;
    ROWS rows;
};

void PrintTo(const FMTCASE &c, std::ostream *os) {
    *os << c.format;
}

class RECORDFORMAT : public testing::TestWithParam<FMTCASE> {};

TEST_P(RECORDFORMAT, ReadsTheObservations) {
    const FMTCASE &c = GetParam();
    EXPECT_EQ(readall(c.format, c.text, c.p), c.rows);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, RECORDFORMAT,
    testing::Values(
        FMTCASE{"(F4.1, 2X, I3)", "12.5xx 42\n-1.0ab  7\n", 2, {{12.5, 42}, {-1, 7}}},
        FMTCASE{"(2F4.1, F4.2)", "   5    1234\n", 3, {{0.5, 0, 12.34}}}, // implied decimals, blank field
        FMTCASE{"(3F4.0)", "   1   2\n", 3, {{1, 2, 0}}},                 // short record reads blanks
        FMTCASE{"(T5, F2.0, TL4, F2.0, TR1, F1.0)", "3456789\n", 3, {{78, 56, 8}}}, // tabs
        FMTCASE{"(F3.0/F3.0)", "  1\n  2\n  3\n  4\n", 2, {{1, 2}, {3, 4}}},        // record break
        FMTCASE{"(F2.0, 2/, F2.0)", " 1\nskip\n 2\n", 2, {{1, 2}}},                 // repeated record break
        FMTCASE{"(2F2.0/)", " 1 2\nxx\n 3 4\nyy\n", 2, {{1, 2}, {3, 4}}}, // slash after the last value
        FMTCASE{"(2F2.0 : /)", " 1 2\n 3 4\n", 2, {{1, 2}, {3, 4}}},      // colon stops there
        FMTCASE{"(F2.0, 2(I2))",
                " 1 2 3\n 4 5\n 6 7 8\n 9 0\n",
                5,
                {{1, 2, 3, 4, 5}, {6, 7, 8, 9, 0}}},    // reversion
        FMTCASE{"(F2.0)", "1\n2\n3\n", 3, {{1, 2, 3}}}, // reversion to the whole format
        FMTCASE{"(e8.2, D8.2, G8.2)",
                "1.5E+02 2.5D1     -3.0-1\n",
                3,
                {{150, 25, -0.3}}},                                        // exponents, lower case
        FMTCASE{"( 2 ( F 3 . 1 , 1X ) )", "1.5 2.5\n", 2, {{1.5, 2.5}}})); // blanks ignored

struct BADFORMAT {
    const char *format;
    const char *message;
};

void PrintTo(const BADFORMAT &c, std::ostream *os) {
    *os << c.format;
}

class MALFORMED : public testing::TestWithParam<BADFORMAT> {};

TEST_P(MALFORMED, EndsTheRunNamingTheCharacter) {
    CAPTURE quiet;
    EXPECT_EQ(stopmessage([&] { RECFMT f(GetParam().format); }), GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, MALFORMED,
    testing::Values(
        BADFORMAT{"(3F8.2", "Error: bad FORMAT \"(3F8.2\" at character 7: expected )"},
        BADFORMAT{"3F8.2)", "Error: bad FORMAT \"3F8.2)\" at character 1: a format begins with ("},
        BADFORMAT{"(F8.2,,F8.2)", "Error: bad FORMAT \"(F8.2,,F8.2)\" at character 7: unexpected ,"},
        BADFORMAT{"(F8.2 F8.2)", "Error: bad FORMAT \"(F8.2 F8.2)\" at character 7: expected , or )"},
        BADFORMAT{
            "(F8.2,)",
            "Error: bad FORMAT \"(F8.2,)\" at character 7: expected an edit descriptor after the comma"},
        BADFORMAT{"(Q8.2)", "Error: bad FORMAT \"(Q8.2)\" at character 2: unknown edit descriptor"},
        BADFORMAT{"(F8.2, 3)", "Error: bad FORMAT \"(F8.2, 3)\" at character 9: expected an edit descriptor "
                               "after the repeat count"},
        BADFORMAT{"(F.2)",
                  "Error: bad FORMAT \"(F.2)\" at character 3: expected the field width (at least 1)"},
        BADFORMAT{"(0F8.2)",
                  "Error: bad FORMAT \"(0F8.2)\" at character 2: a repeat count must be at least 1"},
        BADFORMAT{"(2T5, F8.2)",
                  "Error: bad FORMAT \"(2T5, F8.2)\" at character 2: T, TL and TR take no repeat count"},
        BADFORMAT{"(F8.2) x", "Error: bad FORMAT \"(F8.2) x\" at character 8: text after the closing )"},
        BADFORMAT{"(2X)",
                  "Error: bad FORMAT \"(2X)\" at character 1: it holds no data field (F, E, D, G or I)"},
        BADFORMAT{
            "(1000(1000(2X)), F8.2)",
            "Error: bad FORMAT \"(1000(1000(2X)), F8.2)\" at character 1: it expands to more than 1000000 "
            "descriptors"}));

TEST(RecordFormat, FieldThatHoldsNoNumberEndsTheRunNamingItsColumns) {
    CAPTURE quiet;
    EXPECT_EQ(stopmessage([] { readall("(F4.1, I3)", "12.5 42\n1x.5  7\n", 2); }),
              "Error: data file mem, line 2, columns 1-4: field F4.1 does not hold a number: \"1x.5\"");
    EXPECT_EQ(stopmessage([] { readall("(F4.1, I3)", "12.5 4.2\n", 2); }),
              "Error: data file mem, line 1, columns 5-7: field I3 does not hold a number: \" 4.\"");
}

TEST(RecordFormat, LastGroupWithoutDataCannotBeReused) {
    CAPTURE quiet;
    EXPECT_EQ(stopmessage([] { readall("(F2.0, (2X))", " 1\n 2\n", 2); }),
              "Error: bad FORMAT \"(F2.0, (2X))\" at character 8: the values run out of data fields: its "
              "last group "
              "holds none");
}

TEST(ReadData, OneObservationShortRunsOutOfData) {
    TEMPDIR dir(true);
    dir.write("short.dat", "1 2\n3 4\n");
    std::vector<double> x(6);
    CAPTURE out;
    EXPECT_EQ(stopmessage([&] { READD("short.dat", 3, 2, PADTXT("free", 80), x.data()); }),
              "  you ve run out of data");
    EXPECT_EQ(out.text(), "   you ve run out of data\n");
    x.assign(4, 0.0);
    READD("short.dat", 2, 2, PADTXT("free", 80), x.data());
    EXPECT_EQ(x, (std::vector<double>{1, 3, 2, 4})) << "column-major, n as the stride";
}

TEST(ReadData, CountingReportsABadLineInsteadOfStoppingThere) {
    TEMPDIR dir(true);
    dir.write("d.dat", "1 2\n3 4\n5 x\n7 8\n");
    CAPTURE quiet;
    EXPECT_EQ(stopmessage([] { COUNTD("d.dat", 2, PADTXT("free", 80), 100); }),
              "Error: data file d.dat, line 3, column 3: not a number: \"x\"");
    dir.write("e.dat", "1 2\n3 4\n5");
    EXPECT_EQ(COUNTD("e.dat", 2, PADTXT("free", 80), 100), 2)
        << "an observation cut off by the end is not counted";
    EXPECT_EQ(COUNTD("e.dat", 2, PADTXT("free", 80), 1), 1);
}

TEST(ReadData, DataFileName) {
    EXPECT_EQ(DATNAME(PADTXT("toy", 80)), "toy.dat");
    EXPECT_EQ(DATNAME(PADTXT("my data", 80)), "my data.dat");
    EXPECT_EQ(DATNAME(PADTXT("my  data", 80)), "my.dat");
}

} // namespace
