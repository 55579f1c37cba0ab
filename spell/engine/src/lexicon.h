// The one interface behind which the engine keeps every kind of lexicon. A session's lexicon slot
// holds a kind and an object of this interface; every QLEX_ lexicon call dispatches through it.
#pragma once

#include <cstdint>
#include <string_view>

namespace orthix {

// Words and other words are cut to this many characters (they live in 64-byte buffers).
constexpr int kMaxWord = 63;

enum LexiconKind : int16_t {
    kFreeSlot = 0,
    kBuiltinEditable = 1,
    kTemporary = 2,          // memory only, from QLEX_CreateLex without a file name
    kTextFile = 3,           // editable text file, kept in memory and rewritten on change
    kBuiltinCompressed = 4,
    kCompressedFile = 5,     // read-only, segments loaded on demand
};

// Receives the candidates of a suggestion walk (the suggestion list).
class SuggestionSink {
public:
    virtual void offer(const char* word, int16_t score) = 0;
    virtual void remove(const char* word) = 0;

protected:
    ~SuggestionSink() = default;
};

// Similarity of a candidate to the misspelled word; positive when worth offering.
using Scorer = int (*)(const char* misspelled, const char* candidate);

class Lexicon {
public:
    virtual ~Lexicon() = default;

    virtual LexiconKind kind() const = 0;
    virtual int16_t language() const = 0;

    // The action character of `word`, or QLEX_ERR_NOT_FOUND. When `other` is given, the entry's
    // other word (or "") is copied into it, at most otherSize - 1 characters.
    virtual int16_t find(std::string_view word, bool caseSensitive, char* other, int otherSize) = 0;

    // Editing and listing. Kinds that cannot do it answer QLEX_ERR_UNSUPPORTED.
    virtual int16_t add(const char* word, char action, const char* other) = 0;
    virtual int16_t remove(const char* word) = 0;
    virtual int16_t clear() = 0;
    // Writes "word\tAother\0" per entry and a final NUL; the entry count, or an error.
    virtual int32_t list(char* buffer, int32_t size) const = 0;
    // The bytes list() needs, or an error.
    virtual int32_t listSize() const = 0;

    // Offers this lexicon's candidates for `misspelled` to `sink`, scored by `score`; `depth`
    // (1..100) bounds how much of a large lexicon is searched. 0 or an error.
    virtual int16_t walk(const char* misspelled, int depth, Scorer score, SuggestionSink& sink) = 0;
};

} // namespace orthix
