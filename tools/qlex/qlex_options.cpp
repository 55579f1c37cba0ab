#include "qlex_options.h"

#include <cstdlib>
#include <sstream>
#include <strings.h>

#include "qlex.h"

namespace {

struct Named {
    const char* name;
    uint32_t value;
};

constexpr Named kOptions[] = {
    {"IGNORE_CAPITALIZED_WORDS", QLEX_OPT_IGNORE_CAPITALIZED_WORDS},
    {"IGNORE_MIXED_CASE_WORDS", QLEX_OPT_IGNORE_MIXED_CASE_WORDS},
    {"IGNORE_WORDS_WITH_DIGITS", QLEX_OPT_IGNORE_WORDS_WITH_DIGITS},
    {"IGNORE_ALL_CAPS_WORDS", QLEX_OPT_IGNORE_ALL_CAPS_WORDS},
    {"REPORT_CAPITALIZATION", QLEX_OPT_REPORT_CAPITALIZATION},
    {"CATCH_MIXED_CASE_WORDS", QLEX_OPT_CATCH_MIXED_CASE_WORDS},
    {"CATCH_WORDS_WITH_DIGITS", QLEX_OPT_CATCH_WORDS_WITH_DIGITS},
    {"CHECK_LEXICONS", QLEX_OPT_CHECK_LEXICONS},
    {"CATCH_DOUBLED_WORDS", QLEX_OPT_CATCH_DOUBLED_WORDS},
    {"CASE_SENSITIVE", QLEX_OPT_CASE_SENSITIVE},
    {"SPLIT_HYPHENATED_WORDS", QLEX_OPT_SPLIT_HYPHENATED_WORDS},
    {"SPLIT_CONTRACTED_WORDS", QLEX_OPT_SPLIT_CONTRACTED_WORDS},
    {"SPLIT_WORDS", QLEX_OPT_SPLIT_WORDS},
    {"SUGGEST_SPLIT_WORDS", QLEX_OPT_SUGGEST_SPLIT_WORDS},
    {"PHONETIC_SUGGESTIONS", QLEX_OPT_PHONETIC_SUGGESTIONS},
    {"TYPOGRAPHICAL_SUGGESTIONS", QLEX_OPT_TYPOGRAPHICAL_SUGGESTIONS},
    {"STRIP_POSSESSIVES", QLEX_OPT_STRIP_POSSESSIVES},
    {"IGNORE_NON_ALPHA_WORDS", QLEX_OPT_IGNORE_NON_ALPHA_WORDS},
    {"IGNORE_DOMAIN_NAMES", QLEX_OPT_IGNORE_DOMAIN_NAMES},
    {"EXACT_CAPITAL_ACCENTS", QLEX_OPT_EXACT_CAPITAL_ACCENTS},
};

constexpr Named kFlags[] = {
    {"misspelled", QLEX_MISSPELLED},           {"auto change", QLEX_AUTO_CHANGE},
    {"conditional change", QLEX_CONDITIONAL_CHANGE}, {"capitalization", QLEX_CAPITALIZATION},
    {"mixed case", QLEX_MIXED_CASE},           {"word with digits", QLEX_WORD_WITH_DIGITS},
    {"end of block", QLEX_END_OF_BLOCK},       {"doubled word", QLEX_DOUBLED_WORD},
};

} // namespace

std::optional<uint32_t> parseOptions(const std::string& text, uint32_t base) {
    if (text.empty())
        return std::nullopt;
    char* end = nullptr;
    unsigned long number = std::strtoul(text.c_str(), &end, 0);
    if (*end == '\0' && text[0] != '-' && text[0] != '+')
        return number <= 0xFFFFFFFFul ? std::optional<uint32_t>(static_cast<uint32_t>(number)) : std::nullopt;
    uint32_t options = base;
    std::istringstream items(text);
    std::string item;
    while (std::getline(items, item, ',')) {
        if (item.size() < 2 || (item[0] != '+' && item[0] != '-'))
            return std::nullopt;
        std::string name = item.substr(1);
        if (strncasecmp(name.c_str(), "QLEX_OPT_", 9) == 0)
            name = name.substr(9);
        const Named* found = nullptr;
        for (const Named& o : kOptions)
            if (strcasecmp(o.name, name.c_str()) == 0)
                found = &o;
        if (!found)
            return std::nullopt;
        options = item[0] == '+' ? options | found->value : options & ~found->value;
    }
    return options;
}

std::string describeFlags(int16_t flags) {
    std::string out;
    for (const Named& f : kFlags)
        if (flags & f.value)
            out += (out.empty() ? "" : ", ") + std::string(f.name);
    return out.empty() ? "correct" : out;
}

std::string describeError(int code) {
    switch (code) {
    case QLEX_ERR_BAD_SESSION: return "bad session id";
    case QLEX_ERR_NOT_FOUND: return "word not found";
    case QLEX_ERR_FILE_OPEN: return "the file cannot be opened for reading";
    case QLEX_ERR_UNKNOWN_ACTION: return "unknown action (use i, e, a, A, c or C)";
    case QLEX_ERR_BAD_LEXICON: return "bad lexicon id";
    case QLEX_ERR_BUFFER_TOO_SMALL: return "buffer too small";
    case QLEX_ERR_NO_MEMORY: return "out of memory";
    case QLEX_ERR_UNSUPPORTED: return "not supported for this lexicon or format";
    case QLEX_ERR_EXISTS: return "the file already exists";
    case QLEX_ERR_READ: return "read error";
    case QLEX_ERR_WRITE: return "the lexicon file cannot be written";
    case QLEX_ERR_CREATE: return "the file cannot be created";
    case QLEX_ERR_BAD_FORMAT: return "not a valid lexicon file";
    case QLEX_ERR_MUTEX_TIMEOUT: return "the engine is busy (its mutex was not free within 10 seconds)";
    default: return "error " + std::to_string(code);
    }
}
