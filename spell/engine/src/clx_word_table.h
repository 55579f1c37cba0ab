// A hash table of one loaded segment's words, built when the segment is read, so that a
// case-sensitive lookup costs one hash and one comparison instead of a walk through front-coded
// records.
//
// It holds each word's characters after the three-character key (its tail) as a length byte and
// the characters, and an open-addressing table of their offsets, both in one allocation so that a
// lookup touches few cache lines. It answers exactly what the segment search answers: it is built
// only from a segment that decodes completely with its words in ascending order and each
// shared-prefix count exact (on any other segment the sequential search may stop early, and the
// caller keeps using it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "clx_format.h"
#include "clx_suffix_table.h"

namespace orthix {

class ClxWordTable {
public:
    // Decodes the segment; false (table left empty) when it is not fit for a table or too large
    // for its 16-bit offsets. Throws std::bad_alloc.
    bool build(const char (&key)[clx::kKeySize], std::span<const unsigned char> data, const ClxSuffixTable& simple,
               const ClxSuffixTable& extended);

    bool empty() const { return block_.empty(); }
    // Whether the segment holds the word made of the key and `tail`.
    bool holds(std::string_view tail) const { return !empty() && holds(block_.data(), mask_, tail); }
    // The same for a table given by its block and mask, as a lookup that skips the table object
    // finds it.
    static bool holds(const uint16_t* block, uint32_t mask, std::string_view tail) {
        const unsigned char* tails = reinterpret_cast<const unsigned char*>(block + mask + 1);
        for (uint32_t slot = hash(tail) & mask; block[slot] != 0; slot = (slot + 1) & mask) {
            const unsigned char* entry = tails + block[slot] - 1;
            if (entry[0] == tail.size() && equal(entry + 1, tail))
                return true;
        }
        return false;
    }
    const uint16_t* block() const { return block_.data(); }
    uint32_t mask() const { return mask_; }
    // The same, comparing the tails case-insensitively (every word is compared).
    bool holdsFolded(std::string_view tail) const;
    // Bytes of memory the table takes.
    std::size_t bytes() const { return block_.capacity() * sizeof(uint16_t); }

private:
    // A plain loop: tails are a few characters, too short to pay for a call to memcmp.
    static bool equal(const unsigned char* a, std::string_view b) {
        for (size_t i = 0; i < b.size(); ++i)
            if (a[i] != (unsigned char)b[i])
                return false;
        return true;
    }
    // FNV-1a, with the high bits folded down so that the mask sees all of them.
    static uint32_t hash(std::string_view tail) {
        uint32_t h = 2166136261u;
        for (char c : tail)
            h = (h ^ (unsigned char)c) * 16777619u;
        return h ^ (h >> 16);
    }
    // Per word: the tail's length, then the tail; they follow the slots in block_.
    const unsigned char* tails() const { return reinterpret_cast<const unsigned char*>(block_.data() + mask_ + 1); }

    // mask_ + 1 slots (a power of two), each 1 + the offset of a word in the tails or 0 for a
    // free slot; then the tails.
    std::vector<uint16_t> block_;
    uint32_t mask_ = 0;
    uint32_t tailBytes_ = 0;
};

} // namespace orthix
