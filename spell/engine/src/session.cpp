#include "session.h"

#include "log.h"

namespace orthix {

namespace {

constinit SlotTable<std::unique_ptr<Session>> sessions;  // no guard on the way to it

} // namespace

SlotTable<std::unique_ptr<Session>>& sessionTable() { return sessions; }

Session* findSession(int16_t sid, const char* function) {
    auto& table = sessionTable();
    if (!table.holds(sid) || !table[sid]) {
        logLine("%s: bad session id %hd", function, sid);
        return nullptr;
    }
    return table[sid].get();
}

LexiconSlot* findLexicon(Session& session, int16_t lexId, const char* function) {
    if (!session.lexicons.holds(lexId) || session.lexicons[lexId].kind == kFreeSlot) {
        logLine("%s: bad lex id %hd", function, lexId);
        return nullptr;
    }
    return &session.lexicons[lexId];
}

SearchOrder::SearchOrder(Session& session) {
    for (LexiconSlot& slot : session.lexicons) {
        if (slot.kind == kFreeSlot)
            continue;
        if (size_ < kOnStack) {
            onStack_[size_] = slot.lexicon.get();
        } else {
            if (size_ == kOnStack)
                onHeap_.assign(onStack_, onStack_ + kOnStack);
            onHeap_.push_back(slot.lexicon.get());
        }
        ++size_;
    }
}

} // namespace orthix
