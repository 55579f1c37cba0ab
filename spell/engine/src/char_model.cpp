#include "char_model.h"

namespace orthix {

namespace {

constexpr bool upperVowel(int c) {
    return c == 'A' || c == 'E' || c == 'I' || c == 'O' || c == 'U' || (c >= 0xC0 && c <= 0xC6) ||
           (c >= 0xC8 && c <= 0xCF) || (c >= 0xD2 && c <= 0xD6) || (c >= 0xD8 && c <= 0xDC);
}

constexpr unsigned char upperBase(int c) {  // c is an upper-case letter
    if (c <= 'Z') return static_cast<unsigned char>(c);
    if (c <= 0xC6) return 'A';
    if (c == 0xC7) return 'C';
    if (c <= 0xCB) return 'E';
    if (c <= 0xCF) return 'I';
    if (c == 0xD1) return 'N';
    if ((c >= 0xD2 && c <= 0xD6) || c == 0xD8) return 'O';
    if (c >= 0xD9 && c <= 0xDC) return 'U';
    if (c == 0xDD) return 'Y';
    return 0;  // 0xD0, 0xDE
}

constexpr std::array<CharInfo, 256> buildTable() {
    std::array<CharInfo, 256> t{};
    for (int c = 0; c < 256; ++c) {
        bool upper = (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDF && c != 0xD7);
        bool lower = (c >= 'a' && c <= 'z') || (c >= 0xE0 && c != 0xF7);
        if (c == '\t' || c == '\n' || c == '\r' || c == ' ') {
            t[c] = {kWhiteSpace, 0};
        } else if (c >= '0' && c <= '9') {
            t[c] = {kDigit, 0};
        } else if (upper) {
            unsigned char cls = kLetter | kUpperCase | (upperVowel(c) ? kVowel : 0);
            // 0xDF (sharp s) sits among the capitals so that it pairs with 0xFF.
            t[c] = {cls, c == 0xDF ? static_cast<unsigned char>('S') : upperBase(c)};
        } else if (lower) {
            // The lower-case letter is its capital plus 32; 0xF0 (eth) is a vowel, 0xD0 is not.
            bool vowel = upperVowel(c - 32) || c == 0xF0;
            unsigned char cls = kLetter | kLowerCase | (vowel ? kVowel : 0);
            unsigned char base = c == 0xFF ? 'Y' : c == 0xF0 ? 0 : upperBase(c - 32);
            t[c] = {cls, base};
        } else if ((c > ' ' && c <= 0x7F) || (c >= 0x92 && c <= 0x9C) || (c >= 0xA1 && c <= 0xBF) ||
                   c == 0xD7 || c == 0xF7) {
            t[c] = {kPunctuation, 0};
        }
    }
    return t;
}

} // namespace

constexpr std::array<CharInfo, 256> kCharTable = buildTable();

std::string lowered(const std::string& word) {
    std::string out = word;
    for (char& c : out)
        c = static_cast<char>(toLower(static_cast<unsigned char>(c)));
    return out;
}

} // namespace orthix
