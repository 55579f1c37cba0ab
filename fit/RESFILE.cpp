#include "RESFILE.h"

#include "MSG.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

RESFILE::RESFILE(std::string name) : name_(std::move(name)) {
    tmp_ = name_ + ".tmpXXXXXX";
    fd_ = mkstemp(tmp_.data());
    if (fd_ < 0) {
        tmp_.clear();
        fail("cannot create a temporary file for it");
    }
    // mkstemp makes the file private; a result file gets the mode any new file would get.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd_, 0666 & ~mask);
}

RESFILE::~RESFILE() {
    if (fd_ >= 0) close(fd_);
    if (!tmp_.empty()) unlink(tmp_.c_str());
}

void RESFILE::fail(const char *what) {
    const std::string why = errno ? std::string(": ") + std::strerror(errno) : std::string();
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    if (!tmp_.empty()) unlink(tmp_.c_str());
    tmp_.clear();
    STOPRUN("Error: result file " + name_ + ": " + what + why);
}

void RESFILE::flush() {
    std::size_t done = 0;
    while (done < used_) {
        errno = 0; // a short write sets none
        const ssize_t got = write(fd_, buf_ + done, used_ - done);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) fail("cannot write it");
        done += static_cast<std::size_t>(got);
    }
    used_ = 0;
}

RESFILE &RESFILE::text(std::string_view s) {
    while (!s.empty()) {
        if (used_ == sizeof buf_) flush();
        const std::size_t k = std::min(s.size(), sizeof buf_ - used_);
        std::memcpy(buf_ + used_, s.data(), k);
        used_ += k;
        s.remove_prefix(k);
    }
    return *this;
}

RESFILE &RESFILE::real(double v, int w, int d) {
    if (sizeof buf_ - used_ < NUMTXTMAX + static_cast<std::size_t>(std::max(w, 0))) flush();
    used_ += REALFIELD(v, w, d, buf_ + used_);
    return *this;
}

RESFILE &RESFILE::integer(long long v, int w) {
    char b[32];
    const int len = static_cast<int>(std::to_chars(b, b + sizeof b, v).ptr - b);
    if (sizeof buf_ - used_ < sizeof b + 64) flush();
    for (int k = len; k < w; ++k)
        buf_[used_++] = ' ';
    std::memcpy(buf_ + used_, b, len);
    used_ += len;
    return *this;
}

RESFILE &RESFILE::free(double v) {
    if (sizeof buf_ - used_ < NUMTXTMAX + 1) flush();
    buf_[used_++] = ' ';
    used_ += GENERALTXT(v, buf_ + used_);
    return *this;
}

RESFILE &RESFILE::endline() {
    if (used_ == sizeof buf_) flush();
    buf_[used_++] = '\n';
    return *this;
}

void RESFILE::commit() {
    flush();
    if (close(fd_) != 0) {
        fd_ = -1;
        fail("cannot close it");
    }
    fd_ = -1;
    if (std::rename(tmp_.c_str(), name_.c_str()) != 0) fail("cannot replace it");
    tmp_.clear();
}
