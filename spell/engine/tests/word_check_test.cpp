// Judging one word: lookups with case and accent variants, ignore tests, splitting, changes,
// capitalisation and possessives.
#include "memory_lexicon.h"
#include "test_support.h"
#include "word_check.h"

using namespace orthix_test;

namespace {

struct Case {
    const char* word;
    uint32_t set;      // options set on top of the defaults
    uint32_t cleared;  // default options cleared
    int16_t flags;
    const char* replacement;
};

class WordCheck : public ::testing::Test {
protected:
    void SetUp() override {
        lex = QLEX_CreateLex(s.sid, nullptr, 24941);
        for (const char* w : {"canada", "dog", "dogs", "house", "cat", "of", "it", "well", "known", "Paris",
                              "NASA", "tuesday", "\xE9l\xE8ve"})
            ASSERT_EQ(QLEX_AddToLex(s.sid, lex, w, 'i', nullptr), 0);
        ASSERT_EQ(QLEX_AddToLex(s.sid, lex, "teh", 'a', "the"), 0);
        ASSERT_EQ(QLEX_AddToLex(s.sid, lex, "hte", 'A', "the"), 0);
        ASSERT_EQ(QLEX_AddToLex(s.sid, lex, "recieve", 'c', "receive"), 0);
        ASSERT_EQ(QLEX_AddToLex(s.sid, lex, "catdog", 'e', nullptr), 0);
    }

    int16_t check(const Case& c, std::string& repl) {
        QLEX_SetOption(s.sid, 0xFFFFFu, 0);
        QLEX_SetOption(s.sid, (0x000B8680u & ~c.cleared) | c.set, 1);
        char buffer[64] = "untouched";
        int16_t flags = QLEX_CheckWord(s.sid, c.word, buffer, sizeof buffer);
        repl = buffer;
        return flags;
    }

    SessionGuard s;
    int16_t lex = -1;
};

constexpr uint32_t kCase = QLEX_OPT_CASE_SENSITIVE;
constexpr uint32_t kExact = QLEX_OPT_EXACT_CAPITAL_ACCENTS;
constexpr uint32_t kStrip = QLEX_OPT_STRIP_POSSESSIVES;

} // namespace

TEST_F(WordCheck, JudgementTable) {
    const Case cases[] = {
        // Case variants when case-sensitive: Canada and CANADA match canada, CaNada does not.
        {"canada", 0, 0, 0, "canada"},
        {"Canada", 0, 0, 0, "Canada"},
        {"CANADA", 0, 0, 0, "CANADA"},
        {"CaNada", 0, 0, QLEX_MISSPELLED, "CaNada"},
        {"paris", 0, 0, QLEX_MISSPELLED, "paris"},
        {"PaRIS", 0, kCase, 0, "PaRIS"},  // case-insensitive lookup
        // Possessives are stripped for the lookup; the replacement keeps the word as received.
        {"dog's", 0, 0, 0, "dog's"},
        {"dogs'", 0, 0, 0, "dogs'"},
        {"dog's", 0, kStrip, QLEX_MISSPELLED, "dog's"},
        {"dgo's", 0, 0, QLEX_MISSPELLED, "dgo's"},  // not doubled into dgo's's
        {"'s", 0, 0, 0, "'s"},                       // nothing left to check
        // Ignore tests.
        {"Win95", QLEX_OPT_IGNORE_WORDS_WITH_DIGITS, 0, 0, "Win95"},
        {"Win95", 0, 0, QLEX_MISSPELLED, "Win95"},
        {"Win95", QLEX_OPT_CATCH_WORDS_WITH_DIGITS, 0, QLEX_MISSPELLED | QLEX_WORD_WITH_DIGITS, "Win95"},
        {"1998", 0, 0, 0, "1998"},
        {"1998", 0, QLEX_OPT_IGNORE_NON_ALPHA_WORDS, QLEX_MISSPELLED, "1998"},
        {"example.com", QLEX_OPT_IGNORE_DOMAIN_NAMES, 0, 0, "example.com"},
        {"Xyzzy", QLEX_OPT_IGNORE_CAPITALIZED_WORDS, 0, 0, "Xyzzy"},
        {"xYzzy", QLEX_OPT_IGNORE_MIXED_CASE_WORDS, 0, 0, "xYzzy"},
        {"XYZZY", QLEX_OPT_IGNORE_ALL_CAPS_WORDS, 0, 0, "XYZZY"},
        {"xyzzy", 0, QLEX_OPT_CHECK_LEXICONS, 0, "xyzzy"},
        // Run-together words: both parts must be words of two or more characters.
        {"housecat", QLEX_OPT_SPLIT_WORDS, 0, 0, "housecat"},
        {"housecat", 0, 0, QLEX_MISSPELLED, "housecat"},
        {"ofit", QLEX_OPT_SPLIT_WORDS, 0, 0, "ofit"},
        {"catdog", QLEX_OPT_SPLIT_WORDS, 0, QLEX_MISSPELLED, "catdog"},  // excluded stays wrong
        // Hyphens and apostrophes.
        {"well-known", 0, 0, 0, "well-known"},
        {"well-knwn", 0, 0, QLEX_MISSPELLED, "well-knwn"},
        {"well-known", 0, QLEX_OPT_SPLIT_HYPHENATED_WORDS, QLEX_MISSPELLED, "well-known"},
        {"cat'dog", QLEX_OPT_SPLIT_CONTRACTED_WORDS, kStrip, 0, "cat'dog"},
        // Changes: the other word in its own case ('a', 'c') or the checked word's case ('A').
        {"teh", 0, 0, QLEX_AUTO_CHANGE, "the"},
        {"Teh", 0, 0, QLEX_AUTO_CHANGE, "the"},
        {"HTE", 0, 0, QLEX_AUTO_CHANGE, "THE"},
        {"Hte", 0, 0, QLEX_AUTO_CHANGE, "The"},
        {"teh's", 0, 0, QLEX_AUTO_CHANGE, "the's"},
        {"recieve", 0, 0, QLEX_CONDITIONAL_CHANGE, "receive"},
        // Mixed case and capitalisation.
        {"TUesday", QLEX_OPT_CATCH_MIXED_CASE_WORDS, 0, QLEX_MISSPELLED | QLEX_MIXED_CASE, "Tuesday"},
        {"tuEsday's", QLEX_OPT_CATCH_MIXED_CASE_WORDS, 0, QLEX_MISSPELLED | QLEX_MIXED_CASE, "tuesday's"},
        {"paris", QLEX_OPT_REPORT_CAPITALIZATION, 0, QLEX_MISSPELLED | QLEX_CAPITALIZATION, "Paris"},
        {"nasa's", QLEX_OPT_REPORT_CAPITALIZATION, 0, QLEX_MISSPELLED | QLEX_CAPITALIZATION, "NASA's"},
        // Accents on capitals: with exact accents off, ELEVE matches \xE9l\xE8ve, but an accented
        // capital is itself an error.
        {"ELEVE", 0, kExact, 0, "ELEVE"},
        {"ELEVE", 0, 0, QLEX_MISSPELLED, "ELEVE"},
        {"\xC9l\xE8ve", 0, 0, 0, "\xC9l\xE8ve"},
        {"\xC9l\xE8ve", 0, kExact, QLEX_MISSPELLED, "\xC9l\xE8ve"},
        {"Eleve", 0, kExact, QLEX_MISSPELLED, "Eleve"},  // the first letter's variants: \xE9leve is not there
    };
    for (const Case& c : cases) {
        std::string repl;
        EXPECT_EQ(check(c, repl), c.flags) << c.word << " +" << std::hex << c.set << " -" << c.cleared;
        EXPECT_EQ(repl, c.replacement) << c.word;
    }
}

TEST_F(WordCheck, ReplacementIsCutToTheCallersBuffer) {
    char small[4] = "xxx";
    EXPECT_EQ(QLEX_CheckWord(s.sid, "recieve", small, sizeof small), QLEX_CONDITIONAL_CHANGE);
    EXPECT_STREQ(small, "rec");
    EXPECT_EQ(QLEX_CheckWord(s.sid, "recieve", small, 0), QLEX_CONDITIONAL_CHANGE);
    EXPECT_STREQ(small, "rec");
}

namespace {

// A lexicon that counts its lookups and knows only the words it is given.
class CountingLexicon : public orthix::MemoryLexicon {
public:
    CountingLexicon() : MemoryLexicon(24941) {}
    int16_t find(std::string_view word, bool caseSensitive, char* other, int otherSize) override {
        ++lookups;
        return MemoryLexicon::find(word, caseSensitive, other, otherSize);
    }
    long lookups = 0;
};

} // namespace

TEST(WordCheckBounds, HyphenatedMisspellingReportsThePartAfterTheHyphen) {
    CountingLexicon lex;
    lex.add("well", 'i', nullptr);
    std::vector<orthix::Lexicon*> order{&lex};
    orthix::WordChecker checker(order, 0x000B8680u);
    auto r = checker.judge("well-knwn-ok");
    EXPECT_EQ(r.flags, QLEX_MISSPELLED);
    EXPECT_EQ(r.reportOffset, 5);
    EXPECT_EQ(r.reportLength, 4);  // "knwn", cut at the next hyphen
}

TEST(WordCheckBounds, LongAllCapitalWordStopsAfterTheVariantBudget) {
    CountingLexicon lex;
    lex.add("other", 'i', nullptr);
    std::vector<orthix::Lexicon*> order{&lex};
    orthix::WordChecker checker(order, 0x000B8680u & ~QLEX_OPT_EXACT_CAPITAL_ACCENTS);
    // 20 vowels with 4 to 6 accented capitals each: about 5^20 spellings without the bound.
    auto r = checker.judge("AEIOUAEIOUAEIOUAEIOU");
    EXPECT_EQ(r.flags, QLEX_MISSPELLED);
    EXPECT_LE(lex.lookups, 3L * (orthix::kVariantBudget + 1));
    EXPECT_GE(lex.lookups, orthix::kVariantBudget);
}

TEST(WordCheckBounds, LongRunTogetherWordCostsPolynomiallyManyLookups) {
    CountingLexicon lex;
    lex.add("ab", 'i', nullptr);
    std::vector<orthix::Lexicon*> order{&lex};
    orthix::WordChecker checker(order, 0x000B8680u | QLEX_OPT_SPLIT_WORDS);
    std::string word(62, 'a');
    word += 'x';  // never splits into known words
    EXPECT_EQ(checker.judge(word).flags, QLEX_MISSPELLED);
    EXPECT_LT(lex.lookups, 63L * 63 * 2);
    EXPECT_EQ(checker.judge(std::string("ab") + "ab" + "ab").flags, 0);
}
