// Shared helpers of the lumifit tests: a temporary working folder, files in it, and running the
// built program there.
#pragma once
#include "MSG.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace lumifit_test {

// A fresh folder under the temporary directory, removed again at the end of the test. With
// enter = true it is also the current directory meanwhile (the program reads $.mod from there).
class TEMPDIR {
  public:
    explicit TEMPDIR(bool enter = false) : old_(std::filesystem::current_path()) {
        std::string tmpl = (std::filesystem::temp_directory_path() / "lumifit-XXXXXX").string();
        if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
        path_ = tmpl;
        if (enter) std::filesystem::current_path(path_);
    }
    ~TEMPDIR() {
        std::filesystem::current_path(old_);
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    const std::filesystem::path &path() const { return path_; }
    void write(const std::string &name, const std::string &text) const {
        std::ofstream(path_ / name, std::ios::binary) << text;
    }

  private:
    std::filesystem::path old_, path_;
};

struct RUN {
    int status = -1;
    std::string out; // standard output
};

// Runs the built lumifit in dir and collects its standard output and exit status.
inline RUN runlumifit(const std::filesystem::path &dir) {
    const char *build = std::getenv("TOOLKIT_BUILD");
    std::string exe = std::string(build ? build : ".") + "/bin/lumifit";
    std::string cmd = "cd '" + dir.string() + "' && '" + exe + "'";
    RUN r;
    std::FILE *p = popen(cmd.c_str(), "r");
    if (!p) return r;
    char buf[4096];
    std::size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, p)) > 0)
        r.out.append(buf, got);
    int st = pclose(p);
    r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    return r;
}

// Collects what the routines print while it lives.
class CAPTURE {
  public:
    CAPTURE() : f_(std::tmpfile()) { MSGSINK(f_); }
    ~CAPTURE() {
        MSGSINK(nullptr);
        std::fclose(f_);
    }
    std::string text() const {
        std::fflush(f_);
        std::rewind(f_);
        std::string s;
        char buf[4096];
        std::size_t got;
        while ((got = std::fread(buf, 1, sizeof buf, f_)) > 0)
            s.append(buf, got);
        return s;
    }

  private:
    std::FILE *f_;
};

// The message of the error that ends the run inside f, or "" when f returns normally.
template <class F> std::string stopmessage(F &&f) {
    try {
        f();
    } catch (const RUNSTOP &e) {
        return e.message;
    }
    return "";
}

} // namespace lumifit_test
