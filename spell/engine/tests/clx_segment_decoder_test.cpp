#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clx_segment_decoder.h"

using namespace orthix;

namespace {

struct Decoded {
    std::vector<std::string> words;
    bool malformed = false;
};

// Simple suffixes "ing" (code 2) and "s" (code 3); extended suffix 0 is "ness".
Decoded decode(const std::string& bytes) {
    ClxSuffixTable simple, extended;
    simple.assign({'i', 'n', 'g', '\0', 's', '\0'});
    extended.assign({'n', 'e', 's', 's', '\0'});
    const char key[3] = {'w', 'a', 'l'};
    ClxSegmentDecoder decoder(key, {reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()}, simple,
                              extended);
    Decoded out;
    for (;;) {
        ClxSegmentDecoder::Step step = decoder.next();
        if (step == ClxSegmentDecoder::kWord)
            out.words.emplace_back(decoder.word(), decoder.length());
        else {
            out.malformed = step == ClxSegmentDecoder::kMalformed;
            return out;
        }
    }
}

std::string bytes(std::initializer_list<int> values) {
    std::string s;
    for (int v : values)
        s.push_back(char(v));
    return s;
}

} // namespace

TEST(ClxSegmentDecoder, DecodesFrontCodingLiteralsAndBothSuffixKinds) {
    Decoded d = decode(bytes({0, 0,              // "wal": the key alone
                              0, 'k', 0,         // "walk"
                              1, 2,              // shares "k", then simple suffix "ing"
                              1, 3,              // shares "k", then "s"
                              1, 1, 0,           // shares "k", then extended suffix "ness"
                              0, 't', 'z', 0xE9, 0}));  // a new branch with a byte above 0x7F
    EXPECT_FALSE(d.malformed);
    EXPECT_EQ(d.words, (std::vector<std::string>{"wal", "walk", "walking", "walks", "walkness", "waltz\xE9"}));
}

TEST(ClxSegmentDecoder, RefusesEveryRecordThatDoesNotFitTheSegmentOrTables) {
    struct Case {
        const char* what;
        std::string bytes;
    };
    std::string sixtyOne(61, 'x');  // the key and 60 characters make 63; one more is too long
    const Case cases[] = {
        {"first word shares characters", bytes({1, 'k', 0})},
        {"shares more than the previous word has", bytes({0, 'k', 0, 2, 'x', 0})},
        {"simple suffix number past the table", bytes({0, 4})},
        {"highest simple suffix code", bytes({0, 31})},
        {"extended suffix number past the table", bytes({0, 1, 1})},
        {"extended suffix code at the end of the data", bytes({0, 1})},
        {"record without its end", bytes({0, 'k'})},
        {"shared-prefix byte alone", bytes({0, 0, 0})},
        {"word longer than 63 characters", bytes({0}) + sixtyOne + bytes({0})},
        {"suffix makes the word too long", bytes({0}) + sixtyOne.substr(1) + bytes({2})},
    };
    for (const Case& c : cases)
        EXPECT_TRUE(decode(c.bytes).malformed) << c.what;
}

TEST(ClxSegmentDecoder, WordOfSixtyThreeCharactersIsAccepted) {
    std::string sixty(60, 'x');
    Decoded d = decode(bytes({0}) + sixty + bytes({0}));
    ASSERT_FALSE(d.malformed);
    ASSERT_EQ(d.words.size(), 1u);
    EXPECT_EQ(d.words[0].size(), 63u);
}

TEST(ClxSuffixTable, RefusesATableWhoseLastStringHasNoNul) {
    ClxSuffixTable table;
    EXPECT_FALSE(table.assign({'i', 'n', 'g'}));
    EXPECT_EQ(table.count(), 0u);
    ASSERT_TRUE(table.assign({'i', 'n', 'g', '\0', '\0', 's', '\0'}));
    ASSERT_EQ(table.count(), 3u);  // an empty string is a suffix too
    EXPECT_EQ(table.at(1), "");
    EXPECT_EQ(table.at(2), "s");
}
