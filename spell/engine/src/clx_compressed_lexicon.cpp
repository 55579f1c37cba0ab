#include "clx_compressed_lexicon.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "char_model.h"
#include "clx_segment_decoder.h"
#include "clx_segment_search.h"
#include "language.h"
#include "log.h"
#include "qlex.h"

namespace orthix {

using namespace clx;

namespace {

bool read_exactly(std::FILE* file, void* buffer, size_t size) {
    return std::fread(buffer, 1, size, file) == size;
}

uint32_t key_rank(const char* key) {
    return uint32_t((unsigned char)key[0]) << 16 | uint32_t((unsigned char)key[1]) << 8 | (unsigned char)key[2];
}

bool equal_folded(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (toLower((unsigned char)a[i]) != toLower((unsigned char)b[i]))
            return false;
    return true;
}

} // namespace

int16_t CompressedLexicon::open(const char* fileName, int32_t budget) {
    reset();
    std::FILE* file = std::fopen(fileName, "rb");
    if (!file) {
        logLine("file open(%s) failed", fileName);
        return QLEX_ERR_FILE_OPEN;
    }
    fileName_ = fileName;
    struct stat info;
    int16_t rc = QLEX_ERR_READ;
    if (fstat(fileno(file), &info) == 0)
        rc = readTables(file, uint64_t(info.st_size));
    else
        logLine("%s: read error", fileName);
    std::fclose(file);
    if (rc == 0)
        rc = checkSegments(budget);
    if (rc != 0)
        reset();
    return rc;
}

int16_t CompressedLexicon::readTables(std::FILE* file, uint64_t fileSize) {
    const char* name = fileName_.c_str();
    unsigned char word[4];
    if (!read_exactly(file, word, 4)) {
        logLine("%s: error reading magic number", name);
        return QLEX_ERR_BAD_FORMAT;
    }
    if (read_be32(word) != kMagic) {
        logLine("%s: magic number 0x%lx != 0x%lx", name, (unsigned long)read_be32(word), (unsigned long)kMagic);
        return QLEX_ERR_BAD_FORMAT;
    }
    uint32_t seen = 0;  // bit t: a section of type t (1..5) was read
    uint64_t pos = 4;
    while (read_exactly(file, word, 4)) {
        uint32_t type = read_be32(word);
        if (!read_exactly(file, word, 4)) {
            logLine("%s: error reading section length", name);
            return QLEX_ERR_BAD_FORMAT;
        }
        uint32_t length = read_be32(word);
        pos += 8;
        if (length > fileSize - pos) {
            logLine("%s: section %lu of %lu bytes runs past the end of the file", name, (unsigned long)type,
                    (unsigned long)length);
            return QLEX_ERR_BAD_FORMAT;
        }
        uint64_t end = pos + length;
        if (type >= kSectionLanguage && type <= kSectionSegments) {
            if (seen & (1u << type)) {
                logLine("%s: section %lu appears twice", name, (unsigned long)type);
                return QLEX_ERR_BAD_FORMAT;
            }
            seen |= 1u << type;
        }
        int16_t rc = 0;
        switch (type) {
        case kSectionLanguage:
        case kSectionWidth: {
            if (length != 4) {
                logLine("%s: section %lu has %lu bytes, not 4", name, (unsigned long)type, (unsigned long)length);
                return QLEX_ERR_BAD_FORMAT;
            }
            if (!read_exactly(file, word, 4)) {
                logLine("%s: read error", name);
                return QLEX_ERR_READ;
            }
            uint32_t value = read_be32(word);
            if (type == kSectionLanguage) {
                language_ = languageFromNumber(value & 0xFFFF);
                break;
            }
            if (value == 2) {
                logLine("%s: Unicode lexicon not supported", name);
                return QLEX_ERR_UNSUPPORTED;
            }
            if (value != 1) {
                logLine("%s: character width %lu not supported", name, (unsigned long)value);
                return QLEX_ERR_BAD_FORMAT;
            }
            width_ = value;
            break;
        }
        case kSectionSuffixes:
            // Suffixes are read as 8-bit strings, so the width must be known and be 1.
            if (width_ != 1) {
                logLine("%s: suffix tables before the character width", name);
                return QLEX_ERR_BAD_FORMAT;
            }
            rc = readSuffixTable(file, pos, end, simple_);
            if (rc == 0)
                rc = readSuffixTable(file, pos, end, extended_);
            break;
        case kSectionIndex:
            rc = readIndex(file, length);
            break;
        case kSectionSegments:
            segmentBase_ = pos;
            segmentLength_ = length;
            break;
        default:
            break;  // unknown sections are skipped
        }
        if (rc != 0)
            return rc;
        pos = end;
        if (fseeko(file, off_t(end), SEEK_SET) != 0) {
            logLine("%s: seek error", name);
            return QLEX_ERR_BAD_FORMAT;
        }
    }
    bool complete = (seen & (1u << kSectionIndex)) && (seen & (1u << kSectionSegments)) && !index_.empty();
    if (!complete || width_ != 1) {
        logLine("%s invalid compressed lexicon", name);
        return QLEX_ERR_BAD_FORMAT;
    }
    return 0;
}

// One table: a 4-byte length (low 16 bits used), then that many bytes of NUL-terminated strings,
// all within the section that ends at `end`.
int16_t CompressedLexicon::readSuffixTable(std::FILE* file, uint64_t& pos, uint64_t end, ClxSuffixTable& table) {
    const char* name = fileName_.c_str();
    unsigned char word[4];
    if (end - pos < 4) {
        logLine("%s: suffix tables overrun their section", name);
        return QLEX_ERR_BAD_FORMAT;
    }
    if (!read_exactly(file, word, 4)) {
        logLine("%s: read error", name);
        return QLEX_ERR_READ;
    }
    pos += 4;
    uint32_t length = read_be32(word) & 0xFFFF;
    if (length > end - pos) {
        logLine("%s: suffix tables overrun their section", name);
        return QLEX_ERR_BAD_FORMAT;
    }
    std::vector<char> bytes;
    try {
        bytes.resize(length);
    } catch (const std::bad_alloc&) {
        logLine("%s: out of memory", name);
        return QLEX_ERR_NO_MEMORY;
    }
    if (!read_exactly(file, bytes.data(), length)) {
        logLine("%s: read error", name);
        return QLEX_ERR_READ;
    }
    pos += length;
    if (!table.assign(std::move(bytes))) {
        logLine("%s: suffix table does not end with a NUL", name);
        return QLEX_ERR_BAD_FORMAT;
    }
    return 0;
}

int16_t CompressedLexicon::readIndex(std::FILE* file, uint32_t length) {
    const char* name = fileName_.c_str();
    std::vector<unsigned char> body;
    try {
        body.resize(length);
    } catch (const std::bad_alloc&) {
        logLine("%s: out of memory", name);
        return QLEX_ERR_NO_MEMORY;
    }
    if (!read_exactly(file, body.data(), length)) {
        logLine("%s: read error", name);
        return QLEX_ERR_READ;
    }
    uint32_t count = length >= 4 ? read_be32(body.data()) : 0;
    if (length < 4 || (length - 4) % kIndexEntrySize != 0 || (length - 4) / kIndexEntrySize != count) {
        logLine("%s: segment index of %lu bytes does not hold its entry count", name, (unsigned long)length);
        return QLEX_ERR_BAD_FORMAT;
    }
    try {
        index_ = std::vector<Entry>(count);
    } catch (const std::bad_alloc&) {
        logLine("%s: out of memory", name);
        return QLEX_ERR_NO_MEMORY;
    }
    for (uint32_t i = 0; i < count; ++i) {
        const unsigned char* record = body.data() + 4 + size_t(i) * kIndexEntrySize;
        Entry& entry = index_[i];
        std::memcpy(entry.key, record, kKeySize);
        entry.offset = read_be32(record + kKeySize);
        entry.size = read_be32(record + kKeySize + 4);
        // A key is three characters, or a one- or two-character word padded with NULs.
        if (entry.key[0] == '\0' || (entry.key[1] == '\0' && entry.key[2] != '\0')) {
            logLine("%s: bad key in segment index entry %lu", name, (unsigned long)i);
            return QLEX_ERR_BAD_FORMAT;
        }
        // Walks visit the keys in order, and a key must name one entry.
        if (i > 0 && key_rank(index_[i - 1].key) >= key_rank(entry.key)) {
            logLine("%s: segment index not sorted at entry %lu", name, (unsigned long)i);
            return QLEX_ERR_BAD_FORMAT;
        }
    }
    try {
        hashKeys();
    } catch (const std::bad_alloc&) {
        logLine("%s: out of memory", name);
        return QLEX_ERR_NO_MEMORY;
    }
    return 0;
}

namespace {

uint32_t key_hash(uint32_t rank) {
    uint32_t h = rank * 0x9E3779B1u;
    return h ^ (h >> 15);
}

} // namespace

// A table at most half full, so that a key is found in one or two probes.
void CompressedLexicon::hashKeys() {
    size_t size = 2;
    while (size < 2 * index_.size())
        size *= 2;
    keySlots_ = std::vector<KeySlot>(size);
    keyMask_ = uint32_t(size - 1);
    for (uint32_t i = 0; i < index_.size(); ++i) {
        uint32_t rank = key_rank(index_[i].key);
        uint32_t slot = key_hash(rank) & keyMask_;
        while (keySlots_[slot].rank != KeySlot::kFreeSlot)
            slot = (slot + 1) & keyMask_;
        keySlots_[slot].rank = rank;
        index_[i].slot = slot;
    }
}

int16_t CompressedLexicon::checkSegments(int32_t budget) {
    const char* name = fileName_.c_str();
    for (const Entry& entry : index_) {
        if (entry.key[2] != '\0' && uint64_t(entry.offset) + entry.size > segmentLength_) {
            logLine("%s: segment %.3s lies outside the segment data", name, entry.key);
            return QLEX_ERR_BAD_FORMAT;
        }
    }
    budget_ = budget > 0 ? uint64_t(budget) : 0;
    if (budget_ > 0) {
        for (const Entry& entry : index_) {
            if (entry.key[2] != '\0' && entry.size > budget_) {
                logLine("%s: segment size %lu > budget %lu", name, (unsigned long)entry.size,
                        (unsigned long)budget_);
                return QLEX_ERR_NO_MEMORY;
            }
        }
    }
    return 0;
}

void CompressedLexicon::reset() {
    fileName_.clear();
    keySlots_.clear();
    index_.clear();
    keyMask_ = 0;
    simple_.clear();
    extended_.clear();
    language_ = 0;
    width_ = 0;
    segmentBase_ = segmentLength_ = 0;
    budget_ = loadedBytes_ = useCounter_ = 0;
    loaded_.clear();
}

const CompressedLexicon::KeySlot* CompressedLexicon::search(const char (&key)[kKeySize]) const {
    if (keySlots_.empty())
        return nullptr;
    uint32_t rank = key_rank(key);
    for (uint32_t slot = key_hash(rank) & keyMask_; keySlots_[slot].rank != KeySlot::kFreeSlot;
         slot = (slot + 1) & keyMask_) {
        if (keySlots_[slot].rank == rank)
            return &keySlots_[slot];
    }
    return nullptr;
}

int16_t CompressedLexicon::load(Entry& entry) {
    ++useCounter_;
    if (entry.loaded) {
        entry.stamp = useCounter_;
        return 0;
    }
    if (entry.size == 0)
        return QLEX_ERR_NOT_FOUND;
    // The budget holds every single segment (checked at open), so eviction always makes room.
    makeRoom(entry.size);
    std::unique_ptr<unsigned char[]> data(new (std::nothrow) unsigned char[entry.size]);
    if (!data) {
        logLine("loadSeg: out of memory");
        return QLEX_ERR_NO_MEMORY;
    }
    int fd = ::open(fileName_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        logLine("%s: can't open", fileName_.c_str());
        return QLEX_ERR_CREATE;
    }
    size_t done = 0;
    while (done < entry.size) {
        ssize_t n = ::pread(fd, data.get() + done, entry.size - done, off_t(segmentBase_ + entry.offset + done));
        if (n <= 0)
            break;
        done += size_t(n);
    }
    ::close(fd);
    if (done < entry.size) {
        logLine("%s: read error", fileName_.c_str());
        return QLEX_ERR_BAD_FORMAT;
    }
    ++segmentReads_;
    // The word table speeds up lookups. Under a budget the memory goes to segment data instead:
    // a table would take several times the segment's size and cost a decoding at every reload.
    ClxWordTable words;
    if (budget_ == 0) {
        try {
            words.build(entry.key, {data.get(), entry.size}, simple_, extended_);
        } catch (const std::bad_alloc&) {
            words = ClxWordTable();  // without it, lookups search the segment's records
        }
    }
    uint64_t footprint = entry.size + words.bytes();
    std::unique_ptr<LoadedSegment> loaded(new (std::nothrow) LoadedSegment{std::move(data), std::move(words), footprint});
    try {
        if (!loaded)
            throw std::bad_alloc();
        loaded_.push_back(uint32_t(&entry - index_.data()));
    } catch (const std::bad_alloc&) {
        logLine("loadSeg: out of memory");
        return QLEX_ERR_NO_MEMORY;
    }
    entry.stamp = useCounter_;
    loadedBytes_ += footprint;
    entry.loaded = std::move(loaded);
    if (const ClxWordTable& table = entry.loaded->words; !table.empty()) {
        keySlots_[entry.slot].tableMask = table.mask();
        keySlots_[entry.slot].table.store(table.block(), std::memory_order_release);
    }
    return 0;
}

// Frees least recently used segments until `bytes` more fit in the budget.
void CompressedLexicon::makeRoom(uint64_t bytes) {
    while (budget_ > 0 && budget_ - loadedBytes_ < bytes && !loaded_.empty()) {
        auto oldest = std::min_element(loaded_.begin(), loaded_.end(),
                                       [&](uint32_t a, uint32_t b) { return index_[a].stamp < index_[b].stamp; });
        Entry& entry = index_[*oldest];
        loadedBytes_ -= entry.loaded->footprint;
        entry.loaded.reset();  // never has a published word table: there is a budget
        *oldest = loaded_.back();
        loaded_.pop_back();
    }
}

namespace {

bool table_holds(const ClxWordTable& words, std::string_view word, bool caseSensitive) {
    std::string_view tail = word.substr(kKeySize);
    return caseSensitive ? words.holds(tail) : words.holdsFolded(tail);
}

} // namespace

// A case-sensitive lookup in a segment already loaded with its word table needs no lock.
bool CompressedLexicon::findInSegment(const KeySlot& slot, std::string_view word, bool caseSensitive) {
    if (caseSensitive) {
        if (const uint16_t* table = slot.table.load(std::memory_order_acquire))
            return ClxWordTable::holds(table, slot.tableMask, word.substr(kKeySize));
    }
    return loadAndFind(entryOf(slot), word, caseSensitive);
}

// The entries are in key order.
CompressedLexicon::Entry& CompressedLexicon::entryOf(const KeySlot& slot) {
    return *std::lower_bound(index_.begin(), index_.end(), slot.rank,
                             [](const Entry& e, uint32_t rank) { return key_rank(e.key) < rank; });
}

bool CompressedLexicon::loadAndFind(Entry& entry, std::string_view word, bool caseSensitive) {
    std::lock_guard<std::mutex> guard(cacheMutex_);
    if (load(entry) != 0)
        return false;
    if (!entry.loaded->words.empty())
        return table_holds(entry.loaded->words, word, caseSensitive);
    return searchRecords(entry, word, caseSensitive);
}

bool CompressedLexicon::searchRecords(const Entry& entry, std::string_view word, bool caseSensitive) {
    std::span<const unsigned char> data(entry.loaded->data.get(), entry.size);
    if (caseSensitive)
        return clxSegmentHolds(data, word, simple_, extended_);
    ClxSegmentDecoder decoder(entry.key, data, simple_, extended_);
    for (;;) {
        switch (decoder.next()) {
        case ClxSegmentDecoder::kEnd:
            return false;
        case ClxSegmentDecoder::kMalformed:
            logLine("%s: segment %.3s is malformed", fileName_.c_str(), entry.key);
            return false;
        case ClxSegmentDecoder::kWord:
            break;
        }
        // Case-folded words are not in order: every word is visited.
        if (equal_folded(word, {decoder.word(), decoder.length()}))
            return true;
    }
}

int16_t CompressedLexicon::find(std::string_view w, bool caseSensitive, char* other, int otherSize) {
    if (other && otherSize > 0)
        other[0] = '\0';
    size_t length = w.size();
    if (length == 0 || length > kMaxWordLength)
        return QLEX_ERR_NOT_FOUND;
    char key[kKeySize] = {w[0], length > 1 ? w[1] : '\0', length > 2 ? w[2] : '\0'};
    if (!caseSensitive)
        return findFolded(key, w) ? 'i' : QLEX_ERR_NOT_FOUND;
    const KeySlot* slot = search(key);
    if (slot && (length < kKeySize || findInSegment(*slot, w, true)))
        return 'i';
    return QLEX_ERR_NOT_FOUND;
}

bool CompressedLexicon::findFolded(const char (&key)[kKeySize], std::string_view w) {
    // Every case pattern of the key may hold the word: bit k of j makes key character k upper case.
    char tried[8][kKeySize];
    int triedCount = 0;
    for (int j = 0; j < 8; ++j) {
        char pattern[kKeySize];
        for (size_t k = 0; k < kKeySize; ++k) {
            unsigned char c = (unsigned char)key[k];
            pattern[k] = char((j >> k & 1) ? toUpper(c) : toLower(c));
        }
        bool repeated = false;
        for (int t = 0; t < triedCount; ++t)
            repeated = repeated || std::memcmp(tried[t], pattern, kKeySize) == 0;
        if (repeated)
            continue;
        std::memcpy(tried[triedCount++], pattern, kKeySize);
        const KeySlot* slot = search(pattern);
        if (slot && (w.size() < kKeySize || findInSegment(*slot, w, false)))
            return true;
    }
    return false;
}

int16_t CompressedLexicon::add(const char*, char, const char*) { return QLEX_ERR_UNSUPPORTED; }
int16_t CompressedLexicon::remove(const char*) { return QLEX_ERR_UNSUPPORTED; }
int16_t CompressedLexicon::clear() { return QLEX_ERR_UNSUPPORTED; }
int32_t CompressedLexicon::list(char*, int32_t) const { return QLEX_ERR_UNSUPPORTED; }
int32_t CompressedLexicon::listSize() const { return QLEX_ERR_UNSUPPORTED; }

int16_t CompressedLexicon::walk(const char* misspelled, int depth, Scorer score, SuggestionSink& sink) {
    std::lock_guard<std::mutex> guard(cacheMutex_);
    char head[kKeySize + 1] = {};
    std::strncpy(head, misspelled, kKeySize);
    for (Entry& entry : index_) {
        if (entry.key[2] == '\0') {
            char shortWord[kKeySize] = {entry.key[0], entry.key[1], '\0'};
            int s = score(misspelled, shortWord);
            if (s > 0)
                sink.offer(shortWord, int16_t(s));
            continue;
        }
        char key[kKeySize + 1] = {entry.key[0], entry.key[1], entry.key[2], '\0'};
        if (score(head, key) < 100 - depth || entry.size == 0)
            continue;
        if (int16_t rc = load(entry); rc != 0)
            return rc;
        ClxSegmentDecoder decoder(entry.key, {entry.loaded->data.get(), entry.size}, simple_, extended_);
        ClxSegmentDecoder::Step step;
        while ((step = decoder.next()) == ClxSegmentDecoder::kWord) {
            int s = score(misspelled, decoder.word());
            if (s > 0)
                sink.offer(decoder.word(), int16_t(s));
        }
        if (step == ClxSegmentDecoder::kMalformed) {
            logLine("%s: segment %.3s is malformed", fileName_.c_str(), entry.key);
            return QLEX_ERR_BAD_FORMAT;
        }
    }
    return 0;
}

} // namespace orthix
