#include "review_file.h"
#include "settings.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Builds file text from lines whose fields are separated by '|' (tabs in the file).
std::string file(std::initializer_list<const char*> lines)
{
    std::string text;
    for (const char* line : lines) {
        for (const char* p = line; *p; ++p)
            text += *p == '|' ? '\t' : *p;
        text += '\n';
    }
    return text;
}

} // namespace

TEST(ReviewFile, ReadsEveryRecordWithDefaultsBomCrlfAndSpreadsheetPadding)
{
    std::string text = "\xEF\xBB\xBF" + file({
        "# a comment",
        "REVIEW|Caf\xC3\xA9 trials\r",
        "",
        "COMPARISON|A versus B",
        "OUTCOME|Deaths|dichotomous",
        "LABELS|A|B",
        "CAPTIONS|Favours A|Favours B|||",
        "CI|90|99",
        "SCALE|4",
        "DISPLAY|raw|oe|USER",
        "TOTALS|subtotals",
        "METHOD|peto",
        "SUBGROUP|Adults",
        "SUBGROUP|Children",
        "STUDY|Smith|1990|Children|1|10|2|12|A|note \xE2\x82\xAC",
        "STUDY| Jones |1991|Adults|0|5|0|6",
        "OUTCOME|Pain score|continuous",
        "STUDY|Lee||| 20|1.5|0.5|21|2.5|1e0",
        "OUTCOME|Quality of life|no numerical data",
        "COMPARISON|A versus C",
        "OUTCOME|Costs|other data",
    });
    review::review_data r;
    std::string error;
    ASSERT_TRUE(review::parse_review(text, r, error)) << error;
    EXPECT_EQ(r.name, "Caf\xE9 trials"); // Windows-1252
    ASSERT_EQ(r.comparisons.size(), 2u);
    ASSERT_EQ(r.comparisons[0].outcomes.size(), 3u);

    const review::outcome& d = r.comparisons[0].outcomes[0];
    EXPECT_EQ(d.kind, review::data_kind::dichotomous);
    EXPECT_EQ(d.expt_label, "A");
    EXPECT_EQ(d.caption_right, "Favours B");
    EXPECT_EQ(d.study_ci, 90);
    EXPECT_EQ(d.total_ci, 99);
    EXPECT_EQ(d.scale, 4);
    EXPECT_EQ(d.flags, settings::FLAG_RAW | settings::FLAG_OE | settings::FLAG_USER);
    EXPECT_EQ(d.totals, settings::TOTALS_SUBTOTALS);
    EXPECT_EQ(d.measure, settings::MEASURE_PETO_OR);
    EXPECT_EQ(d.model, settings::MODEL_FIXED);
    ASSERT_EQ(d.studies.size(), 2u);
    EXPECT_EQ(d.studies[0].group, 1);
    EXPECT_EQ(d.studies[0].user, "note \x80");
    EXPECT_EQ(d.studies[0].quality, "A");
    EXPECT_EQ(d.studies[0].ctrl_total, 12);
    EXPECT_EQ(d.studies[1].name, "Jones");
    EXPECT_EQ(d.studies[1].group, 0);

    const review::outcome& c = r.comparisons[0].outcomes[1];
    EXPECT_EQ(c.kind, review::data_kind::continuous);
    EXPECT_EQ(c.measure, settings::MEASURE_WMD); // the default method
    EXPECT_EQ(c.study_ci, 95);
    EXPECT_EQ(c.flags, 15);
    EXPECT_EQ(c.studies[0].expt_n, 20);
    EXPECT_EQ(c.studies[0].ctrl_sd, 1);
    EXPECT_TRUE(c.expt_label.empty());

    EXPECT_EQ(r.comparisons[0].outcomes[2].kind, review::data_kind::no_numerical_data);
    EXPECT_EQ(r.comparisons[1].outcomes[0].kind, review::data_kind::not_viewable);
}

TEST(ReviewFile, ErrorsNameTheLineAndTheProblem)
{
    const std::string head = file({"REVIEW|R", "COMPARISON|C", "OUTCOME|O|dichotomous"}); // lines 1-3
    const std::string cont = file({"REVIEW|R", "COMPARISON|C", "OUTCOME|O|continuous"});
    struct bad {
        std::string text, error;
    };
    const bad cases[] = {
        {"", "the file holds no REVIEW line"},
        {"# only a comment\n\t \n", "the file holds no REVIEW line"},
        {file({"COMPARISON|C"}), "line 1: the file must begin with a REVIEW line"},
        {file({"REVIEW|R", "REVIEW|S"}), "line 2: a second REVIEW line"},
        {file({"REVIEW"}), "line 1: REVIEW takes the review's name"},
        {file({"REVIEW|R", "OUTCOME|O|dichotomous"}), "line 2: OUTCOME before any COMPARISON"},
        {file({"REVIEW|R", "COMPARISON|C", "LABELS|a|b"}), "line 3: LABELS before any OUTCOME"},
        {file({"REVIEW|R", "COMPARISON|C", "OUTCOME|O|binary"}), "line 3: the data type is dichotomous, "
                                                                  "continuous, no numerical data or other data, "
                                                                  "not \"binary\""},
        {head + file({"FOO|x"}), "line 4: unknown line type \"FOO\""},
        {head + file({"CI|95|80"}), "line 4: a confidence level is 90, 95 or 99, not \"80\""},
        {head + file({"SCALE|6"}), "line 4: the scale index is a whole number from 0 to 5"},
        {head + file({"SCALE|1.5"}), "line 4: the scale index is a whole number from 0 to 5"},
        {head + file({"DISPLAY|raw|bold"}), "line 4: unknown display column \"bold\""},
        {head + file({"TOTALS|some"}), "line 4: TOTALS is all, subtotals or none, not \"some\""},
        {head + file({"METHOD|WMD"}), "line 4: measure WMD does not fit dichotomous data"},
        {cont + file({"METHOD|RR"}), "line 4: measure RR does not fit continuous data"},
        {head + file({"METHOD|PETO|random"}), "line 4: the Peto odds ratio has a fixed-effect model only"},
        {head + file({"METHOD|OR|mixed"}), "line 4: the model is fixed or random, not \"mixed\""},
        {head + file({"SUBGROUP|A", "SUBGROUP|A"}), "line 5: subgroup \"A\" is declared twice"},
        {head + file({"STUDY|S|1||1|10|1|10", "SUBGROUP|A"}), "line 5: SUBGROUP lines must come before"},
        {head + file({"STUDY|S|1||1|10|1"}), "line 4: STUDY takes name, year, subgroup, events and total"},
        {head + file({"STUDY|S|1||1|10|1|10|q|u|extra"}), "line 4: STUDY takes"},
        {head + file({"STUDY||1||1|10|1|10"}), "line 4: a study needs a name"},
        {head + file({"STUDY|S|1|Kids|1|10|1|10"}), "line 4: subgroup \"Kids\" is not declared"},
        {head + file({"SUBGROUP|A", "STUDY|S|1||1|10|1|10"}), "line 5: this outcome has subgroups"},
        {head + file({"STUDY|S|1||one|10|1|10"}), "line 4: experimental events is not a number: \"one\""},
        {head + file({"STUDY|S|1||1|10|1|nan"}), "line 4: control total is not a number"},
        {head + file({"STUDY|S|1||1.5|10|1|10"}), "line 4: experimental events must be a whole number"},
        {head + file({"STUDY|S|1||-1|10|1|10"}), "line 4: experimental events must be a whole number"},
        {head + file({"STUDY|S|1||1|1e10|1|10"}), "line 4: experimental total must be a whole number"},
        {head + file({"STUDY|S|1||11|10|1|10"}), "line 4: more events than participants in an arm"},
        {cont + file({"STUDY|S|1||10|1|-1|10|1|1"}), "line 4: a standard deviation cannot be negative"},
        {cont + file({"STUDY|S|1||10|1|1e999|10|1|1"}), "line 4: experimental SD is not a number"},
        {file({"REVIEW|R", "COMPARISON|C", "OUTCOME|O|no numerical data", "STUDY|S|1||1|2|1|2"}),
         "line 4: an outcome without viewable data has no studies"},
    };
    for (const bad& c : cases) {
        review::review_data r;
        std::string error;
        EXPECT_FALSE(review::parse_review(c.text, r, error)) << c.text;
        EXPECT_EQ(error.substr(0, c.error.size()), c.error) << c.text;
        EXPECT_TRUE(r.comparisons.empty() && r.name.empty()); // nothing half-loaded
    }
}

TEST(ReviewFile, ReviewsAreBoundedInSize)
{
    review::review_data r;
    std::string error;
    std::string text = file({"REVIEW|R", "COMPARISON|C", "OUTCOME|O|dichotomous"});
    for (int i = 0; i < 100000; ++i)
        text += "STUDY\tS\t\t\t1\t2\t1\t2\n";
    EXPECT_TRUE(review::parse_review(text, r, error)) << error;
    text += "STUDY\tS\t\t\t1\t2\t1\t2\n";
    EXPECT_FALSE(review::parse_review(text, r, error));
    EXPECT_EQ(error, "line 100004: a review holds at most 100000 studies");

    text = file({"REVIEW|R", "COMPARISON|C"});
    for (int i = 0; i < 10001; ++i)
        text += "OUTCOME\tO\tno numerical data\n";
    EXPECT_FALSE(review::parse_review(text, r, error));
    EXPECT_EQ(error, "line 10003: a review holds at most 10000 outcomes");
}

TEST(ReviewFile, UnreadableFilesAreReported)
{
    review::review_data r;
    std::string error;
    EXPECT_FALSE(review::load_review("/nonexistent/review.ORV", r, error));
    EXPECT_EQ(error, "cannot read the review file /nonexistent/review.ORV");
    EXPECT_FALSE(review::load_review("/", r, error)); // a directory
    EXPECT_EQ(error, "cannot read the review file /");
}
