#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "clx_compiler.h"
#include "clx_compressed_lexicon.h"
#include "clx_test_support.h"
#include "qlex.h"

using namespace orthix;

namespace {

bool found(CompressedLexicon& lex, const std::string& word) { return lex.find(word.c_str(), true, nullptr, 0) == 'i'; }

} // namespace

TEST(ClxCompiler, ReadsEveryLineEndingSortsAndDeduplicates) {
    ClxCompiler compiler;
    ASSERT_EQ(compiler.addWordList("park\r\nof\nthe\rpark\r\n\r\n\nwalk"), "");
    ASSERT_EQ(compiler.addWordList("\xE9t\xE9\nof\n"), "");  // a second list adds to the first
    ClxSummary summary;
    std::string image = compiler.build(24941, &summary);
    EXPECT_EQ(summary.words, 5u);
    EXPECT_EQ(summary.segments, 4u);  // "of" has no segment data
    EXPECT_EQ(summary.fileSize, image.size());

    clxtest::Scratch scratch;
    CompressedLexicon lex;
    ASSERT_EQ(lex.open(scratch.write("list.clx", image).c_str(), 0), 0);
    for (const char* w : {"park", "of", "the", "walk", "\xE9t\xE9"})
        EXPECT_TRUE(found(lex, w)) << w;
    for (const char* w : {"", "park\r", "ofthe", "wal"})
        EXPECT_FALSE(found(lex, w)) << w;
}

TEST(ClxCompiler, RefusesABadListWholeAndNamesTheLine) {
    struct Case {
        std::string list;
        std::string error;
    };
    const Case cases[] = {
        {"good\nbad word\n", "line 2: word contains a space or control character"},
        {"tab\tafter\n", "line 1: word contains a space or control character"},
        {"a\r\nb\r\n\r\ntrailing \r\n", "line 4: word contains a space or control character"},
        {"ok\n" + std::string(64, 'x') + "\n", "line 2: word longer than 63 characters"},
    };
    for (const Case& c : cases) {
        ClxCompiler compiler;
        EXPECT_EQ(compiler.addWordList(c.list), c.error);
        ClxSummary summary;
        compiler.build(24941, &summary);
        EXPECT_EQ(summary.words, 0u) << "nothing of a refused list is kept";
    }
    ClxCompiler compiler;
    EXPECT_EQ(compiler.addWordList(std::string(63, 'x')), "");
}

TEST(ClxCompiler, FrontCodingAndSuffixTablesShrinkAListThatStillRoundTrips) {
    // Stems with the usual English endings, so that suffixes pay off.
    std::vector<std::string> words;
    std::set<std::string> all;
    const char* endings[] = {"", "s", "ing", "ed", "er", "ers", "ness", "ation", "ations", "'s"};
    for (int i = 0; i < 400; ++i) {
        std::string stem = {char('a' + i % 26), char('a' + i / 26 % 26), char('a' + (i * 7) % 26), 'o', 'n'};
        stem += std::string(size_t(i % 4), char('a' + i % 5));
        for (const char* e : endings)
            words.push_back(stem + e);
    }
    words.insert(words.end(), {"\xFC" "ber", "\xFC" "bers", "caf\xE9", "X", "Xy"});
    size_t listBytes = 0;
    for (const std::string& w : words) {
        all.insert(w);
        listBytes += w.size() + 1;
    }
    ClxSummary summary;
    std::string image = clxtest::compile(words, &summary);
    EXPECT_LT(image.size(), listBytes / 3) << "list " << listBytes << " bytes, file " << image.size();

    clxtest::Scratch scratch;
    CompressedLexicon lex;
    ASSERT_EQ(lex.open(scratch.write("stems.clx", image).c_str(), int32_t(summary.largestSegment)), 0);
    for (const std::string& w : all) {
        EXPECT_TRUE(found(lex, w)) << w;
        for (const std::string& near : {w + "s", w + "x", w.substr(0, w.size() - 1)})
            EXPECT_EQ(found(lex, near), all.count(near) == 1) << near;
    }
}
