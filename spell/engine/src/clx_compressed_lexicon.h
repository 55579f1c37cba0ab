// A compressed lexicon file (lexicon kind 5): read-only, opened with its small tables only; each
// segment's data is read from the file when a lookup or a suggestion walk first needs it and is
// kept under an optional byte budget, evicting the least recently used segment first.
//
// The file is outside input: every count, offset, size and suffix number is checked against the
// file before it is used, and a malformed file is refused at open (or, for a bad segment, makes
// that lookup answer "absent") instead of being read out of bounds.
//
// Lookups and walks run outside the engine mutex and change the segment cache, so they take the
// lexicon's own mutex; a walk's scorer and sink must not call back into the same lexicon. Without
// a budget nothing is ever evicted, so a lookup in a segment already loaded with its word table
// needs no lock.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "clx_format.h"
#include "clx_suffix_table.h"
#include "clx_word_table.h"
#include "lexicon.h"

namespace orthix {

class CompressedLexicon final : public Lexicon {
public:
    // Reads the file's tables. `budget` bounds the bytes of loaded segments; 0 or less means no
    // bound. 0, or an error code with the object left empty.
    int16_t open(const char* fileName, int32_t budget);

    LexiconKind kind() const override { return kCompressedFile; }
    int16_t language() const override { return language_; }
    // 'i' when the word is present, else QLEX_ERR_NOT_FOUND; `other` receives "".
    int16_t find(std::string_view word, bool caseSensitive, char* other, int otherSize) override;
    int16_t add(const char* word, char action, const char* other) override;
    int16_t remove(const char* word) override;
    int16_t clear() override;
    int32_t list(char* buffer, int32_t size) const override;
    int32_t listSize() const override;
    // Offers the one- and two-character words, and the words of every segment whose key scores
    // at least 100 - depth against the misspelled word's first three characters. A segment that
    // cannot be loaded ends the walk with its error.
    int16_t walk(const char* misspelled, int depth, Scorer score, SuggestionSink& sink) override;

    // Bytes of loaded segments and their word tables held now, and segment reads so far.
    size_t loadedBytes() const { return loadedBytes_; }
    size_t segmentReads() const { return segmentReads_; }

private:
    // A segment's data in memory, with its word table when there is no budget and the segment
    // allows one.
    struct LoadedSegment {
        std::unique_ptr<unsigned char[]> data;
        ClxWordTable words;
        uint64_t footprint = 0;  // bytes of data and table, counted against the budget
    };
    struct Entry {
        char key[clx::kKeySize];  // a one- or two-character word is its own key, NUL-padded
        uint32_t offset = 0;      // from the segment base
        uint32_t size = 0;
        uint32_t slot = 0;   // of the key in keySlots_
        uint64_t stamp = 0;  // use counter at the last use
        std::unique_ptr<LoadedSegment> loaded;
    };
    // The hash table of the keys, holding what a lookup needs in 16 bytes: the key and, once its
    // segment is loaded, the segment's word table (ClxWordTable::holds), published for lookups
    // without the lock. Tables are published only when there is no budget, so a published one
    // stays until the lexicon closes.
    struct KeySlot {
        uint32_t rank = kFreeSlot;  // the key's bytes as one big-endian number
        uint32_t tableMask = 0;     // written before the table is published
        std::atomic<const uint16_t*> table{nullptr};

        static constexpr uint32_t kFreeSlot = UINT32_MAX;  // ranks have 24 bits
    };

    int16_t readTables(std::FILE* file, uint64_t fileSize);
    int16_t readSuffixTable(std::FILE* file, uint64_t& pos, uint64_t end, ClxSuffixTable& table);
    int16_t readIndex(std::FILE* file, uint32_t length);
    int16_t checkSegments(int32_t budget);
    void reset();

    void hashKeys();
    // The slot of this key, or null.
    const KeySlot* search(const char (&key)[clx::kKeySize]) const;
    // A case-insensitive lookup: the word in the segment of any case pattern of its key.
    bool findFolded(const char (&key)[clx::kKeySize], std::string_view word);
    Entry& entryOf(const KeySlot& slot);
    // Whether the segment of the key (the word's first three characters) holds the word.
    bool findInSegment(const KeySlot& slot, std::string_view word, bool caseSensitive);
    bool loadAndFind(Entry& entry, std::string_view word, bool caseSensitive);
    // Reads the loaded segment's records, for a segment without a word table.
    bool searchRecords(const Entry& entry, std::string_view word, bool caseSensitive);
    int16_t load(Entry& entry);
    void makeRoom(uint64_t bytes);

    std::string fileName_;
    std::vector<Entry> index_;
    std::vector<KeySlot> keySlots_;  // open addressing, at most half full
    uint32_t keyMask_ = 0;
    ClxSuffixTable simple_, extended_;
    int16_t language_ = 0;
    uint32_t width_ = 0;
    uint64_t segmentBase_ = 0;
    uint64_t segmentLength_ = 0;
    uint64_t budget_ = 0;  // 0: unlimited
    uint64_t loadedBytes_ = 0;
    uint64_t useCounter_ = 0;
    std::vector<uint32_t> loaded_;  // indices of the entries holding data
    size_t segmentReads_ = 0;
    std::mutex cacheMutex_;  // guards the loaded segments, their stamps and the counters
};

} // namespace orthix
