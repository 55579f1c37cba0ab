#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <filesystem>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "clx_compressed_lexicon.h"
#include "clx_test_support.h"
#include "qlex.h"

using namespace orthix;
using clxtest::be32;
using clxtest::entry;
using clxtest::section;

namespace {

const std::vector<std::string> kWords = {
    "a", "I", "of", "on", "Paris", "par", "parish", "parishes", "park", "parked", "parking", "parks",
    "the", "then", "there", "therefore", "these", "thesis", "walk", "walked", "walking", "walks", "caf\xE9",
};

bool found(CompressedLexicon& lex, const char* word, bool caseSensitive) {
    int16_t rc = lex.find(word, caseSensitive, nullptr, 0);
    EXPECT_TRUE(rc == 'i' || rc == QLEX_ERR_NOT_FOUND) << word << ": " << rc;
    return rc == 'i';
}

class CompressedLexiconTest : public ::testing::Test {
protected:
    std::string compiled(ClxSummary* summary = nullptr) {
        return scratch.write("words.clx", clxtest::compile(kWords, summary));
    }
    clxtest::Scratch scratch;
};

} // namespace

TEST_F(CompressedLexiconTest, FindsExactlyTheCompiledWords) {
    CompressedLexicon lex;
    ASSERT_EQ(lex.open(compiled().c_str(), 0), 0);
    EXPECT_EQ(lex.kind(), kCompressedFile);
    EXPECT_EQ(lex.language(), 24941);
    for (const std::string& w : kWords)
        EXPECT_TRUE(found(lex, w.c_str(), true)) << w;
    for (const char* absent : {"", "b", "o", "oF", "pa", "paris", "parkings", "parki", "th", "thesiss", "Walk",
                               "cafe", "caf\xC9", "zzz"})
        EXPECT_FALSE(found(lex, absent, true)) << absent;
    std::string tooLong(64, 'a');
    EXPECT_FALSE(found(lex, tooLong.c_str(), false));

    char other[8] = "junk";
    EXPECT_EQ(lex.find("park", true, other, sizeof other), 'i');
    EXPECT_STREQ(other, "");  // a compressed lexicon has no other words
}

TEST_F(CompressedLexiconTest, CaseInsensitiveLookupTriesEveryCasePatternOfTheKey) {
    CompressedLexicon lex;
    ASSERT_EQ(lex.open(compiled().c_str(), 0), 0);
    // PARIS is found as Paris through the key pattern P-a-r, after the segment "par" has no match.
    EXPECT_TRUE(found(lex, "PARIS", false));
    EXPECT_FALSE(found(lex, "PARIS", true));
    for (const char* w : {"paris", "pArIs", "WALKING", "Therefore", "OF", "i", "A", "CAF\xC9"})
        EXPECT_TRUE(found(lex, w, false)) << w;
    for (const char* w : {"PARISH ", "PARI", "THEM", "O"})
        EXPECT_FALSE(found(lex, w, false)) << w;
}

TEST_F(CompressedLexiconTest, TwoLetterWordIsFoundWithoutReadingASegment) {
    CompressedLexicon lex;
    ASSERT_EQ(lex.open(compiled().c_str(), 0), 0);
    EXPECT_TRUE(found(lex, "of", true));
    EXPECT_TRUE(found(lex, "OF", false));
    EXPECT_TRUE(found(lex, "I", true));
    EXPECT_EQ(lex.segmentReads(), 0u);
    EXPECT_EQ(lex.loadedBytes(), 0u);
    EXPECT_TRUE(found(lex, "park", true));
    EXPECT_EQ(lex.segmentReads(), 1u);
}

TEST_F(CompressedLexiconTest, BudgetBelowTheLargestSegmentIsRefused) {
    ClxSummary summary;
    std::string path = compiled(&summary);
    clxtest::LogCapture log(scratch);
    CompressedLexicon lex;
    EXPECT_EQ(lex.open(path.c_str(), int32_t(summary.largestSegment - 1)), QLEX_ERR_NO_MEMORY);
    EXPECT_NE(log.text().find(path + ": segment size " + std::to_string(summary.largestSegment) + " > budget " +
                              std::to_string(summary.largestSegment - 1)),
              std::string::npos)
        << log.text();
    EXPECT_FALSE(found(lex, "of", true));  // left empty
}

TEST_F(CompressedLexiconTest, BudgetEqualToTheLargestSegmentEvictsAndReloadsSegments) {
    ClxSummary summary;
    std::string path = compiled(&summary);
    CompressedLexicon lex;
    ASSERT_EQ(lex.open(path.c_str(), int32_t(summary.largestSegment)), 0);
    // "par", "the" and "wal" cannot all be held at once, so alternating lookups reload them.
    const char* rounds[][2] = {{"parking", "thesis"}, {"parks", "there"}, {"walked", "parish"}, {"the", "walks"}};
    size_t reads = 0;
    for (auto& pair : rounds) {
        for (const char* w : pair) {
            EXPECT_TRUE(found(lex, w, true)) << w;
            EXPECT_LE(lex.loadedBytes(), summary.largestSegment);
            EXPECT_GT(lex.segmentReads(), reads) << w << " should have needed a fresh read";
            reads = lex.segmentReads();
        }
    }
    EXPECT_FALSE(found(lex, "parkx", true));
    EXPECT_FALSE(found(lex, "thesi", true));
}

TEST_F(CompressedLexiconTest, ThreadsSharingALexiconUnderATightBudgetGetCorrectAnswers) {
    ClxSummary summary;
    std::string path = compiled(&summary);
    CompressedLexicon lex;
    ASSERT_EQ(lex.open(path.c_str(), int32_t(summary.largestSegment)), 0);
    // Each lookup evicts the segment the other thread may be searching.
    std::atomic<int> ready = 0;
    auto work = [&](const char* a, const char* b, int& wrong) {
        for (++ready; ready < 2;) {
        }
        for (int i = 0; i < 20000; ++i)
            wrong += lex.find(i % 2 ? a : b, true, nullptr, 0) != 'i';
    };
    int wrong1 = 0, wrong2 = 0;
    std::thread t1(work, "parking", "thesis", std::ref(wrong1));
    std::thread t2(work, "walked", "PARIS", std::ref(wrong2));
    t1.join();
    t2.join();
    EXPECT_EQ(wrong1, 0);
    EXPECT_EQ(wrong2, 10000);  // PARIS is absent case-sensitively
    EXPECT_LE(lex.loadedBytes(), summary.largestSegment);
}

TEST_F(CompressedLexiconTest, LeastRecentlyUsedSegmentIsTheOneEvicted) {
    // Three segments of four similar words each; the budget holds two of them.
    std::vector<std::string> words;
    for (const char* key : {"aaa", "bbb", "ccc"})
        for (const char* rest : {"x", "xy", "xyz", "xyzw"})
            words.push_back(std::string(key) + rest);
    std::string path = scratch.write("three.clx", clxtest::compile(words));
    CompressedLexicon probe;  // the bytes one loaded segment takes under a budget
    ASSERT_EQ(probe.open(path.c_str(), 1 << 20), 0);
    ASSERT_TRUE(found(probe, "aaax", true));
    CompressedLexicon lex;
    ASSERT_EQ(lex.open(path.c_str(), int32_t(2 * probe.loadedBytes())), 0);
    ASSERT_TRUE(found(lex, "aaax", true));
    ASSERT_TRUE(found(lex, "bbbx", true));
    ASSERT_TRUE(found(lex, "aaaxy", true));  // "aaa" is now the most recently used
    ASSERT_EQ(lex.segmentReads(), 2u);
    ASSERT_TRUE(found(lex, "cccx", true));  // evicts "bbb"
    ASSERT_EQ(lex.segmentReads(), 3u);
    EXPECT_TRUE(found(lex, "aaaxyz", true));
    EXPECT_EQ(lex.segmentReads(), 3u);
    EXPECT_TRUE(found(lex, "bbbxyz", true));
    EXPECT_EQ(lex.segmentReads(), 4u);
}

TEST_F(CompressedLexiconTest, EditingAndListingAreUnsupported) {
    CompressedLexicon lex;
    ASSERT_EQ(lex.open(compiled().c_str(), 0), 0);
    EXPECT_EQ(lex.add("new", 'i', nullptr), QLEX_ERR_UNSUPPORTED);
    EXPECT_EQ(lex.remove("park"), QLEX_ERR_UNSUPPORTED);
    EXPECT_EQ(lex.clear(), QLEX_ERR_UNSUPPORTED);
    char buffer[16];
    EXPECT_EQ(lex.list(buffer, sizeof buffer), QLEX_ERR_UNSUPPORTED);
    EXPECT_EQ(lex.listSize(), QLEX_ERR_UNSUPPORTED);
    EXPECT_TRUE(found(lex, "park", true));
}

namespace {

// Scores by position-wise equality: 100 for an identical word, 25 less per differing or missing
// character, never below 0.
int positionScore(const char* m, const char* c) {
    size_t lm = std::strlen(m), lc = std::strlen(c), n = std::max(lm, lc), differing = 0;
    for (size_t i = 0; i < n; ++i)
        differing += i >= lm || i >= lc || m[i] != c[i];
    return std::max(0, 100 - 25 * int(differing));
}

struct Collected : SuggestionSink {
    void offer(const char* word, int16_t score) override { offered[word] = score; }
    void remove(const char*) override {}
    std::map<std::string, int> offered;
};

} // namespace

TEST_F(CompressedLexiconTest, WalkVisitsOnlySegmentsWhoseKeyScoresWithinTheDepth) {
    CompressedLexicon lex;
    ASSERT_EQ(lex.open(compiled().c_str(), 0), 0);

    Collected shallow;  // depth 1: only the key "the" itself scores 99 or more against "the"
    ASSERT_EQ(lex.walk("thesus", 1, positionScore, shallow), 0);
    EXPECT_EQ(lex.segmentReads(), 1u);
    EXPECT_EQ(shallow.offered.at("thesis"), 75);
    EXPECT_EQ(shallow.offered.at("these"), 50);
    EXPECT_EQ(shallow.offered.count("therefore"), 0u);  // score 0 is not offered
    for (const auto& [word, score] : shallow.offered)
        EXPECT_TRUE(word.rfind("the", 0) == 0 || word.size() < 3) << word;

    CompressedLexicon fresh;
    ASSERT_EQ(fresh.open(compiled().c_str(), 0), 0);
    Collected deeper;  // depth 60: keys scoring 40 or more against "par": "par", "Par", "wal", "caf"
    ASSERT_EQ(fresh.walk("parkus", 60, positionScore, deeper), 0);
    EXPECT_EQ(fresh.segmentReads(), 4u);
    EXPECT_EQ(deeper.offered.at("parks"), 50);
    EXPECT_EQ(deeper.offered.at("parking"), 25);
    Collected deepest;  // depth 80: "the" (25) as well
    ASSERT_EQ(fresh.walk("parkus", 80, positionScore, deepest), 0);
    EXPECT_EQ(fresh.segmentReads(), 5u);

    Collected shortWords;  // one- and two-character words are scored without any segment
    CompressedLexicon third;
    ASSERT_EQ(third.open(compiled().c_str(), 0), 0);
    ASSERT_EQ(third.walk("og", 1, positionScore, shortWords), 0);
    EXPECT_EQ(third.segmentReads(), 0u);
    EXPECT_EQ(shortWords.offered.at("of"), 75);
    EXPECT_EQ(shortWords.offered.at("on"), 75);
    EXPECT_EQ(shortWords.offered.at("a"), 50);
}

TEST_F(CompressedLexiconTest, ASegmentThatCannotBeReadAnswersAbsentAndEndsTheWalk) {
    std::string path = compiled();
    CompressedLexicon lex;
    ASSERT_EQ(lex.open(path.c_str(), 0), 0);
    clxtest::LogCapture log(scratch);
    std::filesystem::resize_file(path, std::filesystem::file_size(path) - 10);  // cut the last segment
    EXPECT_FALSE(found(lex, "walking", true));
    EXPECT_NE(log.text().find(path + ": read error"), std::string::npos) << log.text();
    Collected sink;
    EXPECT_EQ(lex.walk("walks", 100, positionScore, sink), QLEX_ERR_BAD_FORMAT);
    EXPECT_TRUE(found(lex, "park", true));  // the rest stays usable

    std::filesystem::remove(path);
    EXPECT_FALSE(found(lex, "there", true));
    EXPECT_NE(log.text().find(path + ": can't open"), std::string::npos) << log.text();
}

TEST_F(CompressedLexiconTest, MalformedSegmentAnswersAbsentWithoutReadingOutOfBounds) {
    // One segment "wal" whose second record names simple suffix 5 of an empty table.
    std::string data = std::string("\0k\0", 3) + std::string("\x01\x07", 2);
    std::string file = be32(clx::kMagic) + section(1, be32(24941)) + section(2, be32(1)) +
                       section(3, be32(0) + be32(0)) + section(4, be32(1) + entry("wal", 0, uint32_t(data.size()))) +
                       section(5, data);
    CompressedLexicon lex;
    ASSERT_EQ(lex.open(scratch.write("bad.clx", file).c_str(), 0), 0);
    EXPECT_TRUE(found(lex, "walk", true));  // decoded before the bad record
    EXPECT_FALSE(found(lex, "walks", true));
    EXPECT_FALSE(found(lex, "WALKS", false));
    Collected sink;
    EXPECT_EQ(lex.walk("walk", 100, positionScore, sink), QLEX_ERR_BAD_FORMAT);
    EXPECT_EQ(sink.offered.at("walk"), 100);
}

TEST_F(CompressedLexiconTest, MalformedFilesAreRefusedWithTheirCodeAndLogLine) {
    const std::string magic = be32(clx::kMagic);
    const std::string language = section(1, be32(1033));
    const std::string width = section(2, be32(1));
    const std::string noSuffixes = section(3, be32(0) + be32(0));
    const std::string data("\0k\0", 3);  // "walk"
    const std::string index = section(4, be32(1) + entry("wal", 0, 3));
    const std::string segments = section(5, data);
    struct Case {
        const char* what;
        std::string bytes;
        int16_t code;
        const char* logged;
    };
    const Case cases[] = {
        {"empty file", "", QLEX_ERR_BAD_FORMAT, "error reading magic number"},
        {"wrong magic", be32(0x57000502) + width + index + segments, QLEX_ERR_BAD_FORMAT,
         "magic number 0x57000502 != 0x57000501"},
        {"no section 5", magic + language + width + noSuffixes + index, QLEX_ERR_BAD_FORMAT,
         " invalid compressed lexicon"},
        {"no section 4", magic + width + segments, QLEX_ERR_BAD_FORMAT, " invalid compressed lexicon"},
        {"no width section", magic + index + segments, QLEX_ERR_BAD_FORMAT, " invalid compressed lexicon"},
        {"empty index", magic + width + section(4, be32(0)) + segments, QLEX_ERR_BAD_FORMAT,
         " invalid compressed lexicon"},
        {"width 2", magic + section(2, be32(2)) + index + segments, QLEX_ERR_UNSUPPORTED,
         "Unicode lexicon not supported"},
        {"width 4", magic + section(2, be32(4)) + index + segments, QLEX_ERR_BAD_FORMAT, "character width 4"},
        {"cut section length", magic + width + be32(4) + "\0\0", QLEX_ERR_BAD_FORMAT,
         "error reading section length"},
        {"section past the end", magic + width + index + be32(5) + be32(4), QLEX_ERR_BAD_FORMAT,
         "runs past the end of the file"},
        {"language of 2 bytes", magic + section(1, "am") + width + index + segments, QLEX_ERR_BAD_FORMAT,
         "has 2 bytes, not 4"},
        {"index twice", magic + width + index + index + segments, QLEX_ERR_BAD_FORMAT, "section 4 appears twice"},
        {"suffixes before width", magic + noSuffixes + width + index + segments, QLEX_ERR_BAD_FORMAT,
         "suffix tables before the character width"},
        {"suffix length past its section", magic + width + section(3, be32(8) + "ing") + index + segments,
         QLEX_ERR_BAD_FORMAT, "suffix tables overrun their section"},
        {"second suffix table missing", magic + width + section(3, be32(4) + std::string("ing\0", 4)) + index +
                                            segments,
         QLEX_ERR_BAD_FORMAT, "suffix tables overrun their section"},
        {"suffix without NUL", magic + width + section(3, be32(3) + "ing" + be32(0)) + index + segments,
         QLEX_ERR_BAD_FORMAT, "suffix table does not end with a NUL"},
        {"index count too high", magic + width + section(4, be32(2) + entry("wal", 0, 3)) + segments,
         QLEX_ERR_BAD_FORMAT, "does not hold its entry count"},
        {"index body of 2 bytes", magic + width + section(4, "\0\0") + segments, QLEX_ERR_BAD_FORMAT,
         "does not hold its entry count"},
        {"index not sorted", magic + width + section(4, be32(2) + entry("wal", 0, 3) + entry("of", 0, 0)) + segments,
         QLEX_ERR_BAD_FORMAT, "segment index not sorted at entry 1"},
        {"key with a NUL inside", magic + width + section(4, be32(1) + entry(std::string("w\0l", 3), 0, 3)) + segments,
         QLEX_ERR_BAD_FORMAT, "bad key in segment index entry 0"},
        {"segment past the data", magic + width + section(4, be32(1) + entry("wal", 1, 3)) + segments,
         QLEX_ERR_BAD_FORMAT, "segment wal lies outside the segment data"},
        {"huge segment offset", magic + width + section(4, be32(1) + entry("wal", 0xFFFFFFFF, 3)) + segments,
         QLEX_ERR_BAD_FORMAT, "segment wal lies outside the segment data"},
    };
    for (const Case& c : cases) {
        clxtest::Scratch own;
        clxtest::LogCapture log(own);
        std::string path = own.write("case.clx", c.bytes);
        CompressedLexicon lex;
        EXPECT_EQ(lex.open(path.c_str(), 0), c.code) << c.what;
        EXPECT_NE(log.text().find(path), std::string::npos) << c.what;
        EXPECT_NE(log.text().find(c.logged), std::string::npos) << c.what << ": " << log.text();
        EXPECT_FALSE(found(lex, "walk", true)) << c.what;
    }

    // The same pieces in another order, with an unknown section, make a valid lexicon.
    std::string valid = magic + segments + section(9, "ignored") + index + width + noSuffixes + language;
    CompressedLexicon lex;
    ASSERT_EQ(lex.open(scratch.write("valid.clx", valid).c_str(), 0), 0);
    EXPECT_TRUE(found(lex, "walk", true));
    EXPECT_EQ(lex.language(), 24941);  // the Windows identifier 1033 is translated

    clxtest::LogCapture log(scratch);
    std::string missing = scratch.path("missing.clx");
    EXPECT_EQ(lex.open(missing.c_str(), 0), QLEX_ERR_FILE_OPEN);
    EXPECT_NE(log.text().find("file open(" + missing + ") failed"), std::string::npos) << log.text();
}
