// The default dictionaries as built: the compressed one against the word list it was compiled
// from, the text ones against it, and all four through the QLEX_ interface.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "char_model.h"
#include "clx_compressed_lexicon.h"
#include "qlex.h"

using namespace orthix;

namespace {

std::string dictionary(const char* name) { return std::string(DICT_DIR) + "/" + name; }

std::vector<std::string> lines(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.is_open()) << path;
    std::vector<std::string> out;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty())
            out.push_back(line);
    }
    return out;
}

// The entries of a text lexicon file after its header: word, action, other word.
struct Entry {
    std::string word;
    char action;
    std::string other;
};

std::vector<Entry> textLexicon(const char* name) {
    std::vector<std::string> all = lines(dictionary(name));
    EXPECT_FALSE(all.empty());
    EXPECT_EQ(all.front(), "#LID 24941") << name;
    std::vector<Entry> out;
    for (size_t i = 1; i < all.size(); ++i) {
        size_t tab = all[i].find('\t');
        EXPECT_TRUE(tab != std::string::npos && tab + 1 < all[i].size()) << all[i];
        if (tab != std::string::npos && tab + 1 < all[i].size())
            out.push_back({all[i].substr(0, tab), all[i][tab + 1], all[i].substr(tab + 2)});
    }
    return out;
}

std::string upper(std::string w) {
    for (char& c : w)
        c = char(toUpper((unsigned char)c));
    return w;
}

class CompiledDictionary : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(lex.open(dictionary("qlexam2.clx").c_str(), 0), 0); }
    bool found(const std::string& word, bool caseSensitive) {
        return lex.find(word.c_str(), caseSensitive, nullptr, 0) == 'i';
    }
    CompressedLexicon lex;
};

} // namespace

TEST_F(CompiledDictionary, HoldsExactlyTheWordsOfItsListInBothCases) {
    std::vector<std::string> words = lines(WORD_LIST);
    ASSERT_GT(words.size(), 100000u);
    std::set<std::string> exact(words.begin(), words.end()), folded;
    for (const std::string& w : words)
        folded.insert(lowered(w));
    EXPECT_EQ(lex.language(), 24941);

    for (const std::string& w : words) {
        ASSERT_TRUE(found(w, true)) << w;
        ASSERT_TRUE(found(upper(w), false)) << w;
        ASSERT_TRUE(found(lowered(w), false)) << w;
        std::string flipped = w;
        flipped[0] = char(isUpper((unsigned char)w[0]) ? toLower((unsigned char)w[0]) : toUpper((unsigned char)w[0]));
        for (const std::string& near : {w + "s", w + "x", w.substr(0, w.size() - 1), flipped}) {
            if (near.empty())
                continue;
            ASSERT_EQ(found(near, true), exact.count(near) == 1) << near;
            ASSERT_EQ(found(upper(near), false), folded.count(lowered(near)) == 1) << near;
        }
    }
}

TEST_F(CompiledDictionary, TextMainDictionaryHoldsOnlyWhatTheListLacks) {
    std::vector<Entry> entries = textLexicon("qlexam.tlx");
    EXPECT_GT(entries.size(), 100u);
    for (const Entry& e : entries) {
        EXPECT_EQ(e.action, 'i') << e.word;
        EXPECT_FALSE(found(e.word, true)) << e.word << " is in the compressed dictionary already";
    }
    EXPECT_TRUE(textLexicon("userdic.tlx").empty());
}

TEST_F(CompiledDictionary, AutoCorrectionsTurnNonWordsIntoListedWords) {
    std::set<std::string> textWords;
    for (const Entry& e : textLexicon("qlexam.tlx"))
        textWords.insert(e.word);
    std::vector<Entry> corrections = textLexicon("correct.tlx");
    EXPECT_GT(corrections.size(), 100u);
    for (const Entry& e : corrections) {
        EXPECT_EQ(e.action, 'a') << e.word;
        EXPECT_FALSE(found(e.word, false) || textWords.count(e.word)) << e.word << " is a word";
        EXPECT_TRUE(found(e.other, true) || textWords.count(e.other)) << e.other << " is not a word";
    }
}

TEST(DefaultDictionaries, CheckWordUsesAllFour) {
    int16_t sid = QLEX_OpenSession();
    ASSERT_GE(sid, 0);
    int16_t clx = QLEX_OpenLex(sid, dictionary("qlexam2.clx").c_str(), 0);
    ASSERT_GE(clx, 0);
    for (const char* name : {"qlexam.tlx", "userdic.tlx", "correct.tlx"})
        ASSERT_GE(QLEX_OpenLex(sid, dictionary(name).c_str(), 0), 0) << name;

    int32_t size = 0;
    int16_t format = -1, lang = 0;
    ASSERT_EQ(QLEX_GetLexInfo(sid, clx, &size, &format, &lang), 0);
    EXPECT_EQ(size, QLEX_ERR_UNSUPPORTED);
    EXPECT_EQ(format, 0);
    EXPECT_EQ(lang, 24941);
    EXPECT_EQ(QLEX_AddToLex(sid, clx, "word", 'i', nullptr), QLEX_ERR_UNSUPPORTED);
    char other[64];
    EXPECT_EQ(QLEX_FindLexWord(sid, clx, "Paris", other, sizeof other), 'i');

    struct Case {
        const char* word;
        int16_t flags;
        const char* replacement;
    };
    const Case cases[] = {
        {"Paris", 0, "Paris"},
        {"PARIS", 0, "PARIS"},          // all capitals: found case-insensitively
        {"The", 0, "The"},              // capitalized: found as "the"
        {"dog's", 0, "dog's"},          // possessive stripped
        {"webpage", 0, "webpage"},      // from qlexam.tlx
        {"don\x92t", 0, "don\x92t"},    // typographic apostrophe, from qlexam.tlx
        {"teh", QLEX_AUTO_CHANGE, "the"},
        {"xqzzyv", QLEX_MISSPELLED, "xqzzyv"},
        {"paris", QLEX_MISSPELLED, "paris"},
    };
    for (const Case& c : cases) {
        char replacement[64] = "";
        EXPECT_EQ(QLEX_CheckWord(sid, c.word, replacement, sizeof replacement), c.flags) << c.word;
        EXPECT_STREQ(replacement, c.replacement) << c.word;
    }
    QLEX_CloseSession(sid);
}

TEST(DefaultDictionaries, BudgetBelowTheLargestSegmentIsRefusedByOpenLex) {
    int16_t sid = QLEX_OpenSession();
    ASSERT_GE(sid, 0);
    EXPECT_EQ(QLEX_OpenLex(sid, dictionary("qlexam2.clx").c_str(), 1000), QLEX_ERR_NO_MEMORY);
    int16_t small = QLEX_OpenLex(sid, dictionary("qlexam2.clx").c_str(), 4096);
    ASSERT_GE(small, 0);
    char replacement[64];
    for (const char* w : {"thesis", "walking", "therefore", "walked", "parishes"})
        EXPECT_EQ(QLEX_CheckWord(sid, w, replacement, sizeof replacement), 0) << w;
    QLEX_CloseSession(sid);
}
