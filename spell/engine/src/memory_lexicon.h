// The temporary lexicon: a word list in memory only (kind 2). The text lexicon file builds on it.
#pragma once

#include <mutex>

#include "lexicon.h"
#include "word_list.h"

namespace orthix {

class MemoryLexicon : public Lexicon {
public:
    explicit MemoryLexicon(int16_t language) : list_(language) {}

    LexiconKind kind() const override { return kTemporary; }
    int16_t language() const override;
    int16_t find(std::string_view word, bool caseSensitive, char* other, int otherSize) override;
    int16_t add(const char* word, char action, const char* other) override;
    int16_t remove(const char* word) override;
    int16_t clear() override;
    int32_t list(char* buffer, int32_t size) const override;
    int32_t listSize() const override;
    int16_t walk(const char* misspelled, int depth, Scorer score, SuggestionSink& sink) override;

protected:
    // Calls on one lexicon from several threads of a process take turns.
    mutable std::mutex mutex_;
    WordList list_;
};

// An entry as stored: word and other word cut to kMaxWord characters.
LexEntry makeEntry(const char* word, char action, const char* other);

} // namespace orthix
