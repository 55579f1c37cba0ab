// Result files. A result file is written into a temporary file beside
// its final name and renamed over it only when it is complete and closed, so a run that stops or
// crashes at any moment leaves either the previous file or the new one, never a half-written
// one. (No fsync: forcing every result to disk would cost more than the fit.)
#pragma once

#include "NUMTXT.h"

#include <cstddef>
#include <string>
#include <string_view>

class RESFILE {
  public:
    // Opens a temporary file in the current directory for the result file name. A failure ends
    // the run with a message naming the file.
    explicit RESFILE(std::string name);
    // Removes the temporary file unless commit() has run.
    ~RESFILE();
    RESFILE(const RESFILE &) = delete;
    RESFILE &operator=(const RESFILE &) = delete;

    RESFILE &text(std::string_view s);
    RESFILE &real(double v, int w, int d); // RFIELD(v, w, d)
    RESFILE &integer(long long v, int w);  // right-justified in w positions
    RESFILE &free(double v);               // one blank and v with 7 significant digits
    RESFILE &endline();

    // Writes what is left, closes the file and renames it to its name.
    void commit();

  private:
    void flush();
    [[noreturn]] void fail(const char *what);

    std::string name_, tmp_;
    int fd_ = -1;
    std::size_t used_ = 0;
    char buf_[1 << 16];
};
