// Opening a text lexicon of 100,000 words (in sorted and in shuffled line order), adding one word
// to it (a full write-back) and looking words up in it. The target for opening is well under a
// second. Usage: bench_orthix_text_lexicon [WORDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <unistd.h>
#include <vector>

#include "qlex.h"

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::vector<std::string> makeWords(std::size_t count) {
    std::mt19937 rng(12345);
    std::uniform_int_distribution<int> length(3, 12), letter('a', 'z');
    std::set<std::string> words;
    while (words.size() < count) {
        std::string w(static_cast<std::size_t>(length(rng)), 'a');
        for (char& c : w)
            c = static_cast<char>(letter(rng));
        words.insert(w);
    }
    return {words.begin(), words.end()};
}

void writeLexicon(const std::string& path, const std::vector<std::string>& words) {
    std::ofstream out(path, std::ios::binary);
    out << "#LID 24941\r\n";
    for (const std::string& w : words)
        out << w << "\ti\r\n";
}

} // namespace

int main(int argc, char** argv) {
    std::size_t count = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100000;
    std::string dir = (std::filesystem::temp_directory_path() / "bench_orthix_XXXXXX").string();
    if (!mkdtemp(dir.data()))
        return 1;
    std::vector<std::string> words = makeWords(count);
    std::vector<std::string> shuffled = words;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(7));
    writeLexicon(dir + "/sorted.tlx", words);
    writeLexicon(dir + "/shuffled.tlx", shuffled);

    int16_t sid = QLEX_OpenSession();
    std::printf("text lexicon of %zu words (%ju bytes)\n", count,
                static_cast<uintmax_t>(std::filesystem::file_size(dir + "/sorted.tlx")));
    for (const char* name : {"sorted", "shuffled"}) {
        std::string path = dir + "/" + name + ".tlx";
        auto start = Clock::now();
        int16_t lex = QLEX_OpenLex(sid, path.c_str(), 0);
        double openMs = msSince(start);
        if (lex < 0) {
            std::fprintf(stderr, "open failed: %d\n", lex);
            return 1;
        }
        start = Clock::now();
        int16_t rc = QLEX_AddToLex(sid, lex, "zzzbenchword", 'i', nullptr);
        double addMs = msSince(start);
        std::printf("  %-8s lines: open %7.1f ms, add one word (write-back) %7.1f ms%s\n", name, openMs, addMs,
                    rc == 0 ? "" : " (add failed)");
        QLEX_CloseLex(sid, lex);
    }

    int16_t lex = QLEX_OpenLex(sid, (dir + "/sorted.tlx").c_str(), 0);
    auto start = Clock::now();
    std::size_t found = 0;
    for (const std::string& w : shuffled)
        found += QLEX_CheckWord(sid, w.c_str(), nullptr, 0) == 0;
    double checkMs = msSince(start);
    std::printf("  QLEX_CheckWord: %zu of %zu found, %.0f words/s (case-sensitive)\n", found, shuffled.size(),
                shuffled.size() / (checkMs / 1000));
    QLEX_SetOption(sid, QLEX_OPT_CASE_SENSITIVE, 0);
    start = Clock::now();
    found = 0;
    for (const std::string& w : shuffled)
        found += QLEX_CheckWord(sid, w.c_str(), nullptr, 0) == 0;
    checkMs = msSince(start);
    std::printf("  QLEX_CheckWord: %zu of %zu found, %.0f words/s (case-insensitive)\n", found, shuffled.size(),
                shuffled.size() / (checkMs / 1000));
    QLEX_CloseLex(sid, lex);
    QLEX_CloseSession(sid);
    std::filesystem::remove_all(dir);
    return 0;
}
