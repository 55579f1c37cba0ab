// Any bytes as the data of one segment: decode every record, and search the segment for each
// decoded word and for a few fixed ones.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "clx_segment_decoder.h"
#include "clx_segment_search.h"

using namespace orthix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const ClxSuffixTable simple = [] {
        ClxSuffixTable t;
        t.assign({'i', 'n', 'g', '\0', 's', '\0', '\0', 'e', 'd', '\0'});
        return t;
    }();
    static const ClxSuffixTable extended = [] {
        ClxSuffixTable t;
        t.assign({'n', 'e', 's', 's', '\0', 'a', 't', 'i', 'o', 'n', '\0'});
        return t;
    }();
    const char key[3] = {'w', 'a', 'l'};
    std::span<const unsigned char> segment(data, size);

    std::vector<std::string> words = {"wal", "walk", "walking", "walkness", "walz", "wal" + std::string(60, 'k')};
    ClxSegmentDecoder decoder(key, segment, simple, extended);
    while (decoder.next() == ClxSegmentDecoder::kWord && words.size() < 256)
        words.emplace_back(decoder.word(), decoder.length());
    for (const std::string& w : words)
        if (w.compare(0, 3, "wal") == 0)
            clxSegmentHolds(segment, w, simple, extended);
    return 0;
}
