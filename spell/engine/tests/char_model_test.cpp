// The Windows-1252 character model: classes, case pairs and base letters.
#include <gtest/gtest.h>

#include "char_model.h"

using namespace orthix;

TEST(CharModel, ClassesOfTheBytesThatMatter) {
    struct Case {
        unsigned char c;
        unsigned char cls;
    } cases[] = {
        {'\t', kWhiteSpace}, {' ', kWhiteSpace}, {'7', kDigit}, {'-', kPunctuation}, {0x7F, kPunctuation},
        {'A', kLetter | kUpperCase | kVowel}, {'y', kLetter | kLowerCase}, {'Y', kLetter | kUpperCase},
        {0xC9, kLetter | kUpperCase | kVowel}, {0xD0, kLetter | kUpperCase}, {0xF0, kLetter | kLowerCase | kVowel},
        {0xF1, kLetter | kLowerCase}, {0xD7, kPunctuation}, {0xF7, kPunctuation}, {0xDF, kLetter | kUpperCase},
        {0xFF, kLetter | kLowerCase}, {0x92, kPunctuation}, {0x91, 0}, {0xA0, 0}, {0x80, 0}, {0x01, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(charClass(c.c), c.cls) << std::hex << int(c.c);
}

TEST(CharModel, CaseMovesByThirtyTwoAndBaseLettersDropAccents) {
    EXPECT_EQ(toUpper(0xFF), 0xDF);
    EXPECT_EQ(toLower(0xDF), 0xFF);
    EXPECT_EQ(toUpper(0xE9), 0xC9);
    EXPECT_EQ(toUpper('-'), '-');
    struct Case {
        unsigned char c, base;
    } cases[] = {{'a', 'A'}, {'Z', 'Z'}, {0xC5, 'A'}, {0xE7, 'C'}, {0xCB, 'E'}, {0xEF, 'I'}, {0xD1, 'N'},
                 {0xF8, 'O'}, {0xDC, 'U'}, {0xFD, 'Y'}, {0xFF, 'Y'}, {0xDF, 'S'}, {0xD0, 0}, {0xFE, 0}, {'5', 0}};
    for (const Case& c : cases)
        EXPECT_EQ(baseLetter(c.c), c.base) << std::hex << int(c.c);
    EXPECT_TRUE(isApostrophe('\'') && isApostrophe(0x92) && !isApostrophe(0x91));
}
