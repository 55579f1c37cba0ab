#include "analysis.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(Analysis, CellsHoldNumbersAndTextsAndReadMissingOtherwise)
{
    analysis a;
    _vectordef* v = a.AddVector("OR");
    EXPECT_EQ(a.IsVector("OR"), v);
    EXPECT_EQ(a.IsVector("or"), nullptr);
    EXPECT_EQ(a.AddVector("OR"), v); // adding an existing name returns it

    EXPECT_TRUE(a.SetCellDouble(v, 3, 0.25));
    EXPECT_TRUE(a.SetCellString(v, 1, "text"));
    EXPECT_EQ(a.GetVectorLength(v), 3);
    EXPECT_EQ(a.GetCellDouble(v, 3), 0.25);
    EXPECT_EQ(a.GetCellDouble(v, 2), ANALYSIS_MISSING); // never set
    EXPECT_EQ(a.GetCellDouble(v, 1), ANALYSIS_MISSING); // a text
    EXPECT_EQ(a.GetCellDouble(v, 4), ANALYSIS_MISSING); // past the end
    EXPECT_STREQ(a.GetCellString(v, 1), "text");
    EXPECT_EQ(a.GetCellString(v, 3), nullptr);          // a number
    EXPECT_EQ(a.GetCellString(v, 4), nullptr);

    // Overwriting a cell changes its kind.
    EXPECT_TRUE(a.SetCellDouble(v, 1, 7));
    EXPECT_EQ(a.GetCellString(v, 1), nullptr);
    EXPECT_EQ(a.GetCellDouble(v, 1), 7);
}

TEST(Analysis, BadHandlesAndRowsAreRefusedSafely)
{
    analysis a, b;
    _vectordef* mine = a.AddVector("X");
    _vectordef* theirs = b.AddVector("X");
    for (int row : {0, -1, analysis::MAX_ROWS + 1}) {
        EXPECT_FALSE(a.SetCellDouble(mine, row, 1));
        EXPECT_FALSE(a.SetCellString(mine, row, "x"));
        EXPECT_EQ(a.GetCellDouble(mine, row), ANALYSIS_MISSING);
        EXPECT_EQ(a.GetCellString(mine, row), nullptr);
    }
    EXPECT_FALSE(a.SetCellDouble(theirs, 1, 1));
    EXPECT_FALSE(a.SetCellDouble(nullptr, 1, 1));
    EXPECT_TRUE(b.SetCellDouble(theirs, 1, 1));
    EXPECT_EQ(a.GetCellDouble(theirs, 1), ANALYSIS_MISSING);
    EXPECT_EQ(a.GetVectorLength(theirs), 0);
    EXPECT_EQ(a.GetVectorNumber(theirs), 0);
    EXPECT_EQ(a.GetVectorName(nullptr), nullptr);
    EXPECT_EQ(a.GetVectorLength(mine), 0);
}

TEST(Analysis, VectorsAreNumberedFromOneInOrderOfAddition)
{
    analysis a;
    _vectordef* study = a.AddVector("STUDY");
    _vectordef* total = a.AddVector("TOTAL");
    EXPECT_EQ(a.GetVectorCount(), 2);
    EXPECT_EQ(a.GetVectorNumber(study), 1);
    EXPECT_EQ(a.GetVectorNumber(total), 2);
    EXPECT_EQ(a.GetVectorByNumber(2), total);
    EXPECT_EQ(a.GetVectorByNumber(0), nullptr);
    EXPECT_EQ(a.GetVectorByNumber(3), nullptr);
    EXPECT_STREQ(a.GetVectorName(total), "TOTAL");
}

namespace {

// Rows of a small study table: group, effect, name (effects 2 and 3 tie inside group 0).
struct table {
    analysis a;
    _vectordef *group = a.AddVector("GROUP"), *effect = a.AddVector("OR"),
               *name = a.AddVector("STUDY"), *fixed = a.AddVector("GROUPNAMES");
    table()
    {
        const double groups[] = {1, 0, 0, 1, 0};
        const double effects[] = {0.5, 2, 1, 0.1, 2};
        const char* names[] = {"A", "B", "C", "D", "E"};
        for (int r = 1; r <= 5; ++r) {
            a.SetCellDouble(group, r, groups[r - 1]);
            a.SetCellDouble(effect, r, effects[r - 1]);
            a.SetCellString(name, r, names[r - 1]);
            a.SetCellString(fixed, r, names[r - 1]);
        }
    }
    std::string names()
    {
        std::string s;
        for (int r = 1; r <= a.GetVectorLength(name); ++r)
            s += a.GetCellString(name, r) ? a.GetCellString(name, r) : "-";
        return s;
    }
};

} // namespace

TEST(Analysis, SortIsStableOverSeveralKeysAndMovesTheNamedVectors)
{
    table t;
    ASSERT_TRUE(t.a.SortDataSet(1, 5, {"GROUP", "OR", "STUDY"}, 2));
    EXPECT_EQ(t.names(), "CBEDA"); // B before E: equal keys keep their order
    EXPECT_EQ(t.a.GetCellDouble(t.effect, 1), 1);
    EXPECT_EQ(t.a.GetCellDouble(t.group, 5), 1);
    EXPECT_STREQ(t.a.GetCellString(t.fixed, 1), "A"); // not named: stays

    // A sub-range only reorders its own rows.
    table u;
    ASSERT_TRUE(u.a.SortDataSet(2, 4, {"OR", "STUDY"}, 1));
    EXPECT_EQ(u.names(), "ADCBE");
}

TEST(Analysis, SortPutsNumbersBeforeTextsBeforeEmptyCells)
{
    analysis a;
    _vectordef* key = a.AddVector("YEAR");
    a.SetCellString(key, 1, "b");
    a.SetCellDouble(key, 3, 5);
    a.SetCellString(key, 4, "a");
    a.SetCellDouble(key, 5, -1);
    ASSERT_TRUE(a.SortDataSet(1, 6, {"YEAR"}, 1));
    EXPECT_EQ(a.GetCellDouble(key, 1), -1);
    EXPECT_EQ(a.GetCellDouble(key, 2), 5);
    EXPECT_STREQ(a.GetCellString(key, 3), "a");
    EXPECT_STREQ(a.GetCellString(key, 4), "b");
    EXPECT_EQ(a.GetVectorLength(key), 4); // the empty rows went last and are trimmed
}

TEST(Analysis, RefusedSortsChangeNothing)
{
    struct bad {
        int first, last, keys;
        std::vector<std::string> names;
    };
    const bad cases[] = {
        {1, 5, 1, {"GROUP", "NOSUCH"}}, {0, 5, 1, {"GROUP"}}, {4, 2, 1, {"GROUP"}},
        {1, 5, 0, {"GROUP"}},           {1, 5, 2, {"GROUP"}}, {1, analysis::MAX_ROWS + 1, 1, {"GROUP"}},
    };
    for (const bad& c : cases) {
        table t;
        EXPECT_FALSE(t.a.SortDataSet(c.first, c.last, c.names, c.keys));
        EXPECT_EQ(t.names(), "ABCDE");
    }
}
