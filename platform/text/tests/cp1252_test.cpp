#include "cp1252.h"

#include <gtest/gtest.h>

TEST(Cp1252, EveryAssignedByteRoundTripsThroughUtf8AndUtf16) {
    for (int b = 1; b < 256; ++b) {
        std::string one(1, static_cast<char>(b));
        bool unassigned = b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
        std::string back8 = cp1252::from_utf8(cp1252::to_utf8(one));
        std::string back16 = cp1252::from_utf16(cp1252::to_utf16(one));
        EXPECT_EQ(back8, unassigned ? "?" : one) << b;
        EXPECT_EQ(back16, unassigned ? "?" : one) << b;
    }
}

TEST(Cp1252, KnownCharacters) {
    EXPECT_EQ(cp1252::to_utf8("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
    EXPECT_EQ(cp1252::from_utf8("\xE2\x80\x9Cq\xE2\x80\x9D"), "\x93q\x94");
    EXPECT_EQ(cp1252::to_utf16("\x9C"), u"\u0153");
}

TEST(Cp1252, UnmappableAndMalformedInputBecomesQuestionMark) {
    EXPECT_EQ(cp1252::from_utf8("\xE4\xB8\xAD"), "?");              // CJK, no 1252 byte
    EXPECT_EQ(cp1252::from_utf8("a\xC3"), "a?");                    // truncated sequence
    EXPECT_EQ(cp1252::from_utf8("\xC0\xAF"), "??");                 // overlong '/'
    EXPECT_EQ(cp1252::from_utf8("\xF0\x9F\x98\x80x"), "?x");        // emoji
    EXPECT_EQ(cp1252::from_utf16(std::u16string(1, char16_t(0xD800))), "?");  // lone surrogate
    EXPECT_EQ(cp1252::from_utf16(u"\U0001F600"), "?");              // surrogate pair
}
