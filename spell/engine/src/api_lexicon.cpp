// QLEX_ calls that open, create, edit, list and close lexicons.
#include <cstring>

#include "api_guard.h"
#include "lexicon_files.h"
#include "memory_lexicon.h"
#include "text_lexicon.h"
#include "word_check.h"

using namespace orthix;

namespace {

bool isAction(int16_t a) { return a == 'i' || a == 'e' || a == 'a' || a == 'A' || a == 'c' || a == 'C'; }

// The word as looked up or stored: cut to 63 characters, "dog's" as "dog" when the session strips
// possessives.
std::string keyOf(const char* word, uint32_t options) {
    std::string w = makeEntry(word, 'i', nullptr).word;
    return options & QLEX_OPT_STRIP_POSSESSIVES ? std::string(stripPossessive(w)) : w;
}

// Puts a new lexicon into the first free slot of the session: its id, or an error.
int16_t placeLexicon(Session& session, LexiconKind kind, std::unique_ptr<Lexicon> lexicon) {
    int16_t id = session.lexicons.claim([](const LexiconSlot& s) { return s.kind == kFreeSlot; });
    if (id < 0)
        return QLEX_ERR_NO_MEMORY;
    session.lexicons[id] = {kind, std::move(lexicon)};
    return id;
}

} // namespace

extern "C" int16_t QLEX_OpenLex(int16_t sid, const char* fileName, int32_t memBudget) {
    const char* name = fileName ? fileName : "";
    int16_t rc = guarded("QLEX_OpenLex", [&]() -> int16_t {
        EngineLock lock;
        if (!lock.owns())
            return QLEX_ERR_MUTEX_TIMEOUT;
        Session* session = findSession(sid, "QLEX_OpenLex");
        if (!session)
            return QLEX_ERR_BAD_SESSION;
        std::unique_ptr<Lexicon> lexicon;
        if (int16_t err = openLexiconFile(lexiconPath(name), memBudget, lexicon); err < 0)
            return err;
        LexiconKind kind = lexicon->kind();
        int16_t id = placeLexicon(*session, kind, std::move(lexicon));
        if (id >= 0)
            logLine("QLEX_OpenLex: %s opened; id=%hd", name, id);
        return id;
    });
    if (rc < 0)
        logLine("QLEX_OpenLex(%s): returning %hd", name, rc);
    return rc;
}

extern "C" int16_t QLEX_CreateLex(int16_t sid, const char* fileName, int16_t lang) {
    int16_t rc = guarded("QLEX_CreateLex", [&]() -> int16_t {
        EngineLock lock;
        if (!lock.owns())
            return QLEX_ERR_MUTEX_TIMEOUT;
        Session* session = findSession(sid, "QLEX_CreateLex");
        if (!session)
            return QLEX_ERR_BAD_SESSION;
        bool temporary = !fileName || !*fileName;
        std::unique_ptr<Lexicon> lexicon;
        if (temporary)
            lexicon = std::make_unique<MemoryLexicon>(lang);
        else if (int16_t err = TextLexicon::create(lexiconPath(fileName), lang, lexicon); err < 0)
            return err;
        LexiconKind kind = lexicon->kind();
        int16_t id = placeLexicon(*session, kind, std::move(lexicon));
        if (id >= 0)
            logLine("QLEX_CreateLex: %s created; id=%hd", temporary ? "temporary lex" : fileName, id);
        return id;
    });
    if (rc < 0)
        logLine("QLEX_CreateLex: returning %hd", rc);
    return rc;
}

extern "C" int16_t QLEX_CloseLex(int16_t sid, int16_t lexId) {
    std::unique_ptr<Lexicon> closing;
    {
        EngineLock lock;
        if (!lock.owns())
            return QLEX_ERR_MUTEX_TIMEOUT;
        Session* session = findSession(sid, "QLEX_CloseLex");
        if (!session)
            return QLEX_ERR_BAD_SESSION;
        LexiconSlot* slot = findLexicon(*session, lexId, "QLEX_CloseLex");
        if (!slot)
            return QLEX_ERR_BAD_LEXICON;
        logLine("QLEX_CloseLex: closing %hd", lexId);
        closing = std::move(slot->lexicon);
        slot->kind = kFreeSlot;
    }
    return 0;  // the lexicon is freed here, outside the mutex
}

extern "C" int16_t QLEX_AddToLex(int16_t sid, int16_t lexId, const char* word, int16_t action, const char* otherWord) {
    if (!isAction(action)) {
        logLine("QLEX_AddToLex: unknown action %hd", action);
        return QLEX_ERR_UNKNOWN_ACTION;
    }
    return guarded("QLEX_AddToLex", [&]() -> int16_t {
        LexiconRef ref = findLexiconRef(sid, lexId, "QLEX_AddToLex");
        if (ref.error)
            return ref.error;
        return ref.lexicon->add(keyOf(word, ref.options).c_str(), static_cast<char>(action), otherWord);
    });
}

extern "C" int16_t QLEX_DelFromLex(int16_t sid, int16_t lexId, const char* word) {
    int16_t rc = guarded("QLEX_DelFromLex", [&]() -> int16_t {
        LexiconRef ref = findLexiconRef(sid, lexId, "QLEX_DelFromLex");
        return ref.error ? ref.error : ref.lexicon->remove(word ? word : "");
    });
    if (rc < 0)
        logLine("QLEX_DelFromLex: returning %hd", rc);
    return rc;
}

extern "C" int16_t QLEX_FindLexWord(int16_t sid, int16_t lexId, const char* word, char* otherWord, int16_t otherWordSz) {
    int16_t rc = guarded("QLEX_FindLexWord", [&]() -> int16_t {
        LexiconRef ref = findLexiconRef(sid, lexId, "QLEX_FindLexWord");
        if (ref.error)
            return ref.error;
        return ref.lexicon->find(keyOf(word, ref.options), ref.options & QLEX_OPT_CASE_SENSITIVE,
                                 otherWord, otherWordSz);
    });
    if (rc < 0 && rc != QLEX_ERR_NOT_FOUND)
        logLine("QLEX_FindLexWord: returning %hd", rc);
    return rc;
}

extern "C" int16_t QLEX_ClearLex(int16_t sid, int16_t lexId) {
    return guarded("QLEX_ClearLex", [&]() -> int16_t {
        LexiconRef ref = findLexiconRef(sid, lexId, "QLEX_ClearLex");
        return ref.error ? ref.error : ref.lexicon->clear();
    });
}

extern "C" int32_t QLEX_GetLex(int16_t sid, int16_t lexId, char* lexBfr, int32_t lexBfrSz) {
    int32_t rc = guarded("QLEX_GetLex", [&]() -> int32_t {
        LexiconRef ref = findLexiconRef(sid, lexId, "QLEX_GetLex");
        return ref.error ? ref.error : ref.lexicon->list(lexBfr, lexBfrSz);
    });
    if (rc < 0)
        logLine("QLEX_GetLex: returning %hd", static_cast<int16_t>(rc));
    return rc;
}

extern "C" int16_t QLEX_GetLexInfo(int16_t sid, int16_t lexId, int32_t* size, int16_t* format, int16_t* lang) {
    return guarded("QLEX_GetLexInfo", [&]() -> int16_t {
        LexiconRef ref = findLexiconRef(sid, lexId, "QLEX_GetLexInfo");
        if (ref.error)
            return ref.error;
        bool compressed = ref.kind == kBuiltinCompressed || ref.kind == kCompressedFile;
        if (size)
            *size = ref.lexicon->listSize();
        if (format)
            *format = compressed ? 0 : 1;
        if (lang)
            *lang = ref.lexicon->language();
        return 0;
    });
}
