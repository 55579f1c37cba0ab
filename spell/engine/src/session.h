// The session table and the lookups every QLEX_ call starts with. All of it is guarded by the
// engine mutex.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "language.h"
#include "lexicon.h"
#include "slot_table.h"

namespace orthix {

constexpr uint32_t kDefaultOptions = 0x000B8680;

struct LexiconSlot {
    LexiconKind kind = kFreeSlot;
    std::unique_ptr<Lexicon> lexicon;
};

struct Session {
    SlotTable<LexiconSlot> lexicons;
    int16_t language = kLanguageAmerican;
    uint32_t options = kDefaultOptions;
};

// Sessions are held by pointer so that a session found under the mutex stays put while the
// table grows; an empty pointer is a free slot.
SlotTable<std::unique_ptr<Session>>& sessionTable();

// The open session with this id, or null after logging "<function>: bad session id <sid>".
Session* findSession(int16_t sid, const char* function);
// The used lexicon slot with this id, or null after logging "<function>: bad lex id <id>".
LexiconSlot* findLexicon(Session& session, int16_t lexId, const char* function);

// The session's lexicons in id order, the order in which checks ask them, copied while the engine
// mutex is held. A session rarely holds more than a few, so they are kept on the stack.
class SearchOrder {
public:
    // Throws std::bad_alloc when a long list cannot be copied.
    explicit SearchOrder(Session& session);
    SearchOrder(const SearchOrder&) = delete;
    SearchOrder& operator=(const SearchOrder&) = delete;

    std::span<Lexicon* const> lexicons() const {
        return size_ <= kOnStack ? std::span<Lexicon* const>(onStack_, size_) : std::span<Lexicon* const>(onHeap_);
    }

private:
    static constexpr std::size_t kOnStack = 16;
    Lexicon* onStack_[kOnStack];
    std::vector<Lexicon*> onHeap_;
    std::size_t size_ = 0;
};

} // namespace orthix
