#include "word_list.h"

#include <algorithm>
#include <cstring>

#include "char_model.h"
#include "qlex.h"

namespace orthix {

namespace {

bool wordLess(const LexEntry& a, const LexEntry& b) { return a.word < b.word; }  // unsigned bytes
bool entryBefore(const LexEntry& e, std::string_view word) { return std::string_view(e.word) < word; }

} // namespace

std::optional<LexEntry> WordList::insert(LexEntry entry) {
    folded_.clear();
    // Lines of a sorted file arrive in order: append without a search.
    auto at = !entries_.empty() && entries_.back().word < entry.word
                  ? entries_.end()
                  : std::lower_bound(entries_.begin(), entries_.end(), entry, wordLess);
    if (at != entries_.end() && at->word == entry.word) {
        LexEntry old = *at;
        at->action = entry.action;
        at->other = std::move(entry.other);
        return old;
    }
    entries_.insert(at, std::move(entry));
    return std::nullopt;
}

std::optional<LexEntry> WordList::remove(const std::string& word) {
    auto at = std::lower_bound(entries_.begin(), entries_.end(), word, entryBefore);
    if (at == entries_.end() || at->word != word)
        return std::nullopt;
    folded_.clear();
    LexEntry old = std::move(*at);
    entries_.erase(at);
    return old;
}

void WordList::merge(std::vector<LexEntry> fileEntries) {
    folded_.clear();
    if (!std::is_sorted(fileEntries.begin(), fileEntries.end(), wordLess))  // files we wrote are
        std::stable_sort(fileEntries.begin(), fileEntries.end(), wordLess);
    // Of equal words keep the last one read.
    std::vector<LexEntry> unique;
    unique.reserve(fileEntries.size());
    for (std::size_t i = 0; i < fileEntries.size(); ++i)
        if (i + 1 == fileEntries.size() || fileEntries[i + 1].word != fileEntries[i].word)
            unique.push_back(std::move(fileEntries[i]));

    std::vector<LexEntry> merged;
    merged.reserve(entries_.size() + unique.size());
    auto mine = entries_.begin();
    for (LexEntry& e : unique) {
        while (mine != entries_.end() && mine->word < e.word)
            merged.push_back(std::move(*mine++));
        if (mine != entries_.end() && mine->word == e.word)
            ++mine;  // the file's entry replaces ours
        merged.push_back(std::move(e));
    }
    std::move(mine, entries_.end(), std::back_inserter(merged));
    entries_.swap(merged);
}

void WordList::swap(WordList& other) {
    entries_.swap(other.entries_);
    folded_.swap(other.folded_);
    std::swap(language_, other.language_);
}

const LexEntry* WordList::find(std::string_view word, bool caseSensitive) const {
    if (caseSensitive) {
        auto at = std::lower_bound(entries_.begin(), entries_.end(), word, entryBefore);
        return at != entries_.end() && at->word == word ? &*at : nullptr;
    }
    if (folded_.size() != entries_.size()) {
        folded_.clear();
        folded_.reserve(entries_.size());
        for (uint32_t i = 0; i < entries_.size(); ++i)
            folded_.emplace_back(lowered(entries_[i].word), i);
        std::sort(folded_.begin(), folded_.end());
    }
    std::pair<std::string, uint32_t> key{lowered(std::string(word)), 0};
    auto at = std::lower_bound(folded_.begin(), folded_.end(), key);
    return at != folded_.end() && at->first == key.first ? &entries_[at->second] : nullptr;
}

int32_t WordList::list(char* buffer, int32_t size) const {
    int64_t used = 0;
    for (const LexEntry& e : entries_) {
        int64_t need = static_cast<int64_t>(e.word.size() + e.other.size()) + 3;
        if (!buffer || used + need + 1 > size)
            return QLEX_ERR_BUFFER_TOO_SMALL;
        char* p = buffer + used;
        std::memcpy(p, e.word.data(), e.word.size());
        p += e.word.size();
        *p++ = '\t';
        *p++ = e.action;
        std::memcpy(p, e.other.data(), e.other.size());
        p[e.other.size()] = '\0';
        used += need;
    }
    if (!buffer || used + 1 > size)
        return QLEX_ERR_BUFFER_TOO_SMALL;
    buffer[used] = '\0';
    return static_cast<int32_t>(entries_.size());
}

int64_t WordList::listSize() const {
    int64_t total = 1;
    for (const LexEntry& e : entries_)
        total += static_cast<int64_t>(e.word.size() + e.other.size()) + 3;
    return total;
}

} // namespace orthix
