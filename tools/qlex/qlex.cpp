// qlex: check words and edit text lexicons from the command line.
//
//   qlex check [-l LEXICON]... [-o OPTIONS] WORD...   (no -l: the default dictionaries)
//   qlex create LEXICON [LANG]
//   qlex add LEXICON WORD [ACTION [OTHER]]
//   qlex del LEXICON WORD
//   qlex list LEXICON
//
// Words and output are UTF-8 on the terminal and Windows-1252 inside the engine and its files.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cp1252.h"
#include "qlex.h"
#include "qlex_options.h"

namespace {

constexpr int kUsageError = 2;

// The dictionaries a check uses when no -l names any, in search order: the main dictionaries,
// then the user dictionaries. They lie beside libORTHIX.so.
constexpr const char* kDefaultLexicons[] = {"qlexam.tlx", "qlexam2.clx", "userdic.tlx", "correct.tlx"};

int usage() {
    std::fputs("usage: qlex check [-l LEXICON]... [-o OPTIONS] WORD...\n"
               "       qlex create LEXICON [LANG]\n"
               "       qlex add LEXICON WORD [ACTION [OTHER]]\n"
               "       qlex del LEXICON WORD\n"
               "       qlex list LEXICON\n"
               "Without -l, check uses the default dictionaries beside libORTHIX.so.\n"
               "OPTIONS is the option word as a number, or names such as +SPLIT_WORDS,-CASE_SENSITIVE.\n"
               "ACTION is i (correct, the default), e (always wrong), a or A (auto change to OTHER),\n"
               "c or C (suggest OTHER); the capital forms use the checked word's case.\n",
               stderr);
    return kUsageError;
}

int fail(const std::string& what, int code) {
    std::fprintf(stderr, "qlex: %s: %s\n", what.c_str(), describeError(code).c_str());
    return kUsageError;
}

std::string ansi(const char* utf8) { return cp1252::from_utf8(utf8); }

// The folder of the engine library this program runs with, ending in '/'.
std::string engineFolder() {
    Dl_info info{};
    if (!dladdr(reinterpret_cast<void*>(&QLEX_OpenSession), &info) || !info.dli_fname)
        return "";
    std::string path = info.dli_fname;
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "" : path.substr(0, slash + 1);
}
std::string utf8(const std::string& ansiText) { return cp1252::to_utf8(ansiText); }

// A session that is closed on every way out.
struct Session {
    int16_t sid = QLEX_OpenSession();
    ~Session() {
        if (sid >= 0)
            QLEX_CloseSession(sid);
    }
};

int check(int argc, char** argv) {
    Session session;
    if (session.sid < 0)
        return fail("cannot start the engine", session.sid);
    std::vector<std::string> words, lexicons;
    for (int i = 0; i < argc; ++i) {
        std::string arg = argv[i];
        if ((arg == "-l" || arg == "-o") && i + 1 >= argc)
            return usage();
        if (arg == "-l") {
            lexicons.push_back(argv[++i]);
        } else if (arg == "-o") {
            uint32_t current = 0;  // names are applied to the options in force
            for (uint32_t bit = 1; bit <= QLEX_OPT_EXACT_CAPITAL_ACCENTS; bit <<= 1)
                current |= QLEX_GetOption(session.sid, bit) == 1 ? bit : 0;
            auto options = parseOptions(argv[++i], current);
            if (!options) {
                std::fprintf(stderr, "qlex: options not understood: %s\n", argv[i]);
                return usage();
            }
            constexpr uint32_t kAllOptions = 0x000FFFFF;
            QLEX_SetOption(session.sid, kAllOptions, 0);
            QLEX_SetOption(session.sid, *options & kAllOptions, 1);
        } else {
            words.push_back(arg);
        }
    }
    if (words.empty())
        return usage();
    if (lexicons.empty())
        for (const char* name : kDefaultLexicons)
            lexicons.push_back(engineFolder() + name);
    for (const std::string& name : lexicons) {
        int16_t lex = QLEX_OpenLex(session.sid, name.c_str(), 0);
        if (lex < 0)
            return fail("cannot open lexicon " + name, lex);
    }
    bool anyFlagged = false;
    for (const std::string& word : words) {
        char repl[64];
        std::string w = ansi(word.c_str());
        int16_t flags = QLEX_CheckWord(session.sid, w.c_str(), repl, sizeof repl);
        if (flags < 0)
            return fail("cannot check " + word, flags);
        anyFlagged |= flags != 0;
        std::string line = word + ": " + describeFlags(flags);
        if (repl != w)
            line += " -> " + utf8(repl);
        std::puts(line.c_str());
    }
    return anyFlagged ? 1 : 0;
}

int16_t openLexicon(Session& session, const char* name) {
    int16_t lex = QLEX_OpenLex(session.sid, name, 0);
    if (lex >= 0)
        return lex;
    fail(std::string("cannot open lexicon ") + name, lex);
    return lex;
}

int edit(const std::string& command, int argc, char** argv) {
    Session session;
    if (session.sid < 0)
        return fail("cannot start the engine", session.sid);
    if (command == "create") {
        if (argc < 1 || argc > 2)
            return usage();
        char* end = nullptr;
        long lang = argc == 2 ? std::strtol(argv[1], &end, 10) : 24941;
        if ((argc == 2 && *end) || lang < -32768 || lang > 32767)
            return usage();
        int16_t lex = QLEX_CreateLex(session.sid, argv[0], static_cast<int16_t>(lang));
        return lex < 0 ? fail(std::string("cannot create ") + argv[0], lex) : 0;
    }
    if (command == "add" && argc >= 2 && argc <= 4) {
        std::string action = argc >= 3 ? argv[2] : "i";
        if (action.size() != 1)
            return fail("action " + action, QLEX_ERR_UNKNOWN_ACTION);
        int16_t lex = openLexicon(session, argv[0]);
        if (lex < 0)
            return kUsageError;
        std::string word = ansi(argv[1]), other = argc == 4 ? ansi(argv[3]) : "";
        int16_t rc = QLEX_AddToLex(session.sid, lex, word.c_str(), action[0], argc == 4 ? other.c_str() : nullptr);
        return rc < 0 ? fail(std::string("cannot add ") + argv[1], rc) : 0;
    }
    if (command == "del" && argc == 2) {
        int16_t lex = openLexicon(session, argv[0]);
        if (lex < 0)
            return kUsageError;
        int16_t rc = QLEX_DelFromLex(session.sid, lex, ansi(argv[1]).c_str());
        return rc < 0 ? fail(std::string("cannot delete ") + argv[1], rc) : 0;
    }
    if (command == "list" && argc == 1) {
        int16_t lex = openLexicon(session, argv[0]);
        if (lex < 0)
            return kUsageError;
        int32_t size = 0;
        QLEX_GetLexInfo(session.sid, lex, &size, nullptr, nullptr);
        if (size < 0)
            return fail(std::string("cannot list ") + argv[0], size);
        std::vector<char> buffer(static_cast<std::size_t>(size));
        int32_t count = QLEX_GetLex(session.sid, lex, buffer.data(), size);
        if (count < 0)
            return fail(std::string("cannot list ") + argv[0], count);
        // Each entry is "word\tAother": print word, action and other word TAB-separated.
        for (const char* p = buffer.data(); *p; p += std::strlen(p) + 1) {
            std::string entry = p;
            std::size_t tab = entry.find('\t');
            std::string line = utf8(entry.substr(0, tab)) + "\t" + entry.substr(tab + 1, 1);
            if (entry.size() > tab + 2)
                line += "\t" + utf8(entry.substr(tab + 2));
            std::puts(line.c_str());
        }
        return 0;
    }
    return usage();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return usage();
    std::string command = argv[1];
    if (command == "check")
        return check(argc - 2, argv + 2);
    if (command == "create" || command == "add" || command == "del" || command == "list")
        return edit(command, argc - 2, argv + 2);
    return usage();
}
