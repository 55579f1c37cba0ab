// QLEX_CheckWord: judging one whole word.
#include <cstring>

#include "api_guard.h"
#include "word_check.h"

using namespace orthix;

extern "C" int16_t QLEX_CheckWord(int16_t sid, const char* word, char* replWord, int16_t replWordSz) {
    return guarded("QLEX_CheckWord", [&]() -> int16_t {
        EngineLock lock;
        if (!lock.owns())
            return QLEX_ERR_MUTEX_TIMEOUT;
        Session* session = findSession(sid, "QLEX_CheckWord");
        if (!session)
            return QLEX_ERR_BAD_SESSION;
        SearchOrder order(*session);
        uint32_t options = session->options;
        lock.release();  // the lexicons take care of themselves

        WordChecker checker(order.lexicons(), options);
        WordChecker::Result result = checker.judge(word ? std::string_view(word, strnlen(word, kMaxWord)) : "");
        if (replWord && replWordSz > 0) {
            std::size_t n = std::min<std::size_t>(result.replacement.size(), static_cast<std::size_t>(replWordSz - 1));
            std::memcpy(replWord, result.replacement.c_str(), n);
            replWord[n] = '\0';
        }
        return result.flags;
    });
}
