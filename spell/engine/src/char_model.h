// The character model of the engine's Windows-1252 text: a class byte and a base letter for every
// byte value, arithmetic case conversion, and the two apostrophes.
#pragma once

#include <array>
#include <string>

namespace orthix {

enum CharClass : unsigned char {
    kLetter = 0x01,
    kDigit = 0x02,
    kPunctuation = 0x04,
    kWhiteSpace = 0x08,
    kLowerCase = 0x10,
    kUpperCase = 0x20,
    kVowel = 0x40,
};

struct CharInfo {
    unsigned char cls;   // CharClass bits
    unsigned char base;  // base letter or 0
};
extern const std::array<CharInfo, 256> kCharTable;

inline unsigned char charClass(unsigned char c) { return kCharTable[c].cls; }
// The unaccented upper-case letter a character stands for, or 0 (digits, punctuation, Ð, Þ, ð, þ).
inline unsigned char baseLetter(unsigned char c) { return kCharTable[c].base; }

inline bool isLetter(unsigned char c) { return charClass(c) & kLetter; }
inline bool isDigit(unsigned char c) { return charClass(c) & kDigit; }
inline bool isUpper(unsigned char c) { return charClass(c) & kUpperCase; }
inline bool isLower(unsigned char c) { return charClass(c) & kLowerCase; }
inline bool isApostrophe(unsigned char c) { return c == 0x27 || c == 0x92; }

// Case conversion moves a letter by 32 (so 0xDF and 0xFF form a pair); other bytes stay.
inline unsigned char toUpper(unsigned char c) { return isLower(c) ? c - 32 : c; }
inline unsigned char toLower(unsigned char c) { return isUpper(c) ? c + 32 : c; }

std::string lowered(const std::string& word);

} // namespace orthix
