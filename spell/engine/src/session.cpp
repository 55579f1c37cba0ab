#include "session.h"

#include "log.h"

namespace orthix {

SlotTable<std::unique_ptr<Session>>& sessionTable() {
    static SlotTable<std::unique_ptr<Session>> table;
    return table;
}

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

void searchOrder(Session& session, std::vector<Lexicon*>& order) {
    order.clear();
    for (LexiconSlot& slot : session.lexicons)
        if (slot.kind != kFreeSlot)
            order.push_back(slot.lexicon.get());
}

} // namespace orthix
