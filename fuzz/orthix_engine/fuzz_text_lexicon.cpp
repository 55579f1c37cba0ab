// Any bytes read as a text lexicon: reading never fails, and what the engine writes back reads
// back as the same list (nothing a user's file held is lost or changed by a write-back), and
// every entry read is one the file can hold.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "text_lexicon_format.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    orthix::TextLexiconContent first = orthix::parseTextLexicon(bytes);
    for (const orthix::LexEntry& e : first.entries)
        if (!orthix::fitsTextLexicon(e))
            std::abort();
    orthix::WordList list(first.language);
    list.merge(first.entries);

    std::string written = orthix::formatTextLexicon(list, first.hasHeader);
    orthix::TextLexiconContent second = orthix::parseTextLexicon(written);
    orthix::WordList again(second.language);
    again.merge(second.entries);
    if (again.entries() != list.entries() || second.hasHeader != first.hasHeader ||
        (first.hasHeader && second.language != first.language))
        std::abort();

    std::string listed(static_cast<size_t>(list.listSize()), '\0');
    if (list.list(listed.data(), static_cast<int32_t>(listed.size())) != static_cast<int32_t>(list.entries().size()))
        std::abort();
    if (!listed.empty() && list.list(listed.data(), static_cast<int32_t>(listed.size()) - 1) >= 0)
        std::abort();
    return 0;
}
