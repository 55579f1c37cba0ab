// The model file read line by line in free form: values separated by blanks or commas, a value in
// apostrophes or double quotes may hold blanks (a doubled quote stands for one), values left on a
// line are ignored and each read starts on a new line. Lines holding no value are skipped.
// Every failure (file missing, ending early, a value that cannot be read as the type asked for)
// prints one line naming the file, the line and what was expected, and ends the run.
#pragma once
#include <string>
#include <string_view>
#include <vector>

struct MODVAL {
    std::string text;
    bool quoted = false;
};

class MODFILE;

// The values of one line of the model file.
class MODLINE {
  public:
    MODLINE(const MODFILE &file, int lineno, std::string what, std::vector<MODVAL> vals);
    std::size_t count() const { return vals_.size(); }
    int lineno() const { return lineno_; }
    // Value k (0-based) as text padded or cut to width; as a 32-bit integer; as a finite real.
    std::string text(std::size_t k, std::size_t width) const;
    int integer(std::size_t k) const;
    double real(std::size_t k) const;
    [[noreturn]] void fail(std::string_view detail) const;

  private:
    const MODVAL &value(std::size_t k) const;
    const MODFILE *file_;
    int lineno_;
    std::string what_; // what the line should hold, for messages
    std::vector<MODVAL> vals_;
};

class MODFILE {
  public:
    // Reads the whole file; a missing or unreadable file ends the run.
    static MODFILE open(const std::string &path);
    MODFILE(std::string name, std::string text);
    // The next line that holds a value; `what` says what the line should hold.
    MODLINE next(std::string_view what);
    // Starts again from the first line (the second pass reads the same text as the first).
    void rewind() { pos_ = 0, lineno_ = 0; }
    const std::string &name() const { return name_; }
    // Ends the run with a message about line lineno of the file.
    [[noreturn]] void fail(int lineno, std::string_view detail) const;

  private:
    std::string name_;
    std::string text_;
    std::size_t pos_ = 0;
    int lineno_ = 0;
};
