/* The QLEX_ spelling engine: sessions, options, lexicons and word checking.
 *
 * Every function returns a non-negative value for an id, count, flag set or character and a
 * negative QLEX_ERR_ code on failure. Strings are NUL-terminated Windows-1252 text; words are at
 * most 63 characters (longer input is cut). Output goes to caller-owned buffers whose size in
 * bytes is passed alongside; a string output holds at most size - 1 characters and its NUL.
 * A null input string is taken as the empty string.
 *
 * Every call takes the engine mutex "QLEX_Mutex", shared by all processes of the user. A call
 * that cannot have it within 10,000 ms returns QLEX_ERR_MUTEX_TIMEOUT and does nothing.
 *
 * Diagnostic log: when the environment variable QLEX_LOG names a file, the engine appends one
 * line per event to it ("hh:mm:ss message"); unset or empty, nothing is written.
 */
#ifndef QLEX_H
#define QLEX_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Option bits of QLEX_GetOption / QLEX_SetOption (a new session has 0x000B8680). */
#define QLEX_OPT_IGNORE_CAPITALIZED_WORDS   0x1u
#define QLEX_OPT_IGNORE_MIXED_CASE_WORDS    0x2u
#define QLEX_OPT_IGNORE_WORDS_WITH_DIGITS   0x4u
#define QLEX_OPT_IGNORE_ALL_CAPS_WORDS      0x8u
#define QLEX_OPT_REPORT_CAPITALIZATION      0x10u
#define QLEX_OPT_CATCH_MIXED_CASE_WORDS     0x20u
#define QLEX_OPT_CATCH_WORDS_WITH_DIGITS    0x40u
#define QLEX_OPT_CHECK_LEXICONS             0x80u
#define QLEX_OPT_CATCH_DOUBLED_WORDS        0x100u
#define QLEX_OPT_CASE_SENSITIVE             0x200u
#define QLEX_OPT_SPLIT_HYPHENATED_WORDS     0x400u
#define QLEX_OPT_SPLIT_CONTRACTED_WORDS     0x800u
#define QLEX_OPT_SPLIT_WORDS                0x1000u
#define QLEX_OPT_SUGGEST_SPLIT_WORDS        0x2000u
#define QLEX_OPT_PHONETIC_SUGGESTIONS       0x4000u
#define QLEX_OPT_TYPOGRAPHICAL_SUGGESTIONS  0x8000u
#define QLEX_OPT_STRIP_POSSESSIVES          0x10000u
#define QLEX_OPT_IGNORE_NON_ALPHA_WORDS     0x20000u
#define QLEX_OPT_IGNORE_DOMAIN_NAMES        0x40000u
#define QLEX_OPT_EXACT_CAPITAL_ACCENTS      0x80000u
/* Not a bit: selects the session language (two ASCII letters, high byte first; 24941 "am"). */
#define QLEX_OPT_LANGUAGE                   0x80000002u

/* Result flags of QLEX_CheckWord and QLEX_CheckBlock; 0 means correct. */
#define QLEX_MISSPELLED          0x01
#define QLEX_AUTO_CHANGE         0x02
#define QLEX_CONDITIONAL_CHANGE  0x04
#define QLEX_CAPITALIZATION      0x08
#define QLEX_MIXED_CASE          0x10
#define QLEX_WORD_WITH_DIGITS    0x20
#define QLEX_END_OF_BLOCK        0x40
#define QLEX_DOUBLED_WORD        0x80

/* Error codes. */
#define QLEX_ERR_BAD_SESSION       (-2)
#define QLEX_ERR_NOT_FOUND         (-3)
#define QLEX_ERR_FILE_OPEN         (-4)
#define QLEX_ERR_UNKNOWN_ACTION    (-6)
#define QLEX_ERR_BAD_LEXICON       (-7)
#define QLEX_ERR_BUFFER_TOO_SMALL  (-8)
#define QLEX_ERR_NO_MEMORY         (-12)
#define QLEX_ERR_UNSUPPORTED       (-13)
#define QLEX_ERR_EXISTS            (-14)
#define QLEX_ERR_BAD_BLOCK         (-16)
#define QLEX_ERR_READ              (-22)
#define QLEX_ERR_WRITE             (-23)
#define QLEX_ERR_CREATE            (-24)
#define QLEX_ERR_BAD_FORMAT        (-26)
/* The engine mutex could not be had within 10,000 ms (or could not be opened); nothing was done. */
#define QLEX_ERR_MUTEX_TIMEOUT     (-30)

/* Sessions and options. */
int16_t QLEX_OpenSession(void);
int16_t QLEX_CloseSession(int16_t sid);
int16_t QLEX_GetOption(int16_t sid, uint32_t opt);
int16_t QLEX_SetOption(int16_t sid, uint32_t opt, uint32_t val);

/* Lexicons. Entry actions are the characters 'i' (correct), 'e' (always wrong), 'a' / 'A' (auto
 * change to otherWord in its own case / in the checked word's case) and 'c' / 'C' (suggest
 * otherWord, the same two ways). memBudget applies to compressed lexicons only (bytes,
 * 0 = unlimited). A null or empty fileName in QLEX_CreateLex makes a temporary lexicon that lives
 * in memory only. QLEX_GetLex returns the number of entries (32-bit, so large lexicons do not
 * wrap into error codes). */
int16_t QLEX_OpenLex(int16_t sid, const char *fileName, int32_t memBudget);
int16_t QLEX_CreateLex(int16_t sid, const char *fileName, int16_t lang);
int16_t QLEX_CloseLex(int16_t sid, int16_t lexId);
int16_t QLEX_AddToLex(int16_t sid, int16_t lexId, const char *word, int16_t action, const char *otherWord);
int16_t QLEX_DelFromLex(int16_t sid, int16_t lexId, const char *word);
int16_t QLEX_FindLexWord(int16_t sid, int16_t lexId, const char *word, char *otherWord, int16_t otherWordSz);
int16_t QLEX_ClearLex(int16_t sid, int16_t lexId);
int32_t QLEX_GetLex(int16_t sid, int16_t lexId, char *lexBfr, int32_t lexBfrSz);
int16_t QLEX_GetLexInfo(int16_t sid, int16_t lexId, int32_t *size, int16_t *format, int16_t *lang);

/* Word checking. */
int16_t QLEX_CheckWord(int16_t sid, const char *word, char *replWord, int16_t replWordSz);

/* Suggestions and text blocks: declared here, not available in this version of the library. */
int16_t QLEX_Suggest(int16_t sid, const char *word, int16_t depth, char *suggBfr, int32_t suggBfrSz, int16_t *scores, int16_t scoreSz);
int16_t QLEX_OpenBlock(int16_t sid, char *block, int32_t blkLen, int32_t blkSz, int16_t copyBlock);
int16_t QLEX_CloseBlock(int16_t sid, int16_t blkId);
int16_t QLEX_CheckBlock(int16_t sid, int16_t blkId, char *errWord, int16_t errWordSz, char *replWord, int16_t replWordSz);
int16_t QLEX_NextBlockWord(int16_t sid, int16_t blkId);
int16_t QLEX_GetBlockWord(int16_t sid, int16_t blkId, char *word, int16_t wordSz);
int16_t QLEX_ReplaceBlockWord(int16_t sid, int16_t blkId, const char *word);
int32_t QLEX_DelBlockWord(int16_t sid, int16_t blkId, char *delText, int16_t delTextSz);
int16_t QLEX_DelBlockText(int16_t sid, int16_t blkId, int32_t numChars);
int16_t QLEX_InsertBlockText(int16_t sid, int16_t blkId, const char *text);
int16_t QLEX_SetBlockCursor(int16_t sid, int16_t blkId, int32_t cursor);
int16_t QLEX_GetBlockInfo(int16_t sid, int16_t blkId, int32_t *blkLen, int32_t *blkSz, int32_t *curPos, int32_t *wordCount);

#ifdef __cplusplus
}
#endif

#endif /* QLEX_H */
