// The word table of a loaded segment answers exactly what the segment search answers, and is
// refused for every segment on which the two could differ.
#include <gtest/gtest.h>

#include <random>
#include <set>
#include <string>
#include <vector>

#include "char_model.h"
#include "clx_segment_decoder.h"
#include "clx_segment_search.h"
#include "clx_word_table.h"

using namespace orthix;

namespace {

const char kKey[3] = {'w', 'a', 'l'};

// Simple suffixes "ing" (code 2) and "s" (code 3); extended suffix 0 is "ness".
struct Tables {
    Tables() {
        simple.assign({'i', 'n', 'g', '\0', 's', '\0'});
        extended.assign({'n', 'e', 's', 's', '\0'});
    }
    ClxSuffixTable simple, extended;
};
const Tables tables;

std::span<const unsigned char> span(const std::string& bytes) {
    return {reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()};
}

std::string bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values)
        s.push_back(char(v));
    return s;
}

bool build(ClxWordTable& table, const std::string& segment) {
    return table.build(kKey, span(segment), tables.simple, tables.extended);
}

// The words of the segment up to its end or its first malformed record.
std::vector<std::string> decode(const std::string& segment) {
    ClxSegmentDecoder decoder(kKey, span(segment), tables.simple, tables.extended);
    std::vector<std::string> words;
    while (decoder.next() == ClxSegmentDecoder::kWord)
        words.emplace_back(decoder.word(), decoder.length());
    return words;
}

bool foldedEqual(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (toLower((unsigned char)a[i]) != toLower((unsigned char)b[i]))
            return false;
    return true;
}

// Every decoded word, with each one cut short, lengthened and changed in its last character,
// in both cases: what a lookup may ask.
std::vector<std::string> candidates(const std::vector<std::string>& words) {
    std::vector<std::string> out = {"wal", "walk", "walks", "walking", "walz", "WALK"};
    for (const std::string& w : words) {
        out.push_back(w);
        out.push_back(w + "s");
        if (w.size() > 3) {
            out.push_back(w.substr(0, w.size() - 1));
            std::string changed = w;
            changed.back() = char(changed.back() + 1);
            out.push_back(changed);
            std::string upper = w;
            for (size_t i = 3; i < upper.size(); ++i)
                upper[i] = char(toUpper((unsigned char)upper[i]));
            out.push_back(upper);
        }
    }
    return out;
}

// Expects the table, when built, to agree with the segment search on every candidate, and with
// a case-folded comparison against every decoded word. Whether it was built.
bool expectAgreement(const std::string& segment) {
    ClxWordTable table;
    if (!build(table, segment))
        return false;
    std::vector<std::string> words = decode(segment);
    for (const std::string& c : candidates(words)) {
        std::string_view tail = std::string_view(c).substr(3);
        EXPECT_EQ(table.holds(tail), clxSegmentHolds(span(segment), c, tables.simple, tables.extended)) << c;
        bool folded = false;
        for (const std::string& w : words)
            folded = folded || foldedEqual(w, c);
        EXPECT_EQ(table.holdsFolded(tail), folded) << c;
    }
    return true;
}

} // namespace

TEST(ClxWordTable, HoldsExactlyTheWordsOfACanonicalSegment) {
    // wal, walk, walking, walkness, walks, waltz\xE9
    std::string segment = bytes({0, 0, 0, 'k', 0, 1, 2, 1, 1, 0, 1, 3, 0, 't', 'z', 0xE9, 0});
    ClxWordTable table;
    ASSERT_TRUE(build(table, segment));
    for (const char* tail : {"", "k", "king", "ks", "kness", "tz\xE9"})
        EXPECT_TRUE(table.holds(tail)) << tail;
    for (const char* tail : {"ki", "kin", "kingx", "t", "tz", "TZ\xC9", "x"})
        EXPECT_FALSE(table.holds(tail)) << tail;
    EXPECT_TRUE(table.holdsFolded("TZ\xC9"));
    EXPECT_TRUE(table.holdsFolded("KiNg"));
    EXPECT_FALSE(table.holdsFolded("TZ"));
    EXPECT_TRUE(expectAgreement(segment));
}

TEST(ClxWordTable, IsRefusedWhereTheSegmentSearchWouldStopEarly) {
    struct Case {
        const char* what;
        std::string segment;
    };
    const Case cases[] = {
        {"a shared-prefix count below the characters shared", bytes({0, 'k', 0, 0, 'k', 'z', 0})},
        {"words out of order", bytes({0, 'z', 0, 0, 'k', 0})},
        {"a malformed record after good ones", bytes({0, 'k', 0, 1, 9})},
        {"no record at all", ""},
    };
    for (const Case& c : cases) {
        ClxWordTable table;
        EXPECT_FALSE(build(table, c.segment)) << c.what;
        EXPECT_TRUE(table.empty()) << c.what;
        EXPECT_EQ(table.bytes(), 0u) << c.what;
    }
    // Why the first is refused: the search reads the count as the point where "walkz" leaves
    // "walk", so it stops before the word.
    EXPECT_FALSE(clxSegmentHolds(span(cases[0].segment), "walkz", tables.simple, tables.extended));
}

TEST(ClxWordTable, AgreesWithTheSegmentSearchOnRandomSegments) {
    // Random sorted words, front-coded as the compiler does, then one time in three a byte
    // changed and one time in three a shared-prefix count changed.
    std::mt19937 random(20261210);
    const std::string letters = "abkz\xE9" "AK";
    int built = 0;
    for (int round = 0; round < 3000 && !HasFailure(); ++round) {
        std::set<std::string> words;
        for (int n = 1 + int(random() % 12); n > 0; --n) {
            std::string w = "wal";
            for (int i = int(random() % 5); i > 0; --i)
                w += letters[random() % letters.size()];
            words.insert(w + std::vector<std::string>{"", "", "ing", "s", "ness"}[random() % 5]);
        }
        std::string segment, previous = "wal";
        std::vector<size_t> counts;  // positions of the shared-prefix counts
        for (const std::string& w : words) {
            size_t shared = 0;
            while (3 + shared < w.size() && 3 + shared < previous.size() && w[3 + shared] == previous[3 + shared])
                ++shared;
            counts.push_back(segment.size());
            segment.push_back(char(shared));
            std::string rest = w.substr(3 + shared);
            auto ends = [&](const std::string& s) { return rest.size() >= s.size() && rest.ends_with(s); };
            if (ends("ing") || ends("ness") || ends("s")) {
                std::string suffix = ends("ing") ? "ing" : ends("ness") ? "ness" : "s";
                segment += rest.substr(0, rest.size() - suffix.size());
                segment += suffix == "ing" ? bytes({2}) : suffix == "s" ? bytes({3}) : bytes({1, 0});
            } else {
                segment += rest + bytes({0});
            }
            previous = w;
        }
        if (round % 3 == 1)
            segment[random() % segment.size()] = char(random() % 8);
        else if (round % 3 == 2)
            segment[counts[random() % counts.size()]] += random() % 2 ? 1 : -1;
        built += expectAgreement(segment);
    }
    EXPECT_GT(built, 1000);  // most segments were fit for a table, so the comparison counts
}
