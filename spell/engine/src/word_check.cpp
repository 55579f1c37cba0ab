#include "word_check.h"

#include <algorithm>
#include <vector>

#include "char_model.h"
#include "qlex.h"

namespace orthix {

namespace {

unsigned char at(std::string_view s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

// Ignoring the first character, a later letter has the opposite case of the first letter found
// (TUesday, ActiveX; not OCX, Stephenson).
bool isMixedCase(std::string_view w) {
    std::size_t i = 1;
    while (i < w.size() && !isLetter(at(w, i)))
        ++i;
    if (i >= w.size())
        return false;
    bool upper = isUpper(at(w, i));
    for (std::size_t j = i + 1; j < w.size(); ++j)
        if (isLetter(at(w, j)) && isUpper(at(w, j)) != upper)
            return true;
    return false;
}

bool allUpperLetters(std::string_view w) {
    return std::all_of(w.begin(), w.end(), [](char c) { return isUpper(static_cast<unsigned char>(c)); });
}

// Some character of the word is of one of these CharClass bits.
bool anyOf(std::string_view w, unsigned char classes) {
    for (char c : w)
        if (charClass(static_cast<unsigned char>(c)) & classes)
            return true;
    return false;
}

// The first hyphen or apostrophe at or after `from` that the options split words at, or the size
// of the word.
std::size_t separatorFrom(std::string_view w, std::size_t from, uint32_t opt) {
    bool hyphens = opt & QLEX_OPT_SPLIT_HYPHENATED_WORDS;
    if (!(opt & QLEX_OPT_SPLIT_CONTRACTED_WORDS))
        return hyphens ? std::min(w.find('-', from), w.size()) : w.size();
    for (std::size_t i = from; i < w.size(); ++i)
        if ((hyphens && w[i] == '-') || isApostrophe(static_cast<unsigned char>(w[i])))
            return i;
    return w.size();
}

bool isAlnum(unsigned char c) { return isLetter(c) || isDigit(c); }

bool looksLikeDomainName(std::string_view w) {
    if (w.find('.') == std::string_view::npos)
        return false;
    for (std::size_t i = 0; i + 1 < w.size(); ++i)
        if (isAlnum(at(w, i)) && isAlnum(at(w, i + 1)))
            return true;
    return false;
}

bool isEss(unsigned char c) { return c == 's' || c == 'S'; }

std::string_view oneChar(const unsigned char& c) { return {reinterpret_cast<const char*>(&c), 1}; }

// Puts the received word's possessive ending back on a replacement built from the stripped word.
void restorePossessive(std::string_view received, WordBuffer& repl) {
    std::size_t n = received.size();
    if (n < 2)
        return;
    unsigned char last = at(received, n - 1), prev = at(received, n - 2);
    if (isEss(last) && isApostrophe(prev)) {
        repl.append(received.substr(n - 2));
    } else if (isApostrophe(last) && isEss(prev)) {
        repl.append(oneChar(last));
        if (repl.size() < 2 || !isEss(repl.at(repl.size() - 2)))
            repl.append(oneChar(prev));
    }
}

// Each character of `other` takes the case of the checked word's character at the same position,
// and the case of its last character once the checked word is exhausted.
WordBuffer recased(const WordBuffer& other, std::string_view pattern) {
    WordBuffer out = other;
    for (std::size_t i = 0; i < out.size() && !pattern.empty(); ++i) {
        unsigned char ref = at(pattern, std::min(i, pattern.size() - 1));
        unsigned char c = out.at(i);
        out.set(i, isUpper(ref) ? toUpper(c) : isLower(ref) ? toLower(c) : c);
    }
    return out;
}

// Characters above c with the same base letter, in increasing byte order.
std::vector<unsigned char> accentVariants(unsigned char c, bool upperOnly) {
    std::vector<unsigned char> out;
    unsigned char base = baseLetter(c);
    for (int v = c + 1; base && v < 256; ++v)
        if (baseLetter(static_cast<unsigned char>(v)) == base && (!upperOnly || isUpper(static_cast<unsigned char>(v))))
            out.push_back(static_cast<unsigned char>(v));
    return out;
}

bool isChange(int action) { return action == 'a' || action == 'A' || action == 'c' || action == 'C'; }

} // namespace

int WordChecker::lookup(std::string_view word, bool caseSensitive, WordBuffer* other) {
    char buffer[kMaxWord + 1];
    for (Lexicon* lex : lexicons_) {
        int action = lex->find(word, caseSensitive, buffer, sizeof buffer);
        if (action < 0)
            continue;  // not there, or a lexicon that cannot look words up
        if (other && isChange(action))
            other->assign(buffer);
        return action;
    }
    return QLEX_ERR_NOT_FOUND;
}

int WordChecker::lookupWithVariants(std::string_view word, bool exactCapitalAccents, WordBuffer* other) {
    bool caseSensitive = options_ & QLEX_OPT_CASE_SENSITIVE;
    int action = lookup(word, caseSensitive, other);
    if (action < 0 && caseSensitive && isUpper(at(word, 0))) {
        WordBuffer w(word);  // Canada found as canada
        w.set(0, toLower(w.at(0)));
        action = lookup(w.view(), true, other);
    }
    if (action < 0 && caseSensitive && !anyOf(word, kLowerCase))
        action = lookup(word, false, other);  // CANADA found as canada
    if (action >= 0 || exactCapitalAccents)
        return action;
    return capitalVariants(word, other);
}

int WordChecker::capitalVariants(std::string_view word, WordBuffer* other) {
    if (allUpperLetters(word)) {
        // An odometer over the positions, the first turning fastest, through each capital's
        // accented forms.
        std::vector<std::vector<unsigned char>> choices;
        for (char c : word) {
            choices.push_back({static_cast<unsigned char>(c)});
            for (unsigned char v : accentVariants(static_cast<unsigned char>(c), true))
                choices.back().push_back(v);
        }
        std::vector<std::size_t> turn(word.size(), 0);
        WordBuffer w(word);
        for (;;) {
            std::size_t i = 0;
            for (; i < turn.size(); ++i) {
                turn[i] = (turn[i] + 1) % choices[i].size();
                w.set(i, choices[i][turn[i]]);
                if (turn[i] != 0)
                    break;
            }
            if (i == turn.size() || --variantsLeft_ < 0)
                return QLEX_ERR_NOT_FOUND;
            if (int action = lookupWithVariants(w.view(), true, other); action >= 0)
                return action;
        }
    }
    if (isUpper(at(word, 0))) {
        WordBuffer w(word);
        for (unsigned char v : accentVariants(at(word, 0), false)) {
            if (--variantsLeft_ < 0)
                return QLEX_ERR_NOT_FOUND;
            w.set(0, v);
            if (int action = lookupWithVariants(w.view(), true, other); action >= 0)
                return action;
        }
    }
    return QLEX_ERR_NOT_FOUND;
}

bool WordChecker::isCorrect(std::string_view word) {
    if (!partIsCorrect_)
        partIsCorrect_ = std::make_unique<std::unordered_map<std::string, bool>>();
    std::string key(word);
    auto known = partIsCorrect_->find(key);
    if (known != partIsCorrect_->end())
        return known->second;
    bool correct = judgeWord(word).flags == 0;
    partIsCorrect_->emplace(std::move(key), correct);
    return correct;
}

// A word found in no lexicon may still be correct as two run-together words or as parts around a
// hyphen or an apostrophe.
void WordChecker::judgeParts(std::string_view w, Result& res) {
    const uint32_t opt = options_;
    if (opt & QLEX_OPT_SPLIT_WORDS && w.size() >= 4) {
        for (std::size_t i = 2; i + 2 <= w.size() && res.flags; ++i)
            if (isCorrect(w.substr(0, i)) && isCorrect(w.substr(i)))
                res.flags = 0;  // housecat = house + cat
    }
    if (res.flags) {
        std::size_t pos = separatorFrom(w, 0, opt);
        if (pos + 1 < w.size() && isCorrect(w.substr(0, pos))) {
            Result rest = judgeWord(w.substr(pos + 1));
            if (rest.flags == 0)
                res.flags = 0;
            else
                res.reportOffset = static_cast<int>(pos + 1) + rest.reportOffset;
        }
    }
}

// The word with its first character upper case, or else all upper case, when a lexicon holds
// that form (and does not exclude it): true, with the form in `form`.
bool WordChecker::findCapitalised(std::string_view w, WordBuffer& form) {
    WordBuffer capital(w);
    capital.set(0, toUpper(at(w, 0)));
    WordBuffer capitals(w);
    for (std::size_t i = 0; i < w.size(); ++i)
        capitals.set(i, toUpper(at(w, i)));
    for (const WordBuffer* candidate : {&capital, &capitals}) {
        int action = lookup(candidate->view(), true, nullptr);
        if (action >= 0 && action != 'e') {
            form = *candidate;
            return true;
        }
    }
    return false;
}

WordChecker::Result WordChecker::judgeWord(std::string_view received) {
    const uint32_t opt = options_;
    Result res;
    // Only the mixed-case options look at the case pattern of the word as received.
    bool mixed = opt & (QLEX_OPT_IGNORE_MIXED_CASE_WORDS | QLEX_OPT_CATCH_MIXED_CASE_WORDS) && isMixedCase(received);
    const std::string_view wv = opt & QLEX_OPT_STRIP_POSSESSIVES ? stripPossessive(received) : received;
    if (wv.empty()) {
        res.replacement.assign(received);
        return res;
    }

    if ((opt & QLEX_OPT_IGNORE_CAPITALIZED_WORDS && isUpper(at(wv, 0))) ||
        (opt & QLEX_OPT_IGNORE_MIXED_CASE_WORDS && mixed) ||
        (opt & QLEX_OPT_IGNORE_WORDS_WITH_DIGITS && anyOf(wv, kDigit)) ||
        (opt & QLEX_OPT_IGNORE_ALL_CAPS_WORDS && allUpperLetters(wv)) ||
        (opt & QLEX_OPT_IGNORE_NON_ALPHA_WORDS && !anyOf(wv, kLetter)) ||
        (opt & QLEX_OPT_IGNORE_DOMAIN_NAMES && looksLikeDomainName(wv))) {
        res.replacement.assign(received);
        return res;
    }

    bool rebuilt = false;  // the replacement was made from the stripped word
    bool absent = false;
    if (opt & QLEX_OPT_CHECK_LEXICONS) {
        WordBuffer other;
        int action = lookupWithVariants(wv, opt & QLEX_OPT_EXACT_CAPITAL_ACCENTS, &other);
        if (isChange(action)) {
            res.flags = action == 'a' || action == 'A' ? QLEX_AUTO_CHANGE : QLEX_CONDITIONAL_CHANGE;
            res.replacement = action == 'A' || action == 'C' ? recased(other, wv) : other;
            rebuilt = true;
        } else if (action == 'e') {
            res.flags = QLEX_MISSPELLED;  // excluded: always wrong, no splitting excuses it
        } else if (action < 0) {
            res.flags = QLEX_MISSPELLED;
            absent = true;
        }
    }

    if (absent)
        judgeParts(wv, res);

    if (opt & QLEX_OPT_CATCH_MIXED_CASE_WORDS && mixed) {
        res.flags |= QLEX_MIXED_CASE;
        res.replacement.assign(wv);
        for (std::size_t i = isUpper(at(wv, 0)) ? 1 : 0; i < wv.size(); ++i)
            res.replacement.set(i, toLower(at(wv, i)));
        rebuilt = true;
    }
    bool misspelled = res.flags & QLEX_MISSPELLED;
    if (misspelled && opt & QLEX_OPT_CATCH_WORDS_WITH_DIGITS && anyOf(wv, kDigit))
        res.flags |= QLEX_WORD_WITH_DIGITS;
    if (misspelled && opt & QLEX_OPT_REPORT_CAPITALIZATION && opt & QLEX_OPT_CASE_SENSITIVE && isLower(at(wv, 0)) &&
        findCapitalised(wv, res.replacement)) {
        res.flags |= QLEX_CAPITALIZATION;
        rebuilt = true;
    }
    if (!misspelled && !(opt & QLEX_OPT_EXACT_CAPITAL_ACCENTS)) {
        // Capitals are written without accents here: an accented capital is an error.
        for (char ch : wv) {
            unsigned char c = static_cast<unsigned char>(ch);
            if (isUpper(c) && baseLetter(c) && baseLetter(c) != c)
                res.flags |= QLEX_MISSPELLED;
        }
    }
    // The part to report ends at the next separator; a correct word has nothing to report.
    if (res.flags)
        res.reportLength = static_cast<int>(separatorFrom(wv, res.reportOffset, opt)) - res.reportOffset;
    // Only a replacement made from the stripped word lacks the possessive; one that still holds
    // the word as received has it already.
    if (!rebuilt)
        res.replacement.assign(received);
    else if (opt & QLEX_OPT_STRIP_POSSESSIVES)
        restorePossessive(received, res.replacement);
    return res;
}

} // namespace orthix
