#include "text_lexicon_format.h"

#include <cstdlib>

#include "lexicon.h"

namespace orthix {

namespace {

// The header's language: the second blank-separated token, read as at most 9 characters of an
// optional '-' and digits. No number, or one outside 16 bits, gives "any language".
int16_t headerLanguage(std::string_view line) {
    std::size_t start = line.find_first_of(" \t");
    start = start == std::string_view::npos ? line.size() : line.find_first_not_of(" \t", start);
    if (start == std::string_view::npos)
        return kLanguageAny;
    std::string token(line.substr(start, 9));
    token = token.substr(0, token.find_first_of(" \t"));
    char* end = nullptr;
    long number = std::strtol(token.c_str(), &end, 10);
    if (end == token.c_str() || number < -32768 || number > 32767)
        return kLanguageAny;
    return languageFromNumber(number);
}

LexEntry entryOf(std::string_view line) {
    LexEntry e;
    std::size_t tab = line.find('\t');
    e.word.assign(line.substr(0, std::min<std::size_t>(tab, kMaxWord)));
    if (tab != std::string_view::npos && tab + 1 < line.size()) {
        e.action = line[tab + 1];
        e.other.assign(line.substr(tab + 2, kMaxWord));
    }
    return e;
}

} // namespace

TextLexiconContent parseTextLexicon(std::string_view bytes) {
    TextLexiconContent content;
    bool first = true;
    while (!bytes.empty()) {
        std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (end != std::string_view::npos && !line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        line = line.substr(0, line.find('\0'));

        if (first && !line.empty() && line[0] == '#') {
            content.hasHeader = true;
            content.language = headerLanguage(line);
        }
        first = false;
        if (line.empty() || line[0] == '#')
            continue;
        content.entries.push_back(entryOf(line));
    }
    return content;
}

bool fitsTextLexicon(const LexEntry& e) {
    return e.word.find_first_of("\t\n") == std::string::npos && (e.word.empty() || e.word[0] != '#') &&
           e.other.find('\n') == std::string::npos;
}

std::string formatTextLexicon(const WordList& list, bool hasHeader) {
    std::string out;
    if (hasHeader)
        out += "#LID " + std::to_string(list.language()) + "\r\n";
    for (const LexEntry& e : list.entries()) {
        out += e.word;
        // Without a header plain words stay bare lines; any other entry keeps its action and
        // other word, so nothing a user added is lost on write-back.
        if (hasHeader || e.action != 'i' || !e.other.empty() || e.word.empty()) {
            out += '\t';
            out += e.action;
            out += e.other;
        }
        out += "\r\n";
    }
    return out;
}

} // namespace orthix
