// QLEX_ calls for sessions and options.
#include "api_guard.h"

using namespace orthix;

extern "C" int16_t QLEX_OpenSession(void) {
    return guarded("QLEX_OpenSession", [&]() -> int16_t {
        EngineLock lock;
        if (!lock.owns())
            return QLEX_ERR_MUTEX_TIMEOUT;
        auto& table = sessionTable();
        auto session = std::make_unique<Session>();
        int16_t sid = table.claim([](const std::unique_ptr<Session>& s) { return !s; });
        if (sid < 0) {
            logLine("QLEX_OpenSession: Out of memory");
            return QLEX_ERR_NO_MEMORY;
        }
        table[sid] = std::move(session);
        logLine("QLEX_OpenSession: session %hd opened", sid);
        return sid;
    });
}

extern "C" int16_t QLEX_CloseSession(int16_t sid) {
    EngineLock lock;
    if (!lock.owns())
        return QLEX_ERR_MUTEX_TIMEOUT;
    Session* session = findSession(sid, "QLEX_CloseSession");
    if (!session)
        return QLEX_ERR_BAD_SESSION;
    for (std::size_t id = 0; id < session->lexicons.size(); ++id)
        if (session->lexicons[static_cast<int16_t>(id)].kind != kFreeSlot)
            logLine("QLEX_CloseSession: closing lexId %d", static_cast<int>(id));
    sessionTable()[sid].reset();  // closes every lexicon; text lexicons are already saved
    logLine("QLEX_CloseSession: Session %hd closed", sid);
    return 0;
}

extern "C" int16_t QLEX_GetOption(int16_t sid, uint32_t opt) {
    EngineLock lock;
    if (!lock.owns())
        return QLEX_ERR_MUTEX_TIMEOUT;
    Session* session = findSession(sid, "QLEX_GetOption");
    if (!session)
        return QLEX_ERR_BAD_SESSION;
    if (opt == QLEX_OPT_LANGUAGE)
        return session->language;
    return (session->options & opt) != 0;
}

extern "C" int16_t QLEX_SetOption(int16_t sid, uint32_t opt, uint32_t val) {
    EngineLock lock;
    if (!lock.owns())
        return QLEX_ERR_MUTEX_TIMEOUT;
    Session* session = findSession(sid, "QLEX_SetOption");
    if (!session)
        return QLEX_ERR_BAD_SESSION;
    if (opt == QLEX_OPT_LANGUAGE) {
        int16_t old = session->language;
        session->language = static_cast<int16_t>(val);
        return old;
    }
    bool old = (session->options & opt) != 0;
    session->options = val ? session->options | opt : session->options & ~opt;
    return old;
}
