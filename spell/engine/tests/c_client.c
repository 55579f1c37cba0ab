/* A C host of the engine: includes only qlex.h and links libORTHIX.so. */
#include "qlex.h"

#include <stdio.h>
#include <string.h>

int main(void) {
    char repl[64];
    int16_t sid = QLEX_OpenSession();
    int16_t lex = QLEX_CreateLex(sid, NULL, 24941);
    int16_t added = QLEX_AddToLex(sid, lex, "teh", 'a', "the");
    int16_t good = QLEX_AddToLex(sid, lex, "cat", 'i', NULL);
    int16_t flags = QLEX_CheckWord(sid, "teh", repl, sizeof repl);
    int16_t known = QLEX_CheckWord(sid, "cat", NULL, 0);
    int16_t unknown = QLEX_CheckWord(sid, "dgo", NULL, 0);
    QLEX_CloseSession(sid);
    if (sid < 0 || lex < 0 || added != 0 || good != 0 || flags != QLEX_AUTO_CHANGE || strcmp(repl, "the") != 0 ||
        known != 0 || unknown != QLEX_MISSPELLED) {
        printf("unexpected: sid %d lex %d add %d/%d teh %d '%s' cat %d dgo %d\n", sid, lex, added, good, flags, repl,
               known, unknown);
        return 1;
    }
    printf("teh -> %s\n", repl);
    return 0;
}
