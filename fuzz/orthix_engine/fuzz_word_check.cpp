// Any option word, lexicon and word: judging never crashes, stays within its bounds and gives a
// replacement of at most 63 characters.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "memory_lexicon.h"
#include "text_lexicon_format.h"
#include "word_check.h"

// Input: 4 bytes of options, then lines; the last line is the word, the others the lexicon.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 4)
        return 0;
    uint32_t options;
    std::memcpy(&options, data, 4);
    std::string_view rest(reinterpret_cast<const char*>(data) + 4, size - 4);
    std::size_t cut = rest.rfind('\n');
    std::string word(cut == std::string_view::npos ? rest : rest.substr(cut + 1));
    word = word.substr(0, word.find('\0'));

    orthix::MemoryLexicon lexicon(24941);
    for (const orthix::LexEntry& e : orthix::parseTextLexicon(rest.substr(0, cut == std::string_view::npos ? 0 : cut)).entries)
        lexicon.add(e.word.c_str(), e.action, e.other.c_str());
    std::vector<orthix::Lexicon*> order{&lexicon};
    orthix::WordChecker checker(order, options);
    orthix::WordChecker::Result r = checker.judge(word);
    if (r.flags < 0 || r.flags > 0x3F || r.replacement.size() > 63 || r.reportOffset < 0 || r.reportLength < 0 ||
        r.reportOffset + r.reportLength > 63)
        std::abort();
    return 0;
}
