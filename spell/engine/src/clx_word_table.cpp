#include "clx_word_table.h"

#include <cstring>

#include "char_model.h"
#include "clx_segment_decoder.h"

namespace orthix {

using namespace clx;

namespace {

// The previous word shares exactly `kept` characters with the next one: the sequential search
// reads a shared-prefix count as the point where the two words differ.
bool sharesExactly(std::string_view previous, std::string_view word, size_t kept) {
    return kept == previous.size() || kept == word.size() || previous[kept] != word[kept];
}

} // namespace

bool ClxWordTable::build(const char (&key)[kKeySize], std::span<const unsigned char> data,
                         const ClxSuffixTable& simple, const ClxSuffixTable& extended) {
    *this = ClxWordTable();
    std::vector<unsigned char> tails;
    ClxSegmentDecoder decoder(key, data, simple, extended);
    char previous[kMaxWordLength + 1] = {};
    size_t previousLength = 0;
    size_t count = 0;
    for (ClxSegmentDecoder::Step step; (step = decoder.next()) != ClxSegmentDecoder::kEnd;) {
        std::string_view word(decoder.word(), decoder.length());
        std::string_view before(previous, previousLength);
        bool inOrder = count == 0 || (before <= word && sharesExactly(before, word, decoder.kept()));
        if (step == ClxSegmentDecoder::kMalformed || !inOrder || tails.size() + 1 > UINT16_MAX)
            return false;
        tails.push_back((unsigned char)(word.size() - kKeySize));
        tails.insert(tails.end(), word.begin() + kKeySize, word.end());
        std::memcpy(previous, word.data(), word.size());
        previousLength = word.size();
        ++count;
    }
    if (count == 0)
        return false;
    // At most half the slots are used, so probes stay short.
    size_t slots = 2;
    while (slots < 2 * count)
        slots *= 2;
    block_.assign(slots + (tails.size() + 1) / 2, 0);
    mask_ = uint32_t(slots - 1);
    tailBytes_ = uint32_t(tails.size());
    std::memcpy(block_.data() + slots, tails.data(), tails.size());
    for (size_t offset = 0; offset < tails.size(); offset += 1 + tails[offset]) {
        std::string_view tail((const char*)&tails[offset + 1], tails[offset]);
        uint32_t slot = hash(tail) & mask_;
        while (block_[slot] != 0)
            slot = (slot + 1) & mask_;
        block_[slot] = uint16_t(offset + 1);
    }
    return true;
}

bool ClxWordTable::holdsFolded(std::string_view tail) const {
    if (block_.empty())
        return false;
    const unsigned char* words = tails();
    for (size_t offset = 0; offset < tailBytes_; offset += 1 + words[offset]) {
        if (words[offset] != tail.size())
            continue;
        const unsigned char* candidate = words + offset + 1;
        size_t i = 0;
        while (i < tail.size() && toLower(candidate[i]) == toLower((unsigned char)tail[i]))
            ++i;
        if (i == tail.size())
            return true;
    }
    return false;
}

} // namespace orthix
