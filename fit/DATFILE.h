// A data file read line by line through one buffer (no per-line allocation): the input layer of
// both free-format and record-format reading.
#pragma once
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// A piece of a data line as messages show it: in double quotes, at most 40 characters, control
// bytes as '?'.
std::string SHOWDATA(std::string_view text);

class DATFILE {
  public:
    // Opens the file; a missing or unreadable one ends the run.
    explicit DATFILE(const std::string &path);
    // Reads from text held in memory instead of a file (tests and fuzz targets).
    DATFILE(std::string name, std::string_view text);
    // The next line without its line end (LF or CR LF); false at the end of the file.
    bool nextline(std::string_view &line);
    long lineno() const { return lineno_; }
    const std::string &name() const { return name_; }

    static constexpr std::size_t MAXLINE = std::size_t(1) << 24; // longest line accepted

  private:
    bool fill(); // reads more of the file behind the unread part; false at end of file
    std::string name_;
    std::unique_ptr<std::FILE, int (*)(std::FILE *)> file_;
    std::vector<char> buf_;
    std::size_t begin_ = 0, end_ = 0; // unread part of buf_
    bool eof_ = false;
    long lineno_ = 0;
};
