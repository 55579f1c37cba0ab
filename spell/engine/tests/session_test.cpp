// Handles, options, the diagnostic log and the engine mutex.
#include <sys/wait.h>

#include <regex>

#include "engine_lock.h"
#include "named_mutex.h"
#include "session.h"
#include "test_support.h"

using namespace orthix_test;
using namespace std::chrono_literals;

TEST(Session, NewSessionHasDefaultLanguageAndOptions) {
    SessionGuard s;
    ASSERT_GE(s.sid, 0);
    EXPECT_EQ(QLEX_GetOption(s.sid, QLEX_OPT_LANGUAGE), 24941);
    for (uint32_t bit = 1; bit <= 0x80000; bit <<= 1)
        EXPECT_EQ(QLEX_GetOption(s.sid, bit), (0x000B8680u & bit) ? 1 : 0) << std::hex << bit;
}

TEST(Session, SetOptionReturnsThePreviousState) {
    SessionGuard s;
    EXPECT_EQ(QLEX_SetOption(s.sid, QLEX_OPT_CASE_SENSITIVE, 0), 1);
    EXPECT_EQ(QLEX_SetOption(s.sid, QLEX_OPT_CASE_SENSITIVE, 0), 0);
    EXPECT_EQ(QLEX_GetOption(s.sid, QLEX_OPT_CASE_SENSITIVE), 0);
    EXPECT_EQ(QLEX_SetOption(s.sid, QLEX_OPT_SPLIT_WORDS | QLEX_OPT_CASE_SENSITIVE, 1), 0);
    EXPECT_EQ(QLEX_GetOption(s.sid, QLEX_OPT_CASE_SENSITIVE), 1);
    EXPECT_EQ(QLEX_SetOption(s.sid, QLEX_OPT_LANGUAGE, 26226), 24941);
    EXPECT_EQ(QLEX_GetOption(s.sid, QLEX_OPT_LANGUAGE), 26226);
}

TEST(Session, BadIdsAreRefusedWithTheirTablesCode) {
    SessionGuard s;
    int16_t lex = QLEX_CreateLex(s.sid, nullptr, 24941);
    ASSERT_GE(lex, 0);
    int16_t closedSession = QLEX_OpenSession();
    ASSERT_EQ(QLEX_CloseSession(closedSession), 0);
    int16_t tableEnd = static_cast<int16_t>(orthix::sessionTable().size());
    for (int16_t bad : {int16_t(-1), tableEnd, closedSession}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(QLEX_CloseSession(bad), QLEX_ERR_BAD_SESSION);
        EXPECT_EQ(QLEX_GetOption(bad, QLEX_OPT_LANGUAGE), QLEX_ERR_BAD_SESSION);
        EXPECT_EQ(QLEX_CheckWord(bad, "word", nullptr, 0), QLEX_ERR_BAD_SESSION);
        EXPECT_EQ(QLEX_AddToLex(bad, lex, "word", 'i', nullptr), QLEX_ERR_BAD_SESSION);
    }
    int16_t closedLex = QLEX_CreateLex(s.sid, "", 24941);
    ASSERT_EQ(QLEX_CloseLex(s.sid, closedLex), 0);
    for (int16_t bad : {int16_t(-1), int16_t(closedLex + 1), closedLex}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(QLEX_CloseLex(s.sid, bad), QLEX_ERR_BAD_LEXICON);
        EXPECT_EQ(QLEX_AddToLex(s.sid, bad, "word", 'i', nullptr), QLEX_ERR_BAD_LEXICON);
        EXPECT_EQ(QLEX_FindLexWord(s.sid, bad, "word", nullptr, 0), QLEX_ERR_BAD_LEXICON);
        EXPECT_EQ(QLEX_GetLex(s.sid, bad, nullptr, 0), QLEX_ERR_BAD_LEXICON);
        EXPECT_EQ(QLEX_GetLexInfo(s.sid, bad, nullptr, nullptr, nullptr), QLEX_ERR_BAD_LEXICON);
    }
    // An unknown action is refused before the ids are looked at.
    EXPECT_EQ(QLEX_AddToLex(-1, -1, "word", 'x', nullptr), QLEX_ERR_UNKNOWN_ACTION);
}

TEST(Session, LexiconSlotsGrowAndFreedSlotsAreReused) {
    SessionGuard s;
    for (int16_t i = 0; i < 10; ++i)
        ASSERT_EQ(QLEX_CreateLex(s.sid, nullptr, 24941), i);
    ASSERT_EQ(QLEX_CloseLex(s.sid, 3), 0);
    ASSERT_EQ(QLEX_CloseLex(s.sid, 7), 0);
    EXPECT_EQ(QLEX_CreateLex(s.sid, nullptr, 24941), 3);
    EXPECT_EQ(QLEX_CreateLex(s.sid, nullptr, 24941), 7);
    EXPECT_EQ(QLEX_CreateLex(s.sid, nullptr, 24941), 10);
}

TEST(Session, ClosedSessionSlotIsReusedAndItsLexiconsAreGone) {
    int16_t a = QLEX_OpenSession();
    ASSERT_GE(QLEX_CreateLex(a, nullptr, 24941), 0);
    ASSERT_EQ(QLEX_CloseSession(a), 0);
    int16_t b = QLEX_OpenSession();
    EXPECT_EQ(b, a);
    EXPECT_EQ(QLEX_FindLexWord(b, 0, "word", nullptr, 0), QLEX_ERR_BAD_LEXICON);
    EXPECT_EQ(QLEX_GetOption(b, QLEX_OPT_LANGUAGE), 24941);
    QLEX_CloseSession(b);
}

TEST(Session, LogLinesCarryTheTimeAndGoWhereQlexLogSays) {
    ScratchDir dir;
    std::string log = dir.file("qlex.log");
    setenv("QLEX_LOG", log.c_str(), 1);
    int16_t sid = QLEX_OpenSession();
    QLEX_CheckWord(-5, "word", nullptr, 0);
    QLEX_CloseSession(sid);
    unsetenv("QLEX_LOG");
    QLEX_CheckWord(-6, "word", nullptr, 0);  // not logged any more

    std::string text = readFile(log);
    std::string sidText = std::to_string(sid);
    std::regex expected("\\d\\d:\\d\\d:\\d\\d QLEX_OpenSession: session " + sidText + " opened\n"
                        "\\d\\d:\\d\\d:\\d\\d QLEX_CheckWord: bad session id -5\n"
                        "\\d\\d:\\d\\d:\\d\\d QLEX_CloseSession: Session " + sidText + " closed\n");
    EXPECT_TRUE(std::regex_match(text, expected)) << text;
}

TEST(Session, CallsFailWithTheirOwnCodeWhenTheMutexStaysTaken) {
    int ready[2], release[2];
    ASSERT_EQ(pipe(ready), 0);
    ASSERT_EQ(pipe(release), 0);
    pid_t holder = fork();
    if (holder == 0) {  // holds the engine mutex until told to let go
        NamedMutex m("QLEX_Mutex");
        if (m.lock(5000ms) != NamedMutex::LockResult::Locked)
            _exit(1);
        char byte = 1;
        (void)!write(ready[1], &byte, 1);
        (void)!read(release[0], &byte, 1);
        m.unlock();
        _exit(0);
    }
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    orthix::setEngineLockTimeout(100ms);
    EXPECT_EQ(QLEX_OpenSession(), QLEX_ERR_MUTEX_TIMEOUT);
    EXPECT_EQ(QLEX_CheckWord(0, "word", nullptr, 0), QLEX_ERR_MUTEX_TIMEOUT);
    orthix::setEngineLockTimeout(10000ms);
    ASSERT_EQ(write(release[1], &byte, 1), 1);
    int16_t sid = QLEX_OpenSession();  // waits for the holder to let go
    EXPECT_GE(sid, 0);
    QLEX_CloseSession(sid);
    int status = 0;
    waitpid(holder, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    for (int fd : {ready[0], ready[1], release[0], release[1]})
        close(fd);
}
