// bench_orthix_clx TEXT DICTIONARY [BUDGET]
//
// Splits TEXT (Windows-1252) into words, then checks each word once with QLEX_CheckWord in a
// session holding only DICTIONARY, opened with BUDGET bytes for its segments (default 0 =
// unlimited). Prints the words per second of the checking loop, by the wall clock and per CPU
// second, the process's peak memory, also as it was before the dictionary was opened, and the
// memory the open dictionary holds after the run (the growth of the resident set).
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "qlex.h"

namespace {

bool isLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= 0xC0 && c != 0xD7 && c != 0xF7);
}

// Runs of letters, with apostrophes (0x27, 0x92) kept inside a run; words of at most 63 bytes,
// each followed by a NUL in one buffer.
std::string words(const std::string& text, size_t& count) {
    std::string out;
    count = 0;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && !isLetter((unsigned char)text[i]))
            ++i;
        size_t start = i;
        while (i < text.size() && (isLetter((unsigned char)text[i]) ||
                                   ((text[i] == '\'' || text[i] == '\x92') && i + 1 < text.size() &&
                                    isLetter((unsigned char)text[i + 1]))))
            ++i;
        if (i > start && i - start <= 63) {
            out.append(text, start, i - start).push_back('\0');
            ++count;
        }
    }
    return out;
}

// The machine may be shared: CPU time (user and system) says more than the wall clock.
double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// The resident set now, in KiB.
long residentKiB() {
    long pages = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2)
            resident = 0;
        std::fclose(f);
    }
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: bench_orthix_clx TEXT DICTIONARY [BUDGET]\n");
        return 2;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.is_open() || text.empty()) {
        std::fprintf(stderr, "bench_orthix_clx: cannot read %s\n", argv[1]);
        return 1;
    }
    int32_t budget = argc == 4 ? int32_t(std::atol(argv[3])) : 0;
    size_t count = 0;
    std::string list = words(text, count);
    std::string().swap(text);
    rusage before{};
    getrusage(RUSAGE_SELF, &before);
    long residentBefore = residentKiB();

    int16_t sid = QLEX_OpenSession();
    int16_t lex = QLEX_OpenLex(sid, argv[2], budget);
    if (sid < 0 || lex < 0) {
        std::fprintf(stderr, "bench_orthix_clx: cannot open %s (%d)\n", argv[2], lex);
        return 1;
    }
    char replacement[64];
    size_t misspelled = 0;
    auto start = std::chrono::steady_clock::now();
    double cpuStart = cpuSeconds();
    for (const char* w = list.data(); w < list.data() + list.size(); w += std::strlen(w) + 1)
        misspelled += (QLEX_CheckWord(sid, w, replacement, sizeof replacement) & QLEX_MISSPELLED) != 0;
    double cpu = cpuSeconds() - cpuStart;
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    long dictionaryKiB = residentKiB() - residentBefore;
    QLEX_CloseSession(sid);

    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("budget %ld: %zu words, %zu misspelled, %.3f s (%.3f s of CPU), %.0f words/s (%.0f per CPU second), "
                "peak memory %ld KiB (%ld KiB before opening the dictionary), dictionary %ld KiB\n",
                long(budget), count, misspelled, seconds, cpu, double(count) / seconds, double(count) / cpu,
                usage.ru_maxrss, before.ru_maxrss, dictionaryKiB);
    return 0;
}
