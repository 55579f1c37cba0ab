// Helpers shared by the QLEX_ entry points: no exception crosses the C interface, and the
// lexicon calls find their slot under the engine mutex and do their work after releasing it.
#pragma once

#include <exception>

#include "engine_lock.h"
#include "log.h"
#include "qlex.h"
#include "session.h"

namespace orthix {

// Runs the body of a QLEX_ call; an allocation failure becomes QLEX_ERR_NO_MEMORY after the log
// line "<function>: Out of memory".
template <class F> auto guarded(const char* function, F body) -> decltype(body()) {
    try {
        return body();
    } catch (const std::exception&) {
        logLine("%s: Out of memory", function);
        return QLEX_ERR_NO_MEMORY;
    }
}

// A lexicon found by its ids, with the session's options and language at that moment.
struct LexiconRef {
    int16_t error = 0;
    Lexicon* lexicon = nullptr;
    LexiconKind kind = kFreeSlot;
    uint32_t options = 0;
};

inline LexiconRef findLexiconRef(int16_t sid, int16_t lexId, const char* function) {
    LexiconRef ref;
    EngineLock lock;
    if (!lock.owns()) {
        ref.error = QLEX_ERR_MUTEX_TIMEOUT;
        return ref;
    }
    Session* session = findSession(sid, function);
    if (!session) {
        ref.error = QLEX_ERR_BAD_SESSION;
        return ref;
    }
    LexiconSlot* slot = findLexicon(*session, lexId, function);
    if (!slot) {
        ref.error = QLEX_ERR_BAD_LEXICON;
        return ref;
    }
    ref.lexicon = slot->lexicon.get();
    ref.kind = slot->kind;
    ref.options = session->options;
    return ref;
}

} // namespace orthix
