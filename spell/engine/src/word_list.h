// The word list of the editable lexicons: entries {word, action, other word} kept in ascending
// order of the word compared as unsigned bytes, plus the list's language.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "language.h"

namespace orthix {

struct LexEntry {
    std::string word;
    std::string other;  // empty when the entry has none
    char action = 'i';

    bool operator==(const LexEntry&) const = default;
};

class WordList {
public:
    explicit WordList(int16_t language = kLanguageAny) : language_(language) {}

    int16_t language() const { return language_; }
    void setLanguage(int16_t language) { language_ = language; }
    const std::vector<LexEntry>& entries() const { return entries_; }

    // Adds the entry, or replaces the action and other word of an entry with the same word.
    // Returns the entry that was replaced, so a failed change can be taken back.
    std::optional<LexEntry> insert(LexEntry entry);
    // Removes the word (exact comparison); the removed entry, or nothing when absent.
    std::optional<LexEntry> remove(const std::string& word);
    // Takes in entries read from a file, in file order: a later line for a word replaces an
    // earlier one and every file entry replaces the list's entry for the same word.
    void merge(std::vector<LexEntry> fileEntries);
    void clear() { entries_.clear(); folded_.clear(); }
    void swap(WordList& other);

    // Case-sensitive: the entry with exactly this word. Otherwise the first entry in list order
    // whose word equals it when both are folded to lower case.
    const LexEntry* find(std::string_view word, bool caseSensitive) const;

    // "word\tAother\0" per entry, then one more NUL: the entry count, or QLEX_ERR_BUFFER_TOO_SMALL.
    int32_t list(char* buffer, int32_t size) const;
    // The bytes list() needs: 1 + the sum of (word + other word + 3).
    int64_t listSize() const;

private:
    std::vector<LexEntry> entries_;
    int16_t language_;
    // (lower-cased word, entry index) in ascending order, built on the first case-insensitive
    // lookup after a change; the first match is then the first such entry in list order.
    mutable std::vector<std::pair<std::string, uint32_t>> folded_;
};

} // namespace orthix
