#include "memory_lexicon.h"

#include <climits>
#include <cstring>

#include "qlex.h"

namespace orthix {

LexEntry makeEntry(const char* word, char action, const char* other) {
    LexEntry e;
    if (word)
        e.word.assign(word, strnlen(word, kMaxWord));
    if (other)
        e.other.assign(other, strnlen(other, kMaxWord));
    e.action = action;
    return e;
}

int16_t MemoryLexicon::language() const {
    std::lock_guard lock(mutex_);
    return list_.language();
}

int16_t MemoryLexicon::find(std::string_view word, bool caseSensitive, char* other, int otherSize) {
    std::lock_guard lock(mutex_);
    const LexEntry* e = list_.find(word.substr(0, kMaxWord), caseSensitive);
    if (!e)
        return QLEX_ERR_NOT_FOUND;
    if (other && otherSize > 0) {
        std::size_t n = std::min<std::size_t>(e->other.size(), static_cast<std::size_t>(otherSize - 1));
        std::memcpy(other, e->other.data(), n);
        other[n] = '\0';
    }
    return static_cast<unsigned char>(e->action);
}

int16_t MemoryLexicon::add(const char* word, char action, const char* other) {
    std::lock_guard lock(mutex_);
    list_.insert(makeEntry(word, action, other));
    return 0;
}

int16_t MemoryLexicon::remove(const char* word) {
    std::lock_guard lock(mutex_);
    return list_.remove(makeEntry(word, 'i', nullptr).word) ? 0 : QLEX_ERR_NOT_FOUND;
}

int16_t MemoryLexicon::clear() {
    std::lock_guard lock(mutex_);
    list_.clear();
    return 0;
}

int32_t MemoryLexicon::list(char* buffer, int32_t size) const {
    std::lock_guard lock(mutex_);
    return list_.list(buffer, size);
}

int32_t MemoryLexicon::listSize() const {
    std::lock_guard lock(mutex_);
    int64_t size = list_.listSize();
    return size > INT32_MAX ? QLEX_ERR_NO_MEMORY : static_cast<int32_t>(size);
}

int16_t MemoryLexicon::walk(const char* misspelled, int, Scorer score, SuggestionSink& sink) {
    std::lock_guard lock(mutex_);
    std::string m = misspelled ? misspelled : "";
    for (const LexEntry& e : list_.entries()) {
        switch (e.action) {
        case 'i':
            if (int s = score(m.c_str(), e.word.c_str()); s > 0)
                sink.offer(e.word.c_str(), static_cast<int16_t>(s));
            break;
        case 'e':
            sink.remove(e.word.c_str());
            break;
        case 'a': case 'A': case 'c': case 'C':
            // A change entry for exactly this word proposes its other word above any guess.
            if (e.word == m) {
                sink.remove(e.other.c_str());
                sink.offer(e.other.c_str(), 99);
            }
            break;
        default:
            break;
        }
    }
    return 0;
}

} // namespace orthix
