// Judging one word against a session's lexicons and options. Shared by QLEX_CheckWord, block
// checking and the filtering of suggestions.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "lexicon.h"

namespace orthix {

// The all-capitals accent variant search tries at most this many spellings per check; a word
// that needs more is judged misspelled rather than letting one call run for hours.
constexpr int kVariantBudget = 10000;

// Removes a final "'s" or a final apostrophe (dog's -> dog, dogs' -> dogs).
std::string stripPossessive(const std::string& word);

class WordChecker {
public:
    WordChecker(const std::vector<Lexicon*>& lexicons, uint32_t options)
        : lexicons_(lexicons), options_(options) {}

    struct Result {
        int16_t flags = 0;        // QLEX_ result flags; 0 is correct
        std::string replacement;  // the word as received unless a change, capitalisation or case fix applies
        int reportOffset = 0;     // where the reported part of a hyphenated or contracted word starts
        int reportLength = 0;     // its length
    };

    // Judges `word` (cut to 63 characters).
    Result judge(std::string_view word);

private:
    Result judgeWord(const std::string& word);
    bool isCorrect(const std::string& word);
    // The action of the first lexicon holding the word, or QLEX_ERR_NOT_FOUND; the entry's other
    // word goes to `other`.
    int lookup(const std::string& word, bool caseSensitive, std::string* other);
    // The lookup with the case and accent variants of the word.
    int lookupWithVariants(const std::string& word, bool exactCapitalAccents, std::string* other);
    int capitalVariants(const std::string& word, std::string* other);

    const std::vector<Lexicon*>& lexicons_;
    uint32_t options_;
    int variantsLeft_ = kVariantBudget;
    // Judgements of the parts tried when splitting run-together words, so that a long word costs
    // a few thousand part checks rather than exponentially many.
    std::unordered_map<std::string, bool> partIsCorrect_;
};

} // namespace orthix
