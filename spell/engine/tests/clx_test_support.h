// Helpers of the compressed-lexicon tests: a scratch folder, lexicon files compiled from word
// lists or put together from raw sections, and a capture of the diagnostic log.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "clx_compiler.h"
#include "clx_format.h"

namespace clxtest {

// A folder of its own, removed with everything in it.
class Scratch {
public:
    Scratch() {
        std::string pattern = (std::filesystem::temp_directory_path() / "clx-test-XXXXXX").string();
        dir_ = mkdtemp(pattern.data());
    }
    ~Scratch() { std::filesystem::remove_all(dir_); }
    std::string write(const std::string& name, const std::string& bytes) const {
        std::string path = (dir_ / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }

private:
    std::filesystem::path dir_;
};

inline std::string compile(const std::vector<std::string>& words, orthix::ClxSummary* summary = nullptr) {
    std::string list;
    for (const std::string& w : words)
        list += w + "\n";
    orthix::ClxCompiler compiler;
    std::string error = compiler.addWordList(list);
    if (!error.empty())
        throw std::runtime_error(error);
    return compiler.build(24941, summary);
}

inline std::string be32(uint32_t value) {
    std::string out;
    orthix::clx::append_be32(out, value);
    return out;
}

inline std::string section(uint32_t type, const std::string& body) {
    return be32(type) + be32(uint32_t(body.size())) + body;
}

// An index entry: the key (NUL-padded to three bytes), offset and size.
inline std::string entry(const std::string& key, uint32_t offset, uint32_t size) {
    std::string k = key;
    k.resize(orthix::clx::kKeySize, '\0');
    return k + be32(offset) + be32(size);
}

// Points QLEX_LOG at a fresh file for the life of the object.
class LogCapture {
public:
    explicit LogCapture(const Scratch& scratch) : path_(scratch.path("qlex.log")) { setenv("QLEX_LOG", path_.c_str(), 1); }
    ~LogCapture() { unsetenv("QLEX_LOG"); }
    std::string text() const {
        std::ifstream in(path_);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

private:
    std::string path_;
};

} // namespace clxtest
