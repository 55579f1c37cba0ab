// Small helpers shared by the engine tests: a scratch directory and whole-file reads and writes.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "qlex.h"

namespace orthix_test {

// A fresh directory removed with everything in it at the end of the test.
class ScratchDir {
public:
    ScratchDir() {
        std::string tmpl = (std::filesystem::temp_directory_path() / "orthix_test_XXXXXX").string();
        path_ = mkdtemp(tmpl.data());
    }
    ~ScratchDir() { std::filesystem::remove_all(path_); }
    std::string file(const std::string& name) const { return path_ + "/" + name; }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

inline void writeFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// A session that is closed at the end of the test.
class SessionGuard {
public:
    SessionGuard() : sid(QLEX_OpenSession()) {}
    ~SessionGuard() { QLEX_CloseSession(sid); }
    const int16_t sid;
};

} // namespace orthix_test
