// Judging one word against a session's lexicons and options. Shared by QLEX_CheckWord, block
// checking and the filtering of suggestions.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>

#include "char_model.h"
#include "lexicon.h"
#include "word_buffer.h"

namespace orthix {

// The all-capitals accent variant search tries at most this many spellings per check; a word
// that needs more is judged misspelled rather than letting one call run for hours.
constexpr int kVariantBudget = 10000;

// Removes a final "'s" or a final apostrophe (dog's -> dog, dogs' -> dogs).
inline std::string_view stripPossessive(std::string_view w) {
    std::size_t n = w.size();
    if (n > 1 && (w[n - 1] == 's' || w[n - 1] == 'S') && isApostrophe(static_cast<unsigned char>(w[n - 2])))
        return w.substr(0, n - 2);
    if (n > 1 && isApostrophe(static_cast<unsigned char>(w[n - 1])))
        return w.substr(0, n - 1);
    return w;
}

class WordChecker {
public:
    WordChecker(std::span<Lexicon* const> lexicons, uint32_t options) : lexicons_(lexicons), options_(options) {}

    struct Result {
        int16_t flags = 0;       // QLEX_ result flags; 0 is correct
        WordBuffer replacement;  // the word as received unless a change, capitalisation or case fix applies
        // With flags, the part of the word to report: all of it, or the misspelled part of a
        // hyphenated or contracted word, up to its next separator. 0 and 0 for a correct word.
        int reportOffset = 0;
        int reportLength = 0;
    };

    // Judges `word` (cut to 63 characters).
    Result judge(std::string_view word) { return judgeWord(word.substr(0, kMaxWord)); }

private:
    // Words are views of the caller's word (at most 63 characters); only variants are copied.
    Result judgeWord(std::string_view received);
    void judgeParts(std::string_view word, Result& res);
    bool findCapitalised(std::string_view word, WordBuffer& form);
    bool isCorrect(std::string_view word);
    // The action of the first lexicon holding the word, or QLEX_ERR_NOT_FOUND; the entry's other
    // word goes to `other`.
    int lookup(std::string_view word, bool caseSensitive, WordBuffer* other);
    // The lookup with the case and accent variants of the word.
    int lookupWithVariants(std::string_view word, bool exactCapitalAccents, WordBuffer* other);
    int capitalVariants(std::string_view word, WordBuffer* other);

    std::span<Lexicon* const> lexicons_;
    uint32_t options_;
    int variantsLeft_ = kVariantBudget;
    // Judgements of the parts tried when splitting run-together words, so that a long word costs
    // a few thousand part checks rather than exponentially many. Made on the first split only.
    std::unique_ptr<std::unordered_map<std::string, bool>> partIsCorrect_;
};

} // namespace orthix
