#include "word_check.h"

#include <algorithm>

#include "char_model.h"
#include "qlex.h"

namespace orthix {

namespace {

unsigned char at(const std::string& s, std::size_t i) { return static_cast<unsigned char>(s[i]); }

// Ignoring the first character, a later letter has the opposite case of the first letter found
// (TUesday, ActiveX; not OCX, Stephenson).
bool isMixedCase(const std::string& w) {
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

bool allUpperLetters(const std::string& w) {
    return std::all_of(w.begin(), w.end(), [](char c) { return isUpper(static_cast<unsigned char>(c)); });
}

bool anyOf(const std::string& w, bool (*test)(unsigned char)) {
    return std::any_of(w.begin(), w.end(), [&](char c) { return test(static_cast<unsigned char>(c)); });
}

bool isAlnum(unsigned char c) { return isLetter(c) || isDigit(c); }

bool looksLikeDomainName(const std::string& w) {
    if (w.find('.') == std::string::npos)
        return false;
    for (std::size_t i = 0; i + 1 < w.size(); ++i)
        if (isAlnum(at(w, i)) && isAlnum(at(w, i + 1)))
            return true;
    return false;
}

bool isEss(unsigned char c) { return c == 's' || c == 'S'; }

// Puts the received word's possessive ending back on a replacement built from the stripped word.
void restorePossessive(const std::string& received, std::string& repl) {
    std::size_t n = received.size();
    if (n < 2)
        return;
    unsigned char last = at(received, n - 1), prev = at(received, n - 2);
    if (isEss(last) && isApostrophe(prev)) {
        repl += received.substr(n - 2);
    } else if (isApostrophe(last) && isEss(prev)) {
        repl += static_cast<char>(last);
        if (repl.size() < 2 || !isEss(at(repl, repl.size() - 2)))
            repl += static_cast<char>(prev);
    }
    if (repl.size() > kMaxWord)
        repl.resize(kMaxWord);
}

// Each character of `other` takes the case of the checked word's character at the same position,
// and the case of its last character once the checked word is exhausted.
std::string recased(const std::string& other, const std::string& pattern) {
    std::string out = other;
    for (std::size_t i = 0; i < out.size() && !pattern.empty(); ++i) {
        unsigned char ref = at(pattern, std::min(i, pattern.size() - 1));
        unsigned char c = at(out, i);
        out[i] = static_cast<char>(isUpper(ref) ? toUpper(c) : isLower(ref) ? toLower(c) : c);
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

std::string stripPossessive(const std::string& w) {
    std::size_t n = w.size();
    if (n > 1 && isEss(at(w, n - 1)) && isApostrophe(at(w, n - 2)))
        return w.substr(0, n - 2);
    if (n > 1 && isApostrophe(at(w, n - 1)))
        return w.substr(0, n - 1);
    return w;
}

int WordChecker::lookup(const std::string& word, bool caseSensitive, std::string* other) {
    char buffer[kMaxWord + 1];
    for (Lexicon* lex : lexicons_) {
        int action = lex->find(word.c_str(), caseSensitive, buffer, sizeof buffer);
        if (action < 0)
            continue;  // not there, or a lexicon that cannot look words up
        if (other && isChange(action))
            *other = buffer;
        return action;
    }
    return QLEX_ERR_NOT_FOUND;
}

int WordChecker::lookupWithVariants(const std::string& word, bool exactCapitalAccents, std::string* other) {
    bool caseSensitive = options_ & QLEX_OPT_CASE_SENSITIVE;
    int action = lookup(word, caseSensitive, other);
    if (action < 0 && caseSensitive && isUpper(at(word, 0))) {
        std::string w = word;  // Canada found as canada
        w[0] = static_cast<char>(toLower(at(w, 0)));
        action = lookup(w, true, other);
    }
    if (action < 0 && caseSensitive && !anyOf(word, isLower))
        action = lookup(word, false, other);  // CANADA found as canada
    if (action >= 0 || exactCapitalAccents)
        return action;
    return capitalVariants(word, other);
}

int WordChecker::capitalVariants(const std::string& word, std::string* other) {
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
        std::string w = word;
        for (;;) {
            std::size_t i = 0;
            for (; i < turn.size(); ++i) {
                turn[i] = (turn[i] + 1) % choices[i].size();
                w[i] = static_cast<char>(choices[i][turn[i]]);
                if (turn[i] != 0)
                    break;
            }
            if (i == turn.size() || --variantsLeft_ < 0)
                return QLEX_ERR_NOT_FOUND;
            if (int action = lookupWithVariants(w, true, other); action >= 0)
                return action;
        }
    }
    if (isUpper(at(word, 0))) {
        std::string w = word;
        for (unsigned char v : accentVariants(at(word, 0), false)) {
            if (--variantsLeft_ < 0)
                return QLEX_ERR_NOT_FOUND;
            w[0] = static_cast<char>(v);
            if (int action = lookupWithVariants(w, true, other); action >= 0)
                return action;
        }
    }
    return QLEX_ERR_NOT_FOUND;
}

bool WordChecker::isCorrect(const std::string& word) {
    auto known = partIsCorrect_.find(word);
    if (known != partIsCorrect_.end())
        return known->second;
    bool correct = judgeWord(word).flags == 0;
    partIsCorrect_.emplace(word, correct);
    return correct;
}

WordChecker::Result WordChecker::judge(std::string_view word) {
    return judgeWord(std::string(word.substr(0, kMaxWord)));
}

WordChecker::Result WordChecker::judgeWord(const std::string& received) {
    const uint32_t opt = options_;
    Result res;
    res.replacement = received;
    bool mixed = isMixedCase(received);
    std::string w = opt & QLEX_OPT_STRIP_POSSESSIVES ? stripPossessive(received) : received;
    if (w.empty())
        return res;

    if ((opt & QLEX_OPT_IGNORE_CAPITALIZED_WORDS && isUpper(at(w, 0))) ||
        (opt & QLEX_OPT_IGNORE_MIXED_CASE_WORDS && mixed) ||
        (opt & QLEX_OPT_IGNORE_WORDS_WITH_DIGITS && anyOf(w, isDigit)) ||
        (opt & QLEX_OPT_IGNORE_ALL_CAPS_WORDS && allUpperLetters(w)) ||
        (opt & QLEX_OPT_IGNORE_NON_ALPHA_WORDS && !anyOf(w, isLetter)) ||
        (opt & QLEX_OPT_IGNORE_DOMAIN_NAMES && looksLikeDomainName(w)))
        return res;

    bool rebuilt = false;  // the replacement was made from the stripped word
    bool absent = false;
    if (opt & QLEX_OPT_CHECK_LEXICONS) {
        std::string other;
        int action = lookupWithVariants(w, opt & QLEX_OPT_EXACT_CAPITAL_ACCENTS, &other);
        if (isChange(action)) {
            res.flags = action == 'a' || action == 'A' ? QLEX_AUTO_CHANGE : QLEX_CONDITIONAL_CHANGE;
            res.replacement = action == 'A' || action == 'C' ? recased(other, w) : other;
            rebuilt = true;
        } else if (action == 'e') {
            res.flags = QLEX_MISSPELLED;  // excluded: always wrong, no splitting excuses it
        } else if (action < 0) {
            res.flags = QLEX_MISSPELLED;
            absent = true;
        }
    }

    auto isSeparator = [opt](unsigned char c) {
        return (c == '-' && opt & QLEX_OPT_SPLIT_HYPHENATED_WORDS) ||
               (isApostrophe(c) && opt & QLEX_OPT_SPLIT_CONTRACTED_WORDS);
    };
    if (absent && opt & QLEX_OPT_SPLIT_WORDS && w.size() >= 4) {
        for (std::size_t i = 2; i + 2 <= w.size() && res.flags; ++i)
            if (isCorrect(w.substr(0, i)) && isCorrect(w.substr(i)))
                res.flags = 0;  // housecat = house + cat
    }
    if (absent && res.flags) {
        auto sep = std::find_if(w.begin(), w.end(), [&](char c) { return isSeparator(static_cast<unsigned char>(c)); });
        std::size_t pos = static_cast<std::size_t>(sep - w.begin());
        if (pos + 1 < w.size() && isCorrect(w.substr(0, pos))) {
            Result rest = judgeWord(w.substr(pos + 1));
            if (rest.flags == 0)
                res.flags = 0;
            else
                res.reportOffset = static_cast<int>(pos + 1) + rest.reportOffset;
        }
    }
    auto end = std::find_if(w.begin() + res.reportOffset, w.end(), [&](char c) { return isSeparator(static_cast<unsigned char>(c)); });
    res.reportLength = static_cast<int>(end - w.begin()) - res.reportOffset;

    if (opt & QLEX_OPT_CATCH_MIXED_CASE_WORDS && mixed) {
        res.flags |= QLEX_MIXED_CASE;
        res.replacement = lowered(w);
        if (isUpper(at(w, 0)))
            res.replacement[0] = w[0];
        rebuilt = true;
    }
    bool misspelled = res.flags & QLEX_MISSPELLED;
    if (misspelled && opt & QLEX_OPT_CATCH_WORDS_WITH_DIGITS && anyOf(w, isDigit))
        res.flags |= QLEX_WORD_WITH_DIGITS;
    if (misspelled && opt & QLEX_OPT_REPORT_CAPITALIZATION && opt & QLEX_OPT_CASE_SENSITIVE && isLower(at(w, 0))) {
        std::string capital = w;
        capital[0] = static_cast<char>(toUpper(at(w, 0)));
        std::string capitals = w;
        std::transform(w.begin(), w.end(), capitals.begin(), [](char c) { return static_cast<char>(toUpper(static_cast<unsigned char>(c))); });
        for (const std::string& form : {capital, capitals}) {
            int action = lookup(form, true, nullptr);
            if (action >= 0 && action != 'e') {
                res.flags |= QLEX_CAPITALIZATION;
                res.replacement = form;
                rebuilt = true;
                break;
            }
        }
    }
    if (!misspelled && !(opt & QLEX_OPT_EXACT_CAPITAL_ACCENTS)) {
        // Capitals are written without accents here: an accented capital is an error.
        for (char ch : w) {
            unsigned char c = static_cast<unsigned char>(ch);
            if (isUpper(c) && baseLetter(c) && baseLetter(c) != c)
                res.flags |= QLEX_MISSPELLED;
        }
    }
    // Only a replacement made from the stripped word lacks the possessive; one that still holds
    // the word as received has it already.
    if (opt & QLEX_OPT_STRIP_POSSESSIVES && rebuilt)
        restorePossessive(received, res.replacement);
    return res;
}

} // namespace orthix
