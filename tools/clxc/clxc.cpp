// clxc: compiles a word list into a compressed lexicon file.
//
//   clxc WORDLIST OUTPUT [--lang CODE]
//
// WORDLIST holds one word per line in Windows-1252. CODE is the lexicon's language: two letters
// ("am") or a number (24941, or a Windows language identifier such as 1033); without it the
// lexicon is for any language ("xx"). The output is written to a temporary file first and
// renamed, so a failed run never leaves a half-written lexicon.
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "clx_compiler.h"

namespace {

int usage() {
    std::fprintf(stderr, "usage: clxc WORDLIST OUTPUT [--lang CODE]\n");
    return 2;
}

// Two ASCII letters, high byte first, or a decimal number of 16 bits.
bool parse_language(const std::string& text, uint16_t& code) {
    if (text.size() == 2 && std::isalpha((unsigned char)text[0]) && std::isalpha((unsigned char)text[1])) {
        code = uint16_t((unsigned char)text[0] << 8 | (unsigned char)text[1]);
        return true;
    }
    char* end = nullptr;
    unsigned long value = std::strtoul(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value > 0xFFFF)
        return false;
    code = uint16_t(value);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 5)
        return usage();
    const std::string listPath = argv[1], outputPath = argv[2];
    uint16_t language = 30840;  // "xx": any language
    if (argc == 5 && (std::strcmp(argv[3], "--lang") != 0 || !parse_language(argv[4], language))) {
        if (std::strcmp(argv[3], "--lang") == 0)
            std::fprintf(stderr, "clxc: language \"%s\" is neither two letters nor a number up to 65535\n", argv[4]);
        return usage();
    }

    std::ifstream in(listPath, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.is_open() || in.bad()) {
        std::fprintf(stderr, "clxc: cannot read %s: %s\n", listPath.c_str(), std::strerror(errno));
        return 1;
    }
    orthix::ClxCompiler compiler;
    std::string error = compiler.addWordList(text);
    if (!error.empty()) {
        std::fprintf(stderr, "clxc: %s: %s\n", listPath.c_str(), error.c_str());
        return 1;
    }
    orthix::ClxSummary summary;
    std::string image = compiler.build(language, &summary);
    if (summary.words == 0) {
        std::fprintf(stderr, "clxc: %s: no words\n", listPath.c_str());
        return 1;
    }

    std::string temporary = outputPath + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out || !out.write(image.data(), std::streamsize(image.size())) || !out.flush()) {
            std::fprintf(stderr, "clxc: cannot write %s: %s\n", temporary.c_str(), std::strerror(errno));
            std::remove(temporary.c_str());
            return 1;
        }
    }
    if (std::rename(temporary.c_str(), outputPath.c_str()) != 0) {
        std::fprintf(stderr, "clxc: cannot rename %s to %s: %s\n", temporary.c_str(), outputPath.c_str(),
                     std::strerror(errno));
        std::remove(temporary.c_str());
        return 1;
    }
    std::printf("clxc: %s: %zu words, %zu segments, largest segment %zu bytes, %zu bytes (word list %zu bytes)\n",
                outputPath.c_str(), summary.words, summary.segments, summary.largestSegment, summary.fileSize,
                text.size());
    return 0;
}
