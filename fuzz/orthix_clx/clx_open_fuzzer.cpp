// Any file opened as a compressed lexicon: open it with and without a budget, look words up both
// ways and walk it. Every word the walk offers is looked up again, so decoded words go through
// the segment search as well.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "clx_compressed_lexicon.h"

namespace {

// One file for every input, removed at exit. In memory where possible: rewriting a file on disk
// for every input is slow (ext4 flushes a truncated and rewritten file when it is closed).
struct ScratchFile {
    ScratchFile() {
        std::filesystem::path dir = std::filesystem::is_directory("/dev/shm") ? std::filesystem::path("/dev/shm")
                                                                               : std::filesystem::temp_directory_path();
        path = (dir / "fuzz-clx-XXXXXX").string();
        int fd = mkstemp(path.data());
        if (fd < 0)
            std::abort();
        close(fd);
    }
    ~ScratchFile() { unlink(path.c_str()); }
    std::string path;
};

int firstLetters(const char* misspelled, const char* candidate) {
    return misspelled[0] == candidate[0] ? 60 : 1;
}

struct Words : orthix::SuggestionSink {
    void offer(const char* word, int16_t) override {
        if (words.size() < 64)
            words.emplace_back(word);
    }
    void remove(const char*) override {}
    std::vector<std::string> words;
};

void exercise(orthix::CompressedLexicon& lex) {
    for (const char* w : {"of", "I", "the", "walking", "PARIS", "caf\xE9", "zzzzzz"}) {
        lex.find(w, true, nullptr, 0);
        lex.find(w, false, nullptr, 0);
    }
    Words sink;
    lex.walk("the", 100, firstLetters, sink);
    for (const std::string& w : sink.words) {
        lex.find(w.c_str(), true, nullptr, 0);
        lex.find(w.c_str(), false, nullptr, 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const ScratchFile scratch;
    const std::string& path = scratch.path;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f)
        std::abort();
    if (size > 0 && std::fwrite(data, 1, size, f) != size)
        std::abort();
    std::fclose(f);
    for (int32_t budget : {0, 256}) {
        orthix::CompressedLexicon lex;
        if (lex.open(path.c_str(), budget) == 0)
            exercise(lex);
    }
    return 0;
}
